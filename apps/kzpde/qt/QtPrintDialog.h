// The host's print dialog: the printer menu (CUPS destinations and the
// embedded sample printer), copies, collate and two-sided, a slot for the
// plug-in's panel, Print and Cancel.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QVBoxLayout;

namespace kzpde {

class QtPrintDialog : public QDialog {
public:
    struct Printer {
        std::string name;     // the CUPS queue, or empty for the embedded printer
        std::string title;    // as the menu shows it
        std::string ppdPath;  // a PPD given on the command line
    };
    // The embedded printer first, then the CUPS destinations (the default
    // one chosen unless `select` names another).
    static std::vector<Printer> printers(const std::string& ppdPath);

    QtPrintDialog(std::vector<Printer> printers, const std::string& select, bool japanese);

    // Where the plug-in's panel goes; empty until one is hosted.
    QWidget& panelSlot() const { return *_slot; }
    // A line in the slot while no panel is there.
    void showPanelUnavailable(const QString& text);

    const Printer& printer() const;
    int copies() const;
    bool collated() const;
    bool twoSided() const;

private:
    std::vector<Printer> _printers;
    QComboBox* _printer;
    QSpinBox* _copies;
    QCheckBox* _collate;
    QCheckBox* _twoSided;
    QWidget* _slot;
    QVBoxLayout* _slotLayout;
};

}  // namespace kzpde

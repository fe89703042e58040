#include "qt/QtPrintDialog.h"

#include <cups/cups.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <filesystem>

#include "platform/qt/QtSupport.h"

namespace kzpde {

using kz::qt::toQString;

std::vector<QtPrintDialog::Printer> QtPrintDialog::printers(const std::string& ppdPath) {
    std::vector<Printer> out;
    if (!ppdPath.empty())
        out.push_back({"", std::filesystem::path(ppdPath).stem().string() + " (PPD)", ppdPath});
    out.push_back({"", "KZ Sample Printer", ""});
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& d = dests[i];
        if (d.instance) continue;
        const char* info = cupsGetOption("printer-info", d.num_options, d.options);
        std::string title = info && *info ? info : d.name;
        out.push_back({d.name, title, ""});
        if (d.is_default && ppdPath.empty()) std::swap(out.front(), out.back());
    }
    cupsFreeDests(count, dests);
    return out;
}

QtPrintDialog::QtPrintDialog(std::vector<Printer> printers, const std::string& select, bool japanese)
    : _printers(std::move(printers)) {
    auto tr = [japanese](const char* en, const char* ja) { return QString::fromUtf8(japanese ? ja : en); };
    setWindowTitle(tr("Print", "プリント"));
    setProperty("kzClass", "PrintDialog");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout();
    _printer = new QComboBox(this);
    for (const auto& p : _printers) _printer->addItem(toQString(p.title));
    for (std::size_t i = 0; i < _printers.size(); ++i)
        if (!select.empty() && (_printers[i].name == select || _printers[i].title == select))
            _printer->setCurrentIndex(static_cast<int>(i));
    form->addRow(tr("Printer:", "プリンタ:"), _printer);
    _copies = new QSpinBox(this);
    _copies->setRange(1, 9999);
    _collate = new QCheckBox(tr("Collated", "丁合い"), this);
    _collate->setChecked(true);
    _twoSided = new QCheckBox(tr("Two-Sided", "両面"), this);
    auto* copiesRow = new QHBoxLayout();
    copiesRow->addWidget(_copies);
    copiesRow->addWidget(_collate);
    copiesRow->addWidget(_twoSided);
    copiesRow->addStretch();
    form->addRow(tr("Copies:", "部数:"), copiesRow);
    layout->addLayout(form);
    auto* slot = new QFrame(this);
    slot->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    slot->setMinimumSize(480, 300);
    _slot = slot;
    _slotLayout = new QVBoxLayout(_slot);
    _slotLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_slot, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* print = buttons->addButton(tr("Print", "プリント"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Cancel", "キャンセル"), QDialogButtonBox::RejectRole);
    print->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void QtPrintDialog::showPanelUnavailable(const QString& text) {
    auto* label = new QLabel(text, _slot);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setEnabled(false);
    _slotLayout->addWidget(label);
}

const QtPrintDialog::Printer& QtPrintDialog::printer() const {
    const int i = std::max(0, _printer->currentIndex());
    return _printers.at(static_cast<std::size_t>(i));
}
int QtPrintDialog::copies() const { return _copies->value(); }
bool QtPrintDialog::collated() const { return _collate->isChecked(); }
bool QtPrintDialog::twoSided() const { return _twoSided->isChecked(); }

}  // namespace kzpde

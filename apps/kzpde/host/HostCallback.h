#pragma once

#include <memory>

#include "host/HostPpd.h"
#include "platform/printing/PDEHostCallback.h"
#include "platform/printing/PDEPPDChangeCapability.h"
#include "platform/printing/PrintSession.h"
#include "platform/printing/PrintSettings.h"

namespace kzpde {

// What the tool's print dialog hands the panel: its print session (the
// printer it prints to), its print settings and its own PPD handle. This one
// does not let the panel mark PPD choices (MarkingHostCallback does), as a
// host without that capability would.
class HostCallback : public kz::PDEHostCallback {
public:
    HostCallback(std::shared_ptr<kz::Printer> printer, std::unique_ptr<HostPpd> ppd);
    ~HostCallback() override;

    kz::PrintSession* printSession() override { return &_session; }
    kz::PrintSettings* printSettings() override { return &_settings; }
    ppd_file_t* ppdFile() override { return _ppd ? _ppd->file() : nullptr; }

    kz::PrintSettings& settings() { return _settings; }
    HostPpd* ppd() const { return _ppd.get(); }

    // Another printer chosen in the dialog; the settings stay. Only while
    // no panel holds the old PPD.
    void changePrinter(std::shared_ptr<kz::Printer> printer, std::unique_ptr<HostPpd> ppd);

private:
    kz::PrintSession _session;
    kz::PrintSettings _settings;
    std::unique_ptr<HostPpd> _ppd;
};

// A host that marks the panel's PPD choices in its own PPD.
class MarkingHostCallback : public HostCallback, public kz::PDEPPDChangeCapability {
public:
    using HostCallback::HostCallback;
    bool willChangePPDOptionKeyValue(const std::string& mainKeyword, const std::string& choice) override;
};

}  // namespace kzpde

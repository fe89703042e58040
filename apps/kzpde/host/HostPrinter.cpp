#include "host/HostPrinter.h"

#include <filesystem>

#include "host/PageSetupControls.h"
#include "platform/printing/CupsPrinter.h"
#include "platform/printing/MemoryPrinter.h"

namespace kzpde {

std::shared_ptr<kz::Printer> HostPrinter::open(const std::optional<std::string>& destination,
                                               const std::optional<std::string>& ppd, const kz::Bundle& bundle,
                                               std::string* error) {
    if (destination) return kz::CupsPrinter::open(*destination, CUPS_HTTP_DEFAULT, error);
    if (ppd) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(*ppd, ec)) {
            if (error) *error = *ppd + ": no such PPD file";
            return nullptr;
        }
        return std::make_shared<kz::MemoryPrinter>(std::filesystem::path(*ppd).stem().string(), std::nullopt, *ppd);
    }
    return kz::MemoryPrinter::sample(bundle);
}

bool HostPrinter::openPpd(const kz::Printer& printer, std::unique_ptr<HostPpd>* ppd, std::string* error) {
    ppd->reset();
    const auto path = printer.ppdPath();
    if (!path) return true;
    *ppd = HostPpd::open(*path, error);
    return *ppd != nullptr;
}

kz::JobOptions HostPrinter::jobOptions(HostCallback& host) {
    if (host.ppd()) host.ppd()->writeToSettings(host.settings());
    kz::JobOptions options = kz::JobOptions::make(host.settings(), host.ppdFile());
    PageSetupControls::addJobOptions(host.settings(), options);
    if (auto* cups = dynamic_cast<kz::CupsPrinter*>(host.printSession()->currentPrinter().get()))
        options = cups->jobOptions(options);
    return options;
}

}  // namespace kzpde

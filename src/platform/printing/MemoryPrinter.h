#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/printing/Printer.h"

namespace kz {

class Bundle;

// A printer that lives only in the process: the embedded sample printer of
// the tool and the printer of the tests. It takes every command and keeps a
// record of them.
class KZ_EXPORT MemoryPrinter : public Printer {
public:
    struct Command {
        std::string command;
        std::string jobTitle;
    };

    // The embedded sample printer: named kSampleName, described by the
    // bundle's product PPD (none when the bundle lacks it), at an address
    // whose host part follows the "v1." rule and so gives the panel the host
    // name "kzps-sample%8888".
    static constexpr const char* kSampleName = "KZPrintServer";
    static constexpr const char* kSampleDeviceURI = "ipp://v1.kzps-sample+8888/printers/KZPrintServer";
    static std::shared_ptr<MemoryPrinter> sample(const Bundle& bundle);

    MemoryPrinter(std::string name, std::optional<std::string> deviceURI, std::optional<std::string> ppdPath);

    std::string name() const override { return _name; }
    std::optional<std::string> deviceURI() const override { return _deviceURI; }
    std::optional<std::string> ppdPath() const override { return _ppdPath; }
    OSStatus sendCommand(const std::string& command, const std::string& jobTitle, const Dictionary* options) override;

    const std::vector<Command>& commands() const { return _commands; }

private:
    std::string _name;
    std::optional<std::string> _deviceURI;
    std::optional<std::string> _ppdPath;
    std::vector<Command> _commands;
};

}  // namespace kz

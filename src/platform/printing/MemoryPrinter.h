#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Export.h"
#include "platform/printing/Printer.h"

namespace kz {

// A printer that lives only in the process: the embedded sample printer of
// the tool and the printer of the tests. It takes every command and keeps a
// record of them.
class KZ_EXPORT MemoryPrinter : public Printer {
public:
    struct Command {
        std::string command;
        std::string jobTitle;
    };

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

#pragma once

#include <string>
#include <vector>

#include "platform/kit/Panel.h"

namespace kz {

// Asks the user for a file to write; the driver picks it.
class KZ_EXPORT SavePanel : public Panel {
public:
    SavePanel() : Panel(Rect(0, 0, 520, 360)) {}
    std::string className() const override { return "SavePanel"; }
    virtual bool isOpenPanel() const { return false; }

    const std::string& message() const { return _message; }
    void setMessage(std::string text) { _message = std::move(text); }
    const std::string& prompt() const { return _prompt; }
    void setPrompt(std::string text) { _prompt = std::move(text); }
    const std::string& directory() const { return _directory; }
    void setDirectory(std::string path) { _directory = std::move(path); }
    const std::string& nameFieldStringValue() const { return _name; }
    void setNameFieldStringValue(std::string name) { _name = std::move(name); }
    // Extensions without the dot; empty allows any.
    const std::vector<std::string>& allowedFileTypes() const { return _types; }
    void setAllowedFileTypes(std::vector<std::string> types) { _types = std::move(types); }
    bool canCreateDirectories() const { return _canCreateDirectories; }
    void setCanCreateDirectories(bool on) { _canCreateDirectories = on; }

    // OK (1) with the chosen path, or Cancel (0). A save panel adds the
    // first allowed extension to a name that has none of them.
    long runModal();
    // The first chosen path.
    std::string path() const { return _paths.empty() ? std::string() : _paths.front(); }
    const std::vector<std::string>& paths() const { return _paths; }

protected:
    std::vector<std::string> _paths;

private:
    std::string _message, _prompt, _directory, _name;
    std::vector<std::string> _types;
    bool _canCreateDirectories = true;
};

// Asks the user for files or folders to read.
class KZ_EXPORT OpenPanel : public SavePanel {
public:
    std::string className() const override { return "OpenPanel"; }
    bool isOpenPanel() const override { return true; }

    bool canChooseFiles() const { return _files; }
    void setCanChooseFiles(bool on) { _files = on; }
    bool canChooseDirectories() const { return _dirs; }
    void setCanChooseDirectories(bool on) { _dirs = on; }
    bool allowsMultipleSelection() const { return _multiple; }
    void setAllowsMultipleSelection(bool on) { _multiple = on; }

private:
    bool _files = true, _dirs = false, _multiple = false;
};

}  // namespace kz

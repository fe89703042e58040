#pragma once

#include <string>
#include <vector>

class QWidget;

namespace kz::qt {

class QtBridge;

// Writes a PNG of each top-level the bridge shows (modal ones too) into a
// folder: "01-Title.png", "02-...", in the order they were shown.
class QtScreenshots {
public:
    explicit QtScreenshots(std::string folder);
    // From now on every window shown is photographed once Qt has laid it out.
    void install(QtBridge& bridge);
    // Photographs the widget now; the path written, or empty on failure.
    std::string write(QWidget& topLevel, const std::string& name);
    const std::vector<std::string>& written() const { return _written; }

private:
    std::string _folder;
    std::vector<std::string> _written;
};

}  // namespace kz::qt

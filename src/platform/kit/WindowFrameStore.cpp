#include "platform/kit/WindowFrameStore.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/foundation/FolderLock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

namespace kz {

namespace {

Dictionary readAll(const std::string& file) {
    std::error_code ec;
    if (file.empty() || !std::filesystem::exists(file, ec)) return {};
    std::string error;
    Value root = PropertyList::readFile(file, &error);
    if (!root.isDictionary()) {
        Log::line("### ## window frames unreadable: " + file + " " + error);
        return {};
    }
    return root.dictionary();
}

bool writeAll(const std::string& file, const Dictionary& frames) {
    if (file.empty()) return false;
    std::string error;
    if (PropertyList::writeFile(Value(frames), file, &error)) return true;
    Log::line("### ## can't save window frames: " + file + " " + error);
    return false;
}

// Two windows (or two processes) saving frames at once each read, change
// and write the whole store: one at a time, or one's frame would be lost.
std::unique_ptr<FolderLock> lockStore(const std::string& file) {
    if (file.empty()) return nullptr;
    std::error_code ec;
    std::string folder = std::filesystem::path(file).parent_path().string();
    std::filesystem::create_directories(folder, ec);
    return std::make_unique<FolderLock>(folder);
}

}  // namespace

std::string WindowFrameStore::path() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && *config == '/') folder = config;
    else if (const char* home = std::getenv("HOME"); home && *home) folder = std::string(home) + "/.config";
    else return {};
    return folder + "/kzpde/WindowFrames.plist";
}

std::optional<Rect> WindowFrameStore::frame(const std::string& name) {
    if (name.empty()) return std::nullopt;
    Dictionary frames = readAll(path());
    const Value& v = frames.get(name);
    if (!v.isArray() || v.array().size() != 4) return std::nullopt;
    double n[4];
    for (std::size_t i = 0; i < 4; ++i) {
        const Value& e = v.array()[i];
        if (!e.isNumber() || !std::isfinite(e.doubleValue())) return std::nullopt;
        n[i] = e.doubleValue();
    }
    if (n[2] < 0 || n[3] < 0) return std::nullopt;
    return Rect(n[0], n[1], n[2], n[3]);
}

bool WindowFrameStore::save(const std::string& name, const Rect& frame) {
    if (name.empty()) return false;
    std::string file = path();
    auto lock = lockStore(file);
    Dictionary frames = readAll(file);
    Value entry(Array{Value(frame.minX()), Value(frame.minY()), Value(frame.size.width), Value(frame.size.height)});
    if (frames.get(name) == entry) return true;
    frames.set(name, entry);
    return writeAll(file, frames);
}

bool WindowFrameStore::remove(const std::string& name) {
    std::string file = path();
    auto lock = lockStore(file);
    Dictionary frames = readAll(file);
    if (!frames.contains(name)) return true;
    frames.remove(name);
    return writeAll(file, frames);
}

}  // namespace kz

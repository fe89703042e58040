#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/Application.h"
#include "platform/kit/Window.h"
#include "platform/kit/WindowFrameStore.h"
#include "platform/kit/Workspace.h"

using namespace kz;
namespace fs = std::filesystem;

namespace {
std::string read(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
}  // namespace

TEST(Workspace, IconsByTypeCodeAndFile) {
    Workspace& ws = Workspace::shared();
    EXPECT_EQ(ws.iconForFileType("'unfs'")->name(), "unknown");
    EXPECT_EQ(ws.iconForFileType("'note'")->name(), "note");
    EXPECT_EQ(ws.iconForFileType("pfj")->name(), "document");
    EXPECT_EQ(ws.iconForFile(std::getenv("XDG_DATA_HOME"))->name(), "folder");
    EXPECT_EQ(ws.iconForFile("/nonexistent/a.pfj")->name(), "unknown");
    EXPECT_EQ(ws.iconForFileType("'note'")->size(), (Size{32, 32}));
    // A theme icon in the data folders wins over the drawn stand-in.
    fs::path theme = fs::path(std::getenv("XDG_DATA_DIRS")) / "icons/hicolor/48x48/status";
    fs::create_directories(theme);
    Image badge(48, 48);
    badge.setPixel(0, 0, 0x12345678);
    std::ofstream(theme / "dialog-information.png", std::ios::binary) << badge.toPng();
    auto icon = ws.iconForFileType("'note'");
    EXPECT_EQ(icon->pixelsWide(), 48u);
    EXPECT_EQ(icon->pixel(0, 0), 0x12345678u);
    EXPECT_EQ(icon->size(), (Size{32, 32}));
    fs::remove_all(fs::path(std::getenv("XDG_DATA_DIRS")) / "icons");
}

TEST(Workspace, TrashKeepsTheItemAndItsInfoAndNeverOverwrites) {
    fs::path data = std::getenv("XDG_DATA_HOME");
    fs::path folder = data / "favorites dir";
    fs::create_directories(folder);
    for (int i = 0; i < 2; ++i) std::ofstream(folder / "My Fav.pfj") << "v" << i;
    std::string error;
    std::string first = Workspace::shared().moveToTrash((folder / "My Fav.pfj").string(), &error);
    ASSERT_EQ(first, (data / "Trash/files/My Fav.pfj").string()) << error;
    EXPECT_FALSE(fs::exists(folder / "My Fav.pfj"));
    std::string info = read(data / "Trash/info/My Fav.pfj.trashinfo");
    EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + (data / "favorites%20dir/My%20Fav.pfj").string() + "\nDeletionDate=", 0), 0u) << info;

    std::ofstream(folder / "My Fav.pfj") << "second";
    std::string second = Workspace::shared().moveToTrash((folder / "My Fav.pfj").string(), &error);
    EXPECT_EQ(second, (data / "Trash/files/My Fav.2.pfj").string());
    EXPECT_EQ(read(first), "v1");
    EXPECT_EQ(read(second), "second");
    EXPECT_TRUE(fs::exists(data / "Trash/info/My Fav.2.pfj.trashinfo"));

    EXPECT_EQ(Workspace::shared().moveToTrash((folder / "gone").string(), &error), "");
    EXPECT_NE(error.find("no such item"), std::string::npos);
}

TEST(Application, ActivationIsAnnouncedOnlyWhenItChanges) {
    Application& app = Application::shared();
    int active = 0, inactive = 0;
    auto& nc = NotificationCenter::defaultCenter();
    nc.addObserver(&active, Application::kDidBecomeActiveNotification, &app, [&](auto&) { ++active; });
    nc.addObserver(&inactive, Application::kDidResignActiveNotification, &app, [&](auto&) { ++inactive; });
    app.activateIgnoringOtherApps();
    app.deactivate();
    app.deactivate();
    EXPECT_FALSE(app.isActive());
    app.activateIgnoringOtherApps();
    EXPECT_EQ(active, 1);
    EXPECT_EQ(inactive, 1);
    nc.removeObserver(&active);
    nc.removeObserver(&inactive);
}

TEST(WindowFrameStore, FramesOutliveTheProcessInTheConfigFolder) {
    Window a(Rect(10, 20, 300, 200));
    a.setFrameAutosaveName("DetailedSettingsDialog");
    a.setFrame(Rect(50, 60, 400, 300));
    std::string path = WindowFrameStore::path();
    EXPECT_EQ(path, std::string(std::getenv("XDG_CONFIG_HOME")) + "/kzpde/WindowFrames.plist");
    EXPECT_NE(read(path).find("DetailedSettingsDialog"), std::string::npos);
    // What another run wrote is taken.
    Window b;
    b.setFrameAutosaveName("DetailedSettingsDialog");
    EXPECT_EQ(b.frame(), Rect(50, 60, 400, 300));
    // A damaged file or entry restores nothing; saving replaces it.
    std::ofstream(path) << "<plist><dict><key>DetailedSettingsDialog</key><string>x</string>";
    EXPECT_FALSE(WindowFrameStore::frame("DetailedSettingsDialog"));
    Window c(Rect(1, 2, 3, 4));
    c.setFrameAutosaveName("DetailedSettingsDialog");
    EXPECT_EQ(c.frame(), Rect(1, 2, 3, 4));
    EXPECT_EQ(WindowFrameStore::frame("DetailedSettingsDialog"), Rect(1, 2, 3, 4));
    Window::removeFrameUsingName("DetailedSettingsDialog");
    EXPECT_FALSE(WindowFrameStore::frame("DetailedSettingsDialog"));
}

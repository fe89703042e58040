// The tool's window commands as a user runs them: offscreen, and once under
// Xvfb as a person's display would be.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QImage>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

namespace {

struct Result {
    int status;
    std::string out;
};

// COMMAND is a shell command line; standard error is dropped.
Result shell(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return {-1, ""};
    std::string out;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

const std::string kTool = std::string(KZ_BINARY_DIR) + "/apps/kzpde/kzpde";

struct Folder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("kzqt-tool-" + std::to_string(getpid()) + "-" + std::to_string(counter()++));
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() { std::filesystem::remove_all(path); }
    static int& counter() {
        static int n = 0;
        return n;
    }
    std::string file(const std::string& name, const std::string& text) const {
        std::ofstream(path / name) << text;
        return (path / name).string();
    }
};

// A picture with something on it: more than a handful of colours.
bool notBlank(const std::string& png) {
    QImage image(QString::fromStdString(png));
    if (image.isNull()) return false;
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
    return colours.size() > 8;
}

std::vector<std::string> screenshots(const std::string& out) {
    std::vector<std::string> paths;
    std::size_t at = 0;
    while ((at = out.find("screenshot: ", at)) != std::string::npos) {
        at += 12;
        paths.push_back(out.substr(at, out.find('\n', at) - at));
    }
    return paths;
}

}  // namespace

TEST(QtTool, AScriptedViewSessionAnswersTheConflictInAMessageBoxAndPhotographsIt) {
    Folder f;
    const std::string script = f.file("conflict.txt",
                                      "# a conflicting two-sided choice, answered Yes\n"
                                      "choose \"Thick Paper\"\nchoose \"Long Edge\"\npress Yes\n");
    Result r = shell(kTool + " view " KZ_SOURCE_DIR "/resources/samples/option-rules.plist --script " + script +
                  " --screenshot " + (f.path / "shots").string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Duplex = \"DuplexNoTumble\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("MediaType = \"Plain\""), std::string::npos) << r.out;
    // The window, then the question (a modal message box).
    const auto shots = screenshots(r.out);
    ASSERT_EQ(shots.size(), 2u) << r.out;
    for (const auto& s : shots) EXPECT_TRUE(notBlank(s)) << s;

    // A step with nothing to act on fails the run.
    const std::string bad = f.file("bad.txt", "press \"No Such Button\"\n");
    EXPECT_EQ(shell(kTool + " view About --script " + bad).status, 1);
}

TEST(QtTool, TheDialogIsPhotographedAndCancelledWithoutAScript) {
    Folder f;
    Result r = shell("CUPS_SERVER=/nonexistent " + kTool + " dialog --screenshot " + (f.path / "shots").string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("cancelled"), std::string::npos) << r.out;
    const auto shots = screenshots(r.out);
    ASSERT_EQ(shots.size(), 1u) << r.out;
    EXPECT_TRUE(notBlank(shots[0]));
    EXPECT_EQ(shell(kTool + " dialog --printer a --ppd b").status, 2);
}

TEST(QtTool, AScriptedDialogSessionAnswersTheConflictInAMessageBoxAndPrints) {
    Folder f;
    const std::string document = f.file("page.txt", "a page\n");
    const std::string script = f.file("conflict.txt",
                                      "# a staple, then an output tray that cannot staple: answered Yes\n"
                                      "choose \"Top Left\"\nchoose \"Stacker Tray\"\npress Yes\npress Print\n");
    Result r = shell("CUPS_SERVER=/nonexistent " + kTool + " dialog --script " + script + " --screenshot " +
                     (f.path / "shots").string() + " " + document);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("job options:\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  OutputTray = \"Stackertray\"\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("StapleMode"), std::string::npos) << r.out;  // back to its default
    EXPECT_EQ(r.out.find("cancelled"), std::string::npos) << r.out;
    // The dialog, then the question (a modal message box).
    const auto shots = screenshots(r.out);
    ASSERT_EQ(shots.size(), 2u) << r.out;
    for (const auto& s : shots) EXPECT_TRUE(notBlank(s)) << s;

    // A step with nothing to act on fails the run; the dialog is cancelled.
    const std::string bad = f.file("bad.txt", "press \"Show Detailed Settings\"\npress \"No Such Button\"\n");
    r = shell("CUPS_SERVER=/nonexistent " + kTool + " dialog --script " + bad);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("cancelled"), std::string::npos) << r.out;
    EXPECT_EQ(shell(kTool + " dialog --printer NoSuchQueue").status, 1);
    EXPECT_EQ(shell(kTool + " dialog /no/such/document").status, 1);
}

TEST(QtTool, TheDialogsPaperSizeOrientationAndPagesGoWithTheJobForAnyPrinter) {
    Folder f;
    // The product's printer: the panel and the dialog's own row.
    const std::string product = f.file("product.txt", "choose A3\nchoose Landscape\nchoose Range\n"
                                                      "type 2-3 7301\nkey tab\nshot\npress Print\n");
    Result r = shell("CUPS_SERVER=/nonexistent " + kTool + " dialog --script " + product + " --screenshot " +
                     (f.path / "product").string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("  PageSize = \"A3\"\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  orientation-requested = \"4\"\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  page-ranges = \"2-3\"\n"), std::string::npos) << r.out;
    // An office printer: its own options plainly, no panel.
    const std::string office = f.file("office.txt", "choose \"US Legal\"\nchoose \"Long Edge\"\nshot\npress Print\n");
    r = shell("CUPS_SERVER=/nonexistent " + kTool + " dialog --ppd " + std::string(KZ_SOURCE_DIR) +
              "/tests/data/host/office-laser.ppd --script " + office + " --screenshot " + (f.path / "office").string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("  PageSize = \"Legal\"\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  Duplex = \"DuplexNoTumble\"\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("StapleMode"), std::string::npos) << r.out;
    const auto shots = screenshots(r.out);
    ASSERT_FALSE(shots.empty()) << r.out;
    for (const auto& s : shots) EXPECT_TRUE(notBlank(s)) << s;
}

TEST(QtTool, TheFavoritesWindowsAreWorkedFromTheDialogFilePanelsIncluded) {
    Folder f;
    std::filesystem::create_directories(f.path / "home");
    const std::string env = "CUPS_SERVER=/nonexistent HOME=" + (f.path / "home").string() + " XDG_CONFIG_HOME= ";
    const std::string notAFavorite = f.file("notes.pfj", "not a favorite\n");
    // Saved from the dialog, then a file chosen in the manager's open panel
    // that is no favorite: the manager says so in a message box.
    const std::string script = f.file("favorites.txt",
                                      "press \"Save Favorite...\"\npaste Reports\npress Save\n"
                                      "press \"Manage Favorites...\"\npress Import...\npick " +
                                          notAFavorite + "\npress OK\npress Cancel\npress Cancel\n");
    Result r = shell(env + kTool + " dialog --script " + script + " --screenshot " + (f.path / "shots").string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(std::filesystem::exists(f.path / "home/.config/TORVALE/KZPrintServer/R4/favorite/Reports.pfj"));
    const auto shots = screenshots(r.out);
    ASSERT_EQ(shots.size(), 5u) << r.out;  // dialog, save dialog, manager, open panel, message
    for (const auto& s : shots) EXPECT_TRUE(notBlank(s)) << s;
}

TEST(QtTool, AScriptPressesATabAndPhotographsTheWindowAsItIsNow) {
    Folder f;
    const std::string script =
        f.file("tabs.txt", "press \"Show Detailed Settings\"\npress Color\nshot Color\npress \"No Such Tab\"\n");
    Result r = shell("CUPS_SERVER=/nonexistent " + kTool + " dialog --script " + script + " --screenshot " +
                     (f.path / "shots").string());
    EXPECT_EQ(r.status, 1) << r.out;  // the last step finds nothing
    const auto shots = screenshots(r.out);
    ASSERT_EQ(shots.size(), 3u) << r.out;  // dialog, detailed settings as shown, then on its Color tab
    EXPECT_NE(shots[2].find("03-Color.png"), std::string::npos) << shots[2];
    EXPECT_TRUE(notBlank(shots[2]));
}

TEST(QtTool, TheDialogRunsUnderXvfbAsOnAPersonsDisplay) {
    if (shell("command -v xvfb-run").status != 0) GTEST_SKIP() << "xvfb-run is not installed (package xvfb)";
    Folder f;
    const std::string document = f.file("report.txt", "a report\n");
    const std::string script = f.file("print.txt",
                                      "choose \"KZ Sample Printer\"\nchoose \"Top Left\"\n"
                                      "press \"Show Detailed Settings\"\npress Cancel\npress Print\n");
    // -a picks a free display number; the offscreen choice of the test binary is not passed on.
    Result r = shell("env -u QT_QPA_PLATFORM CUPS_SERVER=/nonexistent xvfb-run -a " + kTool + " dialog --script " +
                     script + " --screenshot " + (f.path / "shots").string() + " " + document);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("  StapleMode = \"TopLeftCorner\"\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  copies = \"1\"\n"), std::string::npos) << r.out;
    // The dialog and the detailed settings window.
    const auto shots = screenshots(r.out);
    ASSERT_EQ(shots.size(), 2u) << r.out;
    EXPECT_NE(shots[1].find("Detailed-Settings"), std::string::npos) << shots[1];
    for (const auto& s : shots) EXPECT_TRUE(notBlank(s)) << s;
}

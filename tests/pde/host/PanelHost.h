#pragma once

// A print dialog as the panel meets it: a host callback object over a print
// session with a sample printer, print settings and the product PPD opened
// by libcups; in a second variant the host also marks PPD choices for the
// panel. The panel comes from the built bundle through the host protocol.

#include <gtest/gtest.h>

#include <cups/ppd.h>

// libcups marks its PPD interface deprecated; a print dialog still hands
// panels a ppd_file_t.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/panes/PanePlugInMgr.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/View.h"
#include "platform/printing/MemoryPrinter.h"
#include "platform/printing/PDEHostCallback.h"
#include "platform/printing/PDEPPDChangeCapability.h"
#include "platform/printing/PDEPlugIn.h"
#include "platform/printing/PrintSession.h"
#include "platform/printing/PrintSettings.h"

namespace paneltest {

namespace kzp = ComTORVALEKZ2R4_Plugin;
namespace fs = std::filesystem;

inline const std::string kBundle = KZ_BUNDLE_DIR;
inline const std::string kPrefix = "com.torvale.print.PrintSettingsTicket.";

inline std::string productPpd() { return kBundle + "/Contents/Resources/KZPrintServer.ppd"; }
inline std::string customKey(const std::string& mainKeyword) { return kPrefix + mainKeyword; }

// A host that gives the panel its print session, settings and PPD but marks
// no PPD choice for it.
class Host : public kz::PDEHostCallback {
public:
    explicit Host(std::optional<std::string> deviceURI = "ipp://kz-server.example:631/printers/kz") {
        printer = std::make_shared<kz::MemoryPrinter>("KZ", std::move(deviceURI), productPpd());
        session.setCurrentPrinter(printer);
        ppd = ppdOpenFile(productPpd().c_str());
        if (ppd) ppdMarkDefaults(ppd);
    }
    ~Host() override {
        if (ppd) ppdClose(ppd);
    }
    kz::PrintSession* printSession() override { return &session; }
    kz::PrintSettings* printSettings() override { return &settings; }
    ppd_file_t* ppdFile() override { return ppd; }

    std::string marked(const char* mainKeyword) const {
        ppd_choice_t* choice = ppdFindMarkedChoice(ppd, mainKeyword);
        return choice ? choice->choice : "";
    }
    std::optional<std::string> custom(const std::string& mainKeyword) const {
        const kz::Value* v = settings.value(customKey(mainKeyword));
        return v && v->isString() ? std::optional<std::string>(v->string()) : std::nullopt;
    }

    kz::PrintSession session;
    kz::PrintSettings settings;
    std::shared_ptr<kz::MemoryPrinter> printer;
    ppd_file_t* ppd = nullptr;
};

// The usual print dialog: it marks the choices the panel asks for.
class MarkingHost : public Host, public kz::PDEPPDChangeCapability {
public:
    using Host::Host;
    bool willChangePPDOptionKeyValue(const std::string& mainKeyword, const std::string& choice) override {
        marks.emplace_back(mainKeyword, choice);
        ppdMarkOption(ppd, mainKeyword.c_str(), choice.c_str());
        return true;
    }
    std::vector<std::pair<std::string, std::string>> marks;
};

// The first view below `root` of that class whose action or title is `name`.
template <class T>
T* findControl(kz::View* root, const std::string& name) {
    if (!root) return nullptr;
    for (const auto& v : root->subviews()) {
        if (auto* c = dynamic_cast<T*>(v.get()); c && (c->action().selector == name || c->title() == name)) return c;
        if (T* found = findControl<T>(v.get(), name)) return found;
    }
    return nullptr;
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        kzp::PanePlugInMgr::destroySharedInstance();
        kz::Application::shared().setDriver(&driver);
    }
    void TearDown() override {
        panel.reset();
        kzp::PanePlugInMgr::destroySharedInstance();
        kz::Application::shared().setDriver(nullptr);
    }

    // The product bundle, opened once per process as a host would.
    static const std::shared_ptr<kz::Bundle>& productBundle() {
        static std::shared_ptr<kz::Bundle> bundle = [] {
            auto b = kz::Bundle::open(kBundle);
            if (b) b->setLanguages({"en"});
            return b;
        }();
        return bundle;
    }
    static std::unique_ptr<kz::PDEPlugIn> principalObject(const std::shared_ptr<kz::Bundle>& bundle) {
        std::string error;
        auto* object = bundle ? static_cast<kz::PDEPlugIn*>(bundle->principalObject(&error)) : nullptr;
        EXPECT_NE(object, nullptr) << error;
        return std::unique_ptr<kz::PDEPlugIn>(object);
    }

    std::shared_ptr<kz::PDEPanel> makePanel(std::shared_ptr<kz::PDEHostCallback> host,
                                            const std::shared_ptr<kz::Bundle>& bundle = productBundle()) {
        auto plugIn = principalObject(bundle);
        if (!plugIn) return nullptr;
        auto panels = plugIn->PDEPanelsForType(kz::PDEPlugIn::kPrintDialogExtensionType, std::move(host));
        EXPECT_TRUE(panels && panels->size() == 1);
        panel = panels && !panels->empty() ? panels->front() : nullptr;
        return panel;
    }

    // A copy of the product bundle whose Info.plist has `changes`, with
    // `extra` resources beside the product's (which are linked, as are the
    // libraries, so the same plug-in library serves both).
    std::shared_ptr<kz::Bundle> bundleCopy(const kz::Dictionary& changes,
                                           const std::vector<std::pair<std::string, kz::Value>>& extra = {}) {
        fs::path root = fs::path(::testing::TempDir()) / ("kz-panel-" + std::to_string(::getpid()) + "-" +
                                                          std::to_string(++_copies) + ".plugin");
        fs::remove_all(root);
        fs::path contents = root / "Contents";
        fs::create_directories(contents / "Resources");
        fs::path real = fs::path(kBundle) / "Contents";
        for (const char* dir : {"Linux", "PlugIns", "Frameworks"}) fs::create_directory_symlink(real / dir, contents / dir);
        for (const auto& entry : fs::directory_iterator(real / "Resources"))
            fs::create_symlink(entry.path(), contents / "Resources" / entry.path().filename());
        kz::Value info = kz::PropertyList::readFile((real / "Info.plist").string());
        kz::Dictionary dictionary = info.dictionary();
        for (const auto& [key, value] : changes) dictionary.set(key, value);
        EXPECT_TRUE(kz::PropertyList::writeFile(dictionary, (contents / "Info.plist").string()));
        for (const auto& [name, value] : extra)
            EXPECT_TRUE(kz::PropertyList::writeFile(value, (contents / "Resources" / name).string()));
        auto bundle = kz::Bundle::open(root.string());
        if (bundle) bundle->setLanguages({"en"});
        return bundle;
    }

    static kzp::PanePlugInMgr& manager() { return kzp::PanePlugInMgr::sharedInstance(); }
    static std::optional<std::string> registry(const std::string& key) { return manager().getStringValueFromKey(key); }

    kz::ScriptedUiDriver driver;
    std::shared_ptr<kz::PDEPanel> panel;

private:
    int _copies = 0;
};

}  // namespace paneltest

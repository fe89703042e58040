#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Common/Util/BundleUtil.h"
#include "TempFolder.h"
#include "engine/controls/QuillUI.h"
#include "engine/panes/PaneFactory.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/preferences/AppPreference.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/View.h"

namespace panetest {

namespace kzp = ComTORVALEKZ2R4_Plugin;
namespace fs = std::filesystem;

inline void writeText(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

inline void writePlist(const std::string& path, const kz::Value& value) {
    fs::create_directories(fs::path(path).parent_path());
    ASSERT_TRUE(kz::PropertyList::writeFile(value, path));
}

// A plug-in bundle in a temporary folder, made the principal bundle; the
// manager over it is destroyed with the fixture.
class PlugInFixture {
public:
    TempFolder temp;
    std::string root = temp / "Test.plugin";

    explicit PlugInFixture(kz::Dictionary info = {}) {
        info.set("CFBundleName", "Test");
        writePlist(root + "/Contents/Info.plist", info);
        writePlist(resources() + "/miscellaneous.plist",
                   kz::Dictionary{{"Test", kz::Dictionary{{"panesTreeFileName", "PanesTree"},
                                                          {"ppdFileName", "Test.ppd"}}}});
    }
    ~PlugInFixture() {
        kzp::PanePlugInMgr::destroySharedInstance();
        kzp::SetNSBundleForPrincipalBundle(nullptr);
        kzp::SetNSBundleForLocalizedString(nullptr);
        kzp::AppPreference::sharedInstance().setBundle(nullptr);
    }
    PlugInFixture(const PlugInFixture&) = delete;
    PlugInFixture& operator=(const PlugInFixture&) = delete;

    std::string resources() const { return root + "/Contents/Resources"; }
    std::string plugIns() const { return root + "/Contents/PlugIns"; }

    void panesTree(const kz::Dictionary& tree) { writePlist(resources() + "/PanesTree.plist", tree); }

    // A pane bundle below Contents/PlugIns (a relative folder may nest it).
    std::string pane(const std::string& name, const std::string& principalClass, const std::string& folder = "") {
        std::string path = plugIns() + (folder.empty() ? "" : "/" + folder) + "/" + name + ".bundle";
        writePlist(path + "/Contents/Info.plist",
                   kz::Dictionary{{"CFBundleExecutable", name + ".so"}, {"NSPrincipalClass", principalClass}});
        return path;
    }

    // Opens the bundle as the panel would and answers the manager.
    kzp::PanePlugInMgr& manager() {
        kzp::PanePlugInMgr::destroySharedInstance();
        bundle = kz::Bundle::open(root);
        bundle->setLanguages({"en"});
        kzp::SetNSBundleForPrincipalBundle(bundle);
        kzp::SetNSBundleForLocalizedString(bundle);
        kzp::AppPreference::sharedInstance().setBundle(bundle);
        return kzp::PanePlugInMgr::sharedInstance();
    }

    std::shared_ptr<kz::Bundle> bundle;
};

// A pane class of the test process, registered under a name while it lives;
// every instance made is kept so that tests can tell instances apart.
struct TestPane : kzp::PaneObject, kzp::PanePlugInInterface {
    std::shared_ptr<kz::Bundle> bundle;
    kzp::PanePlugInMgr* callback = nullptr;
    std::shared_ptr<kz::View> view = std::make_shared<kz::View>(kz::Rect(0, 0, 100, 100));
    std::vector<std::shared_ptr<kzp::QuillUI>> controls;
    int viewLoads = 0;
    std::function<void()> onView;  // runs inside panelView (may throw)

    bool initializePanel(const std::shared_ptr<kz::Bundle>& b, kzp::PanePlugInMgr* c) override {
        bundle = b;
        callback = c;
        return true;
    }
    std::shared_ptr<kz::View> panelView() override {
        ++viewLoads;
        if (onView) onView();
        return view;
    }
    std::string panelName() override { return "Test pane"; }
    std::vector<std::shared_ptr<kzp::QuillUI>> getListQuillUI() override { return controls; }
};

class RegisteredClass {
public:
    using Make = std::function<TestPane*()>;
    explicit RegisteredClass(std::string name, Make make = [] { return new TestPane(); }) : _name(std::move(name)) {
        kzp::PaneClassRegistry::registerClass(_name, [this, make]() -> kzp::PaneObject* {
            TestPane* pane = make();
            made.push_back(pane);
            return pane;
        });
    }
    ~RegisteredClass() { kzp::PaneClassRegistry::unregisterClass(_name); }
    RegisteredClass(const RegisteredClass&) = delete;
    RegisteredClass& operator=(const RegisteredClass&) = delete;
    std::vector<TestPane*> made;  // not owned

private:
    std::string _name;
};

inline std::vector<std::string> tableKeys(const kzp::PanePlugInMgr& mgr) {
    std::vector<std::string> keys;
    for (const auto& [key, entry] : mgr.plugInTable()) keys.push_back(key);
    return keys;
}

}  // namespace panetest

// A pane-like library for the runtime tests: it reaches the process-wide
// objects, throws, makes views and registers option controls, all through
// the runtime's exported interface. Built twice, as two bundles.
#include <memory>

#include "TestPaneApi.h"
#include "engine/controls/QuillUI.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "engine/panes/PanePlugInMgr.h"
#include "engine/preferences/AppPreference.h"
#include "engine/rules/QuillMgr.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/kit/Application.h"
#include "platform/kit/Button.h"
#include "platform/kit/Workspace.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using runtimetest::SharedObjects;

extern "C" {

KZ_EXPORT void* kzBundlePrincipalObject(void*) {
    return static_cast<kz::ViewOwner*>(new runtimetest::TestPane());
}

KZ_EXPORT SharedObjects kzTestSharedObjects() {
    return {&kz::NotificationCenter::defaultCenter(), &kz::Application::shared(), &kz::Workspace::shared(),
            &kzp::PrintOptionConverter::sharedInstance(), &kzp::AppPreference::sharedInstance(),
            &kzp::QuillUI::sharedPrintOption(), &kzp::PanePlugInMgr::sharedInstance(),
            &kzp::PanePlugInMgr::sharedInstance().quillMgr()};
}

KZ_EXPORT void kzTestThrow(const char* what, int code) { throw runtimetest::PaneFailure(what, code); }

KZ_EXPORT kz::View* kzTestMakeButton(const char* title) {
    auto* button = new kz::Button();
    button->setTitle(title);
    return button;
}

KZ_EXPORT void kzTestRegisterPopUp(kzp::QuillMgr& mgr, const char* keyword) {
    kz::Dictionary d;
    d.set("mainKeyword", keyword);
    d.set("control_type", "PopupButton");
    d.set("text", "Label");
    d.set("choices", kz::Array{kz::Value(kz::Dictionary{{"choice", kz::Value("A")}, {"text", kz::Value("Text A")}}),
                               kz::Value(kz::Dictionary{{"choice", kz::Value("B")}, {"text", kz::Value("Text B")}})});
    d.set("default", "A");
    auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 60));
    control->setControlDictionary(d, nullptr);
    control->updateControl();
    mgr.addControl(control);
}

KZ_EXPORT std::string kzTestValueOf(const kzp::QuillMgr& mgr, const char* keyword) {
    auto value = mgr.getStringValue(keyword);
    return value ? *value : std::string("(none)");
}

KZ_EXPORT void kzTestPost(const char* name, const char* value) {
    kz::NotificationCenter::defaultCenter().post(name, nullptr, kz::Dictionary{{"Paramater", kz::Value(value)}});
}

}  // extern "C"

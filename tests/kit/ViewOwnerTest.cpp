#include <gtest/gtest.h>

#include "platform/kit/Button.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/ViewOwner.h"

using namespace kz;

namespace {
const std::string kJobName = std::string(KZ_TEST_DATA) + "/kit/JobName.plist";

// An owner that declares its outlets and actions as tables, with one outlet
// of the wrong kind ("_jobName" is a text field in the description).
struct TableOwner : ViewOwner, std::enable_shared_from_this<TableOwner> {
    std::shared_ptr<PopUpButton> kind;
    std::shared_ptr<PopUpButton> notAPopUp = std::make_shared<PopUpButton>();
    int oks = 0, cancels = 0;
    void ok(Control*) { ++oks; }
    void cancel(Control*) { ++cancels; }
    std::span<const Outlet> outlets() const override {
        static const Outlet table[] = {outlet("_kind", &TableOwner::kind),
                                       outlet("_jobName", &TableOwner::notAPopUp)};
        return table;
    }
    std::span<const Action> actions() const override {
        static const Action table[] = {action("ok:", &TableOwner::ok), weakAction("cancel:", &TableOwner::cancel)};
        return table;
    }
};

Button* buttonFor(View& root, const std::string& selector) {
    return dynamic_cast<Button*>(ScriptedUiDriver::find(root, [&](View& v) {
        auto* c = dynamic_cast<Control*>(&v);
        return c && c->action().selector == selector;
    }));
}
}  // namespace

TEST(ViewOwner, TablesConnectOutletsOfTheirKindAndBindTheActions) {
    auto owner = std::make_shared<TableOwner>();
    std::string error;
    auto r = ViewLoader::loadFile(kJobName, owner.get(), &error);
    ASSERT_TRUE(r) << error;
    ASSERT_NE(owner->kind, nullptr);
    EXPECT_EQ(owner->kind->selectedItem()->representedObject(), Value("doc"));
    // The wrong kind leaves the outlet empty and is reported like a missing one.
    EXPECT_EQ(owner->notAPopUp, nullptr);
    EXPECT_EQ(r->unconnectedOutlets, std::vector<std::string>{"_jobName"});
    EXPECT_EQ(r->unknownActions, std::vector<std::string>{"collatedSelected:"});
    // Two owners of one class share the tables but not their state.
    TableOwner other;
    EXPECT_TRUE(other.connectOutlet("_kind", owner->kind));
    EXPECT_EQ(other.kind, owner->kind);
    EXPECT_FALSE(other.connectOutlet("_none", owner->kind));

    Button* ok = buttonFor(*r->view, "ok:");
    Button* cancel = buttonFor(*r->view, "cancel:");
    ASSERT_TRUE(ok && cancel);
    EXPECT_TRUE(ok->performClick());
    EXPECT_TRUE(cancel->performClick());
    EXPECT_EQ(owner->oks, 1);
    EXPECT_EQ(owner->cancels, 1);
    // A weakly bound action outlives its owner and then does nothing.
    owner.reset();
    cancel->performClick();
}

// The registry and its change pipeline: order of announcements, the dialogs
// and what their answers do, collective changes, and rings in the rules.
#include <gtest/gtest.h>

#include "QuillMgrTestSupport.h"
#include "platform/foundation/Log.h"

using namespace ruletest;
using Names = std::vector<std::string>;

TEST(QuillMgrRegistry, FilesControlsAndChildrenOnceAndReadsTheFirst) {
    Rig rig;
    auto a = rig.popup("A", {"1", "2"}, "1");
    auto second = rig.popup("A", {"1", "2"}, "2");
    rig.mgr.addControl(a);  // the very same control is not filed twice
    rig.add(rules(R"({"text": "title only"})"));
    ASSERT_EQ(rig.mgr.getControlsDictionary().size(), 1u);
    EXPECT_EQ(rig.mgr.controlsFor("A")->size(), 2u);
    EXPECT_EQ(rig.mgr.getStringValue("A"), "1");
    EXPECT_EQ(rig.mgr.getStringValue("nothing"), std::nullopt);

    rig.mgr.setStringValue("A", "2");  // every control, no rule
    EXPECT_EQ(second->getStringValue(), "2");
    EXPECT_EQ(a->getStringValue(), "2");

    // Unsupported values are reported in place of the widget's, no value as "".
    rig.popup("B", {"x"}, "");
    rig.mgr.setStringValue("A", "9");
    kz::Dictionary all = rig.mgr.getAllValueDictionary();
    EXPECT_EQ(all.keys(), (Names{"A", "B"}));
    EXPECT_EQ(all.get("A"), kz::Value("9"));
    EXPECT_EQ(all.get("B"), kz::Value("x"));  // a pop-up shows its first item
}

TEST(QuillMgrRegistry, BackupsRestoreWithoutRules) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1", R"({"cooperation": {"1": {"B": "y"}}})");
    rig.popup("B", {"x", "y"}, "x");
    std::string key = rig.mgr.backupSettings();
    EXPECT_EQ(key.size(), 19u);
    EXPECT_EQ(key[10], 'T');
    rig.mgr.setStringValue("A", "2");
    auto& rec = rig.rec;
    rec.posts.clear();
    rig.mgr.restoreSettings(key);
    EXPECT_EQ(rig.mgr.getStringValue("A"), "1");
    EXPECT_EQ(rig.mgr.getStringValue("B"), "x");
    EXPECT_TRUE(rec.posts.empty());
    EXPECT_FALSE(rig.mgr.hasBackup(key));
}

TEST(QuillMgrPipeline, AnnouncesTouchedOptionsDepthFirstThenFinishes) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1", R"({
        "condition": {"2": {"C": true}},
        "hide": {"2": {"D": true}},
        "cooperation": {"2": {"B": "y"}}})");
    rig.popup("B", {"x", "y"}, "x", R"({"cooperation": {"y": {"E": "f"}}})");
    rig.popup("C", {"c"}, "c");
    auto d = rig.popup("D", {"d"}, "d");
    auto e = rig.popup("E", {"e", "f"}, "e");
    auto& rec = rig.rec;
    rec.posts.clear();
    rig.choose("A", "2");
    EXPECT_EQ(names(rec), (Names{"A", "C", "D", "B", "E", "done:E", "done:B", "done:A"}));
    EXPECT_TRUE(d->isHidden());
    EXPECT_EQ(e->getStringValue(), "f");
    EXPECT_EQ(rig.mgr.controlsFor("A")->front()->getOldValue(), "2");
    EXPECT_EQ(rec.posts.back().userInfo.get("isCollectiveChange"), kz::Value("False"));

    // The same value again: conditions only, announced, nothing finished.
    rec.posts.clear();
    rig.choose("A", "2");
    EXPECT_EQ(names(rec), (Names{"A", "C"}));
}

TEST(QuillMgrPipeline, ConditionsAndLogicalSumsSwitchTheirTargets) {
    Rig rig;
    rig.popup("A", {"on", "off"}, "on", R"({"condition": {"off": {"T": false, "P": {"p1": true}}, "on": {"T": true}}})");
    rig.popup("B", {"on", "off"}, "on", R"({"condition": {"off": {"T": false}, "on": {"T": true}}})");
    auto t = rig.popup("T", {"t"}, "t");
    auto p = rig.popup("P", {"p0", "p1"}, "p0");
    rig.popup("S1", {"y", "n"}, "n", R"({"logical_sum_condition": {"y": {"L": true}, "n": {"L": false}}})");
    rig.popup("S2", {"y", "n"}, "n", R"({"logical_sum_condition": {"y": {"L": true}, "n": {"L": false}}})");
    auto l = rig.popup("L", {"l"}, "l");

    rig.choose("A", "off");
    rig.choose("B", "off");
    EXPECT_FALSE(t->isEnabled());
    rig.choose("A", "on");
    EXPECT_FALSE(t->isEnabled());  // B still disables it
    rig.choose("B", "on");
    EXPECT_TRUE(t->isEnabled());

    // A pop-up target's items: the selected one disabled moves the selection.
    rig.choose("A", "off");
    EXPECT_EQ(p->getStringValue(), "p1");

    rig.choose("S1", "y");
    rig.choose("S2", "y");
    rig.choose("S1", "n");
    EXPECT_TRUE(l->isEnabled());
    rig.choose("S2", "n");
    EXPECT_FALSE(l->isEnabled());
}

TEST(QuillMgrPipeline, ConflictAsksAndTheAnswerDecides) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1", R"({"conflict": {"2": {"B": {"x": {"restore": {"B": "y", "C": "c2"}}}}}})");
    auto b = rig.popup("B", {"x", "y"}, "x");
    auto c = rig.popup("C", {"c1", "c2"}, "c1");
    const std::string text =
        "The following properties cannot be set at the same time.\r[Label A]:[Text 2]\r"
        "[Label B]:[Text x]\r"
        "\rDo you want to change to the following settings to enable the selection?\r"
        "[Label B]:[Text y]\r[Label C]:[Text c2]\r";

    rig.answer("No");
    auto& rec = rig.rec;
    rec.posts.clear();
    rig.choose("A", "2");
    ASSERT_EQ(rig.dialogs.size(), 1u);
    EXPECT_EQ(rig.dialogs[0], text);
    EXPECT_EQ(rig.mgr.getStringValue("A"), "1");  // undone
    EXPECT_EQ(b->getStringValue(), "x");
    EXPECT_EQ(names(rec), (Names{"A"}));  // no finish

    rig.answer("Yes");
    rec.posts.clear();
    rig.choose("A", "2");
    EXPECT_EQ(rig.dialogs.at(1), text);
    EXPECT_EQ(rig.mgr.getStringValue("A"), "2");
    EXPECT_EQ(b->getStringValue(), "y");
    EXPECT_EQ(c->getStringValue(), "c2");
    EXPECT_EQ(names(rec), (Names{"A", "B", "done:B", "C", "done:C", "done:A"}));
}

TEST(QuillMgrPipeline, AnyChangeQuestionIsSkippedInCollectiveModeButOrdinaryConflictsAsk) {
    Rig rig;
    rig.bundle = kz::Bundle::open(KZ_TEST_DATA "/engine/rules/Rules.plugin");
    rig.mgr.setPdeResourcePath(KZ_TEST_DATA "/engine/rules/Rules.plugin");
    rig.popup("A", {"1", "2", "3"}, "1", R"({"conflict": {
        "__ALL__": {"B": {"x": {"restore": "y"}}},
        "__LESS__:3": {"C": {"c1": {"restore": "c2"}}}}})");
    auto b = rig.popup("B", {"x", "y"}, "x");
    rig.popup("C", {"c1", "c2"}, "c1");

    rig.answer("Accept");
    rig.choose("A", "3");
    ASSERT_EQ(rig.dialogs.size(), 1u);
    EXPECT_EQ(rig.dialogs[0], "Changing [Label A] also sets:\r[Label B]:[Text y]\r");
    EXPECT_EQ(b->getStringValue(), "y");

    rig.mgr.setStringValue("B", "x");
    rig.answer("Accept");
    rig.mgr.setSettings(rules(R"({"A": "2"})"));
    ASSERT_EQ(rig.dialogs.size(), 2u);  // the threshold conflict still asks
    EXPECT_EQ(rig.dialogs[1],
              "The following properties cannot be set at the same time.\r[Label A]:[under 3]\r"
              "[Label C]:[Text c1]\r\rDo you want to change to the following settings to enable the selection?\r"
              "[Label C]:[Text c2]\r");
    EXPECT_EQ(b->getStringValue(), "x");
}

TEST(QuillMgrPipeline, UnrestorableConflictExplainsAndUndoesOnceTheNetworkDataIsIn) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1", R"({"unrestorable_conflict": {"2": {"B": {"x": {}}}}})");
    rig.popup("B", {"x", "y"}, "x");
    rig.network.ready = false;
    rig.choose("A", "2");  // not looked for yet
    EXPECT_EQ(rig.mgr.getStringValue("A"), "2");
    EXPECT_TRUE(rig.dialogs.empty());

    rig.network.ready = true;
    rig.mgr.setStringValue("A", "1");
    rig.mgr.updateOldValue("A");
    rig.answer("OK");
    auto& rec = rig.rec;
    rec.posts.clear();
    rig.choose("A", "2");
    ASSERT_EQ(rig.dialogs.size(), 1u);
    EXPECT_EQ(rig.dialogs[0],
              "The following properties cannot be set at the same time.\r[Label A]:[Text 2]\r[Label B]:[Text x]\r"
              "\r選択を無効にして、以下の設定に戻します。\r[Label A]:[Text 1]\r");
    EXPECT_EQ(rig.mgr.getStringValue("A"), "1");
    EXPECT_EQ(names(rec), (Names{"A"}));
}

TEST(QuillMgrPipeline, UnrestorableTitleAndMessageReplaceTheStandardTexts) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1",
              R"({"unrestorable_conflict": {"title": "Cannot", "message": "Pick again.", "2": {"B": {"x": {}}}}})");
    rig.popup("B", {"x"}, "x");
    rig.answer("OK");
    rig.choose("A", "2");
    ASSERT_EQ(rig.dialogs.size(), 1u);
    EXPECT_EQ(rig.dialogs[0], "Cannot\r[Label A]:[Text 2]\r[Label B]:[Text x]\r\rPick again.");
}

TEST(QuillMgrCollective, SetSettingsTakesBooleansAndFinishesUnknownKeywords) {
    Rig rig;
    kz::Dictionary box = rules(R"({"mainKeyword": "Staple", "control_type": "CheckBox", "default": "False",
        "choices": [{"choice": "True", "text": "On"}, {"choice": "False", "text": "Off"}]})");
    rig.add(box);
    auto& rec = rig.rec;
    rec.posts.clear();
    kz::Dictionary settings;
    settings.set("Staple", true);
    settings.set("Ghost", "1");
    rig.mgr.setSettings(settings);
    EXPECT_EQ(rig.mgr.getStringValue("Staple"), "True");
    EXPECT_EQ(names(rec), (Names{"done:Staple", "done:Ghost"}));
    EXPECT_EQ(rec.posts[1].userInfo.get("isCollectiveChange"), kz::Value("True"));
    EXPECT_FALSE(rig.mgr.isCollectiveChange());

    rec.posts.clear();
    rig.mgr.setDefaults();  // each default is announced and runs the pipeline
    EXPECT_EQ(names(rec), (Names{"Staple", "done:Staple"}));
    EXPECT_EQ(rig.mgr.getStringValue("Staple"), "False");
}

TEST(QuillMgrAsk, BeforeAChangeAndSilentResolution) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1", R"({"conflict": {"2": {"B": {"x": {"restore": "y"}}}}})");
    rig.popup("B", {"x", "y"}, "x", R"({"cooperation": {"y": {"C": "c2"}}})");
    rig.popup("C", {"c1", "c2"}, "c1");

    rig.answer("No");
    EXPECT_FALSE(rig.mgr.validateBeforeChange("A", "2", std::string("Two-sided")));
    EXPECT_EQ(rig.dialogs.at(0),
              "When the following settings are made, Two-sided cannot be set.\r[Label B]:[Text x]\r"
              "\rDo you want to change the settings to the following?\r[Label B]:[Text y]\r");
    EXPECT_EQ(rig.mgr.getStringValue("B"), "x");

    rig.answer("Yes");
    auto& rec = rig.rec;
    rec.posts.clear();
    EXPECT_TRUE(rig.mgr.validateBeforeChange("A", "2", std::nullopt));
    EXPECT_TRUE(rig.dialogs.at(1).starts_with("When the following settings are made, Label A cannot be set.\r"));
    EXPECT_EQ(rig.mgr.getStringValue("A"), "1");  // the caller sets it
    EXPECT_EQ(rig.mgr.getStringValue("C"), "c2");
    EXPECT_EQ(names(rec), (Names{"B", "C", "done:C", "done:B", "C"}));
    EXPECT_TRUE(rig.mgr.validateBeforeChange("A", "1", std::nullopt));

    rig.mgr.setStringValue("B", "x");
    rec.posts.clear();
    auto restored = rig.mgr.setStringValueWithRestoreConfliction("A", "2");
    ASSERT_TRUE(restored);
    EXPECT_EQ(*restored, (Names{"B", "C"}));
    EXPECT_EQ(rig.mgr.getStringValue("A"), "2");
    EXPECT_TRUE(rec.posts.empty());
    EXPECT_EQ(rig.mgr.setStringValueWithRestoreConfliction("A", "1"), std::nullopt);
    EXPECT_EQ(rig.dialogs.size(), 2u);
}

TEST(QuillMgrRings, ARingOfTwoStopsAtTheKeywordAlreadyBeingValidated) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1", R"({"condition": {"1": {"B": true}, "2": {"B": true}}})");
    rig.popup("B", {"b"}, "b", R"({"condition": {"b": {"A": true}}})");
    kz::LogCapture log;
    auto& rec = rig.rec;
    rec.posts.clear();
    rig.choose("A", "2");
    EXPECT_EQ(names(rec), (Names{"A", "B", "A", "done:A"}));
    EXPECT_TRUE(log.contains(kz::strprintf(kzp::QuillMgr::kRingLog, "A")));
}

TEST(QuillMgrRings, ARingOfThreeThroughCooperationEnds) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1", R"({"cooperation": {"2": {"B": "2"}}})");
    rig.popup("B", {"1", "2"}, "1", R"({"cooperation": {"2": {"C": "2"}}})");
    rig.popup("C", {"1", "2"}, "1", R"({"cooperation": {"2": {"A": "1"}}})");
    auto& rec = rig.rec;
    rec.posts.clear();
    rig.choose("A", "2");
    EXPECT_EQ(names(rec), (Names{"A", "B", "C", "A", "done:C", "done:B", "done:A"}));
    // C set A back while A's change was running; A's own pipeline is not rerun.
    EXPECT_EQ(rig.mgr.getStringValue("A"), "1");
    EXPECT_EQ(rig.mgr.getStringValue("C"), "2");
}

TEST(QuillMgrRings, KeywordsReachedTwiceWithoutARingAreValidatedEachTime) {
    Rig rig;
    rig.popup("A", {"1", "2"}, "1", R"({"cooperation": {"2": {"B": "2", "C": "2"}}})");
    rig.popup("B", {"1", "2"}, "1", R"({"cooperation": {"2": {"C": "3"}}})");
    rig.popup("C", {"1", "2", "3"}, "1");
    auto& rec = rig.rec;
    rec.posts.clear();
    rig.choose("A", "2");
    EXPECT_EQ(names(rec), (Names{"A", "B", "C", "done:C", "done:B", "C", "done:A"}));
}

TEST(QuillMgrRings, AnExponentialFanOutWithoutARingIsCutOff) {
    // Each rung's two options enable both options of the next: every
    // announcement reaches the next rung twice, 2^17 pipelines in all.
    Rig rig;
    const int rungs = 17;
    for (int r = 0; r < rungs; ++r)
        for (const char* side : {"L", "R"}) {
            std::string next = std::to_string(r + 1);
            std::string more = r + 1 < rungs ? R"({"condition": {"v": {"L)" + next + R"(": true, "R)" + next +
                                                   R"(": true}, "w": {"L)" + next + R"(": true, "R)" + next + R"(": true}}})"
                                             : "{}";
            rig.popup(side + std::to_string(r), {"v", "w"}, "v", more);
        }
    kz::LogCapture log;
    rig.rec.posts.clear();
    rig.choose("L0", "w");
    EXPECT_TRUE(log.contains(kz::strprintf(kzp::QuillMgr::kCascadeLog, "L0", kzp::QuillMgr::kMaxCascade)));
    EXPECT_EQ(rig.rec.posts.back().name, "ValueChangFinished_L0");  // the change itself still finishes
    rig.rec.posts.clear();
    rig.choose("R0", "w");  // the next cascade has its own budget
    EXPECT_EQ(rig.rec.posts.back().name, "ValueChangFinished_R0");
}

#pragma once

#include <nlohmann/json.hpp>

#include <memory>
#include <string>
#include <vector>

#include "support/JsonValue.h"
#include "QuillUITestSupport.h"
#include "engine/rules/QuillMgr.h"
#include "platform/kit/Application.h"
#include "platform/kit/ScriptedUiDriver.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"

namespace ruletest {

namespace kzp = ComTORVALEKZ2R4_Plugin;
using quilltest::Recorder;

using kzpde::fromJson;

// Rules written as JSON, in the order the file would give them.
inline kz::Dictionary rules(const std::string& json) {
    return fromJson(nlohmann::ordered_json::parse(json)).dictionary();
}

struct NetworkReady : kzp::NetworkDataState {
    bool ready = true;
    bool isInitializedNetworkData() const override { return ready; }
};

// A registry, its controls, the network state, and an alert answerer that
// keeps every message shown.
class Rig {
public:
    Recorder rec;  // before the registry, so that it hears each post before the pipeline runs
    kzp::QuillMgr mgr;
    NetworkReady network;
    kz::ScriptedUiDriver driver;
    std::vector<std::string> dialogs;

    Rig() {
        mgr.setNetworkDataState(&network);
        kz::Application::shared().setDriver(&driver);
    }
    ~Rig() { kz::Application::shared().setDriver(nullptr); }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    // A pop-up option with the choices (texts "Text X"), its default and any
    // further description keys as JSON.
    std::shared_ptr<kzp::QuillUI> popup(const std::string& keyword, const std::vector<std::string>& choices,
                                        const std::string& defaultValue, const std::string& more = "{}") {
        kz::Dictionary d = rules(more);
        d.set("mainKeyword", keyword);
        d.set("control_type", "PopupButton");
        d.set("text", "Label " + keyword);
        kz::Array list;
        for (const auto& c : choices) list.push_back(kz::Dictionary{{"choice", c}, {"text", "Text " + c}});
        d.set("choices", std::move(list));
        if (!defaultValue.empty()) d.set("default", defaultValue);
        return add(d);
    }

    std::shared_ptr<kzp::QuillUI> add(const kz::Dictionary& description) {
        auto c = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, 300, 60));
        c->setControlDictionary(description, bundle);
        c->updateControl();
        mgr.addControl(c);
        return c;
    }

    // The user picks a value of an option as its pop-up would announce it.
    void choose(const std::string& keyword, const std::string& value) {
        kz::NotificationCenter::defaultCenter().post(keyword, nullptr, kz::Dictionary{{"Paramater", kz::Value(value)}});
    }

    // The next alert is answered with the button of that title.
    void answer(const std::string& title) {
        driver.then([this, title](kz::Application&, kz::Window& w) {
            if (auto* t = dynamic_cast<kz::TextField*>(kz::ScriptedUiDriver::find(
                    w.contentView(), [](kz::View& v) { return dynamic_cast<kz::TextField*>(&v) != nullptr; })))
                dialogs.push_back(t->stringValue());
            auto* b = dynamic_cast<kz::Button*>(kz::ScriptedUiDriver::find(w.contentView(), [&](kz::View& v) {
                auto* b = dynamic_cast<kz::Button*>(&v);
                return b && b->title() == title;
            }));
            return b && b->performClick();
        });
    }

    std::shared_ptr<kz::Bundle> bundle;
};

// Names of the posts a recorder saw, finish notifications shortened to "done:K".
inline std::vector<std::string> names(const Recorder& rec) {
    std::vector<std::string> out;
    for (const auto& p : rec.posts) {
        const std::string prefix = "ValueChangFinished_";
        out.push_back(p.name.starts_with(prefix) ? "done:" + p.name.substr(prefix.size()) : p.name);
    }
    return out;
}

}  // namespace ruletest

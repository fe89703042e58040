// kzpde describe show FILE [NAME] [--width W] [--height H] [--json]: builds
// the option controls of a control description file headless and shows
// every widget they are made of.
#include <cmath>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/Command.h"
#include <CLI/CLI.hpp>

#include "cli/DeclaredOptions.h"
#include "support/DescriptionFile.h"
#include "support/JsonValue.h"
#include "engine/controls/QuillUI.h"
#include "platform/kit/ViewClass.h"
#include "platform/kit/ViewDump.h"

namespace kzp = ComTORVALEKZ2R4_Plugin;
using nlohmann::ordered_json;

namespace {

constexpr double kMaxSide = 100000;

struct Options {
    std::string path, name;
    double width = 400;
    std::optional<double> height;
    bool json = false;
};

bool readSide(const std::string& text, double& out) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(v) || v <= 0 || v > kMaxSide) return false;
    out = v;
    return true;
}

// Whole numbers print without a fraction.
ordered_json number(double v) {
    if (std::isfinite(v) && v == std::floor(v) && std::abs(v) < 1e15) return static_cast<long long>(v);
    return v;
}

ordered_json frameJson(const kz::Rect& r) {
    return ordered_json::array({number(r.minX()), number(r.minY()), number(r.size.width), number(r.size.height)});
}

// A widget as its class reports itself: class, frame and depth first.
ordered_json widgetJson(const kz::View& v, int depth) {
    ordered_json w = ordered_json::object();
    w["class"] = v.className();
    w["frame"] = frameJson(v.frame());
    w["depth"] = depth;
    const kz::ViewClass& described = v.viewClass();
    for (const std::string& name : described.reported())
        if (std::optional<kz::Value> value = described.value(v, name)) w[name] = kzpde::toJson(*value);
    return w;
}

int run(const Options& o, kzpde::Invocation& inv) {
    std::string error;
    std::optional<kzpde::DescriptionFile> file = kzpde::DescriptionFile::open(o.path, &error);
    if (!file) {
        inv.err << "kzpde describe show: " << o.path << ": " << error << "\n";
        return kzpde::kFailure;
    }
    if (!o.name.empty() && !file->entries().get(o.name).isDictionary()) {
        inv.err << "kzpde describe show: " << o.path << ": no control description named " << o.name << "\n";
        return kzpde::kFailure;
    }
    ordered_json all = ordered_json::array();
    for (const auto& [name, entry] : file->entries()) {
        if (!o.name.empty() && name != o.name) continue;
        if (!entry.isDictionary()) continue;
        double height = 0;
        if (o.height) {
            height = *o.height;
        } else {
            // The height the control asks for, and a row of 72 per child.
            auto probe = file->build(entry.dictionary(), o.width, 1000);
            height = std::max(probe->getControlHeight(), 24.0) + 72.0 * probe->childControls().size();
        }
        auto control = file->build(entry.dictionary(), o.width, height);
        kzp::OptionalText value = control->getStringValue();
        if (o.json) {
            ordered_json widgets = ordered_json::array();
            control->forEachDescendant([&](kz::View& v, int depth) { widgets.push_back(widgetJson(v, depth)); });
            all.push_back({{"name", name},
                           {"mainKeyword", control->mainKeyword()},
                           {"type", control->controlType()},
                           {"value", value ? ordered_json(*value) : ordered_json(nullptr)},
                           {"height", number(control->getControlHeight())},
                           {"frame", frameJson(control->frame())},
                           {"widgets", widgets}});
        } else {
            inv.out << "== " << name << ": mainKeyword=" << control->mainKeyword()
                    << " type=" << (control->controlType().empty() ? "(none)" : control->controlType())
                    << " value=" << (value ? "\"" + *value + "\"" : std::string("(none)"))
                    << " height=" << control->getControlHeight() << "\n"
                    << kz::ViewDump::dump(*control);
        }
    }
    if (o.json) kzpde::writeJson(inv.out, all);
    return kzpde::kOk;
}

const kzpde::Command::Registration showCommand{{
    "describe show",
    "build the option controls of a control description file and show their widgets",
    "Builds every control of the control description FILE (or only the one named\n"
    "NAME) headless, each in a frame of W by H points (origin bottom left; W\n"
    "defaults to 400, H to the height the control asks for plus 72 per child\n"
    "control). Texts come from the \"UI\" table of the bundle when FILE lies in a\n"
    "bundle's Contents/Resources, else they show their keys; child controls are\n"
    "looked up in FILE itself.\n\n"
    "Text output: per control a line \"== NAME: mainKeyword=K type=T value=V\n"
    "height=N\" and the text dump of its views (class, [x y width height], title,\n"
    "items, value, disabled, hidden).\n\n"
    "--json: an array with one object per control: \"name\", \"mainKeyword\",\n"
    "\"type\", \"value\" (text or null), \"height\", \"frame\" and \"widgets\", every view\n"
    "below the control in tree order. A widget carries \"class\", \"frame\" ([x, y,\n"
    "width, height] in its superview), \"depth\" (1 for the control's own parts),\n"
    "\"enabled\" (controls), \"hidden\", and by class: \"title\" and \"state\" (buttons),\n"
    "\"items\" (pop-up items with \"title\"/\"enabled\" or \"separator\"; radio cells\n"
    "with \"title\"/\"state\"/\"enabled\"), \"value\" (selected title, text, number or\n"
    "date as seconds since 1970), \"range\", \"ticks\", \"increment\", \"style\",\n"
    "\"editable\", \"image\", \"mainKeyword\" (child controls).\n\n"
    "Exit status 1 when FILE cannot be read or has no control NAME.\n",
    [](CLI::App& app) -> kzpde::Runner {
        auto o = std::make_shared<Options>();
        // A side is a finite length above zero and not past kMaxSide.
        const CLI::Validator side(
            [](std::string& text) {
                double v = 0;
                return readSide(text, v) ? std::string() : "not a length above 0 and up to 100000: " + text;
            },
            "", "side");
        app.add_option("FILE", o->path, "the control description file")->required();
        app.add_option("NAME", o->name, "only the control of this name");
        app.add_option("--width", o->width, "the width of each control's frame (400)")->type_name("W")->check(side);
        app.add_option_function<double>("--height", [o](double h) { o->height = h; }, "the height of each control's frame")
            ->type_name("H")
            ->check(side);
        kzpde::DeclaredOptions::json(app, o->json);
        return [o](kzpde::Invocation& inv) { return run(*o, inv); };
    },
}};

}  // namespace

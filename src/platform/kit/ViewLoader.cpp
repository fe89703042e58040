#include "platform/kit/ViewLoader.h"

#include <map>

#include "platform/foundation/PropertyList.h"
#include "platform/kit/Box.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/Panel.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/ScrollView.h"
#include "platform/kit/SecureTextField.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/kit/TabView.h"
#include "platform/kit/ViewClass.h"
#include "platform/kit/ViewLoading.h"

namespace kz {

namespace {

// The kit's classes that descriptions can name; the engine adds its own.
std::map<std::string, ViewLoader::ViewFactory>& viewClasses() {
    static std::map<std::string, ViewLoader::ViewFactory> classes = [] {
        std::map<std::string, ViewLoader::ViewFactory> out;
        for (const ViewClass* c :
             {&View::described(), &Box::described(), &Button::described(), &PopUpButton::described(),
              &TextField::described(), &SecureTextField::described(), &Matrix::described(), &Slider::described(),
              &Stepper::described(), &DatePicker::described(), &TabView::described(), &ImageView::described(),
              &ScrollView::described(), &TableView::described(), &OutlineView::described()})
            out[c->name()] = [c] { return c->make(); };
        return out;
    }();
    return classes;
}

std::map<std::string, ViewLoader::WindowFactory>& windowClasses() {
    static std::map<std::string, ViewLoader::WindowFactory> classes = {
        {"Window", [](const Value&) { return std::make_shared<Window>(); }},
        {"Panel", [](const Value&) { return std::make_shared<Panel>(); }},
    };
    return classes;
}

ViewLoader::HostAwakeHandler& hostHandler() {
    static ViewLoader::HostAwakeHandler handler;
    return handler;
}

class Builder;

// The loading of one view, as its class's setters see it.
class Loading final : public ViewLoading {
public:
    Loading(Builder& builder, const Dictionary& d, std::string path, int depth)
        : _builder(builder), _description(d), _path(std::move(path)), _depth(depth) {}
    const Dictionary& description() const override { return _description; }
    const std::string& path() const override { return _path; }
    ViewOwner* owner() const override;
    std::shared_ptr<View> build(const Value& description, const std::string& place) override;
    void unknownAction(const std::string& selector) override;

private:
    Builder& _builder;
    const Dictionary& _description;
    std::string _path;
    int _depth;
};

// Reads one description into objects; throws ViewLoadError on a fault.
class Builder {
public:
    explicit Builder(ViewOwner* owner, ViewLoader::Result& result) : _owner(owner), _result(result) {}

    std::shared_ptr<View> view(const Value& d, int depth, const std::string& path) {
        if (!d.isDictionary()) fail(path + ": a view must be a dictionary");
        if (depth > ViewLoader::kMaxDepth) fail(path + ": views nest too deeply");
        if (++_count > ViewLoader::kMaxViews) fail("too many views");
        const Dictionary& dict = d.dictionary();
        std::string cls = dict.get("class").isString() ? dict.get("class").string() : "View";
        auto it = viewClasses().find(cls);
        if (it == viewClasses().end()) fail(path + ": unknown class '" + cls + "'");
        std::shared_ptr<View> v = it->second ? it->second() : nullptr;
        if (!v) fail(path + ": class '" + cls + "' made nothing");
        _made.push_back(v);
        const ViewClass& described = v->viewClass();
        Loading loading(*this, dict, path, depth);
        described.load(*v, loading);
        if (const Value* subs = dict.find("subviews")) {
            if (!subs->isArray()) fail(path + ": subviews must be a list");
            View& parent = described.subviewParent(*v);
            int i = 0;
            for (const Value& s : subs->array()) parent.addSubview(view(s, depth + 1, path + "/" + std::to_string(i++)));
        }
        if (const Value* outlet = dict.find("outlet"); outlet && outlet->isString() && !outlet->string().empty()) {
            if (!_owner || !_owner->connectOutlet(outlet->string(), v)) _result.unconnectedOutlets.push_back(outlet->string());
        }
        return v;
    }

    std::shared_ptr<Window> window(const Value& d) {
        if (!d.isDictionary()) fail("window: must be a dictionary");
        const Dictionary& dict = d.dictionary();
        std::string cls = dict.get("class").isString() ? dict.get("class").string() : "Window";
        auto it = windowClasses().find(cls);
        if (it == windowClasses().end()) fail("window: unknown class '" + cls + "'");
        std::shared_ptr<Window> w = it->second(d);
        if (!w) fail("window: class '" + cls + "' made nothing");
        if (const Value* m = dict.find("styleMask"); m && m->isNumber() && w->styleMask() != BorderlessWindowMask)
            w->setStyleMask(static_cast<unsigned>(m->integerValue()));
        if (const Value* f = dict.find("frame")) w->setFrame(ViewLoading::rect(*f, "window"));
        if (const Value* t = dict.find("title"); t && t->isString()) w->setTitle(t->string());
        if (const Value* l = dict.find("level"); l && l->isNumber()) w->setLevel(static_cast<WindowLevel>(l->intValue()));
        if (const Value* s = dict.find("hasShadow"); s && s->isBoolean()) w->setHasShadow(s->boolValue());
        if (const Value* n = dict.find("autosaveName"); n && n->isString()) w->setFrameAutosaveName(n->string());
        if (const Value* c = dict.find("contentView")) {
            auto content = view(*c, 1, "window/contentView");
            w->setContentView(content);
        }
        if (_owner) _owner->connectWindowOutlet(w);
        return w;
    }

    const std::vector<std::shared_ptr<View>>& made() const { return _made; }
    ViewOwner* owner() const { return _owner; }
    void unknownAction(const std::string& selector) { _result.unknownActions.push_back(selector); }

private:
    [[noreturn]] static void fail(std::string text) { ViewLoading::fail(std::move(text)); }

    ViewOwner* _owner;
    ViewLoader::Result& _result;
    int _count = 0;
    std::vector<std::shared_ptr<View>> _made;
};

ViewOwner* Loading::owner() const { return _builder.owner(); }

std::shared_ptr<View> Loading::build(const Value& description, const std::string& place) {
    return _builder.view(description, _depth + 1, _path + place);
}

void Loading::unknownAction(const std::string& selector) { _builder.unknownAction(selector); }

}  // namespace

std::optional<ViewLoader::Result> ViewLoader::loadFile(const std::string& path, ViewOwner* owner, std::string* error) {
    std::string readError;
    Value root = PropertyList::readFile(path, &readError);
    if (root.isNull()) {
        if (error) *error = path + ": " + readError;
        return std::nullopt;
    }
    return load(root, owner, error);
}

std::optional<ViewLoader::Result> ViewLoader::load(const Value& description, ViewOwner* owner, std::string* error) {
    Result result;
    Builder builder(owner, result);
    try {
        if (!description.isDictionary()) throw ViewLoadError{"a view description must be a dictionary"};
        const Dictionary& d = description.dictionary();
        if (const Value* w = d.find("window")) {
            result.window = builder.window(*w);
            result.view = result.window->sharedContentView();
        } else if (const Value* v = d.find("view")) {
            result.view = builder.view(*v, 0, "view");
        } else {
            throw ViewLoadError{"a view description needs a window or a view"};
        }
    } catch (const ViewLoadError& e) {
        if (error) *error = e.text;
        return std::nullopt;
    }
    // Everything is made and connected: now each object may look around.
    if (const HostAwakeHandler& host = hostHandler()) {
        for (auto& v : builder.made()) host(v.get());
        if (owner) host(owner);
    }
    for (auto& v : builder.made())
        if (auto* a = dynamic_cast<AwakeFromNib*>(v.get())) a->awakeFromNib();
    if (owner) owner->awakeFromNib();
    return result;
}

void ViewLoader::registerViewClass(const std::string& name, ViewFactory factory) { viewClasses()[name] = std::move(factory); }

void ViewLoader::registerWindowClass(const std::string& name, WindowFactory factory) {
    windowClasses()[name] = std::move(factory);
}

void ViewLoader::setHostAwakeHandler(HostAwakeHandler handler) { hostHandler() = std::move(handler); }

const ViewLoader::HostAwakeHandler& ViewLoader::hostAwakeHandler() { return hostHandler(); }

ViewLoader::HostAwakeGuard::HostAwakeGuard() : _saved(std::move(hostHandler())) {
    hostHandler() = [](const void*) {};
}

ViewLoader::HostAwakeGuard::~HostAwakeGuard() { hostHandler() = std::move(_saved); }

}  // namespace kz

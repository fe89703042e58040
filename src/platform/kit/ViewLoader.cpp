#include "platform/kit/ViewLoader.h"

#include <cmath>
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

namespace kz {

namespace {

std::map<std::string, ViewLoader::ViewFactory>& viewClasses() {
    static std::map<std::string, ViewLoader::ViewFactory> classes = {
        {"View", [] { return std::make_shared<View>(); }},
        {"Box", [] { return std::make_shared<Box>(); }},
        {"Button", [] { return std::make_shared<Button>(); }},
        {"PopUpButton", [] { return std::make_shared<PopUpButton>(); }},
        {"TextField", [] { return std::make_shared<TextField>(); }},
        {"SecureTextField", [] { return std::make_shared<SecureTextField>(); }},
        {"Matrix", [] { return std::make_shared<Matrix>(); }},
        {"Slider", [] { return std::make_shared<Slider>(); }},
        {"Stepper", [] { return std::make_shared<Stepper>(); }},
        {"DatePicker", [] { return std::make_shared<DatePicker>(); }},
        {"TabView", [] { return std::make_shared<TabView>(); }},
        {"ImageView", [] { return std::make_shared<ImageView>(); }},
        {"ScrollView", [] { return std::make_shared<ScrollView>(); }},
        {"TableView", [] { return std::make_shared<TableView>(); }},
        {"OutlineView", [] { return std::make_shared<OutlineView>(); }},
    };
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

struct LoadError {
    std::string text;
};

// Reads one description into objects; throws LoadError on a fault.
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
        std::shared_ptr<View> v = it->second();
        if (!v) fail(path + ": class '" + cls + "' made nothing");
        _made.push_back(v);
        configureView(*v, dict, path);
        if (auto* c = dynamic_cast<Control*>(v.get())) configureControl(*c, dict, path);
        if (auto* b = dynamic_cast<Button*>(v.get())) configureButton(*b, dict);
        if (auto* p = dynamic_cast<PopUpButton*>(v.get())) configurePopUp(*p, dict, path);
        if (auto* f = dynamic_cast<TextField*>(v.get())) configureTextField(*f, dict);
        if (auto* m = dynamic_cast<Matrix*>(v.get())) configureMatrix(*m, dict, path);
        if (auto* s = dynamic_cast<Slider*>(v.get())) configureSlider(*s, dict);
        if (auto* s = dynamic_cast<Stepper*>(v.get())) configureStepper(*s, dict);
        if (auto* p = dynamic_cast<DatePicker*>(v.get())) configureDatePicker(*p, dict);
        if (auto* t = dynamic_cast<TabView*>(v.get())) configureTabView(*t, dict, depth, path);
        if (auto* t = dynamic_cast<TableView*>(v.get())) configureTableView(*t, dict, path);
        if (auto* sv = dynamic_cast<ScrollView*>(v.get()))
            if (const Value* doc = dict.find("documentView")) sv->setDocumentView(view(*doc, depth + 1, path + "/documentView"));
        View* parent = v.get();
        if (auto* box = dynamic_cast<Box*>(v.get())) {
            if (const Value* t = dict.find("title"); t && t->isString()) box->setTitle(t->string());
            parent = &box->contentView();
        }
        if (const Value* subs = dict.find("subviews")) {
            if (!subs->isArray()) fail(path + ": subviews must be a list");
            int i = 0;
            for (const Value& s : subs->array())
                parent->addSubview(view(s, depth + 1, path + "/" + std::to_string(i++)));
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
        if (const Value* f = dict.find("frame")) w->setFrame(rect(*f, "window"));
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

private:
    [[noreturn]] static void fail(std::string text) { throw LoadError{std::move(text)}; }

    static double number(const Value& v, const std::string& what) {
        if (!v.isNumber()) fail(what + ": not a number");
        double d = v.doubleValue();
        if (!std::isfinite(d)) fail(what + ": not a finite number");
        return d;
    }

    static Rect rect(const Value& v, const std::string& path) {
        if (!v.isArray() || v.array().size() != 4) fail(path + ": frame must be [x, y, width, height]");
        const Array& a = v.array();
        return Rect(number(a[0], path), number(a[1], path), number(a[2], path), number(a[3], path));
    }

    static const Value* get(const Dictionary& d, const char* key, Value::Type type) {
        const Value* v = d.find(key);
        if (!v) return nullptr;
        if (type == Value::Type::Real ? !v->isNumber() : v->type() != type) return nullptr;
        return v;
    }
    static bool flag(const Dictionary& d, const char* key, bool& out) {
        const Value* v = d.find(key);
        if (!v || !v->isBoolean()) return false;
        out = v->boolValue();
        return true;
    }

    void configureView(View& v, const Dictionary& d, const std::string& path) {
        if (const Value* f = d.find("frame")) v.setFrame(rect(*f, path));
        bool b;
        if (flag(d, "hidden", b)) v.setHidden(b);
        if (const Value* t = get(d, "toolTip", Value::Type::String)) v.setToolTip(t->string());
        if (const Value* r = get(d, "focusRingType", Value::Type::Integer))
            v.setFocusRingType(static_cast<FocusRingType>(std::clamp(r->intValue(), 0, 2)));
    }

    void configureControl(Control& c, const Dictionary& d, const std::string& path) {
        if (const Value* t = get(d, "tag", Value::Type::Integer)) c.setTag(static_cast<long>(t->integerValue()));
        if (const Value* t = get(d, "title", Value::Type::String)) c.setTitle(t->string());
        if (const Value* s = d.find("value")) c.setObjectValue(*s);
        if (const Value* f = get(d, "fontSize", Value::Type::Real)) c.setFont(Font(c.font().fontName(), number(*f, path)));
        bool b;
        if (flag(d, "enabled", b)) c.setEnabled(b);
        if (const Value* a = get(d, "action", Value::Type::String); a && !a->string().empty()) {
            std::function<void(Control&)> handler;
            if (_owner) handler = _owner->actionForSelector(a->string());
            if (!handler) _result.unknownActions.push_back(a->string());
            c.setAction({a->string(), std::move(handler)});
        }
    }

    static void configureButton(Button& b, const Dictionary& d) {
        static const std::map<std::string, ButtonType> types = {
            {"push", ButtonType::MomentaryPush}, {"switch", ButtonType::Switch}, {"radio", ButtonType::Radio},
            {"toggle", ButtonType::Toggle}, {"onOff", ButtonType::OnOff}, {"pushOnPushOff", ButtonType::PushOnPushOff}};
        if (const Value* t = get(d, "buttonType", Value::Type::String))
            if (auto it = types.find(t->string()); it != types.end()) b.setButtonType(it->second);
        if (const Value* s = get(d, "bezelStyle", Value::Type::Integer))
            b.setBezelStyle(static_cast<BezelStyle>(std::clamp(s->intValue(), 1, 15)));
        bool on;
        if (flag(d, "bordered", on)) b.setBordered(on);
        if (const Value* i = get(d, "image", Value::Type::String)) b.setImageName(i->string());
        if (const Value* k = get(d, "keyEquivalent", Value::Type::String)) b.setKeyEquivalent(k->string());
        if (const Value* s = get(d, "state", Value::Type::Integer)) b.setState(s->intValue());
    }

    static void configurePopUp(PopUpButton& p, const Dictionary& d, const std::string& path) {
        if (const Value* items = d.find("items")) {
            if (!items->isArray()) fail(path + ": items must be a list");
            for (const Value& iv : items->array()) {
                // An entry that is not a dictionary describes no item: it
                // adds none, rather than an untitled one that shifts the rest.
                if (!iv.isDictionary()) continue;
                const Dictionary& item = iv.dictionary();
                bool separator = false;
                if (flag(item, "separator", separator) && separator) {
                    p.menu().addItem(MenuItem::separatorItem());
                    continue;
                }
                auto mi = std::make_shared<MenuItem>(item.get("title").stringValue());
                if (const Value* t = get(item, "tag", Value::Type::Integer)) mi->setTag(static_cast<long>(t->integerValue()));
                if (const Value* r = item.find("representedObject")) mi->setRepresentedObject(*r);
                if (const Value* i = get(item, "image", Value::Type::String)) mi->setImageName(i->string());
                bool on;
                if (flag(item, "enabled", on)) mi->setEnabled(on);
                p.menu().addItem(mi);
            }
        }
        bool on;
        if (flag(d, "autoenablesItems", on)) p.setAutoenablesItems(on);
        if (const Value* s = get(d, "selectedIndex", Value::Type::Integer)) p.selectItemAtIndex(s->intValue());
    }

    static void configureTextField(TextField& f, const Dictionary& d) {
        bool on;
        if (flag(d, "editable", on)) f.setEditable(on);
        if (flag(d, "selectable", on)) f.setSelectable(on);
        if (flag(d, "bezeled", on)) f.setBezeled(on);
        if (flag(d, "bordered", on)) f.setBordered(on);
        if (flag(d, "drawsBackground", on)) f.setDrawsBackground(on);
        if (const Value* p = get(d, "placeholder", Value::Type::String)) f.setPlaceholderString(p->string());
    }

    void configureMatrix(Matrix& m, const Dictionary& d, const std::string& path) {
        static const std::map<std::string, MatrixMode> modes = {
            {"radio", MatrixMode::Radio}, {"highlight", MatrixMode::Highlight}, {"list", MatrixMode::List}, {"track", MatrixMode::Track}};
        if (const Value* mode = get(d, "mode", Value::Type::String))
            if (auto it = modes.find(mode->string()); it != modes.end()) m.setMode(it->second);
        auto proto = std::make_unique<ButtonCell>("");
        proto->setButtonType(m.mode() == MatrixMode::Radio ? ButtonType::Radio : ButtonType::Switch);
        if (const Value* p = get(d, "prototype", Value::Type::Dictionary)) {
            if (const Value* t = get(p->dictionary(), "title", Value::Type::String)) proto->setTitle(t->string());
            if (get(p->dictionary(), "buttonType", Value::Type::String) && p->dictionary().get("buttonType").string() == "switch")
                proto->setButtonType(ButtonType::Switch);
        }
        m.setPrototype(std::move(proto));
        const Value* cells = d.find("cells");
        if (cells && !cells->isArray()) fail(path + ": cells must be a list");
        int n = cells ? static_cast<int>(cells->array().size()) : 0;
        int columns = get(d, "columns", Value::Type::Integer) ? std::clamp(d.get("columns").intValue(), 1, 64) : 1;
        int rows = get(d, "rows", Value::Type::Integer) ? std::clamp(d.get("rows").intValue(), 0, 1024) : (n + columns - 1) / columns;
        if (static_cast<long>(rows) * columns > ViewLoader::kMaxViews) fail(path + ": too many cells");
        m.renewRows(rows, columns);
        if (const Value* s = get(d, "cellSize", Value::Type::Array); s && s->array().size() == 2)
            m.setCellSize({number(s->array()[0], path), number(s->array()[1], path)});
        for (int i = 0; i < n && i < rows * columns; ++i) {
            const Dictionary& cd = cells->array()[static_cast<std::size_t>(i)].dictionary();
            Cell* c = m.cellAtRow(i / columns, i % columns);
            if (const Value* t = get(cd, "title", Value::Type::String)) c->setTitle(t->string());
            if (const Value* t = get(cd, "tag", Value::Type::Integer)) c->setTag(static_cast<long>(t->integerValue()));
            if (const Value* r = cd.find("representedObject")) c->setRepresentedObject(*r);
            bool on;
            if (flag(cd, "enabled", on)) c->setEnabled(on);
        }
        if (m.mode() == MatrixMode::Radio && rows > 0) {
            int sel = get(d, "selectedRow", Value::Type::Integer) ? d.get("selectedRow").intValue() : 0;
            m.selectCellAtRow(sel, 0);
        }
    }

    static void configureSlider(Slider& s, const Dictionary& d) {
        if (const Value* v = get(d, "minValue", Value::Type::Real)) s.setMinValue(number(*v, "minValue"));
        if (const Value* v = get(d, "maxValue", Value::Type::Real)) s.setMaxValue(number(*v, "maxValue"));
        if (const Value* v = get(d, "numberOfTickMarks", Value::Type::Integer)) s.setNumberOfTickMarks(std::clamp(v->intValue(), 0, 1000));
        bool on;
        if (flag(d, "allowsTickMarkValuesOnly", on)) s.setAllowsTickMarkValuesOnly(on);
        if (const Value* v = get(d, "altIncrementValue", Value::Type::Real)) s.setAltIncrementValue(number(*v, "altIncrementValue"));
        if (const Value* v = get(d, "value", Value::Type::Real)) s.setDoubleValue(number(*v, "value"));
    }

    static void configureStepper(Stepper& s, const Dictionary& d) {
        if (const Value* v = get(d, "minValue", Value::Type::Real)) s.setMinValue(number(*v, "minValue"));
        if (const Value* v = get(d, "maxValue", Value::Type::Real)) s.setMaxValue(number(*v, "maxValue"));
        if (const Value* v = get(d, "increment", Value::Type::Real)) s.setIncrement(number(*v, "increment"));
        bool on;
        if (flag(d, "valueWraps", on)) s.setValueWraps(on);
        if (flag(d, "autorepeat", on)) s.setAutorepeat(on);
        if (const Value* v = get(d, "value", Value::Type::Real)) s.setDoubleValue(number(*v, "value"));
    }

    static void configureDatePicker(DatePicker& p, const Dictionary& d) {
        static const std::map<std::string, DatePickerStyle> styles = {
            {"textFieldAndStepper", DatePickerStyle::TextFieldAndStepper},
            {"clockAndCalendar", DatePickerStyle::ClockAndCalendar},
            {"textField", DatePickerStyle::TextField}};
        if (const Value* s = get(d, "style", Value::Type::String))
            if (auto it = styles.find(s->string()); it != styles.end()) p.setDatePickerStyle(it->second);
        if (const Value* e = get(d, "elements", Value::Type::Integer)) p.setDatePickerElements(static_cast<unsigned>(e->integerValue()));
    }

    void configureTabView(TabView& t, const Dictionary& d, int depth, const std::string& path) {
        if (const Value* ty = get(d, "tabViewType", Value::Type::Integer))
            t.setTabViewType(static_cast<TabViewType>(std::clamp(ty->intValue(), 0, 6)));
        if (const Value* items = d.find("tabItems")) {
            if (!items->isArray()) fail(path + ": tabItems must be a list");
            int i = 0;
            for (const Value& iv : items->array()) {
                const Dictionary& item = iv.dictionary();
                auto ti = std::make_shared<TabViewItem>(item.contains("identifier") ? item.get("identifier") : Value(i));
                ti->setLabel(item.get("label").stringValue());
                Value viewDesc = item.contains("view") ? item.get("view") : Value(Dictionary{});
                ti->setView(view(viewDesc, depth + 1, path + "/tab" + std::to_string(i++)));
                t.addTabViewItem(ti);
            }
        }
        if (const Value* s = get(d, "selectedIndex", Value::Type::Integer)) t.selectTabViewItemAtIndex(s->intValue());
    }

    static void configureTableView(TableView& t, const Dictionary& d, const std::string& path) {
        if (const Value* cols = d.find("columns")) {
            if (!cols->isArray()) fail(path + ": columns must be a list");
            for (const Value& cv : cols->array()) {
                const Dictionary& cd = cv.dictionary();
                auto column = std::make_shared<TableColumn>(cd.get("identifier").stringValue());
                if (const Value* w = get(cd, "maxWidth", Value::Type::Real)) column->setMaxWidth(number(*w, path));
                if (const Value* w = get(cd, "width", Value::Type::Real)) column->setWidth(number(*w, path));
                t.addTableColumn(column);
            }
        }
        bool on;
        if (flag(d, "allowsMultipleSelection", on)) t.setAllowsMultipleSelection(on);
        if (auto* o = dynamic_cast<OutlineView*>(&t))
            if (const Value* i = get(d, "indentationPerLevel", Value::Type::Real)) o->setIndentationPerLevel(number(*i, path));
    }

    ViewOwner* _owner;
    ViewLoader::Result& _result;
    int _count = 0;
    std::vector<std::shared_ptr<View>> _made;
};

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
        if (!description.isDictionary()) throw LoadError{"a view description must be a dictionary"};
        const Dictionary& d = description.dictionary();
        if (const Value* w = d.find("window")) {
            result.window = builder.window(*w);
            result.view = result.window->sharedContentView();
        } else if (const Value* v = d.find("view")) {
            result.view = builder.view(*v, 0, "view");
        } else {
            throw LoadError{"a view description needs a window or a view"};
        }
    } catch (const LoadError& e) {
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

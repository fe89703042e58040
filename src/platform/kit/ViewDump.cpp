#include "platform/kit/ViewDump.h"

#include <cmath>
#include <sstream>

#include "platform/kit/BrowserCell.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/ViewClass.h"
#include "platform/kit/Window.h"

namespace kz {

namespace {

std::string num(double d) { return ViewDump::number(d); }
std::string quoted(const std::string& s) { return ViewDump::quoted(s); }
std::string frame(const Rect& r) { return ViewDump::frame(r); }

void line(std::ostringstream& out, const View& v, int indent) {
    out << std::string(static_cast<std::size_t>(indent) * 2, ' ') << v.className() << " " << frame(v.frame());
    if (std::string details = ViewDump::details(v); !details.empty()) out << " " << details;
    out << "\n";
}

// A list entry: a text in quotes, or an item, cell or column: its title (or
// identifier) in quotes, then its width, its state and "(disabled)"; a
// separator is "---".
std::string entry(const Value& e) {
    if (!e.isDictionary()) return quoted(e.stringValue());
    const Dictionary& d = e.dictionary();
    if (d.get("separator").boolValue()) return "---";
    std::string out = quoted(d.contains("title") ? d.get("title").stringValue() : d.get("identifier").stringValue());
    if (const Value* w = d.find("width")) out += " " + num(w->doubleValue());
    if (const Value* s = d.find("state")) out += " " + s->stringValue();
    if (const Value* on = d.find("enabled"); on && !on->boolValue()) out += " (disabled)";
    return out;
}

std::string list(const Value& v, const char* separator, const std::function<std::string(const Value&)>& each) {
    std::string out = "[";
    if (v.isArray()) {
        bool first = true;
        for (const Value& e : v.array()) {
            out += (first ? "" : separator) + each(e);
            first = false;
        }
    }
    return out + "]";
}

// One shown property as the line writes it; "" leaves it out.
std::string shown(const ViewClass::Shown& s, const std::optional<Value>& v, const ViewDump::ValueOf& valueOf) {
    if (!v) return "";
    const std::string& label = s.label;
    const auto at = [&](std::size_t i) { return v->isArray() && v->array().size() > i ? v->array()[i] : Value(); };
    switch (s.shape) {
    case DumpShape::Text: return label + "=" + quoted(v->isString() ? v->string() : "");
    case DumpShape::TextIfAny: return v->isString() && !v->string().empty() ? label + "=" + quoted(v->string()) : "";
    case DumpShape::Name: return label + "=" + v->stringValue();
    case DumpShape::Number: return label + "=" + num(v->doubleValue());
    case DumpShape::Word: return v->boolValue() ? label : "";
    case DumpShape::WordUnless: return v->boolValue() ? "" : label;
    case DumpShape::Range: return label + "=" + num(at(0).doubleValue()) + ".." + num(at(1).doubleValue());
    case DumpShape::Pair: return label + "=" + num(at(0).doubleValue()) + "," + num(at(1).doubleValue());
    case DumpShape::Sized: {
        if (v->isNull()) return "";
        std::optional<Value> size = valueOf(s.sizeProperty);
        const Value w = size && size->isArray() && size->array().size() == 2 ? size->array()[0] : Value();
        const Value h = size && size->isArray() && size->array().size() == 2 ? size->array()[1] : Value();
        return label + "=" + quoted(v->stringValue()) + " " + num(w.doubleValue()) + "x" + num(h.doubleValue());
    }
    case DumpShape::Entries: return label + "=" + list(*v, ", ", entry);
    case DumpShape::Indexes: return label + "=" + list(*v, ",", [](const Value& e) { return num(e.doubleValue()); });
    }
    return "";
}

// One line per row of a table: each column's value; an outline marks
// expanded (-) and collapsed (+) items and indents by level.
void rows(std::ostringstream& out, const TableView& constTable, int indent) {
    constexpr int kMaxRowsShown = 500;
    auto& table = const_cast<TableView&>(constTable);  // cells are filled as they would be drawn
    auto* outline = dynamic_cast<OutlineView*>(&table);
    for (int r = 0; r < table.numberOfRows() && r < kMaxRowsShown; ++r) {
        out << std::string(static_cast<std::size_t>(indent) * 2, ' ') << "| ";
        if (outline) {
            OutlineItem item = outline->itemAtRow(r);
            out << std::string(static_cast<std::size_t>(outline->levelForRow(r)) * 2, ' ')
                << (!outline->isExpandable(item) ? "  " : outline->isItemExpanded(item) ? "- " : "+ ");
        }
        bool first = true;
        for (const auto& col : table.tableColumns()) {
            auto cell = table.preparedCell(*col, r);
            out << (first ? "" : " | ") << quoted(cell->stringValue());
            if (auto* b = dynamic_cast<BrowserCell*>(cell.get()); b && b->image()) out << " icon=" << quoted(b->image()->name());
            if (cell->textColor() != Color::controlTextColor()) out << " color=" << quoted(cell->textColor().name);
            first = false;
        }
        out << (table.isRowSelected(r) ? " (selected)\n" : "\n");
    }
    if (table.numberOfRows() > kMaxRowsShown) out << std::string(static_cast<std::size_t>(indent) * 2, ' ') << "| ...\n";
}

void tree(std::ostringstream& out, const View& root, int indent) {
    const auto write = [&](const View& v, int at) {
        line(out, v, at);
        if (const auto* t = dynamic_cast<const TableView*>(&v)) rows(out, *t, at + 1);
    };
    write(root, indent);
    root.forEachDescendant([&](View& v, int depth) { write(v, indent + depth); });
}

Value frameValue(const Rect& r) {
    return Value(Array{Value(r.minX()), Value(r.minY()), Value(r.size.width), Value(r.size.height)});
}

}  // namespace

Value ViewDump::toValue(const View& v) {
    Dictionary d;
    d.set("class", Value(v.className()));
    d.set("frame", frameValue(v.frame()));
    if (std::string details = ViewDump::details(v); !details.empty()) d.set("details", Value(std::move(details)));
    // Controls only: a plain view has no such property.
    if (std::optional<Value> enabled = v.viewClass().value(v, "enabled")) d.set("enabled", *enabled);
    d.set("hidden", Value(v.isHidden()));
    Array subs;
    for (const auto& sub : v.subviews()) subs.push_back(toValue(*sub));
    if (!subs.empty()) d.set("subviews", Value(std::move(subs)));
    return Value(std::move(d));
}

Value ViewDump::toValue(const Window& window) {
    Dictionary d;
    d.set("class", Value(window.className()));
    d.set("frame", frameValue(window.frame()));
    d.set("title", Value(window.title()));
    d.set("visible", Value(window.isVisible()));
    d.set("contentView", toValue(window.contentView()));
    return Value(std::move(d));
}

std::string ViewDump::dump(const View& view, int indent) {
    std::ostringstream out;
    tree(out, view, indent);
    return out.str();
}

std::string ViewDump::dump(const Window& window) {
    std::ostringstream out;
    out << window.className() << " " << frame(window.frame()) << " title=" << quoted(window.title());
    if (!window.isVisible()) out << " hidden";
    out << "\n";
    tree(out, window.contentView(), 1);
    if (const Window* sheet = window.attachedSheet()) {
        out << "  sheet:\n";
        std::string inner = dump(*sheet);
        std::istringstream lines(inner);
        for (std::string l; std::getline(lines, l);) out << "    " << l << "\n";
    }
    return out.str();
}

std::string ViewDump::details(const ViewClass& viewClass, const ValueOf& valueOf) {
    std::string out;
    for (const ViewClass::Shown& s : viewClass.shown())
        if (std::string part = shown(s, valueOf(s.property), valueOf); !part.empty()) out += (out.empty() ? "" : " ") + part;
    return out;
}

std::string ViewDump::details(const View& view) {
    const ViewClass& c = view.viewClass();
    return details(c, [&](std::string_view property) { return c.value(view, property); });
}

std::string ViewDump::number(double d) {
    if (d == std::floor(d) && std::abs(d) < 1e15) return std::to_string(static_cast<long long>(d));
    std::ostringstream s;
    s << d;
    return s.str();
}

std::string ViewDump::quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else out += c;
    }
    return out + "\"";
}

std::string ViewDump::frame(const Rect& r) {
    return "[" + number(r.minX()) + " " + number(r.minY()) + " " + number(r.size.width) + " " + number(r.size.height) + "]";
}

}  // namespace kz

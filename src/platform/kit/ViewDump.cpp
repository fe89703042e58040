#include "platform/kit/ViewDump.h"

#include <cmath>
#include <sstream>

#include "platform/kit/Box.h"
#include "platform/kit/BrowserCell.h"
#include "platform/kit/DatePicker.h"
#include "platform/kit/ImageView.h"
#include "platform/kit/Matrix.h"
#include "platform/kit/OutlineView.h"
#include "platform/kit/PopUpButton.h"
#include "platform/kit/Slider.h"
#include "platform/kit/Stepper.h"
#include "platform/kit/TabView.h"
#include "platform/kit/TextField.h"
#include "platform/kit/Window.h"

namespace kz {

namespace {

std::string num(double d) { return ViewDump::number(d); }
std::string quoted(const std::string& s) { return ViewDump::quoted(s); }
std::string frame(const Rect& r) { return ViewDump::frame(r); }

std::string stateName(int s) { return s == OnState ? "on" : s == MixedState ? "mixed" : "off"; }

void line(std::ostringstream& out, const View& v, int indent) {
    out << std::string(static_cast<std::size_t>(indent) * 2, ' ') << v.className() << " " << frame(v.frame());
    const auto* c = dynamic_cast<const Control*>(&v);
    if (const auto* p = dynamic_cast<const PopUpButton*>(&v)) {
        out << " selected=" << quoted(p->titleOfSelectedItem()) << " items=[";
        for (int i = 0; i < p->numberOfItems(); ++i) {
            const MenuItem* item = p->itemAtIndex(i);
            if (i) out << ", ";
            out << (item->isSeparatorItem() ? "---" : quoted(item->title()));
            if (!item->isSeparatorItem() && !p->menu().isItemEnabled(*item)) out << " (disabled)";
        }
        out << "]";
    } else if (const auto* b = dynamic_cast<const Button*>(&v)) {
        out << " title=" << quoted(b->title());
        if (b->buttonCell().changesStateOnClick()) out << " state=" << stateName(b->state());
    } else if (const auto* f = dynamic_cast<const TextField*>(&v)) {
        std::string value = f->stringValue();
        out << " value=" << (f->isSecure() ? quoted(std::string(value.empty() ? 0 : 8, '*')) : quoted(value));
        if (!f->isEditable()) out << " read-only";
        if (f->currentEditor()) out << " editing";
    } else if (const auto* m = dynamic_cast<const Matrix*>(&v)) {
        out << " selected=" << m->selectedRow() << "," << m->selectedColumn() << " cells=[";
        bool first = true;
        for (const Cell* cell : m->cells()) {
            out << (first ? "" : ", ") << quoted(cell->title()) << " " << stateName(cell->state());
            if (!cell->isEnabled()) out << " (disabled)";
            first = false;
        }
        out << "]";
    } else if (const auto* s = dynamic_cast<const Slider*>(&v)) {
        out << " value=" << num(s->doubleValue()) << " range=" << num(s->minValue()) << ".." << num(s->maxValue())
            << " ticks=" << s->numberOfTickMarks();
    } else if (const auto* s = dynamic_cast<const Stepper*>(&v)) {
        out << " value=" << num(s->doubleValue()) << " range=" << num(s->minValue()) << ".." << num(s->maxValue());
    } else if (const auto* d = dynamic_cast<const DatePicker*>(&v)) {
        out << " date=" << num(d->dateValue().unixTime());
    } else if (const auto* t = dynamic_cast<const TabView*>(&v)) {
        out << " selected=" << quoted(t->selectedTabViewItem() ? t->selectedTabViewItem()->label() : "") << " tabs=[";
        for (int i = 0; i < t->numberOfTabViewItems(); ++i) out << (i ? ", " : "") << quoted(t->tabViewItemAtIndex(i)->label());
        out << "]";
    } else if (const auto* t = dynamic_cast<const TableView*>(&v)) {
        out << " columns=[";
        bool first = true;
        for (const auto& col : t->tableColumns()) {
            out << (first ? "" : ", ") << quoted(col->identifier()) << " " << num(col->width());
            first = false;
        }
        out << "] rows=" << t->numberOfRows() << " selected=[";
        first = true;
        for (int r : t->selectedRowIndexes()) {
            out << (first ? "" : ",") << r;
            first = false;
        }
        out << "]";
    } else if (const auto* iv = dynamic_cast<const ImageView*>(&v)) {
        if (const auto& image = iv->image())
            out << " image=" << quoted(image->name()) << " " << num(image->size().width) << "x" << num(image->size().height);
    } else if (const auto* box = dynamic_cast<const Box*>(&v)) {
        out << " title=" << quoted(box->title());
    }
    if (c && !c->isEnabled()) out << " disabled";
    if (v.isHidden()) out << " hidden";
    if (!v.toolTip().empty()) out << " toolTip=" << quoted(v.toolTip());
    out << "\n";
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

void tree(std::ostringstream& out, const View& v, int indent) {
    line(out, v, indent);
    if (const auto* t = dynamic_cast<const TableView*>(&v)) rows(out, *t, indent + 1);
    for (const auto& sub : v.subviews()) tree(out, *sub, indent + 1);
}

Value frameValue(const Rect& r) {
    return Value(Array{Value(r.minX()), Value(r.minY()), Value(r.size.width), Value(r.size.height)});
}

}  // namespace

Value ViewDump::toValue(const View& v) {
    Dictionary d;
    d.set("class", Value(v.className()));
    d.set("frame", frameValue(v.frame()));
    // What the text line shows after the frame, as it reads there.
    std::ostringstream out;
    line(out, v, 0);
    std::string text = out.str();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (std::size_t at = text.find("] "); at != std::string::npos) d.set("details", Value(text.substr(at + 2)));
    if (const auto* c = dynamic_cast<const Control*>(&v)) d.set("enabled", Value(c->isEnabled()));
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

// Building an option control from its description inside the frame the
// pane gave it (points, origin bottom left): the build order, the title row,
// child controls and the height the control asks for. The widgets of each
// control type are its type's to build (types/).
#include <sys/stat.h>

#include <algorithm>
#include <cmath>

#include "engine/controls/ControlDescription.h"
#include "engine/controls/QuillUI.h"
#include "engine/controls/types/QuillControlType.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"

namespace ComTORVALEKZ2R4_Plugin {

using CD = ControlDescription;

namespace {

constexpr double kRow = 24;
constexpr double kTextHeight = 20;
constexpr double kRegularFontSize = 13;

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Fills each "%@" in turn; "%%" is a percent sign.
std::string fillObjects(std::string_view format, const std::vector<std::string>& objects) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == '@' || format[i + 1] == '%')) {
            if (format[i + 1] == '%') out += '%';
            else if (next < objects.size()) out += objects[next++];
            ++i;
            continue;
        }
        out += format[i];
    }
    return out;
}

}  // namespace

std::string QuillUI::fillDescriptionText(std::string_view format, const std::string& minText,
                                         const std::string& maxText) {
    return fillObjects(format, {minText, maxText});
}

OptionalText QuillUI::initialValue() const {
    OptionalText v = CD::text(_control_dictionary, "defchoice");
    return v ? v : CD::text(_control_dictionary, "default");
}

kz::Action QuillUI::action(const char* selector, void (QuillUI::*handler)(kz::Control*)) {
    return kz::Action{selector, [this, handler](kz::Control& sender) { (this->*handler)(&sender); }};
}

std::shared_ptr<kz::TextField> QuillUI::addTextItem(kz::Rect frame, const std::string& text) {
    auto item = std::make_shared<kz::TextField>(kz::Rect(frame.minX(), frame.minY(), frame.size.width, kTextHeight));
    item->setEditable(false);
    item->setBezeled(false);
    item->setDrawsBackground(false);
    item->setSelectable(false);
    item->setEnabled(false);
    item->setFont(kz::Font::systemFontOfSize(kRegularFontSize));
    item->setStringValue(text);
    addSubview(item);
    return item;
}

std::shared_ptr<kz::ImageView> QuillUI::addIconView(kz::Rect frame, std::shared_ptr<kz::Image> image) {
    auto view = std::make_shared<kz::ImageView>(frame);
    view->setImage(std::move(image));
    addSubview(view);
    return view;
}

int QuillUI::getLineCount(std::string_view text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\r'));
}

void QuillUI::readDescription(const kz::Dictionary& d, const std::string& paneName) {
    _isEnableIcon = CD::flag(d, "isEnabledIcon");
    _isEnableSpread = CD::flag(d, "isEnableSpread");
    _isEnableButton = CD::flag(d, "isEnabledButton");
    _quillkeyword = CD::text(d, "mainKeyword").value_or("");
    _theArray = CD::array(d, "choices");
    _conflict_dictionary = CD::dictionary(d, "conflict");
    _unrestorable_conflict_dictionary = CD::dictionary(d, "unrestorable_conflict");
    _condition_dictionary = CD::dictionary(d, "condition");
    _logical_sum_condition_dictionary = CD::dictionary(d, "logical_sum_condition");
    _cooperation_dictionary = CD::dictionary(d, "cooperation");
    _hide_dictionary = CD::dictionary(d, "hide");
    _disableForPDE = CD::texts(d, "disableForPDE");
    _rawLabel = (!paneName.empty() && d.contains("text_" + paneName)) ? CD::text(d, "text_" + paneName)
                                                                      : CD::text(d, "text");
    _keyword_text = d.contains("text_for_message") ? localized(CD::text(d, "text_for_message").value_or(""))
                                                   : localized(_rawLabel.value_or(""));
    _line_count = getLineCount(_keyword_text);
}

void QuillUI::createControls(const kz::Dictionary& description, const std::string& paneName) {
    if (&description != &_control_dictionary) _control_dictionary = description;
    setType();
    const kz::Dictionary& d = _control_dictionary;
    readDescription(d, paneName);

    const double W = bounds().size.width, H = bounds().size.height;
    double T = H;
    const double indent = CD::flag(d, "isParagraph") ? 18 : 0;
    const double x0 = 24 + indent;
    double hw = 0;
    if (CD::nonEmptyText(d, "head_text"))
        hw = CD::nonEmptyText(d, "head_text_width")
                 ? static_cast<double>(std::clamp<long long>(CD::integer(d, "head_text_width", 36), 0, 100000))
                 : 36;
    // A missing label still leaves its row above the widget; only an empty
    // one gives the row up.
    const double r = (!_rawLabel || !_rawLabel->empty()) ? kRow : 0;

    // Group icon.
    if (CD::flag(d, "isGroupMain") &&
        !(_isEnableIcon && (kind() == Kind::CheckBox || isRadioType()))) {
        if (auto image = bundleImage(CD::text(d, "groupIcon").value_or("group_icon"), false)) {
            double y = kind() == Kind::CheckBox ? T - 12.0 * (_line_count + 1) : T - kRow;
            _parts.groupIconView = addIconView(kz::Rect(0, y, 24, 24), image);
        }
    }
    // Group title.
    if (d.contains("groupTitle")) {
        _parts.groupTitleText = addTextItem(kz::Rect(24, T - kRow, W - 24, kTextHeight),
                                      localized(CD::text(d, "groupTitle").value_or("")));
        T -= kRow;
    }
    if (!_type->buildsOwnTitleRow()) buildTitleRow(x0, T, hw);
    _type->build(*this, QuillControlType::Frame{x0, T, hw, r, W, indent});

    if (CD::flag(d, "isHidden")) setHidden(true);
    if (!CD::texts(d, "other_controls").empty()) buildChildren(T, paneName);
    setDefault();
}

void QuillUI::buildTitleRow(double x0, double top, double hw) {
    const kz::Dictionary& d = _control_dictionary;
    const double W = bounds().size.width;
    const bool hasLabel = _rawLabel && !_rawLabel->empty();
    if (hasLabel) {
        OptionalText headTitle = CD::nonEmptyText(d, "head_title_text");
        if (headTitle && hw != 0)
            _parts.headTitleText = addTextItem(kz::Rect(x0, top - kRow, hw, kTextHeight), localized(*headTitle));
        _parts.labelText = addTextItem(kz::Rect(x0 + hw, top - kRow, W - x0 - hw, kTextHeight), localized(*_rawLabel));
    }
    if (hw != 0) {
        // The caption sits on the widget row, which a missing label leaves below its row.
        const double row = (!_rawLabel || !_rawLabel->empty()) ? kRow : 0;
        _parts.headText = addTextItem(kz::Rect(x0, top - kRow - row, hw, kTextHeight),
                                localized(CD::text(d, "head_text").value_or("")));
    }
}


double QuillUI::getControlHeight() const {
    const kz::Dictionary& d = _control_dictionary;
    const bool hasText = CD::nonEmptyText(d, "text").has_value();
    const kz::Value* groupMain = d.find("isGroupMain");
    const bool titledNotMain = groupMain && !groupMain->boolValue() && d.contains("groupTitle");
    double height = _type->height(*this, hasText, titledNotMain);
    if (height != 0)
        height += kRow * static_cast<double>(std::clamp<long long>(CD::integer(d, "blank_line_count", 0), 0, 10000));
    return height;
}

std::optional<std::string> QuillUI::getUIFilePath() const {
    if (!_bundle) return std::nullopt;
    std::string path = _bundle->path();
    if (std::size_t at = path.find("Contents/PlugIns"); at != std::string::npos) path.resize(at);
    if (!path.empty() && path.back() != '/') path += '/';
    kz::Value info = kz::PropertyList::readFile(path + "Contents/Info.plist");
    const kz::Value& name = info.dictionary().get("VLPOD");
    if (!name.isString() || name.string().empty()) return std::nullopt;
    std::string file = path + "Contents/Resources/" + name.string() + ".plist";
    if (!fileExists(file)) return std::nullopt;
    return file;
}

std::optional<kz::Dictionary> QuillUI::childDescriptionFile() const {
    std::optional<std::string> path = getUIFilePath();
    if (!path && _bundle) {
        std::string resource = _bundle->pathForResource("UI", "plist");
        if (!resource.empty()) path = resource;
    }
    if (!path) return std::nullopt;
    std::string error;
    std::optional<kz::Dictionary> file = ControlDescription::readFile(*path, &error);
    if (!file) kz::Log::format("### ## child controls of %s: %s: %s", _quillkeyword.c_str(), path->c_str(), error.c_str());
    return file;
}

void QuillUI::buildChildren(double top, const std::string& paneName) {
    if (_childDepth >= kMaxChildDepth) {
        kz::Log::format("### ## child controls of %s nest deeper than %d", _quillkeyword.c_str(), kMaxChildDepth);
        return;
    }
    std::shared_ptr<const kz::Dictionary> shared = _childDescriptions;
    if (!shared) {
        std::optional<kz::Dictionary> file = childDescriptionFile();
        if (!file) return;
        shared = std::make_shared<const kz::Dictionary>(std::move(*file));
    }
    const double W = bounds().size.width;
    const std::vector<std::string> names = CD::texts(_control_dictionary, "other_controls");
    auto horizontal = [&](std::size_t i) { return CD::flag(shared->get(names[i]).dictionary(), "holizontally"); };
    double offset = 72, childIndent = 0;
    int columns = 1, column = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const kz::Value* entry = shared->find(names[i]);
        if (!entry || !entry->isDictionary()) {
            kz::Log::format("### ## no description of the child control %s", names[i].c_str());
            continue;
        }
        const kz::Dictionary& description = entry->dictionary();
        if (CD::flag(description, "isParagraph")) childIndent = 18;
        if (columns == 1) {
            int run = 0;
            for (std::size_t j = i; j < names.size() && horizontal(j); ++j) ++run;
            columns = 1 + run;
        }
        if (columns >= 2) ++column;
        if (i == 0 && columns == 1) offset += getControlHeight();
        if (!_descendantsLeft) _descendantsLeft = std::make_shared<std::size_t>(kMaxDescendants);
        if (*_descendantsLeft == 0) {
            kz::Log::format("### ## child controls of %s: more than %zu in one control", _quillkeyword.c_str(),
                            kMaxDescendants);
            return;
        }
        --*_descendantsLeft;
        auto child = std::make_shared<QuillUI>(
            kz::Rect(column * W / columns, top - offset + childIndent, W, 72 - childIndent));
        child->_childDepth = _childDepth + 1;
        child->_childDescriptions = shared;
        child->_descendantsLeft = _descendantsLeft;
        child->setControlDictionary(description, _bundle);
        child->updateControl(paneName);
        addSubview(child);
        _child_controls.push_back(child);
        if (columns > 1 && columns <= column + 1) columns = 1, column = 0;
        if (i + 1 < names.size() && !horizontal(i + 1))
            offset += child->getControlHeight() + (child->kind() == Kind::Slider ? kRow : 0);
    }
}

void QuillUI::controlRemoveAll() {
    while (!subviews().empty()) {
        std::shared_ptr<kz::View> last = subviews().back();
        last->removeFromSuperview();
    }
    for (kz::View* part : allParts())
        if (auto* c = dynamic_cast<kz::Control*>(part)) c->setAction({});
    if (_parts.textField) _parts.textField->setDelegate(nullptr);
    _parts = {};
    _child_controls.clear();
    _popupItemChoice.clear();
    _old_value.reset();
    _theNameOfDisabledKey.clear();
    _theNameOfEnabledKey.clear();
    _conflict_dictionary.clear();
    _unrestorable_conflict_dictionary.clear();
    _condition_dictionary.clear();
    _logical_sum_condition_dictionary.clear();
    _cooperation_dictionary.clear();
    _hide_dictionary.clear();
    if (_childDepth == 0) _descendantsLeft.reset();
    // The bundle and the description stay: the rebuild that follows needs them.
}

}  // namespace ComTORVALEKZ2R4_Plugin

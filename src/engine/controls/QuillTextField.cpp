#include "engine/controls/QuillTextField.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <filesystem>
#include <system_error>

#include "Common/Util/BundleUtil.h"
#include "Common/TextInput/TextFieldEnvironment.h"
#include "engine/controls/QuillSecureTextField.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Regex.h"
#include "platform/foundation/Text.h"
#include "platform/kit/Alert.h"
#include "platform/kit/ViewLoader.h"
#include "platform/kit/Window.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr const char* kDecimalPattern = "^-?[0-9]*[.]?[0-9]*$";
constexpr const char* kWholePattern = "^-?[0-9]*$";
constexpr const char* kMailPattern = "^[0-9a-zA-Z][0-9a-zA-Z_+-.]+@[0-9a-zA-Z][0-9a-zA-Z_.-]+.[0-9a-zA-Z]+$";
constexpr const char* kAsciiPattern = "[A-Z0-9a-z._%+-]*";
constexpr const char* kPagePattern = ",-0123456789";
constexpr const char* kAlertBundleSuffix = "quill.QuillTextField";
// A plug-in bundle is ours, but its folders are still read with a bound.
constexpr int kMaxBundlesScanned = 256;

struct AlertBundleCache {
    std::shared_ptr<kz::Bundle> explicitBundle;
    std::string searchedIn;  // the plug-in bundle last searched
    std::shared_ptr<kz::Bundle> found;
};

AlertBundleCache& alertCache() {
    static AlertBundleCache cache;
    return cache;
}

std::shared_ptr<kz::Bundle> findAlertBundle(const kz::Bundle& plugin) {
    namespace fs = std::filesystem;
    int scanned = 0;
    for (const char* folder : {"Resources", "Frameworks", "PlugIns"}) {
        std::error_code ec;
        fs::directory_iterator it(fs::path(plugin.path()) / "Contents" / folder, ec), end;
        for (; !ec && it != end && scanned < kMaxBundlesScanned; it.increment(ec)) {
            if (it->path().extension() != ".bundle" && it->path().extension() != ".framework") continue;
            ++scanned;
            auto bundle = kz::Bundle::open(it->path().string());
            if (bundle && bundle->identifier().ends_with(kAlertBundleSuffix)) return bundle;
        }
    }
    return nullptr;
}

}  // namespace

QuillTextField::QuillTextField(kz::Rect frame) : kz::TextField(frame) {}

QuillTextField::~QuillTextField() {
    if (_observesValidate) kz::NotificationCenter::defaultCenter().removeObserver(this);
}

void QuillTextField::registerViewClasses() {
    kz::ViewLoader::registerViewClass("QuillTextField", [] {
        auto field = std::make_shared<QuillTextField>();
        field->setUpAsLoaded();
        return field;
    });
    kz::ViewLoader::registerViewClass("QuillSecureTextField", [] {
        auto field = std::make_shared<QuillSecureTextField>();
        field->setUpAsLoaded();
        return field;
    });
}

void QuillTextField::setUpAsLoaded() {
    _isNum = true;
    _mUnit = 2;
    _mMaxDigit = 4;
    _mMinValue = -DBL_MAX;
    _mMaxValue = DBL_MAX;
    if (!_observesValidate) {
        kz::NotificationCenter::defaultCenter().addObserver(this, "VALIDATE", nullptr,
                                                            [this](const auto&) { validate(); });
        _observesValidate = true;
    }
}

void QuillTextField::setMax(double value) {
    _mMaxValue = value;
    // The digit limit is the whole formatted maximum: a maximum too long for
    // a small buffer would otherwise give a limit that cuts valid numbers.
    std::string text = formatted(value, unitCFormat());
    _mMaxDigit = static_cast<long>(text.size());
}

void QuillTextField::setUnit(long unit) {
    _mUnit = unit;
    if (unit >= 0 && unit <= 6) setStringValue(formatted(doubleValue(), unitFormat()));
}

void QuillTextField::setKeyword(const std::string& keyword) {
    _quilltextkeyword = keyword;
    setScrollsHorizontally(true);
}

const char* QuillTextField::unitFormat() const {
    switch (_mUnit) {
        case 1:
        case 4: return "%.02f";
        case 3: return "%.01f";
        case 5: return "%.03f";
        default: return "%.0f";
    }
}

const char* QuillTextField::unitCFormat() const {
    switch (_mUnit) {
        case 1:
        case 4: return "%.2f";
        case 3: return "%.01f";
        case 5: return "%.03f";
        default: return "%.0f";
    }
}

std::string QuillTextField::formatted(double value, const char* format) const {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return kz::strprintf(format, value);
#pragma GCC diagnostic pop
}

bool QuillTextField::isNumFormat(const std::string& text) const {
    if (text.empty()) return true;
    if (!kz::Regex::matchesWhole(isDecimalUnit() ? kDecimalPattern : kWholePattern, text)) return false;
    const bool negative = text.front() == '-';
    if (_mMinValue >= 0 && negative) return false;
    // The patterns admit ASCII only, so bytes are characters here.
    const long length = static_cast<long>(text.size());
    if (length > _mMaxDigit + (negative ? 1 : 0)) return false;
    if (isDecimalUnit()) {
        std::size_t dot = text.find('.');
        if (dot != std::string::npos) {
            std::size_t places = text.size() - dot - 1;
            std::size_t allowed = _mUnit == 3 ? 1 : _mUnit == 5 ? 3 : 2;
            if (places > allowed) return false;
        }
    }
    return true;
}

bool QuillTextField::isTextFormat(const std::string& text) const {
    if (text.empty()) return true;
    const char* pattern = _mUnit == 7 ? kMailPattern : _mUnit == 9 ? kPagePattern : kAsciiPattern;
    if (!kz::Regex::matchesWhole(pattern, text)) return false;
    return static_cast<long>(kz::Text::utf16Length(text)) <= _mMaxDigit;
}

double QuillTextField::doubleValueInRange() const {
    double v = doubleValue();
    if (v < _mMinValue) v = _mMinValue;
    if (v > _mMaxValue) v = _mMaxValue;
    return v;
}

long QuillTextField::intValueInRange() const {
    double v = doubleValueInRange();
    // Beyond the integer range the fraction is not all that would be lost.
    if (!(v > static_cast<double>(LONG_MIN))) return LONG_MIN;
    if (!(v < static_cast<double>(LONG_MAX))) return LONG_MAX;
    return static_cast<long>(v);
}

void QuillTextField::validateTextField() { setStringValue(formatted(doubleValueInRange(), unitFormat())); }

void QuillTextField::setIntValue(int value) {
    kz::TextField::setIntValue(value);
    validateTextField();
}

void QuillTextField::setDoubleValue(double value) {
    setStringValue(formatted(value, "%lf"));
    validateTextField();
}

void QuillTextField::takeIntValueFrom(const kz::Control& sender) {
    setIntValue(sender.intValue());
    if (kz::Window* w = window()) w->makeFirstResponder(this);
    textDidEndEditing(nullptr);
}

bool QuillTextField::acceptsTyping(const std::string& candidate) const {
    if (!_isNum) return true;
    if (!isNumFormat(candidate)) return false;
    return !(kz::Value(candidate).doubleValue() > _mMaxValue);
}

bool QuillTextField::shouldChangeText(kz::FieldEditor& editor, const kz::TextChange& change) {
    return kz::TextField::shouldChangeText(editor, change) && acceptsTyping(change.candidate);
}

void QuillTextField::textDidEndEditing(kz::FieldEditor* editor) {
    if (stringValue() == _sValue) return;
    if (_isNum) {
        double v = doubleValue();
        if (v < _mMinValue || v > _mMaxValue) errorMsg();
        validateTextField();
    }
    // A number field remembers its clamped text as well, so that leaving it
    // unchanged a second time announces nothing.
    _sValue = stringValue();
    if (editor) kz::TextField::textDidEndEditing(editor);
    if (!_quilltextkeyword.empty()) kz::NotificationCenter::defaultCenter().post(_quilltextkeyword);
}

void QuillTextField::validate() {
    if (!_isNum || !isEnabled()) return;
    double v = doubleValue();
    if (v < _mMinValue || v > _mMaxValue) {
        kz::NotificationCenter::defaultCenter().post("TEXTFIELD_VALIDATE_CANCEL");
        errorMsg();
    }
    validateTextField();
}

std::optional<std::string> QuillTextField::rangeMessage() const {
    auto bundle = alertBundle();
    if (!bundle) return std::nullopt;
    std::string format = bundle->localizedString("IDM_MSG58", "IDM_MSG58");
    // The table's text is a format for two texts; it is filled as texts only,
    // whatever conversions it holds.
    return TextFieldEnvironment::fillTexts(format, {formatted(_mMinValue, unitCFormat()),
                                                    formatted(_mMaxValue, unitCFormat())});
}

void QuillTextField::errorMsg() {
    std::optional<std::string> message = rangeMessage();
    if (!message) return;
    kz::Alert alert;
    alert.setMessageText("");
    alert.setInformativeText(*message);
    alert.addButtonWithTitle(TextFieldEnvironment::localizedString("OK"));
    alert.runModal();
}

bool QuillTextField::commitEditing() {
    if (kz::FieldEditor* editor = currentEditor()) setStringValue(editor->string());
    return true;
}

void QuillTextField::setAlertBundle(std::shared_ptr<kz::Bundle> bundle) {
    alertCache().explicitBundle = std::move(bundle);
}

std::shared_ptr<kz::Bundle> QuillTextField::alertBundle() {
    AlertBundleCache& cache = alertCache();
    if (cache.explicitBundle) return cache.explicitBundle;
    auto plugin = BSPrincipalBundle();
    if (!plugin) return nullptr;
    if (cache.searchedIn != plugin->path()) {
        cache.searchedIn = plugin->path();
        cache.found = findAlertBundle(*plugin);
    }
    return cache.found;
}

}  // namespace ComTORVALEKZ2R4_Plugin

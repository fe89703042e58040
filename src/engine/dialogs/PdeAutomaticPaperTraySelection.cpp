#include "engine/dialogs/PdeAutomaticPaperTraySelection.h"

#include <set>

#include "Common/Util/BundleUtil.h"
#include "engine/panes/PanePlugInMgr.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyList.h"
#include "platform/kit/Application.h"
#include "platform/kit/Window.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr const char* kPaperTypeTabbed = "PaperType_MediaTypeTabbed";
constexpr const char* kPaperTypeD = "PaperTypeD";

std::string descriptionPathIn(const std::shared_ptr<kz::Bundle>& bundle) {
    if (!bundle) return PdeAutomaticPaperTraySelection::kViewDescription;
    std::string path = bundle->pathForResource(PdeAutomaticPaperTraySelection::kViewDescription, "plist");
    return path.empty() ? std::string(PdeAutomaticPaperTraySelection::kViewDescription) : path;
}

}  // namespace

PdeAutomaticPaperTraySelection::PdeAutomaticPaperTraySelection(const std::shared_ptr<kz::Bundle>& bundle)
    : TDWindowController(descriptionPathIn(bundle)), _plugInBundle(bundle) {}

PdeAutomaticPaperTraySelection::~PdeAutomaticPaperTraySelection() {
    if (isWindowLoaded() && window()->delegate() == this) window()->setDelegate(nullptr);
}

bool PdeAutomaticPaperTraySelection::initializePanel(std::shared_ptr<kz::Bundle> bundle, bool bypassFlag,
                                                     PanePlugInMgr& callback) {
    if (bundle) _plugInBundle = std::move(bundle);
    _uiFilePath = callback.getUIFilePath();
    _bypassFlag = bypassFlag;
    if (kz::Window* w = window()) w->setDelegate(this);
    return true;
}

std::span<const kz::ViewOwner::Outlet> PdeAutomaticPaperTraySelection::outlets() const {
    static const Outlet table[] = {
        outlet("_View", &PdeAutomaticPaperTraySelection::_View),
        outlet("_separator", &PdeAutomaticPaperTraySelection::_separator),
        outlet("_close", &PdeAutomaticPaperTraySelection::_close),
        outlet("_quill_PaperType_MediaTypeTabbed", &PdeAutomaticPaperTraySelection::_quill_PaperType_MediaTypeTabbed),
        outlet("_quill_PaperType_MediaTypeTabbed_MediaTypeCoatingMaterial_MediaTypePreprinted_MediaTypeDrilled_"
               "PaperTypeCustomNumber",
               &PdeAutomaticPaperTraySelection::_quill_PaperType_MediaTypeTabbed_MediaTypeCoatingMaterial_MediaTypePreprinted_MediaTypeDrilled_PaperTypeCustomNumber),
        outlet("_quill_PaperTypeCustomName", &PdeAutomaticPaperTraySelection::_quill_PaperTypeCustomName),
        outlet("_quill_MediaTypeSequence", &PdeAutomaticPaperTraySelection::_quill_MediaTypeSequence),
        outlet("_quill_PaperColor", &PdeAutomaticPaperTraySelection::_quill_PaperColor),
        outlet("_quill_PaperColorCustomName", &PdeAutomaticPaperTraySelection::_quill_PaperColorCustomName),
        outlet("_quill_MediaTypeWeightValue", &PdeAutomaticPaperTraySelection::_quill_MediaTypeWeightValue),
        outlet("_quill_MediaTypeWeight", &PdeAutomaticPaperTraySelection::_quill_MediaTypeWeight),
        outlet("_quill_MediaTypeCoatingMaterial", &PdeAutomaticPaperTraySelection::_quill_MediaTypeCoatingMaterial),
        outlet("_quill_MediaTypeDrilled", &PdeAutomaticPaperTraySelection::_quill_MediaTypeDrilled),
        outlet("_quill_MediaTypeGlossFine", &PdeAutomaticPaperTraySelection::_quill_MediaTypeGlossFine),
        outlet("_quill_MediaTypePreprinted", &PdeAutomaticPaperTraySelection::_quill_MediaTypePreprinted),
        outlet("_quill_PaperTypeBypass_MediaTypeTabbedBypass_MediaTypeCoatingMaterialBypass_"
               "MediaTypePreprintedBypass_MediaTypeDrilledBypass_PaperTypeCustomNumberBypass",
               &PdeAutomaticPaperTraySelection::_quill_PaperTypeBypass_MediaTypeTabbedBypass_MediaTypeCoatingMaterialBypass_MediaTypePreprintedBypass_MediaTypeDrilledBypass_PaperTypeCustomNumberBypass),
        outlet("_quill_MediaTypeSequenceBypass", &PdeAutomaticPaperTraySelection::_quill_MediaTypeSequenceBypass),
        outlet("_quill_PaperColorBypass", &PdeAutomaticPaperTraySelection::_quill_PaperColorBypass),
        outlet("_quill_MediaTypeWeightBypass", &PdeAutomaticPaperTraySelection::_quill_MediaTypeWeightBypass),
    };
    return table;
}

std::span<const kz::ViewOwner::Action> PdeAutomaticPaperTraySelection::actions() const {
    static const Action table[] = {
        action("clickButtonClose:", &PdeAutomaticPaperTraySelection::clickButtonClose),
    };
    return table;
}

void PdeAutomaticPaperTraySelection::awakeFromNib() { initCtrl(); }

void PdeAutomaticPaperTraySelection::initCtrl() {
    _quilluiList.clear();
    if (_bypassFlag)
        _initCtrlBypass();
    else
        _initCtrlAutomatic();
}

// ------------------------------------------------------------- describing

kz::Dictionary PdeAutomaticPaperTraySelection::controlDescriptions() const {
    std::string path = _uiFilePath.value_or("");
    if (path.empty() && _plugInBundle) path = _plugInBundle->pathForResource("UI", "plist");
    if (path.empty()) return {};
    std::string error;
    kz::Value file = kz::PropertyList::readFile(path, &error);
    if (!file.isDictionary()) {
        kz::Log::line("### ## can't read the control descriptions " + path + (error.empty() ? "" : ": " + error));
        return {};
    }
    return file.dictionary();
}

bool PdeAutomaticPaperTraySelection::describe(const std::shared_ptr<QuillUI>& control,
                                              const kz::Dictionary& descriptions, const std::string& key) {
    const kz::Value* entry = descriptions.find(key);
    if (!control || !entry) return false;
    control->setControlDictionary(entry->isDictionary() ? entry->dictionary() : kz::Dictionary(), _plugInBundle);
    control->updateControl();
    _quilluiList.emplace_back(key, control);
    return true;
}

std::string PdeAutomaticPaperTraySelection::localized(const std::string& key) const {
    return _plugInBundle ? _plugInBundle->localizedString(key, key, "UI") : key;
}

void PdeAutomaticPaperTraySelection::_initCtrlAutomatic() {
    const kz::Dictionary d = controlDescriptions();
    if (d.contains(kPaperTypeTabbed))
        describe(_quill_PaperType_MediaTypeTabbed, d, kPaperTypeTabbed);
    else
        describe(
            _quill_PaperType_MediaTypeTabbed_MediaTypeCoatingMaterial_MediaTypePreprinted_MediaTypeDrilled_PaperTypeCustomNumber,
            d, kPaperTypeD);
    describe(_quill_PaperTypeCustomName, d, "PaperTypeCustomName");
    describe(_quill_MediaTypeSequence, d, "MediaTypeSequence");
    describe(_quill_PaperColor, d, "PaperColor");
    describe(_quill_PaperColorCustomName, d, "PaperColorCustomName");
    if (d.contains("MediaTypeWeightValue"))
        describe(_quill_MediaTypeWeightValue, d, "MediaTypeWeightValue");
    else
        describe(_quill_MediaTypeWeight, d, "MediaTypeWeight");
    bool anyOptional = false;
    anyOptional |= describe(_quill_MediaTypeCoatingMaterial, d, "MediaTypeCoatingMaterial");
    anyOptional |= describe(_quill_MediaTypeDrilled, d, "MediaTypeDrilled");
    anyOptional |= describe(_quill_MediaTypeGlossFine, d, "MediaTypeGlossFine");
    anyOptional |= describe(_quill_MediaTypePreprinted, d, "MediaTypePreprinted");
    if (kz::Window* w = window()) w->setTitle(localized("AutomaticWindowTitle"));
    // The right half holds nothing but the optional properties.
    if (!anyOptional) _resizeWindow();
    if (_close) _close->setTitle(localized("close"));
}

void PdeAutomaticPaperTraySelection::_initCtrlBypass() {
    const kz::Dictionary d = controlDescriptions();
    describe(
        _quill_PaperTypeBypass_MediaTypeTabbedBypass_MediaTypeCoatingMaterialBypass_MediaTypePreprintedBypass_MediaTypeDrilledBypass_PaperTypeCustomNumberBypass,
        d, kBypassPaperTypeKey);
    describe(_quill_MediaTypeSequenceBypass, d, "MediaTypeSequenceBypass");
    describe(_quill_PaperColorBypass, d, "PaperColorBypass");
    describe(_quill_MediaTypeWeightBypass, d, "MediaTypeWeightBypass");
    if (kz::Window* w = window()) w->setTitle(localized("BypassWindowTitle"));
    _resizeWindow();
    if (_close) _close->setTitle(localized("close"));
}

void PdeAutomaticPaperTraySelection::_resizeWindow() {
    if (_separator) {
        kz::Rect frame = _separator->frame();
        _separator->setFrameSize({frame.size.width / 2 + 16, frame.size.height});
    }
    if (kz::Window* w = window()) {
        kz::Rect frame = w->frame();
        frame.size.width = frame.size.width / 2 + 32;
        w->setFrame(frame);
        w->display();
    }
}

QuillUI* PdeAutomaticPaperTraySelection::control(std::string_view mainKeyword) const {
    for (const auto& [key, control] : _quilluiList)
        if (key == mainKeyword) return control.get();
    return nullptr;
}

QuillUI* PdeAutomaticPaperTraySelection::paperTypeControl() const {
    if (_bypassFlag) return control(kBypassPaperTypeKey);
    if (QuillUI* tabbed = control(kPaperTypeTabbed)) return tabbed;
    return control(kPaperTypeD);
}

// ------------------------------------------------------------------ values

void PdeAutomaticPaperTraySelection::setPaperTypeCustomList(const kz::Value& list) {
    // The custom papers go after the described paper types of the window's
    // own "PaperTypeD" (or bypass) pop-up.
    QuillUI* paperType =
        _bypassFlag
            ? _quill_PaperTypeBypass_MediaTypeTabbedBypass_MediaTypeCoatingMaterialBypass_MediaTypePreprintedBypass_MediaTypeDrilledBypass_PaperTypeCustomNumberBypass
                  .get()
            : _quill_PaperType_MediaTypeTabbed_MediaTypeCoatingMaterial_MediaTypePreprinted_MediaTypeDrilled_PaperTypeCustomNumber
                  .get();
    if (!paperType || !list.isArray()) return;
    // A paper the pop-up already offers is not offered twice (a row listed
    // twice, or one naming a described paper type): two items would select
    // the same paper.
    std::set<std::string> offered;
    if (const kz::Value* choices = paperType->controlDictionary().find("choices"); choices && choices->isArray())
        for (const kz::Value& entry : choices->array())
            if (const kz::Value* choice = entry.isDictionary() ? entry.dictionary().find("choice") : nullptr;
                choice && choice->isString())
                offered.insert(choice->string());
    PopupButtonItems items;
    for (const kz::Value& row : list.array()) {
        // A row is [title, value]: "1-Coated", "CustomPaper1".
        if (!row.isArray() || row.array().size() < 2) continue;
        const kz::Value& title = row.array()[0];
        const kz::Value& value = row.array()[1];
        if (title.isString() && value.isString() && offered.insert(value.string()).second)
            items.push_back({title.string(), value.string()});
    }
    OptionalText selected = paperType->getStringValue();
    paperType->addPopupButtonArray(items);
    if (!items.empty()) paperType->setStringValue(selected);
}

kz::Dictionary PdeAutomaticPaperTraySelection::getTextFieldStringDictionary() const {
    kz::Dictionary texts;
    auto text = [](QuillUI* control) { return control->getStringValue().value_or(""); };
    if (_bypassFlag) {
        if (QuillUI* sequence = control("MediaTypeSequenceBypass")) texts.set("MediaTypeSequenceBypass", text(sequence));
        return texts;
    }
    for (const char* key : {"PaperTypeCustomName", "MediaTypeSequence", "PaperColorCustomName", "MediaTypeWeightValue"})
        if (QuillUI* field = control(key)) texts.set(key, text(field));
    return texts;
}

// ----------------------------------------------------------- modal session

void PdeAutomaticPaperTraySelection::modalWindow(std::function<void()> didEnd) {
    kz::Window* w = window();
    if (!w) return;
    _parentDidEndSelector = std::move(didEnd);
    // The controls that follow the paper type are brought in line with it.
    if (QuillUI* paperType = paperTypeControl()) paperType->popupButtonAction(paperType->popupButton());
    updatePaperColorCustomNameEnabling();
    _closing = false;
    w->setDelegate(this);
    kz::Application::shared().runModalForWindow(*w);
}

void PdeAutomaticPaperTraySelection::updatePaperColorCustomNameEnabling() {
    if (_quill_PaperColorCustomName && _quill_PaperColor && control("PaperColorCustomName"))
        _quill_PaperColorCustomName->setEnabled(_quill_PaperColor->getStringValue() == "StockCustom");
}

void PdeAutomaticPaperTraySelection::clickButtonClose(kz::Control*) {
    kz::Window* w = window();
    if (!w) return;
    // A field being edited commits its text before the values are read.
    if (!w->makeFirstResponder(nullptr)) w->endEditingFor(nullptr);
    w->orderOut();
    _closing = true;
    if (_parentDidEndSelector) _parentDidEndSelector();
    w->close();
    _closing = false;
    endSession();
}

void PdeAutomaticPaperTraySelection::windowWillClose(kz::Window& w) {
    // Closed from its title bar: taken as the Close button.
    if (_closing || kz::Application::shared().modalWindow() != &w) return;
    _closing = true;
    w.endEditingFor(nullptr);
    if (_parentDidEndSelector) _parentDidEndSelector();
    _closing = false;
    endSession();
}

void PdeAutomaticPaperTraySelection::endSession() {
    kz::Application& app = kz::Application::shared();
    if (kz::Window* w = isWindowLoaded() ? window() : nullptr; w && app.modalWindow() == w) app.stopModal();
}

}  // namespace ComTORVALEKZ2R4_Plugin

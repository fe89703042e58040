#include "engine/panes/PaneClassSource.h"

#include <map>

#include "engine/panes/PaneFactory.h"
#include "platform/foundation/Bundle.h"

namespace ComTORVALEKZ2R4_Plugin {

PaneObject::~PaneObject() = default;
PanePlugInInterface::~PanePlugInInterface() = default;
PaneWillShow::~PaneWillShow() = default;
PaneProfileUi::~PaneProfileUi() = default;
PaneAutomaticPaperTraySelection::~PaneAutomaticPaperTraySelection() = default;

namespace {
std::map<std::string, PaneClassRegistry::Creator>& classes() {
    static std::map<std::string, PaneClassRegistry::Creator> table;
    return table;
}
}  // namespace

void PaneClassRegistry::registerClass(const std::string& className, Creator creator) {
    classes()[className] = std::move(creator);
}

void PaneClassRegistry::unregisterClass(const std::string& className) { classes().erase(className); }

const PaneClassRegistry::Creator* PaneClassRegistry::creator(const std::string& className) {
    auto it = classes().find(className);
    return it == classes().end() ? nullptr : &it->second;
}

std::shared_ptr<PaneObject> PaneClassSource::newPrincipalObject(kz::Bundle& bundle, std::string& reason) {
    const kz::Value& name = bundle.objectForInfoDictionaryKey("NSPrincipalClass");
    if (!name.isString() || name.string().empty()) {
        reason = "no principal class";
        return nullptr;
    }
    const std::string& className = name.string();
    if (const auto* create = PaneClassRegistry::creator(className)) {
        std::shared_ptr<PaneObject> object((*create)());
        if (!object) reason = "class " + className + " made nothing";
        return object;
    }
    std::string error;
    if (!bundle.load(&error)) {
        reason = "not a loadable library: " + error;
        return nullptr;
    }
    auto factory = reinterpret_cast<PanePrincipalObjectFactory>(bundle.symbol(kPanePrincipalObjectSymbol));
    if (!factory) {
        reason = std::string("its library exports no ") + kPanePrincipalObjectSymbol;
        return nullptr;
    }
    std::shared_ptr<PaneObject> object(factory(className.c_str()));
    if (!object) reason = "its library makes no class " + className;
    return object;
}

}  // namespace ComTORVALEKZ2R4_Plugin

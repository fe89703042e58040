#include "Common/Util/BundleUtil.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

// Main thread only, like every caller of these helpers.
struct Bundles {
    std::shared_ptr<kz::Bundle> localizedObject, localizedReference;
    std::shared_ptr<kz::Bundle> principalObject, principalReference;
    // Opened once from the reference form's folder.
    std::shared_ptr<kz::Bundle> principalFromPath;
};

Bundles& bundles() {
    static Bundles b;
    return b;
}

}  // namespace

void SetNSBundleForLocalizedString(std::shared_ptr<kz::Bundle> bundle) { bundles().localizedObject = std::move(bundle); }

void SetCFBundleRefForLocalizedString(std::shared_ptr<kz::Bundle> bundle) {
    bundles().localizedReference = std::move(bundle);
}

void SetNSBundleForPrincipalBundle(std::shared_ptr<kz::Bundle> bundle) { bundles().principalObject = std::move(bundle); }

void SetCFBundleRefForPrincipalBundle(std::shared_ptr<kz::Bundle> bundle) {
    // A new reference must not answer the folder of the previous one.
    bundles().principalFromPath.reset();
    bundles().principalReference = std::move(bundle);
}

std::optional<std::string> BSLocalizedString(std::string_view key) {
    const Bundles& b = bundles();
    if (b.localizedObject) return b.localizedObject->localizedString(key, "");
    if (b.localizedReference) return b.localizedReference->localizedString(key, key);
    return std::nullopt;
}

std::shared_ptr<kz::Bundle> BSPrincipalBundle() {
    Bundles& b = bundles();
    if (b.principalObject) return b.principalObject;
    if (!b.principalReference) return nullptr;
    if (!b.principalFromPath) b.principalFromPath = kz::Bundle::open(b.principalReference->path());
    return b.principalFromPath;
}

}  // namespace ComTORVALEKZ2R4_Plugin

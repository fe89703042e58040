#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Export.h"

// The process-wide bundles behind localised texts and resources, set once at
// start-up by the plug-in's entry object so that pane plug-ins in the same
// process use the same bundle. Each kind has two forms, set by different
// callers: the object form wins; the reference form is the fallback.
namespace ComTORVALEKZ2R4_Plugin {

KZ_EXPORT void SetNSBundleForLocalizedString(std::shared_ptr<kz::Bundle> bundle);
KZ_EXPORT void SetCFBundleRefForLocalizedString(std::shared_ptr<kz::Bundle> bundle);
KZ_EXPORT void SetNSBundleForPrincipalBundle(std::shared_ptr<kz::Bundle> bundle);
KZ_EXPORT void SetCFBundleRefForPrincipalBundle(std::shared_ptr<kz::Bundle> bundle);

// The key's text in the localisation bundle's default table ("Localizable"):
// with the object form set, the empty text when the key is missing; with only
// the reference form set, the key itself when missing; none when neither is set.
KZ_EXPORT std::optional<std::string> BSLocalizedString(std::string_view key);

// The principal bundle: the object form, else the bundle at the folder of the
// reference form (that folder is worked out once and kept until the reference
// form is set again); nullptr when neither is set.
KZ_EXPORT std::shared_ptr<kz::Bundle> BSPrincipalBundle();

}  // namespace ComTORVALEKZ2R4_Plugin

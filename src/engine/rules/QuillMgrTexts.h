#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// The rule engine's dialog texts: keys of the "UI" string table of the
// plug-in bundle at the resource path, the key itself without an entry.
class KZ_EXPORT QuillMgrTexts {
public:
    // The first path given stays; later ones are ignored.
    void setResourcePath(const std::string& path);
    const std::optional<std::string>& resourcePath() const { return _path; }

    std::string lookup(std::string_view key) const;

    // Fills "%@" (and "%1$@"-style positional ones) with the texts in order;
    // "%%" is a percent sign. Translations are outside input: a missing text
    // is empty, any other directive is copied as it is.
    static std::string fill(std::string_view format, const std::vector<std::string>& texts);

private:
    std::optional<std::string> _path;
    std::shared_ptr<kz::Bundle> _bundle;
};

}  // namespace ComTORVALEKZ2R4_Plugin

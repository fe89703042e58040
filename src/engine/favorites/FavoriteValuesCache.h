#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/FileStamp.h"
#include "platform/foundation/FileWatch.h"

namespace ComTORVALEKZ2R4_Plugin {

class ConvertTable;

// One favorite's options as print options, kept in memory between uses.
// The panel compares the current values with the chosen favorite after
// every change; reading the file and converting it each time would make
// every change with a favorite chosen cost a file parse and a table pass.
// The values are made again only when the favorite file or the convert
// table changed on disk (FileStamp), so an edited favorite is seen on the
// next question; the favorite's file is looked at only when its folder
// reported a change (FileWatch) or cannot report any. Main thread only.
class KZ_EXPORT FavoriteValuesCache {
public:
    struct Values {
        kz::Dictionary ppdKeywords;  // the file's options through the convert table
        // The same in the form the controls edit, without the values the
        // conversion fills in for options the favorite does not hold (it
        // completes the imposition keys, for one): only what the favorite
        // holds is compared with, or applied to, the current values.
        kz::Dictionary internal;
    };

    // The favorite at the path, or null when it cannot be read (missing,
    // not a favorite, no convert table).
    std::shared_ptr<const Values> valuesOfFile(const std::string& path);
    // How many times a file was read and converted (for tests).
    int reads() const { return _reads; }

private:
    std::string _path;
    std::unique_ptr<kz::FileWatch> _watch;  // spares the stat while nothing changed
    std::optional<kz::FileStamp> _stamp;
    std::shared_ptr<const ConvertTable> _table;
    std::shared_ptr<const Values> _values;
    bool _valid = false;
    int _reads = 0;
};

}  // namespace ComTORVALEKZ2R4_Plugin

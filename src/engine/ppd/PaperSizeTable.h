#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Sheet sizes, in 1/14400 inch, of every paper size type the paper size
// change option can name, and the N-up layout grids.
class KZ_EXPORT PaperSizeTable {
public:
    struct Size {
        std::int64_t width;
        std::int64_t height;
        int typeNum;
    };
    struct NupGrid {
        const char* pages;          // "2up" .. "32up"
        const char* portraitGrid;   // grid text for a portrait finished cell
        const char* landscapeGrid;  // grid text for a landscape finished cell
    };

    static std::optional<Size> sizeOf(std::string_view paperSizeType);
    // "Landscape" for the listed long-edge-feed and booklet types, else "Portrait".
    static const char* finishedSheetDirection(std::string_view paperSizeType);
    // The grid row for a page count ("2up" ...), none for any other text.
    static const NupGrid* nupGrid(std::string_view pages);
    // The page count whose grid (in either direction) is `gridText`.
    static const char* pagesForGrid(std::string_view gridText);
    // The finished cell (height, width) for a page count from the sheet's long
    // side L and short side S (integer division).
    static std::pair<std::int64_t, std::int64_t> nupCellSize(std::string_view pages, std::int64_t longSide,
                                                             std::int64_t shortSide);
};

}  // namespace ComTORVALEKZ2R4_Plugin

#include "engine/ppd/PaperSizeTable.h"

#include <algorithm>
#include <array>

namespace ComTORVALEKZ2R4_Plugin {

namespace {

struct Entry {
    std::string_view name;
    std::int64_t width;
    std::int64_t height;
    int typeNum;
};

constexpr Entry kSizes[] = {
    {"A3", 168378, 238111, 1},
    {"A4LEF", 168378, 119056, 2},
    {"A4SEF", 119056, 168378, 3},
    {"A5", 83906, 119056, 4},
    {"B4", 145701, 206363, 5},
    {"B5LEF", 145701, 103182, 6},
    {"B5SEF", 103182, 145701, 7},
    {"B6", 72567, 103182, 8},
    {"80x100LEF", 144001, 115201, 10},
    {"80x100SEF", 115201, 144001, 11},
    {"85x110LEF", 158401, 122401, 12},
    {"85x110SEF", 122401, 158401, 13},
    {"85x130", 122401, 187201, 14},
    {"85x140", 122401, 201601, 15},
    {"110x170", 158401, 244801, 16},
    {"120x180", 172801, 259201, 17},
    {"126x177", 181418, 255119, 18},
    {"Hagaki", 56693, 83906, 19},
    {"DoublePostcardSEF", 83906, 113386, 22},
    {"A2LEF", 336756, 238111, 30},
    {"B3LEF", 291969, 206363, 38},
    {"A4Booklet", 168378, 119056, 49},
    {"B5Booklet", 145701, 103182, 50},
    {"A5Booklet", 119056, 83906, 51},
    {"85x110Booklet", 158401, 122401, 52},
    {"A5LEF", 119056, 83906, 53},
    {"130x180", 187201, 259201, 57},
    {"A6", 59528, 83906, 62},
    {"126x192", 181418, 276332, 65},
    {"260x180", 374401, 259201, 66},
    {"130x190", 187201, 273601, 67},
    {"Envchou3SEF", 68032, 133229, 68},
    {"A6Booklet", 83906, 59528, 71},
    {"B6Booklet", 103182, 72567, 72},
    {"8Kai", 151371, 219969, 76},
    {"16KaiLEF", 151371, 109985, 77},
    {"Envkaku2SEF", 136063, 188221, 78},
    {"16Kai", 109985, 151371, 79},
    {"8KaiC", 153071, 221103, 82},
    {"16KaiC", 110552, 153071, 83},
    {"16KaiLEFC", 153071, 110552, 84},
    {"Envkaku20", 129827, 183686, 88},
    {"Envkaku6", 91843, 129827, 89},
    {"260x190", 374401, 273601, 104},
    {"Kikuban16LEF", 132662, 90142, 106},
    {"Kikuban16SEF", 90142, 132662, 107},
    {"Kikuban8LEF", 180284, 132662, 108},
    {"Kikuban8SEF", 132662, 180284, 109},
    {"Kikuban4SEF", 180284, 265890, 110},
    {"Shirokuban16LEF", 154205, 111686, 111},
    {"Shirokuban16SEF", 111686, 154205, 112},
    {"Shirokuban8SEF", 154205, 223371, 113},
    {"Envkaku1SEF", 153071, 216567, 114},
    {"Envkaku3LEF", 157040, 122457, 115},
    {"Envkaku3SEF", 122457, 157040, 116},
    {"Envyou2SEF", 64630, 91843, 117},
    {"Envyou3SEF", 55560, 83906, 118},
    {"Envyou4SEF", 59528, 133229, 119},
    {"Envyouchou3LEF", 133229, 68032, 120},
    {"Envyouchou3SEF", 68032, 133229, 121},
    {"Envkaku7SEF", 80504, 116221, 129},
    {"Envkaku8SEF", 67465, 111686, 130},
    {"Envyou6SEF", 55560, 107717, 131},
    {"Envchou1SEF", 80504, 188221, 132},
    {"Envchou2SEF", 67465, 157040, 133},
    {"110x150SEF", 158400, 216000, 134},
    {"A4CoverLEF", 168378, 126425, 135},
    {"90x110LEF", 158400, 129600, 137},
    {"SpecialA4LEF", 175748, 128126, 139},
    {"SpecialA4SEF", 128126, 175748, 140},
    {"KvSpecialA3SEF", 175748, 244913, 142},
    {"40x60", 57600, 86400, 81},
    {"50x70SEF", 72000, 100800, 145},
};

constexpr std::string_view kLandscapeTypes[] = {
    "A4LEF", "B5LEF", "80x100LEF", "85x110LEF", "A2LEF", "B3LEF", "A4Booklet", "B5Booklet", "A5Booklet", "85x110Booklet", "A5LEF", "260x180", "A6Booklet", "B6Booklet", "16KaiLEF", "260x190", "Kikuban16LEF", "Kikuban8LEF", "Shirokuban16LEF", "Envkaku3LEF", "16KaiLEFC", "A4CoverLEF", "90x110LEF", "SpecialA4LEF"
};

constexpr PaperSizeTable::NupGrid kGrids[] = {
    {"2up", "2_1_Landscape", "1_2_Portrait"},   {"4up", "2_2_Portrait", "2_2_Landscape"},
    {"8up", "4_2_Landscape", "2_4_Portrait"},   {"16up", "4_4_Portrait", "4_4_Landscape"},
    {"32up", "8_4_Landscape", "4_8_Portrait"},
};

}  // namespace

std::optional<PaperSizeTable::Size> PaperSizeTable::sizeOf(std::string_view paperSizeType) {
    for (const Entry& e : kSizes)
        if (e.name == paperSizeType) return Size{e.width, e.height, e.typeNum};
    return std::nullopt;
}

const char* PaperSizeTable::finishedSheetDirection(std::string_view paperSizeType) {
    bool landscape = std::find(std::begin(kLandscapeTypes), std::end(kLandscapeTypes), paperSizeType) !=
                     std::end(kLandscapeTypes);
    return landscape ? "Landscape" : "Portrait";
}

const PaperSizeTable::NupGrid* PaperSizeTable::nupGrid(std::string_view pages) {
    for (const NupGrid& g : kGrids)
        if (pages == g.pages) return &g;
    return nullptr;
}

const char* PaperSizeTable::pagesForGrid(std::string_view gridText) {
    for (const NupGrid& g : kGrids)
        if (gridText == g.portraitGrid || gridText == g.landscapeGrid) return g.pages;
    return nullptr;
}

std::pair<std::int64_t, std::int64_t> PaperSizeTable::nupCellSize(std::string_view pages, std::int64_t l,
                                                                  std::int64_t s) {
    if (pages == "2up") return {s, l / 2};
    if (pages == "4up") return {l / 2, s / 2};
    if (pages == "8up") return {s / 2, l / 4};
    if (pages == "16up") return {l / 4, s / 4};
    if (pages == "32up") return {s / 4, l / 8};
    return {0, 0};
}

}  // namespace ComTORVALEKZ2R4_Plugin

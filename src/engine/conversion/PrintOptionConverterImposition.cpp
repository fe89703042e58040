// The imposition half of PrintOptionConverter: from the user's mode, page count,
// binding and creep to the printer's layout keys, and back.
#include <algorithm>

#include "engine/ppd/PaperSizeTable.h"
#include "engine/conversion/PrintOptionConverter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Value.h"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

std::string text(const kz::Dictionary& option, std::string_view key) {
    const kz::Value* v = option.find(key);
    return v ? v->stringValue() : std::string();
}

// Sizes are unsigned on the wire; a negative text counts as 0.
std::int64_t size(const kz::Dictionary& option, std::string_view key) {
    return std::max<std::int64_t>(0, kz::integerValueOfText(text(option, key)));
}

// (height, width) of the sheet: the custom size, the table's, or 0 x 0 for a
// type without a size ("NoChange", a missing or unknown type).
std::pair<std::int64_t, std::int64_t> sheetSize(const kz::Dictionary& option) {
    std::string type = text(option, "ChgPrintPaperSizeType");
    if (type == "Custom") return {size(option, "ChgPrintPaperSizeLength"), size(option, "ChgPrintPaperSizeWidth")};
    auto entry = PaperSizeTable::sizeOf(type);
    return entry ? std::pair{entry->height, entry->width} : std::pair<std::int64_t, std::int64_t>{0, 0};
}

std::string integerText(std::int64_t value) { return kz::strprintf("%lld", static_cast<long long>(value)); }

void canonicalNup(kz::Dictionary& option) {
    std::string orientation = text(option, "DocumentOrientation");
    std::string direction = orientation == "Portrait" || orientation == "Landscape"
                                ? orientation
                                : PaperSizeTable::finishedSheetDirection(text(option, "ChgPrintPaperSizeType"));
    auto [height, width] = sheetSize(option);
    std::int64_t longSide = std::max(height, width), shortSide = std::min(height, width);

    // A page count the controls do not offer is taken as the smallest one.
    const PaperSizeTable::NupGrid* grid = PaperSizeTable::nupGrid(text(option, "ImpositionNup_NumOfPages"));
    if (!grid) grid = PaperSizeTable::nupGrid("2up");
    std::string gridText = direction == "Landscape" ? grid->landscapeGrid : grid->portraitGrid;
    std::size_t first = gridText.find('_'), second = gridText.find('_', first + 1);
    option.set("LayoutRepeatX", gridText.substr(0, first));
    option.set("LayoutRepeatY", gridText.substr(first + 1, second - first - 1));
    option.set("SheetDirection", gridText.substr(second + 1));

    auto [cellHeight, cellWidth] = PaperSizeTable::nupCellSize(grid->pages, longSide, shortSide);
    option.set("FinishSheetDirection", direction);
    option.set("FinishFixedForm", "Custom");
    option.set("FinishedSizeName", "");
    option.set("FinishedSizeHeight", integerText(cellHeight));
    option.set("FinishedSizeWidth", integerText(cellWidth));
    option.set("LayoutBaseFile", "NUp-1side.json");
    option.set("ImpositionAutoDuplex", "False");
    PrintOptionConverter::convertImpositionSheetSize(option);
    PrintOptionConverter::restoreDefaultSettigImposition(option, "Nup");
}

void canonicalBooklet(kz::Dictionary& option) {
    option.set("LayoutBaseFile", text(option, "ImpositionBooklet_LayoutBaseFile") == "Right"
                                     ? "SaddleStiching2x1(RightBinding).json"
                                     : "SaddleStiching2x1(LeftBinding).json");
    if (!text(option, "ImpositionBooklet_CreepTotalOffset").empty()) {
        option.set("CreepSetting", "False");
        option.set("BackMargin", PrintOptionConverter::convertMmToCep(text(option, "ImpositionBooklet_CreepTotalOffset")));
        option.set("CreepTotalOffset", "0");
        option.set("CreepInitialOffsetX", "0");
        option.remove("ImpositionBooklet_CreepTotalOffset");
    }
    auto [height, width] = sheetSize(option);
    bool heightSmaller = height < width;
    option.set("FinishedSizeHeight", integerText(heightSmaller ? height : width));
    option.set("FinishedSizeWidth", integerText(heightSmaller ? width / 2 : height / 2));
    option.set("FinishSheetDirection", "Portrait");
    option.set("FinishFixedForm", "Custom");
    option.set("FinishedSizeName", "");
    option.set("SheetDirection", "Landscape");
    // A missing or unexpected orientation is printed as portrait, unrotated.
    option.set("RotationAngle", text(option, "DocumentOrientation") == "Landscape" ? "Rotate90" : "Rotate0");
    PrintOptionConverter::convertImpositionSheetSize(option);
    PrintOptionConverter::restoreDefaultSettigImposition(option, "Booklet");
}

}  // namespace

void PrintOptionConverter::convertToCanonicalImpositionKeyword(kz::Dictionary& option) {
    option.set("ColorMode", "Gray");
    const bool hasMode = option.contains("ImpositionMode_ImpositionCustomMode");
    std::string mode = text(option, "ImpositionMode_ImpositionCustomMode");
    if (hasMode) {
        // A joined mode the controls do not offer means no imposition.
        if (mode != "Off" && mode != "Template" && mode != "Nup" && mode != "Booklet") mode = "Off";
        option.set("ImpositionMode", mode == "Nup" || mode == "Booklet" ? "Job" : mode);
        option.set("ImpositionCustomMode", mode == "Nup" || mode == "Booklet" ? mode : "Advanced");
        option.remove("ImpositionMode_ImpositionCustomMode");
    }

    if (mode == "Nup" && option.contains("ImpositionNup_Fitting"))
        option.set("Fitting", option.get("ImpositionNup_Fitting"));
    else if (mode == "Booklet" && option.contains("ImpositionBooklet_Fitting"))
        option.set("Fitting", option.get("ImpositionBooklet_Fitting"));
    else
        option.set("Fitting", "False");
    option.remove("ImpositionNup_Fitting");
    option.remove("ImpositionBooklet_Fitting");

    if (mode == "Nup") {
        canonicalNup(option);
    } else if (mode == "Booklet") {
        canonicalBooklet(option);
    } else {
        option.set("LayoutRepeatX", "1");
        option.set("LayoutRepeatY", "1");
        option.set("LayoutBaseFile", "Normal-1side.json");
        option.set("SheetDirection", "Landscape");
        option.set("CreepTotalOffset", "0");
        option.set("BackMargin", "0");
    }
    option.remove("ImpositionNup_NumOfPages");
    option.remove("ImpositionBooklet_LayoutBaseFile");
    option.remove("ImpositionBooklet_CreepTotalOffset");
}

void PrintOptionConverter::restoreDefaultSettigImposition(kz::Dictionary& option, std::string_view impositionMode) {
    if (impositionMode == "Nup") {
        option.set("FascicleMode", "None");
        option.set("NumberOfFascicle", "16");
        option.set("RotationAngle", "Rotate0");
    } else if (impositionMode == "Booklet") {
        option.set("ImpositionAutoDuplex", "True");
        option.set("NupLayout", "Z");
        option.set("LayoutRepeatX", "1");
        option.set("LayoutRepeatY", "1");
    }
}

void PrintOptionConverter::convertImpositionSheetSize(kz::Dictionary& option) {
    // Without a paper size change the sheet is the document's own: nothing to write.
    if (!option.contains("ChgPrintPaperSizeType")) return;
    std::string type = text(option, "ChgPrintPaperSizeType");
    if (type == "NoChange") return;
    option.set("FixedForm", type);
    option.set("SheetSizeName", "");
    bool custom = type == "Custom";
    option.set("SheetSizeHeight", custom ? text(option, "ChgPrintPaperSizeLength") : std::string());
    option.set("SheetSizeWidth", custom ? text(option, "ChgPrintPaperSizeWidth") : std::string());
}

kz::Dictionary PrintOptionConverter::getCepSizeFromPaperSizeType(std::string_view paperSizeType) {
    kz::Dictionary result;
    if (auto entry = PaperSizeTable::sizeOf(paperSizeType)) {
        result.set("width", integerText(entry->width));
        result.set("height", integerText(entry->height));
        result.set("typeNum", integerText(entry->typeNum));
    }
    return result;
}

std::string PrintOptionConverter::getImpositionFinishedSheetDirection(std::string_view paperSizeType) {
    return PaperSizeTable::finishedSheetDirection(paperSizeType);
}

void PrintOptionConverter::convertToInternalImpositionKeyword(kz::Dictionary& option) {
    if (option.empty()) return;
    std::string mode = "Off";
    if (option.contains("ImpositionMode") && option.contains("ImpositionCustomMode")) {
        std::string base = text(option, "ImpositionMode"), custom = text(option, "ImpositionCustomMode");
        if (base == "Template") mode = "Template";
        else if (base == "Job" && (custom == "Nup" || custom == "Booklet")) mode = custom;
        option.set("ImpositionMode_ImpositionCustomMode", mode);
        option.remove("ImpositionMode");
        option.remove("ImpositionCustomMode");
    }

    if (mode == "Booklet") {
        option.set("ImpositionBooklet_LayoutBaseFile",
                   text(option, "LayoutBaseFile") == "SaddleStiching2x1(RightBinding).json" ? "Right" : "Left");
        option.set("ImpositionBooklet_CreepTotalOffset",
                   convertCepToMm(integerText(kz::integerValueOfText(text(option, "BackMargin")))));
        option.set("ImpositionNup_NumOfPages", "2up");
    } else {
        const char* pages = nullptr;
        if (mode == "Nup") {
            std::string grid = text(option, "LayoutRepeatX") + "_" + text(option, "LayoutRepeatY") + "_" +
                               text(option, "SheetDirection");
            pages = PaperSizeTable::pagesForGrid(grid);
        }
        option.set("ImpositionNup_NumOfPages", pages ? pages : "2up");
        option.set("ImpositionBooklet_LayoutBaseFile", "Left");
        option.set("ImpositionBooklet_CreepTotalOffset", "0.00");
    }

    for (const char* key : {"LayoutRepeatX", "LayoutRepeatY", "LayoutBaseFile", "CreepSetting", "BackMargin",
                            "CreepTotalOffset", "CreepInitialOffsetX", "FinishSheetDirection", "FinishFixedForm",
                            "FinishedSizeName", "FinishedSizeHeight", "FinishedSizeWidth", "SheetDirection",
                            "FixedForm", "SheetSizeName", "SheetSizeHeight", "SheetSizeWidth"})
        option.remove(key);
}

}  // namespace ComTORVALEKZ2R4_Plugin

#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// Renames favorites of one folder so that a crash at any point loses none:
// every file moves in two steps through a hidden name (so favorites that
// trade names both arrive, and nothing existing is replaced), and a journal
// in the folder names each move before the first step. A run that finds the
// journal (the last one was killed) puts each hidden file where it belongs
// first: its new name when free, else its old one. The caller holds the
// folder's kz::FolderLock throughout.
class KZ_EXPORT FavoriteRenames {
public:
    struct Move {
        std::string from, to;  // paths in the folder
    };
    // The journal's name in the folder: a dot name, so no listing shows it.
    static constexpr const char* kJournalName = ".kzpde-renames.plist";

    // Makes the moves; answers for each an empty text when it moved, else
    // why not (the file then keeps its old name).
    static std::vector<std::string> apply(const std::string& folder, const std::vector<Move>& moves);
    // Finishes what a killed run left in the folder, if anything.
    static void recover(const std::string& folder);
};

}  // namespace ComTORVALEKZ2R4_Plugin

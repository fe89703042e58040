#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/Export.h"
#include "platform/kit/Image.h"

namespace kz {

// The desktop's services for files: their icons and the trash.
class KZ_EXPORT Workspace {
public:
    static Workspace& shared();

    // The icon for a file type: a four-character code in quotes ("'fldr'",
    // "'docu'", "'unfs'" an item of unknown kind, "'note'" the note badge)
    // or a file name extension ("pfj"). Icons come from the freedesktop icon
    // themes (hicolor, Adwaita) under $XDG_DATA_HOME and $XDG_DATA_DIRS; with
    // no theme a plain drawn icon stands in. Each icon is named after its
    // kind ("folder", "document", "unknown", "note") and is 32 x 32 points.
    std::shared_ptr<Image> iconForFileType(std::string_view type);
    // A folder's icon for a folder, else the icon of its extension's type;
    // a missing item has the unknown icon.
    std::shared_ptr<Image> iconForFile(const std::string& path);

    // Moves the item into the user's trash following the freedesktop trash
    // layout: "files/" gets the item (renamed when the name is taken) and
    // "info/" its "<name>.trashinfo" with the original path and the deletion
    // date. The trash is $XDG_DATA_HOME/Trash (else ~/.local/share/Trash),
    // or "<mount point>/.Trash-<uid>" for an item on another file system.
    // The path of the trashed item, or empty with the reason in *error.
    std::string moveToTrash(const std::string& path, std::string* error = nullptr);

private:
    Workspace() = default;
    std::shared_ptr<Image> icon(const std::string& kind);
};

}  // namespace kz

#pragma once

#include <string>

#include "platform/foundation/Export.h"
#include "platform/kit/Geometry.h"

namespace kz {

class FieldEditor;

// One edit the user asks for: replace `range` of the text with `replacement`,
// giving `candidate` with the insertion point at `selectionAfter`.
struct TextChange {
    Range range;
    std::string replacement;
    std::string candidate;
    Range selectionAfter;
};

// What a field editor asks the field it edits for.
class KZ_EXPORT FieldEditorDelegate {
public:
    virtual ~FieldEditorDelegate() = default;
    // The first edit of an editing session, before it is made.
    virtual void textDidBeginEditing(FieldEditor& /*editor*/) {}
    virtual bool shouldChangeText(FieldEditor& /*editor*/, const TextChange& /*change*/) { return true; }
    virtual void textDidChange(FieldEditor& /*editor*/) {}
    // Asked before the focus leaves; false keeps it.
    virtual bool textShouldEndEditing(FieldEditor& /*editor*/) { return true; }
    // The editor is about to let go of the field: the field keeps the text.
    virtual void fieldEditorWillDetach(FieldEditor& /*editor*/) {}
    // The end of an edit; null when a field ends an edit by itself.
    virtual void textDidEndEditing(FieldEditor* /*editor*/) {}
};

}  // namespace kz

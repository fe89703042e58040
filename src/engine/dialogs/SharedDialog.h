#pragma once

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// One process-wide controller of a dialog, made on first use and kept;
// destroySharedInstance ends it (its window with it) and the next
// sharedInstance makes a new one, which loads the window again. A controller
// derives from SharedDialog<Itself>.
//
// The members are defined once, in SharedDialog.cpp, and instantiated there
// for every dialog: the panel, the panes and the host live in different
// shared objects, and an instance made in a header would be one per object.
template <class Dialog>
class KZ_EXPORT SharedDialog {
public:
    static Dialog& sharedInstance();
    static void destroySharedInstance();

protected:
    SharedDialog() = default;
    // A shared controller that dies some other way leaves no dangling instance.
    ~SharedDialog();

private:
    static Dialog* _instance;
};

}  // namespace ComTORVALEKZ2R4_Plugin

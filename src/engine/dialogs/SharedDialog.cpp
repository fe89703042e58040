#include "engine/dialogs/SharedDialog.h"

#include "engine/dialogs/DetailedSettingsWinController.h"
#include "engine/dialogs/FavoriteWindowController.h"
#include "engine/dialogs/JobNameWinController.h"
#include "engine/dialogs/SaveFavoriteWindowController.h"

namespace ComTORVALEKZ2R4_Plugin {

template <class Dialog>
Dialog* SharedDialog<Dialog>::_instance = nullptr;

template <class Dialog>
Dialog& SharedDialog<Dialog>::sharedInstance() {
    if (!_instance) _instance = new Dialog();
    return *_instance;
}

template <class Dialog>
void SharedDialog<Dialog>::destroySharedInstance() {
    // The destructor below empties the instance.
    delete _instance;
}

template <class Dialog>
SharedDialog<Dialog>::~SharedDialog() {
    if (_instance && static_cast<SharedDialog*>(_instance) == this) _instance = nullptr;
}

// Every shared dialog, here and only here (see the header).
template class SharedDialog<DetailedSettingsWinController>;
template class SharedDialog<FavoriteWindowController>;
template class SharedDialog<JobNameWinController>;
template class SharedDialog<SaveFavoriteWindowController>;

}  // namespace ComTORVALEKZ2R4_Plugin

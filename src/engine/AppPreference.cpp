#include "engine/AppPreference.h"

namespace ComTORVALEKZ2R4_Plugin {

AppPreference& AppPreference::sharedInstance() {
    static AppPreference* instance = new AppPreference();  // lives for the process
    return *instance;
}

}  // namespace ComTORVALEKZ2R4_Plugin

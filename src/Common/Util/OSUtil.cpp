#include "Common/Util/OSUtil.h"

#include <cmath>

namespace ComTORVALEKZ2R4_Plugin {

namespace {
constexpr int kNewestVersionCode = 10100;
constexpr int kNewestSystemVersionBcd = 0x10A0;
}  // namespace

int osVersionFromAppKitVersion(double appKitVersion) {
    struct Step {
        double upTo;
        int code;
    };
    static constexpr Step kTable[] = {
        {577, 1000},     {620, 1010},     {663.6, 1020},  {743.36, 1030}, {824.41, 1040},
        {949.33, 1050},  {1038, 10060},   {1138.47, 10070}, {1187, 10080}, {1265, 10090},
    };
    const double v = std::floor(appKitVersion);
    for (const auto& step : kTable)
        if (v <= step.upTo) return step.code;
    return kNewestVersionCode;
}

int osVersionFromAppKitVersion() { return kNewestVersionCode; }

bool isOSVer_After10_2() { return osVersionFromAppKitVersion() > 1019; }
bool isOSVer_After10_3() { return osVersionFromAppKitVersion() > 1029; }
bool isOSVer_After10_4() { return osVersionFromAppKitVersion() > 1039; }
bool isOSVer_After10_9() { return osVersionFromAppKitVersion() > 10089; }
bool isOSVer_After10_10() { return osVersionFromAppKitVersion() > 10099; }

int osVersionFromGestaltManager() { return kNewestSystemVersionBcd; }

bool isDropletApplicationBundle() { return osVersionFromGestaltManager() > 4191; }
bool isSystemSupportedAppleTalk() { return osVersionFromGestaltManager() < 4192; }

}  // namespace ComTORVALEKZ2R4_Plugin

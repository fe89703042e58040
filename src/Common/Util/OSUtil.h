#pragma once

#include "platform/foundation/Export.h"

namespace ComTORVALEKZ2R4_Plugin {

// System version codes: 1000, 1010, ... 1050 for 10.0 to 10.5, then five
// digits from 10060 (10.6) to 10100 (10.10 and later).

// The version code for a toolkit version number (rounded down first).
KZ_EXPORT int osVersionFromAppKitVersion(double appKitVersion);
// The running system's version code. Linux has no toolkit version to read, and
// every path that asks wants to know whether it runs on a current system, so
// this answers the newest code of the table, 10100.
KZ_EXPORT int osVersionFromAppKitVersion();

KZ_EXPORT bool isOSVer_After10_2();
KZ_EXPORT bool isOSVer_After10_3();
KZ_EXPORT bool isOSVer_After10_4();
KZ_EXPORT bool isOSVer_After10_9();
KZ_EXPORT bool isOSVer_After10_10();

// The system version as a binary-coded decimal number (0x1060 is 10.6). Linux
// has no such query; this answers 0x10A0, "10.10" with the minor version as
// one hexadecimal digit, the number that agrees with the version code 10100.
KZ_EXPORT int osVersionFromGestaltManager();
// That number is above 0x105F / below 0x1060.
KZ_EXPORT bool isDropletApplicationBundle();
KZ_EXPORT bool isSystemSupportedAppleTalk();

}  // namespace ComTORVALEKZ2R4_Plugin

#pragma once

// Marks what the shared libraries export to pane plug-ins and hosts; all else
// is hidden (-fvisibility=hidden).
#define KZ_EXPORT __attribute__((visibility("default")))

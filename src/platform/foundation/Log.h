#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

// The system's diagnostic lines ("### ## ..."). Every line goes to syslog;
// while a LogCapture is alive it is also appended to that capture, so tests and
// the tool can read what was logged.
class KZ_EXPORT Log {
public:
    static void line(std::string_view text);
    // printf-style convenience for the many formatted log lines.
    static void format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    // Whether lines also go to syslog (on by default; the tool may turn it off).
    static void setSyslogEnabled(bool enabled);
};

// Collects every log line written while it lives (innermost capture first;
// nested captures all receive the line).
class KZ_EXPORT LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<std::string>& lines() const { return _lines; }
    bool contains(std::string_view fragment) const;
    void clear() { _lines.clear(); }

private:
    friend class Log;
    std::vector<std::string> _lines;
};

// printf into a std::string.
KZ_EXPORT std::string strprintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kz

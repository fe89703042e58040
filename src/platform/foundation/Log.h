#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Export.h"

namespace kz {

// The system's diagnostic lines ("### ## ..."). Every line goes to syslog
// (the journal), and to standard error only when asked: with KZ_LOG=stderr in
// the environment or setStderrEnabled (the tool's --verbose), so that a
// command that went well prints nothing there. While a LogCapture is alive a
// line is also appended to that capture, so tests and the tool can read what
// was logged. Lines may be written from any thread.
class KZ_EXPORT Log {
public:
    static void line(std::string_view text);
    // printf-style convenience for the many formatted log lines.
    static void format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    // Whether lines also go to syslog (on by default).
    static void setSyslogEnabled(bool enabled);
    // Whether lines also go to standard error (off unless KZ_LOG=stderr).
    static void setStderrEnabled(bool enabled);
    static bool stderrEnabled();
    // Rewrites every line before it leaves the process (syslog, standard
    // error), e.g. to mask secrets; captures get the line as written. An
    // empty function writes lines as they are. The filter must not log.
    static void setFilter(std::function<std::string(std::string)> filter);
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

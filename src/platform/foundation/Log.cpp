#include "platform/foundation/Log.h"

#include <syslog.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace kz {

namespace {

// Sinks, filter and captures, behind one lock: a line from another thread
// must not meet a capture being added or removed.
struct Sinks {
    std::mutex lock;
    std::vector<LogCapture*> captures;
    bool syslog = true;
    bool stderrToo = [] {
        const char* how = std::getenv("KZ_LOG");
        return how && std::string_view(how) == "stderr";
    }();
    std::function<std::string(std::string)> filter;
};

Sinks& sinks() {
    static Sinks s;
    return s;
}

std::string vformat(const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, fmt, args);
    return out;
}

}  // namespace

void Log::line(std::string_view text) {
    Sinks& s = sinks();
    std::lock_guard guard(s.lock);
    if (s.syslog || s.stderrToo) {
        const std::string out = s.filter ? s.filter(std::string(text)) : std::string(text);
        if (s.syslog) syslog(LOG_NOTICE, "%.*s", static_cast<int>(out.size()), out.data());
        if (s.stderrToo) std::fprintf(stderr, "%s\n", out.c_str());
    }
    for (LogCapture* c : s.captures) c->_lines.emplace_back(text);
}

void Log::format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string text = vformat(fmt, args);
    va_end(args);
    line(text);
}

void Log::setSyslogEnabled(bool enabled) {
    std::lock_guard guard(sinks().lock);
    sinks().syslog = enabled;
}

void Log::setStderrEnabled(bool enabled) {
    std::lock_guard guard(sinks().lock);
    sinks().stderrToo = enabled;
}

bool Log::stderrEnabled() {
    std::lock_guard guard(sinks().lock);
    return sinks().stderrToo;
}

void Log::setFilter(std::function<std::string(std::string)> filter) {
    std::lock_guard guard(sinks().lock);
    sinks().filter = std::move(filter);
}

LogCapture::LogCapture() {
    std::lock_guard guard(sinks().lock);
    sinks().captures.push_back(this);
}

LogCapture::~LogCapture() {
    std::lock_guard guard(sinks().lock);
    auto& list = sinks().captures;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

bool LogCapture::contains(std::string_view fragment) const {
    return std::any_of(_lines.begin(), _lines.end(),
                       [&](const std::string& l) { return l.find(fragment) != std::string::npos; });
}

std::string strprintf(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = vformat(fmt, args);
    va_end(args);
    return out;
}

}  // namespace kz

#include "platform/foundation/Log.h"

#include <syslog.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace kz {

namespace {

std::vector<LogCapture*>& captures() {
    static std::vector<LogCapture*> list;
    return list;
}

bool& syslogEnabled() {
    static bool enabled = true;
    return enabled;
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
    if (syslogEnabled()) syslog(LOG_NOTICE, "%.*s", static_cast<int>(text.size()), text.data());
    for (LogCapture* c : captures()) c->_lines.emplace_back(text);
}

void Log::format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string text = vformat(fmt, args);
    va_end(args);
    line(text);
}

void Log::setSyslogEnabled(bool enabled) { syslogEnabled() = enabled; }

LogCapture::LogCapture() { captures().push_back(this); }

LogCapture::~LogCapture() {
    auto& list = captures();
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

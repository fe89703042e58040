#include "platform/foundation/StringTable.h"

#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <vector>

#include "platform/foundation/FileBytes.h"
#include "platform/foundation/Value.h"

namespace kz {

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The file's text as UTF-8, or an error.
bool toUtf8(std::string_view b, std::string& out, std::string& error) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
    int order = 0;  // 0 UTF-8, 1 little endian, 2 big endian
    std::size_t skip = 0;
    if (b.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) order = 1, skip = 2;
    else if (b.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) order = 2, skip = 2;
    else if (b.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) skip = 3;
    else if (b.size() >= 2 && byte(0) != 0 && byte(1) == 0) order = 1;
    else if (b.size() >= 2 && byte(0) == 0 && byte(1) != 0) order = 2;
    if (order == 0) {
        UErrorCode status = U_ZERO_ERROR;
        std::string_view text = b.substr(skip);
        // Validate strictly: a UTF-8 round trip through UTF-16 fails on bad bytes.
        int32_t needed = 0;
        u_strFromUTF8(nullptr, 0, &needed, text.data(), static_cast<int32_t>(text.size()), &status);
        if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
            return error = "not valid UTF-8 or UTF-16 text", false;
        out.assign(text);
        return true;
    }
    std::string_view body = b.substr(skip);
    if (body.size() % 2) return error = "odd number of bytes in UTF-16 text", false;
    std::vector<UChar> units(body.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        unsigned lo = byte(skip + 2 * i), hi = byte(skip + 2 * i + 1);
        units[i] = static_cast<UChar>(order == 1 ? (hi << 8 | lo) : (lo << 8 | hi));
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strToUTF8(nullptr, 0, &needed, units.data(), static_cast<int32_t>(units.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return error = "invalid UTF-16 text", false;
    out.assign(static_cast<std::size_t>(needed), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), needed, &needed, units.data(), static_cast<int32_t>(units.size()), &status);
    if (U_FAILURE(status)) return error = "invalid UTF-16 text", false;
    return true;
}

class Parser {
public:
    explicit Parser(std::string_view t) : _t(t) {}

    bool run(Dictionary& out, std::string& error) {
        for (;;) {
            if (!skipSpace()) return fail(error);
            if (_i >= _t.size()) return true;
            std::string key, value;
            if (!token(key)) return fail(error);
            if (!skipSpace()) return fail(error);
            if (peek() == ';') {
                ++_i;
                out.set(key, Value(key));
                continue;
            }
            if (peek() != '=') return fail(error, "expected '=' or ';' after a key");
            ++_i;
            if (!skipSpace() || !token(value) || !skipSpace()) return fail(error);
            if (peek() != ';') return fail(error, "expected ';' after a value");
            ++_i;
            out.set(key, Value(std::move(value)));
        }
    }

private:
    std::string_view _t;
    std::size_t _i = 0;
    std::string _why;
    std::size_t _whyAt = 0;

    char peek() const { return _i < _t.size() ? _t[_i] : '\0'; }

    bool fail(std::string& error, std::string why = {}) {
        if (!why.empty()) _why = std::move(why), _whyAt = _i;
        if (_whyAt > _t.size()) _whyAt = _t.size();
        std::size_t line = 1;
        for (std::size_t k = 0; k < _whyAt; ++k) line += _t[k] == '\n';
        error = "line " + std::to_string(line) + ": " + _why;
        return false;
    }
    bool problem(std::string why, std::size_t at) {
        _why = std::move(why);
        _whyAt = at;
        return false;
    }

    bool skipSpace() {
        while (_i < _t.size()) {
            char c = _t[_i];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++_i;
            } else if (_t.compare(_i, 2, "//") == 0) {
                auto end = _t.find('\n', _i);
                _i = end == std::string_view::npos ? _t.size() : end + 1;
            } else if (_t.compare(_i, 2, "/*") == 0) {
                auto end = _t.find("*/", _i + 2);
                if (end == std::string_view::npos) return problem("unterminated comment", _i);
                _i = end + 2;
            } else if (_t.compare(_i, 3, "\xEF\xBB\xBF") == 0) {
                _i += 3;  // a stray byte-order mark
            } else {
                break;
            }
        }
        return true;
    }

    static bool isWordChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' ||
               c == '$' || c == ':' || c == '/' || c == '-';
    }

    bool token(std::string& out) {
        if (_i >= _t.size()) return problem("unexpected end of file", _i);
        if (_t[_i] == '"') return quoted(out);
        std::size_t start = _i;
        while (_i < _t.size() && isWordChar(_t[_i]) && _t.compare(_i, 2, "//") != 0 && _t.compare(_i, 2, "/*") != 0)
            ++_i;
        if (_i == start) return problem(std::string("unexpected character '") + _t[_i] + "'", _i);
        out.assign(_t.substr(start, _i - start));
        return true;
    }

    static int hexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    bool quoted(std::string& out) {
        std::size_t start = _i++;
        char32_t pendingHigh = 0;  // a high surrogate waiting for its low half
        auto flush = [&] {
            if (pendingHigh) appendUtf8(out, 0xFFFD), pendingHigh = 0;
        };
        while (_i < _t.size()) {
            char c = _t[_i++];
            if (c == '"') {
                flush();
                return true;
            }
            if (c != '\\') {
                flush();
                out += c;
                continue;
            }
            if (_i >= _t.size()) break;
            char e = _t[_i++];
            if (e == 'U' || e == 'u') {
                char32_t unit = 0;
                int digits = 0;
                for (; digits < 4 && _i < _t.size() && hexDigit(_t[_i]) >= 0; ++digits)
                    unit = unit * 16 + static_cast<char32_t>(hexDigit(_t[_i++]));
                if (digits == 0) {
                    flush();
                    out += e;
                    continue;
                }
                if (U16_IS_LEAD(unit)) {
                    flush();
                    pendingHigh = unit;
                } else if (U16_IS_TRAIL(unit) && pendingHigh) {
                    appendUtf8(out, U16_GET_SUPPLEMENTARY(pendingHigh, unit));
                    pendingHigh = 0;
                } else {
                    flush();
                    appendUtf8(out, unit);
                }
                continue;
            }
            flush();
            if (e >= '0' && e <= '7') {
                unsigned v = static_cast<unsigned>(e - '0');
                for (int k = 0; k < 2 && _i < _t.size() && _t[_i] >= '0' && _t[_i] <= '7'; ++k)
                    v = v * 8 + static_cast<unsigned>(_t[_i++] - '0');
                appendUtf8(out, v);
                continue;
            }
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'v': out += '\v'; break;
            default: out += e; break;  // \" \\ \' and any other character stand for themselves
            }
        }
        return problem("unterminated quoted text", start);
    }
};

}  // namespace

std::optional<StringTable> StringTable::parse(std::string_view bytes, std::string* error) {
    std::string why;
    auto failed = [&]() -> std::optional<StringTable> {
        if (error) *error = why;
        return std::nullopt;
    };
    if (bytes.size() > kMaxBytes) return why = "string table larger than 16 MiB", failed();
    std::string text;
    if (!toUtf8(bytes, text, why)) return failed();
    StringTable table;
    if (!Parser(text).run(table._entries, why)) return failed();
    return table;
}

std::optional<StringTable> StringTable::readFile(const std::string& path, std::string* error) {
    std::string bytes;
    std::string why;
    switch (FileBytes::read(path, kMaxBytes, &bytes)) {
        case FileBytes::Status::ok: break;
        case FileBytes::Status::cannotOpen: if (error) *error = "cannot open " + path; return std::nullopt;
        case FileBytes::Status::cannotRead: if (error) *error = "cannot read " + path; return std::nullopt;
        case FileBytes::Status::tooLarge:
            if (error) *error = path + ": string table larger than 16 MiB";
            return std::nullopt;
    }
    auto table = parse(bytes, &why);
    if (!table && error) *error = path + ": " + why;
    return table;
}

const std::string* StringTable::find(std::string_view key) const {
    const Value* v = _entries.find(key);
    return v ? &v->string() : nullptr;
}

std::string StringTable::lookup(std::string_view key, std::string_view fallback) const {
    const std::string* s = find(key);
    return s ? *s : std::string(fallback);
}

}  // namespace kz

#include "platform/foundation/PropertyListScan.h"

#include <cstdint>
#include <vector>

#include "platform/foundation/PropertyList.h"

namespace kz {

namespace {

std::uint64_t bigEndian(std::string_view b, std::size_t at, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

class BinaryScan {
public:
    explicit BinaryScan(std::string_view b) : _b(b) {}

    bool run(std::string& error) {
        if (!readTrailer(error)) return false;
        return walk(error);
    }

private:
    std::string_view _b;
    std::size_t _offsetSize = 0, _refSize = 0, _tableAt = 0;
    std::uint64_t _count = 0, _top = 0;

    struct Children {
        std::size_t at = 0, count = 0;
    };

    bool readTrailer(std::string& error) {
        if (_b.size() < 8 + 32 + 1) return error = "truncated binary property list", false;
        std::size_t t = _b.size() - 32;
        _offsetSize = static_cast<unsigned char>(_b[t + 6]);
        _refSize = static_cast<unsigned char>(_b[t + 7]);
        _count = bigEndian(_b, t + 8, 8);
        _top = bigEndian(_b, t + 16, 8);
        std::uint64_t table = bigEndian(_b, t + 24, 8);
        if (_offsetSize < 1 || _offsetSize > 8 || _refSize < 1 || _refSize > 8)
            return error = "bad binary property list trailer", false;
        if (_count == 0 || _top >= _count) return error = "bad object count in binary property list", false;
        if (_count > PropertyList::kMaxObjects) return error = "too many objects in property list", false;
        if (table < 8 || table > t || (t - table) / _offsetSize < _count)
            return error = "bad offset table in binary property list", false;
        _tableAt = static_cast<std::size_t>(table);
        return true;
    }

    // Offset of object i, within the object area, or 0 when out of range.
    std::size_t offsetOf(std::uint64_t i) const {
        std::uint64_t off = bigEndian(_b, _tableAt + static_cast<std::size_t>(i) * _offsetSize, _offsetSize);
        return off >= 8 && off < _tableAt ? static_cast<std::size_t>(off) : 0;
    }

    // The length that follows a marker with low nibble 0xF: an integer object.
    bool count(std::size_t& at, std::size_t nibble, std::uint64_t& n) const {
        if (nibble != 0xF) return n = nibble, true;
        if (at >= _tableAt) return false;
        unsigned char m = static_cast<unsigned char>(_b[at++]);
        if ((m & 0xF0) != 0x10 || (m & 0x0F) > 3) return false;
        std::size_t bytes = std::size_t{1} << (m & 0x0F);
        if (at + bytes > _tableAt) return false;
        n = bigEndian(_b, at, bytes);
        at += bytes;
        return true;
    }

    // Checks one object's own bytes and answers where its child references are.
    bool object(std::uint64_t i, Children& kids, std::string& error) {
        std::size_t at = offsetOf(i);
        if (!at) return error = "object offset out of range", false;
        unsigned char marker = static_cast<unsigned char>(_b[at++]);
        std::size_t type = marker >> 4, nibble = marker & 0x0F;
        std::size_t room = _tableAt - at;
        kids = {};
        std::uint64_t n = 0;
        switch (type) {
        case 0x0:
            return true;
        case 0x1:
        case 0x2:
            if (nibble > 4 || (std::size_t{1} << nibble) > room) break;
            return true;
        case 0x3:
            if (room < 8) break;
            return true;
        case 0x8:
            if (nibble + 1 > room) break;
            return true;
        case 0x4:
        case 0x5:
        case 0x6:
            if (!count(at, nibble, n)) break;
            room = _tableAt - at;
            if (n > room || (type == 0x6 && n > room / 2)) break;
            // libplist keeps texts NUL-terminated and aborts on an inner NUL.
            if (type == 0x5 && _b.substr(at, static_cast<std::size_t>(n)).find('\0') != std::string_view::npos)
                return error = "NUL character in a text", false;
            if (type == 0x6)
                for (std::size_t k = 0; k < n; ++k)
                    if (_b[at + 2 * k] == 0 && _b[at + 2 * k + 1] == 0) return error = "NUL character in a text", false;
            return true;
        case 0xA:
        case 0xC:
        case 0xD: {
            if (!count(at, nibble, n)) break;
            room = _tableAt - at;
            std::uint64_t refs = type == 0xD ? n * 2 : n;
            if (n > room || refs > room / _refSize) break;
            kids.at = at;
            kids.count = static_cast<std::size_t>(refs);
            return true;
        }
        default:
            break;
        }
        error = "malformed object in binary property list";
        return false;
    }

    // Depth-first walk with explicit stack; every object is expanded once
    // (memoised height and expanded size), references on the stack are cycles.
    bool walk(std::string& error) {
        enum : std::uint8_t { kNew, kOpen, kDone };
        std::size_t n = static_cast<std::size_t>(_count);
        std::vector<std::uint8_t> state(n, kNew);
        std::vector<std::uint16_t> height(n, 0);
        std::vector<std::uint32_t> size(n, 0);
        const std::uint64_t cap = PropertyList::kMaxObjects;
        struct Frame {
            std::uint64_t obj;
            Children kids;
            std::size_t next;
        };
        std::vector<Frame> stack;
        auto open = [&](std::uint64_t obj) {
            Children kids;
            if (!object(obj, kids, error)) return false;
            state[obj] = kOpen;
            height[obj] = 1;
            size[obj] = 1;
            stack.push_back({obj, kids, 0});
            if (stack.size() > static_cast<std::size_t>(PropertyList::kMaxDepth))
                return error = "nested too deeply", false;
            return true;
        };
        if (!open(_top)) return false;
        while (!stack.empty()) {
            Frame& f = stack.back();
            if (f.next == f.kids.count) {
                state[f.obj] = kDone;
                std::uint64_t obj = f.obj;
                stack.pop_back();
                if (!stack.empty()) {
                    std::uint64_t parent = stack.back().obj;
                    if (height[obj] + 1 > height[parent]) height[parent] = static_cast<std::uint16_t>(height[obj] + 1);
                    std::uint64_t total = std::uint64_t{size[parent]} + size[obj];
                    size[parent] = static_cast<std::uint32_t>(total > cap ? cap + 1 : total);
                }
                continue;
            }
            std::uint64_t child = bigEndian(_b, f.kids.at + f.next * _refSize, _refSize);
            ++f.next;
            if (child >= _count) return error = "object reference out of range", false;
            if (state[child] == kOpen) return error = "reference cycle in binary property list", false;
            if (state[child] == kDone) {
                std::uint64_t parent = f.obj;
                if (height[child] + stack.size() > static_cast<std::size_t>(PropertyList::kMaxDepth))
                    return error = "nested too deeply", false;
                if (height[child] + 1 > height[parent]) height[parent] = static_cast<std::uint16_t>(height[child] + 1);
                std::uint64_t total = std::uint64_t{size[parent]} + size[child];
                size[parent] = static_cast<std::uint32_t>(total > cap ? cap + 1 : total);
                if (size[parent] > cap) return error = "too many objects in property list", false;
                continue;
            }
            if (!open(child)) return false;
        }
        if (size[_top] > cap) return error = "too many objects in property list", false;
        return true;
    }
};

bool startsWith(std::string_view s, std::size_t at, std::string_view prefix) {
    return s.substr(at, prefix.size()) == prefix;
}


// "&#0;", "&#x00;" and the like: a character reference to NUL.
bool isNulReference(std::string_view b, std::size_t amp) {
    std::size_t i = amp + 2;
    bool hex = i < b.size() && (b[i] == 'x' || b[i] == 'X');
    if (hex) ++i;
    std::size_t digits = 0;
    for (; i < b.size() && b[i] != ';'; ++i, ++digits)
        if (b[i] != '0') return false;
    return digits > 0 && i < b.size();
}

}  // namespace

bool PropertyListScan::binary(std::string_view bytes, std::string& error) { return BinaryScan(bytes).run(error); }

bool PropertyListScan::xml(std::string_view b, std::string& error) {
    // libplist keeps texts NUL-terminated and aborts on an inner NUL.
    if (b.find('\0') != std::string_view::npos) return error = "NUL character in XML property list", false;
    for (std::size_t amp = b.find("&#"); amp != std::string_view::npos; amp = b.find("&#", amp + 2))
        if (isNulReference(b, amp)) return error = "NUL character in XML property list", false;
    int depth = 0;
    std::size_t elements = 0;
    std::size_t i = 0;
    while ((i = b.find('<', i)) != std::string_view::npos) {
        std::string_view close;
        if (startsWith(b, i, "<!--")) close = "-->";
        else if (startsWith(b, i, "<![CDATA[")) close = "]]>";
        else if (startsWith(b, i, "<?")) close = "?>";
        else if (startsWith(b, i, "<!")) close = ">";
        if (!close.empty()) {
            auto end = b.find(close, i + 2);
            if (end == std::string_view::npos) return error = "malformed XML property list", false;
            i = end + close.size();
            continue;
        }
        auto end = b.find('>', i);
        if (end == std::string_view::npos) return error = "malformed XML property list", false;
        std::string_view tag = b.substr(i + 1, end - i - 1);
        i = end + 1;
        bool closing = !tag.empty() && tag[0] == '/';
        bool selfClosing = !tag.empty() && tag.back() == '/';
        if (closing) tag.remove_prefix(1);
        auto nameEnd = tag.find_first_of(" \t\r\n/");
        std::string_view name = tag.substr(0, nameEnd);
        if (name != "array" && name != "dict") {
            if (!closing && ++elements > PropertyList::kMaxObjects)
                return error = "too many objects in property list", false;
            continue;
        }
        if (closing) {
            --depth;
        } else if (!selfClosing) {
            if (++elements > PropertyList::kMaxObjects) return error = "too many objects in property list", false;
            if (++depth > PropertyList::kMaxDepth) return error = "nested too deeply", false;
        }
    }
    return true;
}

}  // namespace kz

#include "Common/WebService/PrinterData.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include <cups/http.h>
#include <zlib.h>

#include "platform/foundation/Log.h"

// libcups marks its PPD interface deprecated; the PPD is still how the host
// hands the panel its printer's data.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace ComTORVALEKZ2R4_Plugin {

namespace {

constexpr std::size_t kInitialCapacity = 256;

ppd_attr_t* findRunAttribute(ppd_file_t* ppd, const char* name, unsigned sequence) {
    // Names longer than a PPD keyword are cut off, as the buffer of 40
    // characters does; such a run can never exist in a valid PPD anyway.
    char attrName[41];
    if (std::snprintf(attrName, sizeof attrName, "%s%04X", name, sequence) < 0) return nullptr;
    return ppdFindAttr(ppd, attrName, nullptr);
}

// The attributes of one run by sequence number, found in one pass over the
// PPD (a lookup per chunk would cost more than inflating it). Names compare
// without case, as libcups looks them up.
class RunIndex {
public:
    RunIndex(ppd_file_t* ppd, const char* name) : _ppd(ppd), _name(name) {
        const std::size_t n = std::strlen(name);
        _direct = n + 4 > 40;
        if (_direct) return;
        for (int i = 0; i < ppd->num_attrs; ++i) {
            const char* attrName = ppd->attrs[i]->name;
            if (strncasecmp(attrName, name, n) != 0) continue;
            const char* digits = attrName + n;
            char* end = nullptr;
            if (std::strlen(digits) < 4 || !std::isxdigit(static_cast<unsigned char>(digits[0]))) continue;
            const unsigned long sequence = std::strtoul(digits, &end, 16);
            // A gapless run from 0000 cannot number past the PPD's own
            // attribute count; a larger number must not size the index.
            if (*end || sequence >= static_cast<unsigned long>(ppd->num_attrs)) continue;
            char expected[24];
            std::snprintf(expected, sizeof expected, "%04lX", sequence);
            if (strcasecmp(expected, digits) != 0) continue;
            if (sequence >= _attrs.size()) _attrs.resize(sequence + 1, nullptr);
            if (!_attrs[sequence]) _attrs[sequence] = ppd->attrs[i];
        }
    }
    ppd_attr_t* find(unsigned sequence) const {
        if (_direct) return findRunAttribute(_ppd, _name, sequence);
        return sequence < _attrs.size() ? _attrs[sequence] : nullptr;
    }

private:
    ppd_file_t* _ppd;
    const char* _name;
    bool _direct = false;
    std::vector<ppd_attr_t*> _attrs;
};

bool isRunLine(std::string_view line, std::string_view name) {
    if (line.size() < name.size() + 6 || line[0] != '*' || line.substr(1, name.size()) != name) return false;
    std::string_view rest = line.substr(1 + name.size());
    for (int i = 0; i < 4; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(rest[static_cast<std::size_t>(i)]))) return false;
    rest.remove_prefix(4);
    return rest[0] == ':' || rest[0] == ' ' || rest[0] == '\t';
}

}  // namespace

std::string PrinterData::attributeName(std::string_view base, unsigned sequence) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04X", sequence);
    return std::string(base) + digits;
}

char* ppdxReadData(ppd_file_t* ppd, const char* name, std::size_t* size) {
    if (size) *size = 0;
    if (!ppd || !name || !size) return nullptr;
    unsigned sequence = 0;
    const RunIndex run(ppd, name);
    ppd_attr_t* attr = run.find(sequence);
    if (!attr) return nullptr;

    std::size_t capacity = kInitialCapacity;
    auto* out = static_cast<unsigned char*>(std::malloc(capacity + 1));
    if (!out) return nullptr;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(capacity);
    bool ended = false;

    while (attr && !ended) {
        // httpDecode64_2 keeps one byte of the declared capacity for a NUL:
        // declaring the chunk size itself would drop a full chunk's last byte.
        char chunk[PrinterData::kChunkBytes + 2];
        int length = static_cast<int>(PrinterData::kChunkBytes + 1);
        if (!attr->value || !httpDecode64_2(chunk, &length, attr->value) || length <= 0) break;
        zs.next_in = reinterpret_cast<Bytef*>(chunk);
        zs.avail_in = static_cast<uInt>(length);
        while (zs.avail_in > 0) {
            if (zs.avail_out == 0) {
                if (capacity > PrinterData::kMaxCapacity) break;  // the rest of this chunk is dropped
                // Doubling all the way keeps a large list linear; the largest
                // capacity (16 MiB) is the same as with steps of 2048.
                std::size_t grown = capacity * 2;
                auto* bigger = static_cast<unsigned char*>(std::realloc(out, grown + 1));
                if (!bigger) {
                    std::free(out);
                    inflateEnd(&zs);
                    return nullptr;
                }
                out = bigger;
                zs.next_out = out + capacity;
                zs.avail_out = static_cast<uInt>(grown - capacity);
                capacity = grown;
            }
            const uInt inBefore = zs.avail_in, outBefore = zs.avail_out;
            int status = inflate(&zs, Z_NO_FLUSH);
            if (status == Z_STREAM_END) {
                ended = true;
                break;
            }
            if (status < 0 || status == Z_NEED_DICT || (zs.avail_in == inBefore && zs.avail_out == outBefore)) {
                kz::Log::format("ERROR: inflate returned %d (%s)", status, zs.msg ? zs.msg : "no progress");
                // Writers that full-flush at every chunk make the next chunk
                // inflatable on its own as raw deflate data; for any other
                // stream the rest is lost and the list will not parse.
                inflateReset2(&zs, -MAX_WBITS);
                break;
            }
        }
        attr = run.find(++sequence);
    }
    inflateEnd(&zs);
    const auto used = static_cast<std::size_t>(zs.next_out - out);
    out[used] = 0;
    *size = used;
    return reinterpret_cast<char*>(out);
}

std::optional<std::string> PrinterData::read(ppd_file_t* ppd, std::string_view name) {
    std::string base(name);
    std::size_t size = 0;
    char* buffer = ppdxReadData(ppd, base.c_str(), &size);
    if (!buffer) return std::nullopt;
    std::string bytes(buffer, size);
    std::free(buffer);
    return bytes;
}

std::vector<std::string> PrinterData::encode(std::string_view bytes) {
    std::vector<std::string> chunks;
    z_stream zs{};
    if (deflateInit(&zs, Z_BEST_COMPRESSION) != Z_OK) return chunks;
    // One stream without flush points: a flush per chunk made the run some
    // twenty times longer, and the recovery it bought leaves a list with a
    // hole, which does not parse anyway.
    std::string stream;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    zs.avail_in = static_cast<uInt>(bytes.size());
    int status = Z_OK;
    while (status == Z_OK) {
        unsigned char buffer[4096];
        zs.next_out = buffer;
        zs.avail_out = sizeof buffer;
        status = deflate(&zs, Z_FINISH);
        stream.append(reinterpret_cast<char*>(buffer), sizeof buffer - zs.avail_out);
    }
    deflateEnd(&zs);
    if (status != Z_STREAM_END) return {};
    for (std::size_t at = 0; at < stream.size(); at += kWrittenChunkBytes) {
        const std::size_t n = std::min(kWrittenChunkBytes, stream.size() - at);
        char text[(kWrittenChunkBytes + 2) / 3 * 4 + 1];
        httpEncode64_2(text, sizeof text, stream.data() + at, static_cast<int>(n));
        chunks.emplace_back(text);
    }
    return chunks;
}

std::string PrinterData::embed(std::string_view ppdText, std::string_view name, std::string_view bytes) {
    std::string result;
    result.reserve(ppdText.size() + bytes.size() * 2);
    std::size_t at = 0;
    while (at < ppdText.size()) {
        std::size_t end = ppdText.find('\n', at);
        end = end == std::string_view::npos ? ppdText.size() : end + 1;
        std::string_view line = ppdText.substr(at, end - at);
        if (!isRunLine(line, name)) result.append(line);
        at = end;
    }
    if (!result.empty() && result.back() != '\n') result += '\n';
    unsigned sequence = 0;
    for (const std::string& chunk : encode(bytes))
        result += "*" + attributeName(name, sequence++) + ": \"" + chunk + "\"\n";
    return result;
}

std::vector<std::string> PrinterData::runNames(ppd_file_t* ppd) {
    std::vector<std::string> names;
    if (!ppd) return names;
    for (int i = 0; i < ppd->num_attrs; ++i) {
        std::string_view n = ppd->attrs[i]->name;
        if (n.size() > 4 && n.substr(n.size() - 4) == "0000") names.emplace_back(n.substr(0, n.size() - 4));
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace ComTORVALEKZ2R4_Plugin

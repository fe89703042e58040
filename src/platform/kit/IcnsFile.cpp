#include "platform/kit/IcnsFile.h"

#include <algorithm>
#include <map>

#include "platform/foundation/FileBytes.h"
#include "platform/kit/Image.h"

namespace kz {

namespace {

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

std::uint32_t bigEndian32(std::string_view bytes, std::size_t at) {
    auto b = [&](std::size_t i) { return std::uint32_t(static_cast<unsigned char>(bytes[at + i])); };
    return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

// The run-length entries: their width, the mask entry that goes with them and
// the bytes before the runs (the largest size starts with four zero bytes).
struct RunLengthKind {
    std::uint32_t pixels;
    const char* mask;
    std::size_t skip;
};
const std::map<std::string, RunLengthKind, std::less<>> kRunLengthKinds = {
    {"is32", {16, "s8mk", 0}},
    {"il32", {32, "l8mk", 0}},
    {"ih32", {48, "h8mk", 0}},
    {"it32", {128, "t8mk", 4}},
};
// Entries that may hold 32-bit "ARGB" runs, and their width.
const std::map<std::string, std::uint32_t, std::less<>> kArgbKinds = {{"ic04", 16}, {"ic05", 32}};
// Entries drawn at twice their pixel density: their size in points is half.
bool isDoubleDensity(std::string_view type) {
    return type == "ic11" || type == "ic12" || type == "ic13" || type == "ic14";
}

// Each channel is packed on its own, one after the other: a byte below 0x80
// is followed by that many plus one literal bytes, a byte from 0x80 repeats
// the next byte (byte - 125) times. A run past the channel's end or the
// data's end is a broken entry.
bool unpackRuns(std::string_view data, std::size_t channels, std::size_t count, std::vector<std::uint8_t>* out) {
    out->assign(channels * count, 0);
    std::size_t at = 0;
    for (std::size_t c = 0; c < channels; ++c) {
        std::uint8_t* plane = out->data() + c * count;
        std::size_t filled = 0;
        while (filled < count) {
            if (at >= data.size()) return false;
            auto head = static_cast<unsigned char>(data[at++]);
            if (head & 0x80) {
                std::size_t n = head - 125u;
                if (at >= data.size() || filled + n > count) return false;
                std::fill_n(plane + filled, n, static_cast<std::uint8_t>(data[at++]));
                filled += n;
            } else {
                std::size_t n = head + 1u;
                if (at + n > data.size() || filled + n > count) return false;
                std::copy_n(reinterpret_cast<const std::uint8_t*>(data.data()) + at, n, plane + filled);
                at += n;
                filled += n;
            }
        }
    }
    return true;
}

// Planes (one channel after the other) into RGBA pixels; `order` names which
// plane holds red, green, blue and alpha (-1: fully opaque).
std::shared_ptr<Image> fromPlanes(std::uint32_t pixels, const std::vector<std::uint8_t>& planes, const int order[4],
                                  std::string_view mask) {
    auto image = std::make_shared<Image>(pixels, pixels);
    std::size_t count = std::size_t(pixels) * pixels;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t rgba = 0;
        for (int channel = 0; channel < 3; ++channel)
            rgba |= std::uint32_t(planes[order[channel] * count + i]) << (24 - 8 * channel);
        std::uint8_t alpha = 0xFF;
        if (order[3] >= 0) alpha = planes[order[3] * count + i];
        else if (mask.size() == count) alpha = static_cast<std::uint8_t>(mask[i]);
        image->setPixel(static_cast<std::uint32_t>(i % pixels), static_cast<std::uint32_t>(i / pixels), rgba | alpha);
    }
    return image;
}

struct Entry {
    std::string type;
    std::string_view data;
};

std::shared_ptr<Image> decode(const Entry& entry, const std::map<std::string, std::string_view, std::less<>>& masks) {
    if (entry.data.starts_with(kPngSignature)) {
        auto image = Image::fromPng(entry.data);
        if (image && isDoubleDensity(entry.type))
            image->setSize({image->pixelsWide() / 2.0, image->pixelsHigh() / 2.0});
        return image;
    }
    std::vector<std::uint8_t> planes;
    if (auto kind = kRunLengthKinds.find(entry.type); kind != kRunLengthKinds.end()) {
        const RunLengthKind& k = kind->second;
        if (entry.data.size() < k.skip) return nullptr;
        std::size_t count = std::size_t(k.pixels) * k.pixels;
        if (!unpackRuns(entry.data.substr(k.skip), 3, count, &planes)) return nullptr;
        auto mask = masks.find(k.mask);
        static const int kRgb[4] = {0, 1, 2, -1};
        return fromPlanes(k.pixels, planes, kRgb, mask == masks.end() ? std::string_view() : mask->second);
    }
    if (auto kind = kArgbKinds.find(entry.type); kind != kArgbKinds.end() && entry.data.starts_with("ARGB")) {
        std::uint32_t pixels = kind->second;
        if (!unpackRuns(entry.data.substr(4), 4, std::size_t(pixels) * pixels, &planes)) return nullptr;
        static const int kArgb[4] = {1, 2, 3, 0};
        return fromPlanes(pixels, planes, kArgb, {});
    }
    return nullptr;
}

}  // namespace

std::optional<IcnsFile> IcnsFile::fromBytes(std::string_view bytes, std::string* error) {
    auto fail = [&](std::string why) -> std::optional<IcnsFile> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    if (bytes.size() < 8 || !bytes.starts_with("icns")) return fail("not an icon family");
    if (bytes.size() > kMaxFileBytes) return fail("too large");
    std::uint32_t length = bigEndian32(bytes, 4);
    if (length < 8 || length > bytes.size()) return fail("its length does not match its size");

    std::vector<Entry> entries;
    std::map<std::string, std::string_view, std::less<>> masks;
    for (std::size_t at = 8; at < length;) {
        if (length - at < 8) return fail("an entry is cut short at byte " + std::to_string(at));
        std::uint32_t entryLength = bigEndian32(bytes, at + 4);
        if (entryLength < 8 || entryLength > length - at)
            return fail("an entry runs past the end at byte " + std::to_string(at));
        if (entries.size() == kMaxEntries) return fail("more than " + std::to_string(kMaxEntries) + " entries");
        Entry entry{std::string(bytes.substr(at, 4)), bytes.substr(at + 8, entryLength - 8)};
        if (entry.type.ends_with("8mk")) masks.emplace(entry.type, entry.data);
        entries.push_back(std::move(entry));
        at += entryLength;
    }

    IcnsFile file;
    for (const Entry& entry : entries)
        if (auto image = decode(entry, masks)) file._images.push_back(std::move(image));
    std::stable_sort(file._images.begin(), file._images.end(),
                     [](const auto& a, const auto& b) { return a->pixelsWide() < b->pixelsWide(); });
    return file;
}

std::optional<IcnsFile> IcnsFile::fromFile(const std::string& path, std::string* error) {
    std::string bytes;
    FileBytes::Status status = FileBytes::read(path, kMaxFileBytes, &bytes);
    if (status != FileBytes::Status::ok) {
        if (error) *error = path + (status == FileBytes::Status::tooLarge ? ": too large" : ": cannot be read");
        return std::nullopt;
    }
    std::string why;
    auto file = fromBytes(bytes, &why);
    if (!file && error) *error = path + ": " + why;
    return file;
}

std::shared_ptr<Image> IcnsFile::imageForPixelsWide(std::uint32_t pixelsWide) const {
    for (const auto& image : _images)
        if (image->pixelsWide() >= pixelsWide) return image;
    return _images.empty() ? nullptr : _images.back();
}

}  // namespace kz

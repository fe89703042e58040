#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Dictionary.h"
#include "platform/foundation/Export.h"
#include "platform/foundation/Value.h"

namespace kz {

// The print settings of one print dialog: a dictionary of key to value that
// the host and the panel share. The host's own settings live under the keys
// below; the panel adds its custom entries (texts) and "VLInputSlot".
//
// Read from and written to a property-list file (an XML dictionary), so a
// headless host can keep them between runs. A file is outside input: it is
// refused whole when it is not what a host would write (see readFile).
class KZ_EXPORT PrintSettings {
public:
    // The host's own keys.
    static constexpr const char* kCopiesKey = "com.apple.print.PrintSettings.PMCopies";
    static constexpr const char* kCollateKey = "com.apple.print.PrintSettings.PMCopyCollate";
    static constexpr const char* kDuplexKey = "com.apple.print.PrintSettings.PMDuplexing";
    // Every custom entry's key holds this text after its vendor prefix.
    static constexpr const char* kCustomEntryMarker = ".print.PrintSettingsTicket.";
    // Duplex modes of kDuplexKey.
    static constexpr int kDuplexNone = 1;
    static constexpr int kDuplexNoTumble = 2;
    static constexpr int kDuplexTumble = 3;
    static constexpr int kSimplexTumble = 4;

    // A settings file larger than this is refused before it is parsed.
    static constexpr std::size_t kMaxFileBytes = 1 << 20;
    static constexpr std::size_t kMaxEntries = 4096;
    static constexpr std::size_t kMaxValueBytes = 64 * 1024;

    PrintSettings() = default;

    // nullptr when the key is not set.
    const Value* value(std::string_view key) const { return _values.find(key); }
    // A null value removes the key.
    void setValue(std::string_view key, Value value);
    bool remove(std::string_view key) { return _values.remove(key); }
    const Dictionary& values() const { return _values; }

    // True when `key` names a custom entry (vendor prefix, the marker, a main
    // keyword).
    static bool isCustomEntryKey(std::string_view key);

    // The settings of a file, or nullopt with the reason in *error: not a
    // file, too large, not a property list, not a dictionary, too many
    // entries, or a value that is not a text, boolean or integer (or a text
    // longer than kMaxValueBytes, or a host key of the wrong type). Nothing
    // of a refused file is kept.
    // A key is refused too when it holds a space, a control character, a
    // quote, a backslash or "=": keys become job option names.
    static std::optional<PrintSettings> readFile(const std::string& path, std::string* error = nullptr);
    // The same for a file's bytes; *error then continues the file's name
    // (" is not a property list: ...").
    static std::optional<PrintSettings> read(std::string_view bytes, std::string* error = nullptr);
    // Written atomically: the old file stays whole until the new one is.
    // OWNER_ONLY (settings that carry a password) makes it mode 0600 even
    // when the file it replaces was readable by others.
    bool writeFile(const std::string& path, std::string* error = nullptr, bool ownerOnly = false) const;

private:
    Dictionary _values;
};

}  // namespace kz

// A control description file as the describe subcommands use it: its
// entries, the bundle that owns it (when it lies in one's resources), and
// option controls built from its entries.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/controls/QuillUI.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Value.h"

namespace kzpde {

class DescriptionFile {
public:
    // Null with the reason in `error` when the file cannot be read.
    static std::optional<DescriptionFile> open(const std::string& path, std::string* error);

    const kz::Dictionary& entries() const { return *_entries; }
    // The bundle whose Contents/Resources hold the file; null otherwise.
    const std::shared_ptr<kz::Bundle>& bundle() const { return _bundle; }
    const std::string& bundlePath() const { return _bundlePath; }

    // One option control of the given size, built and updated from an entry.
    std::shared_ptr<ComTORVALEKZ2R4_Plugin::QuillUI> build(const kz::Dictionary& entry, double width,
                                                          double height) const;

private:
    std::shared_ptr<const kz::Dictionary> _entries;
    std::shared_ptr<kz::Bundle> _bundle;
    std::string _bundlePath;
};

}  // namespace kzpde

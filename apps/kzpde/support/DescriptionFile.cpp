#include "support/DescriptionFile.h"

#include "engine/controls/ControlDescription.h"

namespace kzpde {

std::optional<DescriptionFile> DescriptionFile::open(const std::string& path, std::string* error) {
    std::optional<kz::Dictionary> read = ComTORVALEKZ2R4_Plugin::ControlDescription::readFile(path, error);
    if (!read) return std::nullopt;
    DescriptionFile file;
    file._entries = std::make_shared<const kz::Dictionary>(std::move(*read));
    if (std::size_t at = path.rfind("/Contents/Resources/"); at != std::string::npos) {
        file._bundlePath = at == 0 ? "/" : path.substr(0, at);
        file._bundle = kz::Bundle::open(file._bundlePath);
    }
    return file;
}

std::shared_ptr<ComTORVALEKZ2R4_Plugin::QuillUI> DescriptionFile::build(const kz::Dictionary& entry, double width,
                                                                       double height) const {
    auto control = std::make_shared<ComTORVALEKZ2R4_Plugin::QuillUI>(kz::Rect(0, 0, width, height));
    control->setChildDescriptions(_entries);
    control->setControlDictionary(entry, _bundle);
    control->updateControl();
    return control;
}

}  // namespace kzpde

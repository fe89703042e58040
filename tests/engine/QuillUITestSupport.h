#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/controls/ControlDescription.h"
#include "engine/controls/QuillUI.h"
#include "platform/foundation/NotificationCenter.h"

namespace quilltest {

namespace kzp = ComTORVALEKZ2R4_Plugin;

inline std::string dataPath(const std::string& name) { return std::string(KZ_TEST_DATA) + "/engine/quill/" + name; }

inline const kz::Dictionary& descriptions() {
    static const kz::Dictionary file = *kzp::ControlDescription::readFile(dataPath("controls.plist"));
    return file;
}

// A control of the test file built in a frame of the given size.
inline std::shared_ptr<kzp::QuillUI> build(const std::string& name, double width = 300, double height = 200,
                                           std::shared_ptr<kz::Bundle> bundle = nullptr) {
    auto control = std::make_shared<kzp::QuillUI>(kz::Rect(0, 0, width, height));
    control->setChildDescriptions(std::make_shared<const kz::Dictionary>(descriptions()));
    control->setControlDictionary(descriptions().get(name).dictionary(), std::move(bundle));
    control->updateControl();
    return control;
}

// Every notification posted while it lives, by name, with its sender and user info.
class Recorder {
public:
    struct Post {
        std::string name;
        const void* sender;
        kz::Dictionary userInfo;
    };
    Recorder() {
        kz::NotificationCenter::defaultCenter().addObserver(this, "", nullptr, [this](const auto& n) {
            posts.push_back({n.name, n.sender, n.userInfo});
        });
    }
    ~Recorder() { kz::NotificationCenter::defaultCenter().removeObserver(this); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    std::vector<Post> posts;
};

}  // namespace quilltest

#pragma once

#include <memory>

#include "platform/kit/Cell.h"
#include "platform/kit/Image.h"

namespace kz {

// A list cell with an icon beside its text; a leaf shows no arrow, and a
// wrapping cell breaks long texts onto more lines.
class KZ_EXPORT BrowserCell : public Cell {
public:
    using Cell::Cell;
    std::unique_ptr<Cell> clone() const override { return std::make_unique<BrowserCell>(*this); }
    std::string className() const override { return "BrowserCell"; }

    bool isLeaf() const { return _leaf; }
    void setLeaf(bool on) { _leaf = on; }
    bool wraps() const { return _wraps; }
    void setWraps(bool on) { _wraps = on; }
    const std::shared_ptr<Image>& image() const { return _image; }
    void setImage(std::shared_ptr<Image> image);

private:
    bool _leaf = false;
    bool _wraps = false;
    std::shared_ptr<Image> _image;
};

}  // namespace kz

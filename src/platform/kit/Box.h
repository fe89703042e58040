#pragma once

#include <memory>

#include "platform/kit/View.h"

namespace kz {

// A titled frame around a content view.
class KZ_EXPORT Box : public View {
public:
    explicit Box(Rect frame = {});
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    const std::string& title() const { return _title; }
    void setTitle(std::string title);
    View& contentView() const { return *_contentView; }
    void setContentView(std::shared_ptr<View> view);

protected:
    void frameDidChange() override;

private:
    std::string _title;
    std::shared_ptr<View> _contentView;
};

}  // namespace kz

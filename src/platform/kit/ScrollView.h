#pragma once

#include <memory>

#include "platform/kit/View.h"

namespace kz {

// The view a scroll view clips its document view with.
class KZ_EXPORT ClipView : public View {
public:
    using View::View;
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }
};

// Shows a document view through a clip view that fills it, so the document
// view sits two levels below the scroll view, as layouts expect.
class KZ_EXPORT ScrollView : public View {
public:
    explicit ScrollView(Rect frame = {});
    static const ViewClass& described();
    const ViewClass& viewClass() const override { return described(); }

    ClipView& contentView() const { return *_clip; }
    View* documentView() const;
    void setDocumentView(std::shared_ptr<View> view);

protected:
    void frameDidChange() override;

private:
    std::shared_ptr<ClipView> _clip;
};

}  // namespace kz

#pragma once

#include "settings/stored_form.h"

class QWidget;

namespace ornet5 {

// The settings store's view of a Qt top-level window's place on the screen.
//
// Placement on X11: the window system has no placement record, so the
// normal rectangle is the frame's place and size (pos() and
// frameGeometry()), the minimised and maximised positions and the flags are
// kept as last applied, and the show state is 1 (normal), 2 (minimised) or
// 3 (maximised). Applying a record moves the window's frame and, for a
// window that can be resized, sizes it; it never shows or hides the window.
class TQtFormWindow : public TFormWindow {
  public:
    TQtFormWindow(QWidget& window, TBorderStyle borderStyle);

    TWindowPlacement Placement() const override;
    void SetPlacement(const TWindowPlacement& placement) override;
    bool Visible() const override;
    bool HandleAllocated() const override;
    TBorderStyle BorderStyle() const override { return borderStyle_; }
    TPositionMode PositionMode() const override { return positionMode_; }
    void SetPositionMode(TPositionMode mode) override { positionMode_ = mode; }
    std::int32_t Left() const override;
    std::int32_t Top() const override;
    std::int32_t Width() const override;
    std::int32_t Height() const override;
    std::int32_t ScreenWidth() const override;
    std::int32_t ScreenHeight() const override;
    std::int32_t PixelsPerInch() const override { return pixelsPerInch_; }
    TPoint FrameMetric(TFrameMetric metric) const override;

  private:
    QWidget& window_;
    TBorderStyle borderStyle_;
    TPositionMode positionMode_ = TPositionMode::Designed;
    // The screen's logical pixels per inch, taken once, at creation.
    std::int32_t pixelsPerInch_;
    std::int32_t flags_ = 0;
    TPoint minPosition_{-1, -1};
    TPoint maxPosition_{-1, -1};
};

}  // namespace ornet5

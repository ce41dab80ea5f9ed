#pragma once

#include "settings/stored_form.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// The settings store's view of a Win32 top-level window's place on the
// screen: its placement through GetWindowPlacement and SetWindowPlacement,
// the screen through GetSystemMetrics and LOGPIXELSY.
class TWin32FormWindow : public TFormWindow {
  public:
    TWin32FormWindow(HWND window, TBorderStyle borderStyle);

    TWindowPlacement Placement() const override;
    void SetPlacement(const TWindowPlacement& placement) override;
    bool Visible() const override;
    bool HandleAllocated() const override { return window_ != nullptr; }
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
    RECT WindowRect() const;

    HWND window_;
    TBorderStyle borderStyle_;
    TPositionMode positionMode_ = TPositionMode::Designed;
    // The screen's logical pixels per inch, taken once, at creation.
    std::int32_t pixelsPerInch_;
};

}  // namespace ornet5

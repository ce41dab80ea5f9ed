#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "settings/stored_form.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ornet5 {

// One stored property of a control: an item index (integer) or a check
// state (boolean, 0 or 1), read and set through the window's own code so
// that a set has the same effects as the user's change.
struct TWin32StoredProperty {
    std::string controlName;
    std::string propertyName;
    TPropertyKind kind = TPropertyKind::Integer;
    std::function<std::int32_t()> get;
    std::function<void(std::int32_t)> set;
};

// The settings store's view of a Win32 top-level window: its placement
// through GetWindowPlacement and SetWindowPlacement, the screen through
// GetSystemMetrics and LOGPIXELSY, and the controls the window lists.
class TWin32StoredForm : public TStoredForm {
  public:
    TWin32StoredForm(HWND window, std::string className, TBorderStyle borderStyle,
                     std::vector<TWin32StoredProperty> properties,
                     std::function<void(const std::exception&)> reportError);
    ~TWin32StoredForm() override;

    std::string ClassName() const override { return className_; }
    TStoredControl* FindControl(std::string_view name) override;
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
    void ReportError(const std::exception& error) override;

  private:
    class TControl;
    RECT WindowRect() const;

    HWND window_;
    std::string className_;
    TBorderStyle borderStyle_;
    std::function<void(const std::exception&)> reportError_;
    TPositionMode positionMode_ = TPositionMode::Designed;
    // The screen's logical pixels per inch, taken once, at creation.
    std::int32_t pixelsPerInch_;
    std::vector<std::unique_ptr<TControl>> controls_;
};

}  // namespace ornet5

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/stored_form.h"

namespace ornet5::test {

class TFakeForm;

// A combo box (integer ItemIndex) or a radio button (boolean Checked) of the
// fake settings window, with the real controls' setter effects.
class TFakeControl : public TStoredControl {
  public:
    TFakeControl(TFakeForm& form, std::string name, TPropertyKind kind, int itemCount);

    std::string Name() const override { return name_; }
    std::optional<TPropertyInfo> FindProperty(std::string_view name) const override;
    std::int32_t IntegerProperty(const TPropertyInfo& property) const override;
    void SetIntegerProperty(const TPropertyInfo& property, std::int32_t value) override;
    bool BooleanProperty(const TPropertyInfo& property) const override;
    void SetBooleanProperty(const TPropertyInfo& property, bool value) override;

    std::int32_t itemIndex = -1;
    bool checked = false;
    // When set, every property access throws.
    bool unreachable = false;
    // Property reads so far.
    mutable int reads = 0;

  private:
    void CheckReachable() const;

    TFakeForm& form_;
    std::string name_;
    TPropertyKind kind_;
    int itemCount_;
};

// The connection settings window as the store sees it, with its design
// values: COM3, 9600, µSv/h, dialog frame at 360, 236.
class TFakeForm : public TStoredForm, public TFormWindow {
  public:
    TFakeForm();

    std::string ClassName() const override { return "TTrelanADCFace"; }
    TStoredControl* FindControl(std::string_view name) override;
    TWindowPlacement Placement() const override;
    void SetPlacement(const TWindowPlacement& value) override;
    bool Visible() const override { return visible; }
    bool HandleAllocated() const override { return handleAllocated; }
    TBorderStyle BorderStyle() const override { return borderStyle; }
    TPositionMode PositionMode() const override { return positionMode; }
    void SetPositionMode(TPositionMode mode) override { positionMode = mode; }
    std::int32_t Left() const override { return placement.normalPosition.left; }
    std::int32_t Top() const override { return placement.normalPosition.top; }
    std::int32_t Width() const override;
    std::int32_t Height() const override;
    std::int32_t ScreenWidth() const override { return screenWidth; }
    std::int32_t ScreenHeight() const override { return screenHeight; }
    std::int32_t PixelsPerInch() const override { return pixelsPerInch; }
    TPoint FrameMetric(TFrameMetric metric) const override;
    void ReportError(const std::exception& error) override { errors.push_back(error.what()); }

    TFakeControl& Control(std::string_view name);
    // The radio button set to true unchecks its siblings and runs its click
    // handler, which is logged.
    void RadioChecked(TFakeControl& button);

    TWindowPlacement placement;
    std::vector<TWindowPlacement> appliedPlacements;
    bool visible = false;
    bool handleAllocated = true;
    TBorderStyle borderStyle = TBorderStyle::Dialog;
    TPositionMode positionMode = TPositionMode::Designed;
    std::int32_t screenWidth = 1024;
    std::int32_t screenHeight = 768;
    std::int32_t pixelsPerInch = 96;
    std::vector<std::string> errors;
    std::vector<std::string> events;
    // Runs at each Placement() call, to change the world in mid-save.
    std::function<void()> onPlacement;

  private:
    std::vector<std::unique_ptr<TFakeControl>> controls_;
};

}  // namespace ornet5::test

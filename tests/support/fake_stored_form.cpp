#include "tests/support/fake_stored_form.h"

#include <strings.h>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace ornet5::test {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::int32_t Clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TFakeControl::TFakeControl(TFakeForm& form, std::string name, TPropertyKind kind, int itemCount)
    : form_(form), name_(std::move(name)), kind_(kind), itemCount_(itemCount) {}

void TFakeControl::CheckReachable() const {
    if (unreachable) {
        throw std::runtime_error("control gone");
    }
}

std::optional<TPropertyInfo> TFakeControl::FindProperty(std::string_view name) const {
    CheckReachable();
    const std::string declared = kind_ == TPropertyKind::Integer ? "ItemIndex" : "Checked";
    if (!SameText(name, declared)) {
        return std::nullopt;
    }
    return TPropertyInfo{declared, kind_};
}

std::int32_t TFakeControl::IntegerProperty(const TPropertyInfo&) const {
    CheckReachable();
    ++reads;
    return itemIndex;
}

void TFakeControl::SetIntegerProperty(const TPropertyInfo&, std::int32_t value) {
    CheckReachable();
    if (value >= 0 && value < itemCount_) {
        itemIndex = value;
    }
}

bool TFakeControl::BooleanProperty(const TPropertyInfo&) const {
    CheckReachable();
    ++reads;
    return checked;
}

void TFakeControl::SetBooleanProperty(const TPropertyInfo&, bool value) {
    CheckReachable();
    if (value == checked) {
        return;
    }
    checked = value;
    if (value) {
        form_.RadioChecked(*this);
    }
}

TFakeForm::TFakeForm() {
    controls_.push_back(
        std::make_unique<TFakeControl>(*this, "CB_ComPort", TPropertyKind::Integer, 4));
    controls_.push_back(
        std::make_unique<TFakeControl>(*this, "CB_ComPort_Speed", TPropertyKind::Integer, 5));
    controls_.push_back(std::make_unique<TFakeControl>(*this, "rbZv", TPropertyKind::Boolean, 0));
    controls_.push_back(
        std::make_unique<TFakeControl>(*this, "rbRentgen", TPropertyKind::Boolean, 0));
    Control("CB_ComPort").itemIndex = 2;
    Control("CB_ComPort_Speed").itemIndex = 1;
    Control("rbZv").checked = true;
    placement.showCmd = 1;
    placement.minPosition = {-1, -1};
    placement.maxPosition = {-1, -1};
    placement.normalPosition = {360, 236, 360 + 349, 236 + 146};
}

TStoredControl* TFakeForm::FindControl(std::string_view name) {
    for (const auto& control : controls_) {
        if (SameText(control->Name(), name)) {
            return control.get();
        }
    }
    return nullptr;
}

TFakeControl& TFakeForm::Control(std::string_view name) {
    return static_cast<TFakeControl&>(*FindControl(name));
}

TWindowPlacement TFakeForm::Placement() const {
    if (onPlacement) {
        onPlacement();
    }
    return placement;
}

void TFakeForm::SetPlacement(const TWindowPlacement& value) {
    // The window keeps its size when the record is applied to a fixed frame.
    const std::int32_t width = Width();
    const std::int32_t height = Height();
    placement = value;
    if (borderStyle != TBorderStyle::Sizeable) {
        placement.normalPosition.right = Clamped(std::int64_t{value.normalPosition.left} + width);
        placement.normalPosition.bottom = Clamped(std::int64_t{value.normalPosition.top} + height);
    }
    appliedPlacements.push_back(value);
}

std::int32_t TFakeForm::Width() const {
    return placement.normalPosition.right - placement.normalPosition.left;
}

std::int32_t TFakeForm::Height() const {
    return placement.normalPosition.bottom - placement.normalPosition.top;
}

TPoint TFakeForm::FrameMetric(TFrameMetric metric) const {
    switch (metric) {
        case TFrameMetric::Border:
            return {1, 1};
        case TFrameMetric::Frame:
            return {4, 4};
        case TFrameMetric::DialogFrame:
            return {3, 3};
    }
    return {};
}

void TFakeForm::RadioChecked(TFakeControl& button) {
    for (const auto& control : controls_) {
        if (control.get() != &button && control->Name().starts_with("rb")) {
            control->checked = false;
        }
    }
    events.push_back(button.Name() + "Click");
}

}  // namespace ornet5::test

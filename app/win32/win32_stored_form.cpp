#include "app/win32/win32_stored_form.h"

#include <stdexcept>
#include <utility>

#include "settings/ascii_text.h"

namespace ornet5 {

class TWin32StoredForm::TControl : public TStoredControl {
  public:
    explicit TControl(TWin32StoredProperty property) : property_(std::move(property)) {}

    std::string Name() const override { return property_.controlName; }
    std::optional<TPropertyInfo> FindProperty(std::string_view name) const override {
        if (!SameTextAscii(name, property_.propertyName)) {
            return std::nullopt;
        }
        return TPropertyInfo{property_.propertyName, property_.kind};
    }
    std::int32_t IntegerProperty(const TPropertyInfo& property) const override {
        Check(property, TPropertyKind::Integer);
        return property_.get();
    }
    void SetIntegerProperty(const TPropertyInfo& property, std::int32_t value) override {
        Check(property, TPropertyKind::Integer);
        property_.set(value);
    }
    bool BooleanProperty(const TPropertyInfo& property) const override {
        Check(property, TPropertyKind::Boolean);
        return property_.get() != 0;
    }
    void SetBooleanProperty(const TPropertyInfo& property, bool value) override {
        Check(property, TPropertyKind::Boolean);
        property_.set(value ? 1 : 0);
    }

  private:
    void Check(const TPropertyInfo& property, TPropertyKind kind) const {
        if (property.kind != kind || property_.kind != kind ||
            !SameTextAscii(property.declaredName, property_.propertyName)) {
            throw std::invalid_argument(property_.controlName +
                                        " has no such property: " + property.declaredName);
        }
    }

    TWin32StoredProperty property_;
};

namespace {

std::int32_t ScreenPixelsPerInch() {
    HDC screen = ::GetDC(nullptr);
    const int value = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return value;
}

TWindowPlacement FromWin32(const WINDOWPLACEMENT& record) {
    return TWindowPlacement{static_cast<std::int32_t>(record.flags),
                            static_cast<std::int32_t>(record.showCmd),
                            {record.ptMinPosition.x, record.ptMinPosition.y},
                            {record.ptMaxPosition.x, record.ptMaxPosition.y},
                            {record.rcNormalPosition.left, record.rcNormalPosition.top,
                             record.rcNormalPosition.right, record.rcNormalPosition.bottom}};
}

WINDOWPLACEMENT ToWin32(const TWindowPlacement& placement) {
    WINDOWPLACEMENT record{};
    record.length = sizeof(record);
    record.flags = static_cast<UINT>(placement.flags);
    record.showCmd = static_cast<UINT>(placement.showCmd);
    record.ptMinPosition = {placement.minPosition.x, placement.minPosition.y};
    record.ptMaxPosition = {placement.maxPosition.x, placement.maxPosition.y};
    record.rcNormalPosition = {placement.normalPosition.left, placement.normalPosition.top,
                               placement.normalPosition.right, placement.normalPosition.bottom};
    return record;
}

}  // namespace

TWin32StoredForm::TWin32StoredForm(HWND window, std::string className, TBorderStyle borderStyle,
                                   std::vector<TWin32StoredProperty> properties,
                                   std::function<void(const std::exception&)> reportError)
    : window_(window),
      className_(std::move(className)),
      borderStyle_(borderStyle),
      reportError_(std::move(reportError)),
      pixelsPerInch_(ScreenPixelsPerInch()) {
    for (auto& property : properties) {
        controls_.push_back(std::make_unique<TControl>(std::move(property)));
    }
}

TWin32StoredForm::~TWin32StoredForm() = default;

TStoredControl* TWin32StoredForm::FindControl(std::string_view name) {
    for (const auto& control : controls_) {
        if (SameTextAscii(control->Name(), name)) {
            return control.get();
        }
    }
    return nullptr;
}

TWindowPlacement TWin32StoredForm::Placement() const {
    WINDOWPLACEMENT record{};
    record.length = sizeof(record);
    if (!::GetWindowPlacement(window_, &record)) {
        throw std::runtime_error("GetWindowPlacement failed");
    }
    return FromWin32(record);
}

void TWin32StoredForm::SetPlacement(const TWindowPlacement& placement) {
    const WINDOWPLACEMENT record = ToWin32(placement);
    if (!::SetWindowPlacement(window_, &record)) {
        throw std::runtime_error("SetWindowPlacement failed");
    }
}

bool TWin32StoredForm::Visible() const {
    return ::IsWindowVisible(window_) != FALSE;
}

RECT TWin32StoredForm::WindowRect() const {
    RECT rect{};
    ::GetWindowRect(window_, &rect);
    return rect;
}

std::int32_t TWin32StoredForm::Left() const {
    return WindowRect().left;
}

std::int32_t TWin32StoredForm::Top() const {
    return WindowRect().top;
}

std::int32_t TWin32StoredForm::Width() const {
    const RECT rect = WindowRect();
    return rect.right - rect.left;
}

std::int32_t TWin32StoredForm::Height() const {
    const RECT rect = WindowRect();
    return rect.bottom - rect.top;
}

std::int32_t TWin32StoredForm::ScreenWidth() const {
    return ::GetSystemMetrics(SM_CXSCREEN);
}

std::int32_t TWin32StoredForm::ScreenHeight() const {
    return ::GetSystemMetrics(SM_CYSCREEN);
}

TPoint TWin32StoredForm::FrameMetric(TFrameMetric metric) const {
    switch (metric) {
        case TFrameMetric::Border:
            return {::GetSystemMetrics(SM_CXBORDER), ::GetSystemMetrics(SM_CYBORDER)};
        case TFrameMetric::Frame:
            return {::GetSystemMetrics(SM_CXFRAME), ::GetSystemMetrics(SM_CYFRAME)};
        case TFrameMetric::DialogFrame:
            return {::GetSystemMetrics(SM_CXDLGFRAME), ::GetSystemMetrics(SM_CYDLGFRAME)};
    }
    return {};
}

void TWin32StoredForm::ReportError(const std::exception& error) {
    if (reportError_) {
        reportError_(error);
    }
}

}  // namespace ornet5

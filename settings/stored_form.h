#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace ornet5 {

// What the settings store needs of its window: the window's placement and
// its controls, reached by name.

struct TPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const TPoint&) const = default;
};

struct TRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const TRect&) const = default;
};

// The window-placement record; positions in screen pixels.
struct TWindowPlacement {
    std::int32_t flags = 0;
    std::int32_t showCmd = 0;
    TPoint minPosition;
    TPoint maxPosition;
    TRect normalPosition;
    bool operator==(const TWindowPlacement&) const = default;
};

inline constexpr std::int32_t kShowHide = 0;

enum class TBorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };

enum class TPositionMode {
    Designed,
    Default,
    DefaultPosOnly,
    DefaultSizeOnly,
    ScreenCenter,
    DesktopCenter,
    MainFormCenter,
    OwnerFormCenter
};

// The frame sizes that the window system gives each border kind.
enum class TFrameMetric { Border, Frame, DialogFrame };

enum class TPropertyKind { Integer, Boolean };

struct TPropertyInfo {
    // The name as the control declares it, whatever case the caller used.
    std::string declaredName;
    TPropertyKind kind = TPropertyKind::Integer;
};

// A control of the window whose properties the store reads and sets. A set
// goes through the control's normal setter, with all its usual effects,
// except that an item index naming no entry (-1, or beyond the list) leaves
// the control as it stands: its text and selection stay. A stored -1 means
// "no entry was selected", and clearing the text would leave the speed
// empty. Any of these may throw when the control can no longer be reached.
class TStoredControl {
  public:
    virtual ~TStoredControl() = default;
    virtual std::string Name() const = 0;
    // The property called name (any letter case), if the control has one.
    virtual std::optional<TPropertyInfo> FindProperty(std::string_view name) const = 0;
    virtual std::int32_t IntegerProperty(const TPropertyInfo& property) const = 0;
    virtual void SetIntegerProperty(const TPropertyInfo& property, std::int32_t value) = 0;
    virtual bool BooleanProperty(const TPropertyInfo& property) const = 0;
    virtual void SetBooleanProperty(const TPropertyInfo& property, bool value) = 0;
};

// The window as the settings store sees it on the screen: its placement
// record, its frame, and the screen it is on. Each front end implements it
// over its toolkit's window.
class TFormWindow {
  public:
    virtual ~TFormWindow() = default;

    virtual TWindowPlacement Placement() const = 0;
    virtual void SetPlacement(const TWindowPlacement& placement) = 0;
    virtual bool Visible() const = 0;
    virtual bool HandleAllocated() const = 0;
    virtual TBorderStyle BorderStyle() const = 0;
    virtual TPositionMode PositionMode() const = 0;
    virtual void SetPositionMode(TPositionMode mode) = 0;
    virtual std::int32_t Left() const = 0;
    virtual std::int32_t Top() const = 0;
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;

    virtual std::int32_t ScreenWidth() const = 0;
    virtual std::int32_t ScreenHeight() const = 0;
    virtual std::int32_t PixelsPerInch() const = 0;
    virtual TPoint FrameMetric(TFrameMetric metric) const = 0;
};

// The window as the settings store sees it apart from the screen: the class
// name that names its section, its controls by name, and the program's
// error report. A window's core implements it, the same for every toolkit.
class TStoredForm {
  public:
    virtual ~TStoredForm() = default;

    virtual std::string ClassName() const = 0;
    // The control called name (any letter case), or null; it stays owned by
    // the form.
    virtual TStoredControl* FindControl(std::string_view name) = 0;

    // The program's standard error report.
    virtual void ReportError(const std::exception& error) = 0;
};

}  // namespace ornet5

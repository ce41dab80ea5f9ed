#include "settings/form_placement.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "common/int_text.h"

namespace ornet5 {

namespace {

using TWords = std::array<std::int32_t, 4>;

// Sums of stored positions and sizes saturate: a file may hold any number.
std::int32_t SaturatingAdd(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::string ScreenSuffix(const TFormWindow& form) {
    return "(" + std::to_string(form.ScreenWidth()) + "x" + std::to_string(form.ScreenHeight()) +
           ")";
}

std::string PositionText(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," +
           std::to_string(d);
}

// The first four words of text, split at runs of blanks and commas; a
// missing or malformed word keeps its default.
TWords PositionWords(std::string_view text, TWords words) {
    constexpr std::string_view kSeparators = " ,";
    std::size_t index = 0;
    std::size_t begin = text.find_first_not_of(kSeparators);
    while (begin != std::string_view::npos && index < words.size()) {
        const std::size_t end = std::min(text.find_first_of(kSeparators, begin), text.size());
        words[index] = TryStrToInt(text.substr(begin, end - begin)).value_or(words[index]);
        ++index;
        begin = text.find_first_not_of(kSeparators, end);
    }
    return words;
}

// The key with the screen-size suffix, or without it when that is empty.
std::string ReadScreenKey(const TIniFile& ini, const std::string& section, const std::string& key,
                          const std::string& suffix) {
    std::string text = ini.ReadString(section, key + suffix, "");
    if (text.empty()) {
        text = ini.ReadString(section, key, "");
    }
    return text;
}

bool IsSizeable(TBorderStyle style) {
    return style == TBorderStyle::Sizeable || style == TBorderStyle::SizeToolWin;
}

TPoint FrameSize(const TFormWindow& form) {
    switch (form.BorderStyle()) {
        case TBorderStyle::Single:
        case TBorderStyle::ToolWindow:
            return form.FrameMetric(TFrameMetric::Border);
        case TBorderStyle::Sizeable:
        case TBorderStyle::SizeToolWin:
            return form.FrameMetric(TFrameMetric::Frame);
        case TBorderStyle::Dialog:
            return form.FrameMetric(TFrameMetric::DialogFrame);
        case TBorderStyle::None:
            break;
    }
    return {};
}

}  // namespace

TFormPlacement::TFormPlacement(TStoredForm& form, TFormWindow& window,
                               TSettingsFileLocation defaultFile)
    : form_(form), window_(window), defaultFile_(std::move(defaultFile)) {}

std::string TFormPlacement::IniSection() const {
    return iniSection_.empty() ? form_.ClassName() : iniSection_;
}

void TFormPlacement::Loaded(TFormHandlers ownHandlers) {
    ownHandlers_ = std::move(ownHandlers);
    attached_ = true;
}

TFormHandlers TFormPlacement::Detach() {
    attached_ = false;
    return std::exchange(ownHandlers_, {});
}

void TFormPlacement::Reported(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        form_.ReportError(error);
    }
}

void TFormPlacement::FormShow() {
    if (active_) {
        Reported([this] { RestoreSettings(); });
    }
    if (ownHandlers_.show) {
        ownHandlers_.show();
    }
}

void TFormPlacement::FormCloseQuery(bool& canClose) {
    if (ownHandlers_.closeQuery) {
        ownHandlers_.closeQuery(canClose);
    }
    if (canClose && active_ && window_.HandleAllocated()) {
        Reported([this] { SaveSettings(); });
    }
}

void TFormPlacement::FormDestroy() {
    if (active_ && !saved_) {
        destroying_ = true;
        Reported([this] { SaveSettings(); });
        destroying_ = false;
    }
    if (ownHandlers_.destroy) {
        ownHandlers_.destroy();
    }
}

TIniFile TFormPlacement::OpenIniFile() const {
    if (iniFileName_.empty()) {
        return TIniFile(defaultFile_.path, defaultFile_.name);
    }
    const std::filesystem::path name(iniFileName_);
    const std::filesystem::path path =
        name.has_parent_path() ? name : defaultFile_.path.parent_path() / name;
    return TIniFile(path, iniFileName_);
}

void TFormPlacement::RestoreSettings() {
    saved_ = false;
    const TIniFile ini = OpenIniFile();
    if (ini.ReadInteger(IniSection(), "FormVersion", 0) >= version_) {
        if (options_.Contains(TPlacementOption::Position)) {
            RestorePosition(ini);
        }
        RestoreItems(ini);
    }
    restored_ = true;
    ResetMaxPosition();
}

void TFormPlacement::RestorePosition(const TIniFile& ini) {
    TWindowPlacement placement = window_.Placement();
    if (!window_.Visible()) {
        placement.showCmd = kShowHide;
    }
    placement.flags = ini.ReadInteger(IniSection(), "Flags", placement.flags);
    const bool found = ReadPositions(ini, placement);
    const std::int32_t pixelsPerInch = window_.PixelsPerInch();
    // Positions saved at another pixel density would not fit this layout.
    if (found && ini.ReadInteger(IniSection(), "PixelsPerInch", pixelsPerInch) == pixelsPerInch) {
        ApplyPosition(placement);
    }
}

bool TFormPlacement::ReadPositions(const TIniFile& ini, TWindowPlacement& placement) const {
    const std::string section = IniSection();
    const std::string suffix = ScreenSuffix(window_);
    bool found = false;
    if (const std::string text = ReadScreenKey(ini, section, "MinMaxPos", suffix); !text.empty()) {
        const TWords words = PositionWords(text, {0, 0, 0, 0});
        placement.minPosition = {words[0], words[1]};
        placement.maxPosition = {words[2], words[3]};
        found = true;
    }
    if (const std::string text = ReadScreenKey(ini, section, "NormPos", suffix); !text.empty()) {
        const std::int32_t left = window_.Left();
        const std::int32_t top = window_.Top();
        const TWords words = PositionWords(text, {left, top, SaturatingAdd(left, window_.Width()),
                                                  SaturatingAdd(top, window_.Height())});
        placement.normalPosition = {words[0], words[1], words[2], words[3]};
        found = true;
    }
    return found;
}

void TFormPlacement::ApplyPosition(TWindowPlacement& placement) {
    TRect& rect = placement.normalPosition;
    // A window of fixed size takes only the stored corner from the file.
    if (!IsSizeable(window_.BorderStyle())) {
        rect.right = SaturatingAdd(rect.left, window_.Width());
        rect.bottom = SaturatingAdd(rect.top, window_.Height());
    }
    if (rect.right <= rect.left) {
        return;
    }
    const TPositionMode mode = window_.PositionMode();
    if (mode == TPositionMode::ScreenCenter || mode == TPositionMode::DesktopCenter) {
        window_.SetPositionMode(TPositionMode::Designed);
    }
    window_.SetPlacement(placement);
}

// A maximised window's frame lies just outside the screen.
void TFormPlacement::ResetMaxPosition() {
    if (!window_.HandleAllocated()) {
        return;
    }
    TWindowPlacement placement = window_.Placement();
    if (!window_.Visible()) {
        placement.showCmd = kShowHide;
    }
    const TPoint frame = FrameSize(window_);
    placement.maxPosition = {-frame.x, -frame.y};
    window_.SetPlacement(placement);
}

void TFormPlacement::SaveSettings() {
    // A window that was never shown never writes the file.
    if (!restored_ && active_) {
        return;
    }
    TIniFile ini = OpenIniFile();
    ini.WriteInteger(IniSection(), "FormVersion", version_);
    if (options_.Contains(TPlacementOption::State) ||
        options_.Contains(TPlacementOption::Position)) {
        SavePosition(ini);
    }
    SaveItems(ini);
    saved_ = true;
}

void TFormPlacement::SavePosition(TIniFile& ini) {
    const std::string section = IniSection();
    const std::string suffix = ScreenSuffix(window_);
    const TWindowPlacement placement = window_.Placement();
    ini.WriteInteger(section, "Flags", placement.flags);
    ini.WriteInteger(section, "ShowCmd", placement.showCmd);
    ini.WriteInteger(section, "PixelsPerInch", window_.PixelsPerInch());
    const std::string minMax = PositionText(placement.minPosition.x, placement.minPosition.y,
                                            placement.maxPosition.x, placement.maxPosition.y);
    ini.WriteString(section, "MinMaxPos" + suffix, minMax);
    ini.WriteString(section, "MinMaxPos", minMax);
    const TRect& rect = placement.normalPosition;
    const std::string normal = PositionText(rect.left, rect.top, rect.right, rect.bottom);
    ini.WriteString(section, "NormPos" + suffix, normal);
    ini.WriteString(section, "NormPos", normal);
    ini.WriteString(section, "Visible", destroying_ ? "1" : "0");
}

}  // namespace ornet5

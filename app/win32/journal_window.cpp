#include "app/win32/journal_window.h"

#include "app/journal_window_design.h"
#include "app/win32/control_ids.h"
#include "app/win32/wide_text.h"

namespace ornet5 {

using namespace journal_design;

namespace {

COLORREF Colour(TChartInk ink) {
    const std::optional<TRgb> colour = InkColour(ink);
    return colour ? RGB(colour->red, colour->green, colour->blue) : ::GetSysColor(COLOR_WINDOWTEXT);
}

// One item of the drawing: a line with both ends, or a label.
void DrawLine(HDC dc, const TChartLine& line) {
    HPEN pen =
        ::CreatePen(line.ink == TChartInk::Threshold ? PS_DASH : PS_SOLID, 1, Colour(line.ink));
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::MoveToEx(dc, line.x1, line.y1, nullptr);
    ::LineTo(dc, line.x2, line.y2);
    ::SetPixel(dc, line.x2, line.y2, Colour(line.ink));
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

void DrawLabel(HDC dc, const TChartText& text) {
    const std::wstring label = Wide(text.text);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size);
    const int left = text.align == TTextAlign::Left     ? text.x
                     : text.align == TTextAlign::Centre ? text.x - size.cx / 2
                                                        : text.x - size.cx;
    ::TextOutW(dc, left, text.y - size.cy / 2, label.c_str(), static_cast<int>(label.size()));
}

}  // namespace

TJournalWindow::TJournalWindow(const TJournalWindowServices& services) {
    Create({L"TJournalForm", kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, CW_USEDEFAULT,
            CW_USEDEFAULT, kClientSize.width, kClientSize.height});
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(DefaultDesignFont()), FALSE);
    BuildControls();
    formWindow_ = std::make_unique<TWin32FormWindow>(Handle(), TBorderStyle::Single);
    TJournalWindowView& view = *this;
    core_ = std::make_unique<TJournalWindowCore>(view, *formWindow_, services);
}

TJournalWindow::~TJournalWindow() {
    core_->FormDestroy();
    Destroy();
}

// Controls inside a group frame are the window's own children, so that
// their notifications reach the window, placed at the frame's offset.
void TJournalWindow::BuildControls() {
    const HWND window = Handle();
    CreateControl(window, L"BUTTON", kPeriodGroupCaption, BS_GROUPBOX, kPeriodGroup,
                  kIdPeriodGroup);
    for (std::size_t i = 0; i < kJournalPeriods.size(); ++i) {
        CreateControl(window, L"BUTTON", JournalPeriodCaption(kJournalPeriods[i]),
                      BS_RADIOBUTTON | WS_TABSTOP | (i == 0 ? WS_GROUP : 0),
                      kPeriodButtons[i].In(kPeriodGroup), kIdPeriodFirst + static_cast<int>(i));
    }
    CreateControl(window, L"STATIC", "", SS_OWNERDRAW, kChart, kIdChart);
    CreateControl(window, L"STATIC", "", SS_LEFT | SS_NOPREFIX, kSummary, kIdSummary);
    CreateControl(window, L"BUTTON", kAlarmGroupCaption, BS_GROUPBOX, kAlarmGroup, kIdAlarmGroup);
    CreateControl(window, L"STATIC", "", SS_LEFT | SS_NOPREFIX, kThresholdLabel.In(kAlarmGroup),
                  kIdThresholdLabel);
    CreateControl(window, L"EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP,
                  kThreshold.In(kAlarmGroup), kIdThreshold, WS_EX_CLIENTEDGE);
    CreateControl(window, L"BUTTON", kThresholdButtonCaption, BS_PUSHBUTTON | WS_TABSTOP,
                  kThresholdButton.In(kAlarmGroup), kIdThresholdButton);
    CreateControl(window, L"BUTTON", kAlarmOnCaption, BS_CHECKBOX | WS_TABSTOP,
                  kAlarmOn.In(kAlarmGroup), kIdAlarmOn);
    CreateControl(window, L"BUTTON", kAlarmSoundCaption, BS_CHECKBOX | WS_TABSTOP,
                  kAlarmSound.In(kAlarmGroup), kIdAlarmSound);
    CreateControl(window, L"STATIC", "", SS_LEFT | SS_NOPREFIX, kAlarmState.In(kAlarmGroup),
                  kIdAlarmState);
    CreateControl(window, L"BUTTON", kOpenFolderCaption, BS_PUSHBUTTON | WS_TABSTOP, kOpenFolder,
                  kIdOpenFolder);
}

void TJournalWindow::ShowAndRaise() {
    ShowLoadedAndRaise(Handle(), [this] { core_->FormShow(); });
}

void TJournalWindow::OnCommand(int id, int code) {
    if (code != BN_CLICKED) {
        return;
    }
    if (id >= kIdPeriodFirst && id < kIdPeriodFirst + static_cast<int>(kJournalPeriods.size())) {
        core_->PeriodClicked(kJournalPeriods[static_cast<std::size_t>(id - kIdPeriodFirst)]);
    } else if (id == IDOK) {
        // Enter anywhere in the window: the dialog manager makes the
        // focused button the default only in a dialog box, which this
        // window is not, so the core is told where the focus is.
        core_->EnterPressed(FocusedControl());
    } else if (id == kIdThresholdButton) {
        core_->ThresholdEntered();
    } else if (id == kIdAlarmOn || id == kIdAlarmSound) {
        const bool checked = ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        id == kIdAlarmOn ? core_->AlarmClicked(!checked) : core_->SoundClicked(!checked);
    } else if (id == kIdOpenFolder) {
        core_->OpenFolderClicked();
    }
}

TJournalControl TJournalWindow::FocusedControl() const {
    const HWND focus = ::GetFocus();
    if (focus == nullptr || ::GetParent(focus) != Handle()) {
        return TJournalControl::Other;
    }
    switch (::GetDlgCtrlID(focus)) {
        case kIdThreshold:
            return TJournalControl::ThresholdField;
        case kIdThresholdButton:
            return TJournalControl::ThresholdButton;
        case kIdOpenFolder:
            return TJournalControl::OpenFolderButton;
        default:
            return TJournalControl::Other;
    }
}

// Drawn into a bitmap first, so that a new row every 3 s does not flicker.
void TJournalWindow::DrawChart(const DRAWITEMSTRUCT& item) const {
    const RECT& area = item.rcItem;
    HDC dc = ::CreateCompatibleDC(item.hDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(item.hDC, area.right, area.bottom);
    HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
    HGDIOBJ oldFont = ::SelectObject(dc, DefaultDesignFont());
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    const TChartDrawing& drawing = core_->Drawing();
    for (const TChartRect& rect : drawing.rects) {
        const RECT place = WinRect(rect.rect);
        HBRUSH brush = ::CreateSolidBrush(Colour(rect.ink));
        ::FillRect(dc, &place, brush);
        ::DeleteObject(brush);
    }
    for (const TChartLine& line : drawing.lines) {
        DrawLine(dc, line);
    }
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Colour(TChartInk::Text));
    for (const TChartText& text : drawing.texts) {
        DrawLabel(dc, text);
    }
    ::BitBlt(item.hDC, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

LRESULT TJournalWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            // Before the core exists there is nothing to draw.
            if (core_ != nullptr) {
                DrawChart(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            }
            return TRUE;
        case WM_CLOSE:
            // A granted close only hides the window.
            if (core_->FormCloseQuery()) {
                ::ShowWindow(Handle(), SW_HIDE);
            }
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void TJournalWindow::ShowPeriod(TJournalPeriod period) {
    for (std::size_t i = 0; i < kJournalPeriods.size(); ++i) {
        HWND button = Control(kIdPeriodFirst + static_cast<int>(i));
        ::SendMessageW(button, BM_SETCHECK, kJournalPeriods[i] == period ? BST_CHECKED : 0, 0);
    }
}

void TJournalWindow::ShowChart() {
    ::InvalidateRect(Control(kIdChart), nullptr, FALSE);
}

// A static control breaks lines at CR LF.
void TJournalWindow::ShowSummary(const std::string& text) {
    std::string lines;
    for (const char c : text) {
        lines += c == '\n' ? "\r\n" : std::string(1, c);
    }
    SetWindowTextUtf8(Control(kIdSummary), lines);
}

void TJournalWindow::ShowThresholdLabel(const std::string& text) {
    SetWindowTextUtf8(Control(kIdThresholdLabel), text);
}

std::string TJournalWindow::ThresholdText() const {
    return WindowTextUtf8(Control(kIdThreshold));
}

void TJournalWindow::ShowThresholdText(const std::string& text) {
    SetWindowTextUtf8(Control(kIdThreshold), text);
}

void TJournalWindow::ShowAlarmChecks(bool enabled, bool sound) {
    ::SendMessageW(Control(kIdAlarmOn), BM_SETCHECK, enabled ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendMessageW(Control(kIdAlarmSound), BM_SETCHECK, sound ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TJournalWindow::ShowAlarmState(const std::string& text) {
    SetWindowTextUtf8(Control(kIdAlarmState), text);
}

}  // namespace ornet5

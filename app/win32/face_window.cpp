#include "app/win32/face_window.h"

#include "app/app_title.h"
#include "app/program_events.h"
#include "app/win32/control_ids.h"
#include "app/win32/wide_text.h"

namespace ornet5 {

using namespace face_design;

namespace {

// Posted from the activation: the settings window is shown and closed once
// the activation itself has finished.
constexpr UINT kFirstActivationMessage = WM_APP + 1;

}  // namespace

TFaceWindow::TFaceWindow(TProgramEvents& events, std::function<void()> onEndSession)
    : events_(events), onEndSession_(std::move(onEndSession)) {
    Create({L"TFace", kApplicationTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_TOPMOST,
            CW_USEDEFAULT, CW_USEDEFAULT, kClientSize.width, kClientSize.height});
    BuildMenu();
    BuildLabels();
}

TFaceWindow::~TFaceWindow() {
    Destroy();
    if (popupMenu1_ != nullptr) {
        ::DestroyMenu(popupMenu1_);
    }
    ::DeleteObject(titleFont_);
    ::DeleteObject(doseFont_);
}

void TFaceWindow::BuildMenu() {
    popupMenu1_ = ::CreatePopupMenu();
    actOptionsShowHint_ = kOptionsShowHint;
    ::AppendMenuW(popupMenu1_, MF_STRING, kCommandOptionsShow, Wide(kOptionsShowItem).c_str());
    ::AppendMenuW(popupMenu1_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(popupMenu1_, MF_STRING, kCommandAbout, Wide(kAboutItem).c_str());
    ::AppendMenuW(popupMenu1_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(popupMenu1_, MF_STRING, kCommandJournal, Wide(kJournalItem).c_str());
}

void TFaceWindow::BuildLabels() {
    titleFont_ = CreateDesignFont(kLabelTitleFont);
    doseFont_ = CreateDesignFont(kLabelDoseFont);
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(DefaultDesignFont()), FALSE);
    // Owner-drawn labels: one line from the top, centred, the dose greyed
    // when old. Without SS_NOTIFY they let the mouse through to the
    // window, so a right click on them opens the popup menu too.
    labelTitle_ = CreateControl(Handle(), L"STATIC", core_.TitleText(), SS_OWNERDRAW, 0,
                                kLabelTitle, kIdLabelTitle, titleFont_);
    labelDose_ = CreateControl(Handle(), L"STATIC", core_.DoseText(), SS_OWNERDRAW, 0, kLabelDose,
                               kIdLabelDose, doseFont_);
}

void TFaceWindow::Show() {
    ::ShowWindow(Handle(), SW_SHOW);
    // Without a window manager (Wine under Xvfb) nothing else activates the
    // new window, and its first activation loads the stored settings.
    ::SetForegroundWindow(Handle());
    ::SetActiveWindow(Handle());
}

void TFaceWindow::ShowDoseText(const std::string& text) {
    SetWindowTextUtf8(labelDose_, text);
    ::InvalidateRect(labelDose_, nullptr, TRUE);
}

void TFaceWindow::ShowDoseInk(TDoseInk ink) {
    doseInk_ = ink;
    ::InvalidateRect(labelDose_, nullptr, TRUE);
}

void TFaceWindow::ShowTitleText(const std::string& text) {
    SetWindowTextUtf8(labelTitle_, text);
    ::InvalidateRect(labelTitle_, nullptr, TRUE);
}

void TFaceWindow::PopupAt(POINT screenPoint) {
    ::TrackPopupMenu(popupMenu1_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screenPoint.x,
                     screenPoint.y, 0, Handle(), nullptr);
}

void TFaceWindow::DrawLabel(const DRAWITEMSTRUCT& item) const {
    const std::wstring text = WindowTextWide(item.hwndItem);
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    const TDoseInk ink = item.hwndItem == labelDose_ ? doseInk_ : TDoseInk::Normal;
    ::SetTextColor(item.hDC, ink == TDoseInk::Alarm   ? RGB(255, 0, 0)
                             : ink == TDoseInk::Stale ? ::GetSysColor(COLOR_GRAYTEXT)
                                                      : ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkMode(item.hDC, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(
        item.hDC, reinterpret_cast<HGDIOBJ>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    RECT place = item.rcItem;
    // An ampersand underlines the next letter and is not drawn itself.
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &place,
                DT_CENTER | DT_TOP | DT_SINGLELINE);
    ::SelectObject(item.hDC, oldFont);
}

LRESULT TFaceWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && events_.FirstActivationPending()) {
                ::PostMessageW(Handle(), kFirstActivationMessage, 0, 0);
            }
            break;
        case kFirstActivationMessage:
            events_.FormActivate();
            return 0;
        case WM_CONTEXTMENU: {
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            // From the keyboard: at the client area's top-left corner.
            if (lParam == -1) {
                at = {0, 0};
                ::ClientToScreen(Handle(), &at);
            }
            PopupAt(at);
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kCommandOptionsShow) {
                events_.actOptionsShowExecute();
                return 0;
            }
            if (LOWORD(wParam) == kCommandAbout) {
                events_.NAboutClick();
                return 0;
            }
            if (LOWORD(wParam) == kCommandJournal) {
                events_.NJournalClick();
                return 0;
            }
            break;
        case WM_DRAWITEM:
            DrawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CLOSE:
            // The program destroys its windows once the loop has ended, the
            // settings window first.
            ::PostQuitMessage(0);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != FALSE && onEndSession_) {
                onEndSession_();
            }
            return 0;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace ornet5

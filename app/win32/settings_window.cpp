#include "app/win32/settings_window.h"

#include <commctrl.h>

#include "app/settings_window_design.h"
#include "app/win32/completing_combo.h"
#include "app/win32/control_ids.h"
#include "app/win32/wide_text.h"

namespace ornet5 {

using namespace settings_design;

TSettingsWindow::TSettingsWindow(const TSettingsWindowServices& services) {
    // Hidden at creation; a dialog frame with the close button only.
    Create({L"TTrelanADCFace", kCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
            kDesignPosition.x, kDesignPosition.y, kClientSize.width, kClientSize.height});
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(DefaultDesignFont()), FALSE);
    ::SetWindowContextHelpId(Handle(), kHelpContext);
    BuildControls();
    formWindow_ = std::make_unique<TWin32FormWindow>(Handle(), TBorderStyle::Dialog);
    TSettingsWindowView& view = *this;
    core_ = std::make_unique<TSettingsWindowCore>(view, *formWindow_, services);
}

TSettingsWindow::~TSettingsWindow() {
    core_->FormDestroy();
    Destroy();
}

// Controls inside a group frame are the window's own children, so that
// their notifications reach the window, placed at the frame's offset.
void TSettingsWindow::BuildControls() {
    groupBox1_ =
        CreateControl(Handle(), L"BUTTON", kPortGroup, BS_GROUPBOX, kGroupBox1, kIdGroupBox1);
    cbComPort_ = CreateCompletingCombo(Handle(), kComPort.In(kGroupBox1), kIdComPort, kPortEntries,
                                       kPortEntryIndex);
    ::SetWindowLongPtrW(cbComPort_, GWL_STYLE,
                        ::GetWindowLongPtrW(cbComPort_, GWL_STYLE) | WS_GROUP);
    cbComPortSpeed_ = CreateCompletingCombo(Handle(), kComPortSpeed.In(kGroupBox1), kIdComPortSpeed,
                                            kSpeedEntries, kSpeedEntryIndex);
    // One part across the whole width with no border stands for the simple
    // text: unlike the simple mode, its text is the control's own window
    // text, which assistive tools and tests read.
    statusBar_ = CreateControl(Handle(), STATUSCLASSNAMEW, "", CCS_BOTTOM, 0, kStatusBar,
                               kIdStatusBar, nullptr);
    int parts[] = {-1};
    ::SendMessageW(statusBar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    ShowStatusText("");
    groupBox2_ =
        CreateControl(Handle(), L"BUTTON", kAddressGroup, BS_GROUPBOX, kGroupBox2, kIdGroupBox2);
    // Read-only still lets the user select and copy the address.
    leDeviceAdr_ = CreateControl(Handle(), L"EDIT", kAddressDesignText,
                                 ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP,
                                 kDeviceAdr.In(kGroupBox2), kIdDeviceAdr, WS_EX_CLIENTEDGE);
    rbZv_ = CreateControl(Handle(), L"BUTTON", kZvCaption, BS_RADIOBUTTON | WS_GROUP, kZv, kIdZv);
    rbRentgen_ =
        CreateControl(Handle(), L"BUTTON", kRentgenCaption, BS_RADIOBUTTON, kRentgen, kIdRentgen);
    // The design state leaves the main window's heading alone.
    ShowUnitChecked(TUnitButton::Zv, true);
}

void TSettingsWindow::ShowAndRaise() {
    ShowLoadedAndRaise(Handle(), [this] { core_->FormShow(); });
}

void TSettingsWindow::Close() {
    ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

// The choices are handed over once a combo box's completion has settled.
void TSettingsWindow::OnCommand(int id, int code) {
    if ((id == kIdComPort || id == kIdComPortSpeed) && code == CBN_EDITCHANGE) {
        const bool port = id == kIdComPort;
        CompleteTypedText(port ? cbComPort_ : cbComPortSpeed_,
                          port ? std::span<const char* const>(kPortEntries) : kSpeedEntries);
        core_->ChoiceEdited();
    } else if ((id == kIdComPort || id == kIdComPortSpeed) && code == CBN_SELCHANGE) {
        core_->ChoiceEdited();
    } else if ((id == kIdZv || id == kIdRentgen) && code == BN_CLICKED) {
        core_->UnitClicked(id == kIdZv ? TUnitButton::Zv : TUnitButton::Rentgen);
    }
}

LRESULT TSettingsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case kComboValueSet:
            core_->ChoiceEdited();
            return 0;
        case WM_CLOSE:
            // A granted close only hides the window.
            if (core_->FormCloseQuery()) {
                ::ShowWindow(Handle(), SW_HIDE);
            }
            return 0;
        case WM_HELP:
            // Help context 680 has no help file behind it.
            return TRUE;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

int TSettingsWindow::ItemIndex(TComboBox box) const {
    return ComboItemIndex(Box(box));
}

void TSettingsWindow::SelectItem(TComboBox box, int index) {
    SetComboItemIndex(Box(box), index);
}

std::string TSettingsWindow::SpeedText() const {
    return WindowTextUtf8(cbComPortSpeed_);
}

bool TSettingsWindow::UnitChecked(TUnitButton button) const {
    return ::SendMessageW(Button(button), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Only the checked button is a tab stop.
void TSettingsWindow::ShowUnitChecked(TUnitButton button, bool checked) {
    HWND control = Button(button);
    ::SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
    ::SetWindowLongPtrW(control, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

void TSettingsWindow::ShowAddressText(const std::string& text) {
    SetWindowTextUtf8(leDeviceAdr_, text);
}

void TSettingsWindow::ShowStatusText(const std::string& text) {
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0 | SBT_NOBORDERS,
                   reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

}  // namespace ornet5

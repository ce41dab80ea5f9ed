#include "app/win32/settings_window.h"

#include <commctrl.h>

#include <span>

#include "app/program_events.h"
#include "app/settings_window_setup.h"
#include "app/win32/completing_combo.h"
#include "app/win32/control_ids.h"
#include "app/win32/face_window.h"
#include "app/win32/wide_text.h"
#include "app/win32/win32_stored_form.h"
#include "app/window_exchange_environment.h"
#include "app/window_texts.h"
#include "common/exception.h"
#include "measure/poll_cycle.h"
#include "serial/cp_drv.h"
#include "settings/form_storage.h"

namespace ornet5 {

namespace {

constexpr int kClientWidth = 343;
constexpr int kClientHeight = 117;
constexpr int kDesignLeft = 360;
constexpr int kDesignTop = 236;
// Height of a combo box's edit part; the list drops below it.
constexpr int kComboHeight = 21;
constexpr int kComboListHeight = 120;

// Controls inside a group frame are the window's own children (so that
// their notifications reach the window), placed at the frame's offset.
RECT InGroup(POINT group, int left, int top, int width, int height) {
    return {group.x + left, group.y + top, group.x + left + width, group.y + top + height};
}

HWND MakeComboBox(HWND parent, RECT place, int id, std::span<const char* const> entries,
                  int selected) {
    place.bottom = place.top + kComboListHeight;
    HWND box = CreateControl(parent, L"COMBOBOX", "",
                             CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, place, id,
                             DefaultDesignFont());
    for (const char* entry : entries) {
        ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    }
    // The edit part's height, the list's lines left as they are.
    ::SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), kComboHeight - 6);
    SetComboItemIndex(box, selected);
    return box;
}

}  // namespace

TSettingsWindow::TSettingsWindow(TProgramEvents& events, TFaceWindow& face,
                                 const TRegionalFormats& formats, std::function<bool()> escapeDown)
    : events_(events), face_(face), formats_(formats), escapeDown_(std::move(escapeDown)) {
    // Hidden at creation; a dialog frame with the close button only.
    Create({L"TTrelanADCFace", window_text::kSettingsCaption, WS_POPUP | WS_CAPTION | WS_SYSMENU,
            WS_EX_DLGMODALFRAME, kDesignLeft, kDesignTop, kClientWidth, kClientHeight});
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(DefaultDesignFont()), FALSE);
    ::SetWindowContextHelpId(Handle(), settings_window::kHelpContext);
    driverTicks_ = std::make_unique<TWin32TickSource>(Handle(), kTimerReceivePoll);
    commPort_ = std::make_unique<TCPDrv>(*driverTicks_);
    commPort_->SetPortName(settings_window::kDesignPortName);
    BuildPortGroup();
    BuildStatusBar();
    BuildAddressGroup();
    BuildUnitChoice();
    StartPolling();
    AttachFormStorage();
}

TSettingsWindow::~TSettingsWindow() {
    ::KillTimer(Handle(), kTimerTrelan);
    FinalSave();
    driverTicks_->Stop();
    Destroy();
}

void TSettingsWindow::BuildPortGroup() {
    const POINT group{8, 0};
    groupBox1_ = CreateControl(Handle(), L"BUTTON", window_text::kPortGroup, BS_GROUPBOX, 0,
                               InGroup(group, 0, 0, 161, 81), kIdGroupBox1, DefaultDesignFont());
    cbComPort_ = MakeComboBox(Handle(), InGroup(group, 8, 16, 145, kComboHeight), kIdComPort,
                              window_text::kPortEntries, window_text::kPortEntryIndex);
    ::SetWindowLongPtrW(cbComPort_, GWL_STYLE,
                        ::GetWindowLongPtrW(cbComPort_, GWL_STYLE) | WS_GROUP);
    cbComPortSpeed_ =
        MakeComboBox(Handle(), InGroup(group, 8, 48, 145, kComboHeight), kIdComPortSpeed,
                     window_text::kSpeedEntries, window_text::kSpeedEntryIndex);
}

void TSettingsWindow::BuildStatusBar() {
    // One part across the whole width with no border stands for the
    // simple text: unlike the simple mode, its text is the control's own
    // window text, which assistive tools and tests read.
    statusBar_ =
        CreateControl(Handle(), STATUSCLASSNAMEW, "", CCS_BOTTOM, 0,
                      {0, kClientHeight - 19, kClientWidth, kClientHeight}, kIdStatusBar, nullptr);
    int parts[] = {-1};
    ::SendMessageW(statusBar_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    SetStatusText("");
}

void TSettingsWindow::BuildAddressGroup() {
    const POINT group{176, 0};
    groupBox2_ = CreateControl(Handle(), L"BUTTON", window_text::kAddressGroup, BS_GROUPBOX, 0,
                               InGroup(group, 0, 0, 161, 49), kIdGroupBox2, DefaultDesignFont());
    // Read-only still lets the user select and copy the address.
    leDeviceAdr_ =
        CreateControl(Handle(), L"EDIT", window_text::kAddressDesignText,
                      ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE,
                      InGroup(group, 8, 16, 145, 21), kIdDeviceAdr, DefaultDesignFont());
}

void TSettingsWindow::BuildUnitChoice() {
    rbZv_ =
        CreateControl(Handle(), L"BUTTON", TProgramEvents::kZvHeading, BS_RADIOBUTTON | WS_GROUP, 0,
                      {176, 56, 176 + 161, 56 + 17}, kIdZv, DefaultDesignFont());
    rbRentgen_ = CreateControl(Handle(), L"BUTTON", TProgramEvents::kRentgenHeading, BS_RADIOBUTTON,
                               0, {176, 80, 176 + 161, 80 + 17}, kIdRentgen, DefaultDesignFont());
    // The design state leaves the main window's heading alone.
    ::SendMessageW(rbZv_, BM_SETCHECK, BST_CHECKED, 0);
    ::SetWindowLongPtrW(rbZv_, GWL_STYLE, ::GetWindowLongPtrW(rbZv_, GWL_STYLE) | WS_TABSTOP);
}

void TSettingsWindow::StartPolling() {
    exchangeEnvironment_ = std::make_unique<TWindowExchangeEnvironment>(escapeDown_, *this);
    pollCycle_ = std::make_unique<TPollCycle>(*commPort_, *this, *exchangeEnvironment_, formats_);
    // Without its timer the monitor would never poll: that ends the start.
    if (::SetTimer(Handle(), kTimerTrelan, settings_window::kPollPeriodMs, nullptr) == 0) {
        throw Exception("SetTimer failed");
    }
}

void TSettingsWindow::AttachFormStorage() {
    auto checkedProperty = [this](const char* name, HWND button) {
        return TWin32StoredProperty{
            name, "Checked", TPropertyKind::Boolean,
            [button] { return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; },
            [this, button](std::int32_t value) { SetUnitChecked(button, value != 0); }};
    };
    auto indexProperty = [](const char* name, HWND box) {
        return TWin32StoredProperty{name, "ItemIndex", TPropertyKind::Integer,
                                    [box] { return ComboItemIndex(box); },
                                    [box](std::int32_t value) { SetComboItemIndex(box, value); }};
    };
    storedForm_ = std::make_unique<TWin32StoredForm>(
        Handle(), "TTrelanADCFace", TBorderStyle::Dialog,
        std::vector<TWin32StoredProperty>{indexProperty("CB_ComPort", cbComPort_),
                                          indexProperty("CB_ComPort_Speed", cbComPortSpeed_),
                                          checkedProperty("rbZv", rbZv_),
                                          checkedProperty("rbRentgen", rbRentgen_)},
        [this](const std::exception& error) { events_.Report(error); });
    formStorage1_ = settings_window::MakeStore(*storedForm_);
}

void TSettingsWindow::ShowAndRaise() {
    if (!::IsWindowVisible(Handle())) {
        formStorage1_->FormShow();
        ::ShowWindow(Handle(), SW_SHOW);
    }
    ::SetForegroundWindow(Handle());
    ::BringWindowToTop(Handle());
}

void TSettingsWindow::Close() {
    ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TSettingsWindow::FinalSave() {
    if (formStorage1_ != nullptr) {
        formStorage1_->FormDestroy();
    }
}

void TSettingsWindow::SetUnitChecked(HWND button, bool checked) {
    const bool wasChecked = ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
    auto setTabStop = [](HWND control, bool on) {
        const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
        ::SetWindowLongPtrW(control, GWL_STYLE, on ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    };
    ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    setTabStop(button, checked);
    if (!checked || wasChecked) {
        return;
    }
    HWND other = button == rbZv_ ? rbRentgen_ : rbZv_;
    ::SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
    setTabStop(other, false);
    if (button == rbZv_) {
        events_.rbZvClick();
    } else {
        events_.rbRentgenClick();
    }
}

void TSettingsWindow::OnCommand(int id, int code) {
    if ((id == kIdComPort || id == kIdComPortSpeed) && code == CBN_EDITCHANGE) {
        CompleteTypedText(id == kIdComPort ? cbComPort_ : cbComPortSpeed_);
    } else if ((id == kIdZv || id == kIdRentgen) && code == BN_CLICKED) {
        SetUnitChecked(id == kIdZv ? rbZv_ : rbRentgen_, true);
    }
}

LRESULT TSettingsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kTimerTrelan) {
                events_.TimerTrelanTimer(*pollCycle_);
            } else {
                driverTicks_->HandleTimer(wParam);
            }
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE: {
            // The close is granted; the store saves; the window only hides.
            bool canClose = true;
            events_.Run([&] { formStorage1_->FormCloseQuery(canClose); });
            if (canClose) {
                ::ShowWindow(Handle(), SW_HIDE);
            }
            return 0;
        }
        case WM_HELP:
            // Help context 680 has no help file behind it.
            return TRUE;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

int TSettingsWindow::PortIndex() const {
    return ComboItemIndex(cbComPort_);
}

std::string TSettingsWindow::SpeedText() const {
    return WindowTextUtf8(cbComPortSpeed_);
}

bool TSettingsWindow::RentgenChosen() const {
    return ::SendMessageW(rbRentgen_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string TSettingsWindow::DoseText() const {
    return face_.DoseText();
}

void TSettingsWindow::SetDoseText(const std::string& text) {
    face_.SetDoseText(text);
}

void TSettingsWindow::SetDoseCurrent(bool current) {
    face_.SetDoseCurrent(current);
}

void TSettingsWindow::SetAddressText(const std::string& text) {
    SetWindowTextUtf8(leDeviceAdr_, text);
}

void TSettingsWindow::SetStatusText(const std::string& text) {
    ::SendMessageW(statusBar_, SB_SETTEXTW, 0 | SBT_NOBORDERS,
                   reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

}  // namespace ornet5

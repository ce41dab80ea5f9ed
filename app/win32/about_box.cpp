#include "app/win32/about_box.h"

#include <cstring>
#include <vector>

#include "app/about_box_design.h"
#include "app/win32/control_ids.h"
#include "app/win32/wide_text.h"

namespace ornet5 {

namespace {

// The picture is resource 2 of the program file (RCDATA).
constexpr int kPictureResource = 2;

// The GIF carried in the program file, decoded by Windows' OLE picture
// support; null when that fails.
IPicture* LoadPicture() {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(kPictureResource),
                                  MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr) {
        return nullptr;
    }
    const DWORD size = ::SizeofResource(module, found);
    const void* bytes = ::LockResource(::LoadResource(module, found));
    if (bytes == nullptr || size == 0) {
        return nullptr;
    }
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == nullptr) {
        return nullptr;
    }
    void* target = ::GlobalLock(copy);
    if (target == nullptr) {
        ::GlobalFree(copy);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    ::GlobalUnlock(copy);
    IStream* stream = nullptr;
    // The stream frees the copy when it is released.
    if (FAILED(::CreateStreamOnHGlobal(copy, TRUE, &stream))) {
        ::GlobalFree(copy);
        return nullptr;
    }
    IPicture* picture = nullptr;
    if (FAILED(::OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture)))) {
        picture = nullptr;
    }
    stream->Release();
    return picture;
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list) {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

}  // namespace

TAboutBox::TAboutBox(HWND mainWindow) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    Create({L"TAboutBox", about_design::kCaption, style, WS_EX_DLGMODALFRAME, 0, 0,
            about_design::kClientSize.width, about_design::kClientSize.height});
    RECT owner{};
    RECT outer{};
    ::GetWindowRect(mainWindow, &owner);
    ::GetWindowRect(Handle(), &outer);
    const TLayoutPoint at =
        CentredOver({owner.left, owner.top, owner.right - owner.left, owner.bottom - owner.top},
                    {outer.right - outer.left, outer.bottom - outer.top});
    ::SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    picture_ = LoadPicture();
    BuildControls();
}

TAboutBox::~TAboutBox() {
    Destroy();
    if (picture_ != nullptr) {
        picture_->Release();
    }
}

void TAboutBox::BuildControls() {
    HFONT font = DefaultDesignFont();
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    using namespace about_design;
    // The etched edge is the double bevel: outer edge lowered, inner raised.
    // The panel's children are the box's own, placed at the panel's offset.
    CreateControl(Handle(), L"STATIC", "", SS_ETCHEDFRAME, 0, kPanel1, kIdPanel1, font);
    CreateControl(Handle(), L"STATIC", "", SS_OWNERDRAW, 0, kProgramIcon.In(kPanel1),
                  kIdProgramIcon, font);
    CreateControl(Handle(), L"STATIC", kProductNameText, SS_LEFT | SS_NOPREFIX, 0,
                  kProductName.In(kPanel1), kIdProductName, font);
    CreateControl(Handle(), L"STATIC", kVersionText, SS_LEFT | SS_NOPREFIX, 0, kVersion.In(kPanel1),
                  kIdVersion, font);
    CreateControl(Handle(), L"STATIC", kCommentsText, SS_CENTER | SS_NOPREFIX, 0,
                  kComments.In(kPanel1), kIdComments, font);
    okButton_ = CreateControl(Handle(), L"BUTTON", kOkCaption, BS_DEFPUSHBUTTON | WS_TABSTOP, 0,
                              kOkButton, IDOK, font);
}

void TAboutBox::DrawPicture(const DRAWITEMSTRUCT& item) const {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    if (picture_ == nullptr) {
        return;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    // Stretched to fill the frame; the source rectangle runs bottom-up in
    // HIMETRIC units.
    picture_->Render(item.hDC, item.rcItem.left, item.rcItem.top,
                     item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top, 0,
                     height, width, -height, nullptr);
}

int TAboutBox::RunModal() {
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectEnabledWindow,
                        reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled) {
        ::EnableWindow(window, FALSE);
    }
    ::ShowWindow(Handle(), SW_SHOW);
    ::SetForegroundWindow(Handle());
    ::SetFocus(okButton_);
    running_ = true;
    result_ = IDCANCEL;
    MSG message{};
    while (running_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the outer loop must see the quit too.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!::IsDialogMessageW(Handle(), &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    // Enabled again before the box goes, so that the window active before
    // it becomes active again.
    for (HWND window : disabled) {
        ::EnableWindow(window, TRUE);
    }
    ::ShowWindow(Handle(), SW_HIDE);
    return result_;
}

void TAboutBox::EndModal(int result) {
    result_ = result;
    running_ = false;
}

LRESULT TAboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Escape sends IDCANCEL, which no control answers to.
            if (LOWORD(wParam) == IDOK) {
                EndModal(IDOK);
            }
            return 0;
        case WM_CLOSE:
            EndModal(IDCANCEL);
            return 0;
        case WM_DRAWITEM:
            DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

}  // namespace ornet5

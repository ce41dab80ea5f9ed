#include "app/win32/completing_combo.h"

#include <string>

#include <commctrl.h>

#include "app/combo_completion.h"
#include "app/win32/wide_text.h"
#include "app/win32/window_base.h"

namespace ornet5 {

namespace {

bool KeyDown(int key) {
    return (::GetKeyState(key) & 0x8000) != 0;
}

// Set while an edit part carries out WM_CUT or WM_CLEAR, which is how its
// context menu cuts and deletes: no key is down then. All combo boxes live
// on the window thread.
bool cuttingOrClearing = false;

// The keys that remove text: Backspace and Delete, with or without Ctrl
// (a word) or Shift (Shift+Delete cuts), and Ctrl+X; and the context
// menu's Cut and Delete.
TEditKind EditKind() {
    const bool removing = cuttingOrClearing || KeyDown(VK_BACK) || KeyDown(VK_DELETE) ||
                          (KeyDown(VK_CONTROL) && KeyDown('X'));
    return removing ? TEditKind::Removed : TEditKind::Typed;
}

// The edit part's own procedure, with WM_CUT and WM_CLEAR marked: the
// change they make reaches CompleteTypedText while they run.
LRESULT CALLBACK EditPartProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR) {
    if (message == WM_CUT || message == WM_CLEAR) {
        cuttingOrClearing = true;
        const LRESULT result = ::DefSubclassProc(edit, message, wParam, lParam);
        cuttingOrClearing = false;
        return result;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(edit, EditPartProc, id);
    }
    return ::DefSubclassProc(edit, message, wParam, lParam);
}

// The box's own procedure, which tells the parent of texts and selections
// set by a message: a setter that is not the user's makes no notification.
LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                         DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(box, BoxProc, id);
    }
    const LRESULT result = ::DefSubclassProc(box, message, wParam, lParam);
    if (message == WM_SETTEXT || message == CB_SETCURSEL || message == CB_SELECTSTRING) {
        ::PostMessageW(::GetParent(box), kComboValueSet, static_cast<WPARAM>(::GetDlgCtrlID(box)),
                       0);
    }
    return result;
}

// Selects index (-1: none) without touching the text or the caret, which
// CB_SETCURSEL otherwise rewrites.
void SelectKeepingText(HWND comboBox, int index, const std::wstring& text) {
    if (ComboItemIndex(comboBox) == index) {
        return;
    }
    const DWORD selection = static_cast<DWORD>(::SendMessageW(comboBox, CB_GETEDITSEL, 0, 0));
    ::SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SetWindowTextW(comboBox, text.c_str());
    ::SendMessageW(comboBox, CB_SETEDITSEL, 0, MAKELPARAM(LOWORD(selection), HIWORD(selection)));
}

// The drop-down list's height below the edit part.
constexpr int kComboListHeight = 120;

}  // namespace

HWND CreateCompletingCombo(HWND parent, TLayoutRect place, int id,
                           std::span<const char* const> entries, int selected) {
    const int editHeight = place.height;
    place.height = kComboListHeight;
    HWND box = CreateControl(parent, L"COMBOBOX", "",
                             CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, place, id,
                             DefaultDesignFont());
    for (const char* entry : entries) {
        ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    }
    // The edit part's height, the list's lines left as they are.
    ::SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), editHeight - 6);
    SetComboItemIndex(box, selected);
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    if (::GetComboBoxInfo(box, &parts)) {
        ::SetWindowSubclass(parts.hwndItem, EditPartProc, 0, 0);
    }
    ::SetWindowSubclass(box, BoxProc, 0, 0);
    return box;
}

void CompleteTypedText(HWND comboBox, std::span<const char* const> entries) {
    const std::wstring text = WindowTextWide(comboBox);
    const TComboCompletion completion = CompleteComboText(Utf8(text), EditKind(), entries);
    if (!completion.completed) {
        SelectKeepingText(comboBox, completion.index, text);
        return;
    }
    ::SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(completion.index), 0);
    ::SendMessageW(comboBox, CB_SETEDITSEL, 0, MAKELPARAM(text.size(), -1));
}

int ComboItemIndex(HWND comboBox) {
    const LRESULT index = ::SendMessageW(comboBox, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SetComboItemIndex(HWND comboBox, int index) {
    ::SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace ornet5

#include "app/win32/completing_combo.h"

#include <string>

#include "app/win32/wide_text.h"

namespace ornet5 {

namespace {

bool DeleteKeyDown() {
    return (::GetKeyState(VK_BACK) & 0x8000) != 0 || (::GetKeyState(VK_DELETE) & 0x8000) != 0;
}

// The entry that the text names exactly (letter case ignored), or -1.
int ExactEntry(HWND comboBox, const std::wstring& text) {
    const LRESULT found = ::SendMessageW(comboBox, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str()));
    return found == CB_ERR ? -1 : static_cast<int>(found);
}

// Leaves no entry selected without clearing the text, which CB_SETCURSEL
// with -1 does.
void Deselect(HWND comboBox, const std::wstring& text) {
    if (::SendMessageW(comboBox, CB_GETCURSEL, 0, 0) == CB_ERR) {
        return;
    }
    const DWORD selection = static_cast<DWORD>(::SendMessageW(comboBox, CB_GETEDITSEL, 0, 0));
    ::SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetWindowTextW(comboBox, text.c_str());
    ::SendMessageW(comboBox, CB_SETEDITSEL, 0, MAKELPARAM(LOWORD(selection), HIWORD(selection)));
}

}  // namespace

void CompleteTypedText(HWND comboBox) {
    const std::wstring text = WindowTextWide(comboBox);
    if (text.empty() || DeleteKeyDown()) {
        const int exact = text.empty() ? -1 : ExactEntry(comboBox, text);
        if (exact >= 0) {
            ::SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(exact), 0);
            ::SendMessageW(comboBox, CB_SETEDITSEL, 0, MAKELPARAM(text.size(), text.size()));
        } else {
            Deselect(comboBox, text);
        }
        return;
    }
    const LRESULT found = ::SendMessageW(comboBox, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str()));
    if (found == CB_ERR) {
        Deselect(comboBox, text);
        return;
    }
    ::SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    ::SendMessageW(comboBox, CB_SETEDITSEL, 0, MAKELPARAM(text.size(), -1));
}

int ComboItemIndex(HWND comboBox) {
    const LRESULT index = ::SendMessageW(comboBox, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SetComboItemIndex(HWND comboBox, int index) {
    const LRESULT count = ::SendMessageW(comboBox, CB_GETCOUNT, 0, 0);
    if (index >= 0 && index < count) {
        ::SendMessageW(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

}  // namespace ornet5

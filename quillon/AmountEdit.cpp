#include "AmountEdit.h"

#include "ServiceAmount.h"

namespace
{

bool IsDigit(WPARAM wChar)
{
    return wChar >= '0' && wChar <= '9';
}

} // namespace

LRESULT CAmountEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
        // Control characters (backspace, copy, cut, undo) pass; paste is
        // filtered below.
        if (wParam == 0x16) {
            PasteDigits();
            return 0;
        }
        if (wParam >= 0x20 && !IsDigit(wParam))
            return 0;
        break;
    case WM_IME_CHAR:
        // A digit from an input method goes in as typed; anything else not.
        if (IsDigit(wParam))
            SendMessage(WM_CHAR, wParam, lParam);
        return 0;
    case WM_PASTE: PasteDigits(); return 0;
    default: break;
    }
    return CSkinEditEx::WindowProc(message, wParam, lParam);
}

void CAmountEdit::PasteDigits()
{
    if (!::OpenClipboard(m_hWnd))
        return;
    CString strDigits;
    if (HANDLE hData = ::GetClipboardData(CF_TEXT)) {
        if (LPCSTR pszText = static_cast<LPCSTR>(::GlobalLock(hData))) {
            // The block need not hold its terminator within its size.
            SIZE_T nSize = ::GlobalSize(hData);
            CString strText(pszText, int(strnlen(pszText, nSize)));
            ::GlobalUnlock(hData);
            strDigits = KeepDigits(strText);
        }
    }
    ::CloseClipboard();
    if (!strDigits.IsEmpty())
        ReplaceSel(strDigits, TRUE);
}

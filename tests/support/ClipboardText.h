// The clipboard's text, read and set by tests (paste and copy cases).
#pragma once

#include <windows.h>

#include <string.h>

#include <string>

// The CF_TEXT on the clipboard; "<no clipboard>" when it cannot be opened.
inline std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(NULL))
        return "<no clipboard>";
    HANDLE hData = GetClipboardData(CF_TEXT);
    const char* p = hData != NULL ? static_cast<const char*>(GlobalLock(hData)) : NULL;
    if (p != NULL) {
        text = p;
        GlobalUnlock(hData);
    }
    CloseClipboard();
    return text;
}

// Puts text on the clipboard as CF_TEXT; false when it could not.
inline bool SetClipboardText(const char* text)
{
    if (!OpenClipboard(NULL))
        return false;
    EmptyClipboard();
    const size_t size = strlen(text) + 1;
    HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, size);
    bool bSet = false;
    if (hData != NULL) {
        memcpy(GlobalLock(hData), text, size);
        GlobalUnlock(hData);
        bSet = SetClipboardData(CF_TEXT, hData) != NULL;
        if (!bSet)
            GlobalFree(hData);
    }
    CloseClipboard();
    return bSet;
}

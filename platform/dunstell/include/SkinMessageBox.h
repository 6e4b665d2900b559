// SkinMessageBox: the skin library's message box: the Windows message-box
// styles (buttons, icon, default button) in a region dialog, with button
// texts, icon and skin pictures the caller may give. Every box is first
// offered to the class library's modal responder (afxtest.h), which may
// answer it instead of showing it.
#pragma once

#include <windows.h>

enum
{
    SKINMB_CAPTION_OK,
    SKINMB_CAPTION_CANCEL,
    SKINMB_CAPTION_YES,
    SKINMB_CAPTION_NO,
    SKINMB_CAPTION_ABORT,
    SKINMB_CAPTION_RETRY,
    SKINMB_CAPTION_IGNORE,
    SKINMB_CAPTION_COUNT
};

// Skin pictures, in the order of the toolkit's message-box skin block.
enum
{
    SKINMB_SKIN_TL,
    SKINMB_SKIN_TM,
    SKINMB_SKIN_TR,
    SKINMB_SKIN_L,
    SKINMB_SKIN_R,
    SKINMB_SKIN_BL,
    SKINMB_SKIN_BM,
    SKINMB_SKIN_BR,
    SKINMB_SKIN_BACK,
    SKINMB_SKIN_BUTTON,
    SKINMB_SKIN_CLOSE,
    SKINMB_SKIN_COUNT
};

struct HALLMSGBOXPARAMS
{
    // Button texts by role; an empty one keeps the built-in text.
    char szCaptions[SKINMB_CAPTION_COUNT][32];
    // An .ico file shown instead of the style's icon.
    char szIconFile[MAX_PATH];
    // Paths of the pictures; the button picture holds four states side by side.
    char szSkin[SKINMB_SKIN_COUNT][MAX_PATH];

    HALLMSGBOXPARAMS() { ZeroMemory(this, sizeof(*this)); }
};

// Answers the id of the button pressed (IDOK, IDCANCEL, IDYES ...). A null
// caption shows none.
int SkinMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK,
                   const HALLMSGBOXPARAMS* pParams = NULL);

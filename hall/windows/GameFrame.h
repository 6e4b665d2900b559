// The hall's main frame window.
#pragma once

#include <afxwin.h>

class CCustomFaceManagerWnd;

class CGameFrame : public CFrameWnd
{
public:
    // The frame's custom-face manager window.
    CCustomFaceManagerWnd* GetCustomFaceManager();
};

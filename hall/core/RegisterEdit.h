// The registration form's edit: the default edit with a one-pixel frame one
// pixel inside its window and no system border.
#pragma once

#include <afxwin.h>

const COLORREF REGISTER_FRAME_COLOR = RGB(1, 75, 124);

class CRegisterEdit : public CEdit
{
public:
    void DrawSkin(CDC* pDC);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

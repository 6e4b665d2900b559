// The combo boxes of the room's chat input bar: the skinned combo box with a
// look that follows the mouse (normal, hover, pressed), two frames and an
// arrow drawn from a picture of four states side by side.
#pragma once

#include <afxwin.h>

#include "SkinCombox.h"

enum
{
    COMBOX_LOOK_NORMAL = 0,
    COMBOX_LOOK_HOVER = 1,
    COMBOX_LOOK_PRESSED = 2,
};

const COLORREF COMBOX_OUTER_FRAME = 0xFFFFC2;
const COLORREF COMBOX_INNER_FRAME = 0x996500;

class CRoomControlCombox : public CSkinCombox
{
public:
    CRoomControlCombox();
    virtual ~CRoomControlCombox();

    DWORD GetLookState() const { return m_dwLookState; }
    // "Common\button\arrow.bmp" under the resource folder; false without it.
    bool LoadArrow(LPCSTR pszPath);
    bool HasArrow() const { return m_hArrow != NULL; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    CRoomControlCombox(const CRoomControlCombox&) = delete;
    CRoomControlCombox& operator=(const CRoomControlCombox&) = delete;

    void SetLookState(DWORD dwState);

    DWORD m_dwLookState;
    HBITMAP m_hArrow;
};

// CSkinComboxEx: a combo box with a two-colour outline and an arrow drawn
// from a four-frame picture whose frame follows the pointer: normal, hot,
// pressed.
#pragma once

#include <SkinCombox.h>
#include <SkinImage.h>

class CSkinComboxEx : public CSkinCombox
{
public:
    enum
    {
        lookNormal = 0,
        lookHot = 1,
        lookPressed = 2
    };

    CSkinComboxEx();
    virtual ~CSkinComboxEx();

    int GetLookState() const { return m_nLookState; }
    // The arrow picture's file for this paint: the owner's, or the default
    // under the resource folder.
    CString GetArrowFile() const;
    // Outline and arrow over the standard painting.
    void DrawSkin(CDC* pDC);

    // Set by the owner before the first paint; empty for the default picture.
    CString m_strArrowFile;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void SetLookState(int nState);

    int m_nLookState;
    CSkinImage m_ImageArrow;
};

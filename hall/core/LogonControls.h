// The logon dialog's own controls: a combo box with a hover-sensitive arrow
// picture, a framed edit, a group frame drawing its own caption, a link that
// reports its clicks to the parent and a skinned tab strip. Each subclasses
// a control of the dialog template; pictures come from the resource folder.
#pragma once

#include <SkinHyperLink.h>
#include <SkinImage.h>
#include <afxcmn.h>
#include <afxwin.h>

// The frame colour the logon controls share.
const COLORREF LOGON_FRAME_COLOR = RGB(0, 101, 153);
// Posted by a logon link to its parent on a press: wParam the control id.
const UINT WM_LOGON_LINK = WM_USER + 100;

class CLogonCombox : public CComboBox
{
public:
    enum
    {
        STATE_NORMAL = 0,
        STATE_HOVER = 1,
        STATE_PRESSED = 2,
        ARROW_CELLS = 4,
    };

    CLogonCombox();

    // "Common\button\arrow.bmp": four cells side by side, one per state.
    void LoadImage();
    int GetState() const { return m_nState; }
    // The arrow's area in client coordinates.
    CRect GetArrowRect() const;
    // The frame and the arrow cell of the current state.
    void DrawSkin(CDC* pDC);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetState(int nState, bool bArrowOnly);

    int m_nState;
    CSkinImage m_ImageArrow;
};

class CLongEdit : public CEdit
{
public:
    void DrawSkin(CDC* pDC);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CLogonGroup : public CStatic
{
public:
    // The caption is the same for every group, whatever the template says.
    static LPCTSTR GetCaption() { return "网络设置"; }
    void DrawSkin(CDC* pDC);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CString m_strText;
};

class CLogonLink : public CSkinHyperLink
{
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CTabCtrlLogon : public CTabCtrl
{
public:
    enum
    {
        ITEM_HEIGHT = 19,
        TOP_BAND = 20,
    };
    static const COLORREF BACK_COLOR = RGB(0xD2, 0xEA, 0xF6);
    static const COLORREF TOP_COLOR = RGB(0xFF, 0xFE, 0xFF);

    // "logon\": left, middle, right of a normal tab, the same of the
    // selected tab, and the background.
    void LoadImages();
    void DrawTabs(CDC* pDC, const CRect& rcClient);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    enum
    {
        IMAGE_LEFT,
        IMAGE_MID,
        IMAGE_RIGHT,
        IMAGE_SEL_LEFT,
        IMAGE_SEL_MID,
        IMAGE_SEL_RIGHT,
        IMAGE_BACK,
        IMAGE_COUNT
    };
    CSkinImage m_Images[IMAGE_COUNT];
};

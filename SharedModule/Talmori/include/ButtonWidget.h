// Image button drawn from one horizontal picture strip, with a one-line
// caption. Normal buttons use four frames (normal, hover, pressed, disabled),
// push buttons two (up, pushed).
#pragma once

#include "ButtonListener.h"
#include "Widget.h"

class CPicture;

enum
{
    BUTTON_STYLE_NORMAL = 0,
    BUTTON_STYLE_PUSH = 1,
};

#define BUTTON_CAPTION_LEN 32
#define BUTTON_DISABLED_TEXT_COLOR RGB(212, 208, 200)

class TALMORI_API CButtonWidget : public CWidget
{
public:
    CButtonWidget();
    CButtonWidget(int nID, IButtonListener* pListener);
    virtual ~CButtonWidget();

    using CWidget::LButtonDblClk;
    using CWidget::MouseMove;
    void Draw(CWidgetDC* pDC) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void LButtonDown(int x, int y) override;
    void LButtonUp(int x, int y) override;
    virtual void MouseMove(UINT nFlags, CPoint point);
    virtual void LButtonDblClk(UINT nFlags, CPoint point);
    virtual void DrawButtonImage(CDC* pDC, const CRect& rect);
    virtual void DrawPushButton(CDC* pDC, const CRect& rect);
    virtual void DrawButtonText(CDC* pDC, const CRect& rect);
    virtual BOOL IsPushed();
    virtual CString GetButtonText();

    BOOL Create(int nID, IButtonListener* pListener, const char* pszText, UINT nStyle);
    void SetImageBack(CPicture* pPicture);
    void SetFont(CFont* pFont);
    BOOL SetTextColor(COLORREF color);
    void SetButtonStyle(UINT nStyle);
    UINT GetButtonStyle() const { return m_nStyle; }
    void SetPushed(int nPushed);
    BOOL IsButtonDown() const;
    BOOL SetButtonIcon(HICON hIcon);
    void SetDisabled(bool bDisabled);
    int GetWidth() const { return Width(); }
    int GetHeight() const { return Height(); }
    void DrawButtonPos(CDC* pDC, CPicture* pPicture, int x, int y, int nIndex, int nFrameWidth, int nHeight);

protected:
    int m_nID;
    IButtonListener* m_pListener;
    CFont* m_pFont;
    char m_szCaption[BUTTON_CAPTION_LEN];
    COLORREF m_crCaption;
    UINT m_nStyle;
    int m_nPushed;
    HICON m_hIcon;
    CPicture* m_pImageBack;
};

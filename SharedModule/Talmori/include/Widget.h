// A drawable, clickable element of a widget tree. Coordinates handed to the
// mouse operations are relative to the widget's own top-left corner.
#pragma once

#include "WidgetContainer.h"

class TALMORI_API CWidget : public CWidgetContainer
{
    friend class CWidgetContainer;
    friend class CWidgetManager;

public:
    CWidget();
    virtual ~CWidget();

    virtual void Resize(const RECT* pRect);
    virtual void Resize(int x, int y, int w, int h);
    virtual void Move(int x, int y);
    virtual void GotFocus();
    virtual void LostFocus();
    virtual void KeyChar(UINT nChar);
    virtual void KeyDown(UINT nKey);
    virtual void KeyUp(UINT nKey);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseUp(int x, int y, int nCode);
    virtual void MouseDown(int x, int y, int nCode);
    virtual void LButtonDown(int x, int y);
    virtual void LButtonUp(int x, int y);
    virtual void LButtonDblClk(int x, int y);
    virtual void RButtonDown(int x, int y);
    virtual void RButtonUp(int x, int y);
    virtual void RButtonDblClk(int x, int y);
    virtual void MButtonDown(int x, int y);
    virtual void MButtonUp(int x, int y);
    virtual void MButtonDblClk(int x, int y);
    virtual void MouseMove(int x, int y);
    virtual void MouseDrag(int x, int y);
    virtual void MouseWheel(int nNotches);
    virtual void WidgetRemovedHelper();

    int Left() const { return m_nLeft; }
    int Top() const { return m_nTop; }
    int Right() const { return m_nLeft + m_nWidth; }
    int Bottom() const { return m_nTop + m_nHeight; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    bool IsVisible() const { return m_bVisible; }
    bool IsDisabled() const { return m_bDisabled; }
    bool WantFocus() const { return m_bWantFocus; }
    // (x, y) in the parent's coordinates.
    bool Contains(int x, int y) const;
    void SetVisible(bool bVisible);
    void SetDisabled(bool bDisabled);
    void Layout(int nFlags, CWidget* pRef, int dx, int dy, int w, int h);

protected:
    bool m_bVisible;
    bool m_bDisabled;
    bool m_bHasFocus;
    bool m_bPressed;
    bool m_bMouseOver;
    bool m_bWantFocus;
    CWidget* m_pTabPrev;
    CWidget* m_pTabNext;
};

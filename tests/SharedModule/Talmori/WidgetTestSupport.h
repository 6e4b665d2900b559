// Widgets that record what reaches them, a host window the tests drive with
// window messages, and a way to read back what the host painted.
#pragma once

#include <Talmori.h>
#include "TestWait.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

typedef std::vector<std::string> EventLog;

const COLORREF kBlack = RGB(0, 0, 0);

// A widget that logs its input calls as "name:Event x,y" and paints its
// rectangle in one colour.
class RecordingWidget : public CWidget
{
public:
    RecordingWidget(const char* pszName, EventLog* pLog, COLORREF crFill = RGB(0, 0, 255));

    using CWidget::MarkDirty;
    using CWidget::MarkDirtyFull;
    using CWidget::Resize;

    void Draw(CWidgetDC* pDC) override;
    void GotFocus() override;
    void LostFocus() override;
    void KeyChar(UINT nChar) override;
    void KeyDown(UINT nKey) override;
    void KeyUp(UINT nKey) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void LButtonDown(int x, int y) override;
    void LButtonUp(int x, int y) override;
    void LButtonDblClk(int x, int y) override;
    void RButtonDown(int x, int y) override;
    void RButtonUp(int x, int y) override;
    void MButtonDown(int x, int y) override;
    void MButtonUp(int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseDrag(int x, int y) override;
    void MouseWheel(int nNotches) override;

    void SetWantFocus(bool b) { m_bWantFocus = b; }
    void SetTabOrder(CWidget* pPrev, CWidget* pNext)
    {
        m_pTabPrev = pPrev;
        m_pTabNext = pNext;
    }
    bool HasFocus() const { return m_bHasFocus; }
    bool IsPressed() const { return m_bPressed; }
    bool IsMouseOver() const { return m_bMouseOver; }
    bool IsDirtyFlag() const { return m_bDirty; }
    void ClearDirtyFlag() { m_bDirty = false; }
    CWidgetContainer* Parent() const { return m_pParent; }
    CWidgetManager* Manager() const { return m_pManager; }
    const std::string& Name() const { return m_strName; }

    COLORREF m_crFill;
    int m_nDraws;

private:
    void Log(const char* pszEvent);
    void Log(const char* pszEvent, int a, int b);

    std::string m_strName;
    EventLog* m_pLog;
};

// The host window of the library as a hall window uses it.
class TestHost : public CWidgetFoundationWnd
{
public:
    // A popup shown without taking the focus: the tests send focus messages themselves.
    bool Create(int nWidth, int nHeight);
    CWidgetManager& Manager() { return m_WidgetManager; }
    CEventBuildHelper& Helper() { return m_EventBuildHelper; }
    HWND Hwnd() const { return m_hWnd; }

    // Window messages, sent as Windows would deliver them.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void Mouse(UINT message, int x, int y, WPARAM wKeys = 0);
    void Click(int x, int y);
    void Key(UINT vk, bool bDown);
    void Char(UINT ch);
    // Posts, then pumps until the queue is empty.
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The part of the client area waiting to be painted.
    CRect UpdateRect();
    // Paints what is invalid now and validates the window.
    void Paint();
};


// The names of a container's children, bottom to top.
std::string ChildNamesOf(CWidgetContainer& container);
int ChildCountOf(CWidgetContainer& container);

// A copy of the host's client area: printed into a memory DC (the window
// paints itself into it), or as the last paint left it on screen.
enum SnapshotSource
{
    PRINTED,
    ON_SCREEN,
};

class Snapshot
{
public:
    explicit Snapshot(HWND hWnd, SnapshotSource source = PRINTED);
    ~Snapshot();
    COLORREF At(int x, int y) const;
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    int m_nWidth;
    int m_nHeight;
};

// A picture of solid vertical bands of the given widths and colours.
bool MakeBandPicture(CPicture& picture, int nHeight, const std::vector<std::pair<int, COLORREF>>& bands);

// Manager fields that have no accessor.
CWidget*& CtrlTabWidgetOf(CWidgetManager& manager);
CWidget*& FocusWidgetOf(CWidgetManager& manager);
CWidget*& PressedWidgetOf(CWidgetManager& manager);
CWidget*& OverWidgetOf(CWidgetManager& manager);
int& ButtonBitsOf(CWidgetManager& manager);

#include "WidgetTestSupport.h"

#include <Picture.h>

#include <stdio.h>

RecordingWidget::RecordingWidget(const char* pszName, EventLog* pLog, COLORREF crFill)
    : m_crFill(crFill), m_nDraws(0), m_strName(pszName), m_pLog(pLog)
{}

void RecordingWidget::Log(const char* pszEvent)
{
    if (m_pLog != NULL)
        m_pLog->push_back(m_strName + ":" + pszEvent);
}

void RecordingWidget::Log(const char* pszEvent, int a, int b)
{
    char szText[64];
    snprintf(szText, sizeof(szText), "%s %d,%d", pszEvent, a, b);
    Log(szText);
}

namespace
{
struct ContainerPeek : CWidgetContainer
{
    static CWidgetList CWidgetContainer::*List() { return &ContainerPeek::m_Widgets; }
};
} // namespace

std::string ChildNamesOf(CWidgetContainer& container)
{
    CWidgetList& list = container.*ContainerPeek::List();
    std::string strNames;
    POSITION pos = list.GetHeadPosition();
    while (pos != NULL) {
        RecordingWidget* pChild = dynamic_cast<RecordingWidget*>(list.GetNext(pos));
        if (!strNames.empty())
            strNames += " ";
        strNames += pChild != NULL ? pChild->Name() : "?";
    }
    return strNames;
}

int ChildCountOf(CWidgetContainer& container)
{
    return (int)(container.*ContainerPeek::List()).GetCount();
}

void RecordingWidget::Draw(CWidgetDC* pDC)
{
    ++m_nDraws;
    pDC->FillSolidRect(0, 0, m_nWidth, m_nHeight, m_crFill);
}

void RecordingWidget::GotFocus()
{
    CWidget::GotFocus();
    Log("GotFocus");
}

void RecordingWidget::LostFocus()
{
    CWidget::LostFocus();
    Log("LostFocus");
}

void RecordingWidget::KeyChar(UINT nChar)
{
    Log("KeyChar", (int)nChar, 0);
}

void RecordingWidget::KeyDown(UINT nKey)
{
    Log("KeyDown", (int)nKey, 0);
    CWidget::KeyDown(nKey);
}

void RecordingWidget::KeyUp(UINT nKey)
{
    Log("KeyUp", (int)nKey, 0);
}

void RecordingWidget::MouseEnter()
{
    Log("Enter");
}

void RecordingWidget::MouseLeave()
{
    Log("Leave");
}

void RecordingWidget::LButtonDown(int x, int y)
{
    CWidget::LButtonDown(x, y);
    Log("LDown", x, y);
}

void RecordingWidget::LButtonUp(int x, int y)
{
    CWidget::LButtonUp(x, y);
    Log("LUp", x, y);
}

void RecordingWidget::LButtonDblClk(int x, int y)
{
    Log("LDbl", x, y);
}

void RecordingWidget::RButtonDown(int x, int y)
{
    Log("RDown", x, y);
}

void RecordingWidget::RButtonUp(int x, int y)
{
    Log("RUp", x, y);
}

void RecordingWidget::MButtonDown(int x, int y)
{
    Log("MDown", x, y);
}

void RecordingWidget::MButtonUp(int x, int y)
{
    Log("MUp", x, y);
}

void RecordingWidget::MouseMove(int x, int y)
{
    Log("Move", x, y);
}

void RecordingWidget::MouseDrag(int x, int y)
{
    Log("Drag", x, y);
}

void RecordingWidget::MouseWheel(int nNotches)
{
    Log("Wheel", nNotches, 0);
}

bool TestHost::Create(int nWidth, int nHeight)
{
    // Away from the pointer, so the system's own mouse moves miss the widgets.
    ::SetCursorPos(0, 0);
    if (!CreateEx(0, NULL, "", WS_POPUP, CRect(100, 100, 100 + nWidth, 100 + nHeight), NULL, 0))
        return false;
    ShowWindow(SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    PumpMessages();
    return true;
}

LRESULT TestHost::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

void TestHost::Mouse(UINT message, int x, int y, WPARAM wKeys)
{
    Send(message, wKeys, MAKELPARAM(x, y));
}

void TestHost::Click(int x, int y)
{
    Mouse(WM_MOUSEMOVE, x, y);
    Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, x, y);
}

void TestHost::Key(UINT vk, bool bDown)
{
    Send(bDown ? WM_KEYDOWN : WM_KEYUP, vk, bDown ? 1 : 0xC0000001);
}

void TestHost::Char(UINT ch)
{
    Send(WM_CHAR, ch, 1);
}

void TestHost::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    ::PostMessage(m_hWnd, message, wParam, lParam);
    PumpMessages();
}

CRect TestHost::UpdateRect()
{
    CRect rc(0, 0, 0, 0);
    ::GetUpdateRect(m_hWnd, &rc, FALSE);
    return rc;
}

void TestHost::Paint()
{
    ::UpdateWindow(m_hWnd);
}

Snapshot::Snapshot(HWND hWnd, SnapshotSource source)
    : m_hDC(NULL), m_hBitmap(NULL), m_hOld(NULL), m_nWidth(0), m_nHeight(0)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    m_nWidth = rc.right;
    m_nHeight = rc.bottom;
    HDC hWindowDC = ::GetDC(hWnd);
    m_hDC = ::CreateCompatibleDC(hWindowDC);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = m_nWidth > 0 ? m_nWidth : 1;
    bmi.bmiHeader.biHeight = -(m_nHeight > 0 ? m_nHeight : 1);
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    m_hOld = ::SelectObject(m_hDC, m_hBitmap);
    if (source == PRINTED)
        ::PrintWindow(hWnd, m_hDC, PW_CLIENTONLY);
    else
        ::BitBlt(m_hDC, 0, 0, m_nWidth, m_nHeight, hWindowDC, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, hWindowDC);
}

Snapshot::~Snapshot()
{
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
}

COLORREF Snapshot::At(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}

bool MakeBandPicture(CPicture& picture, int nHeight, const std::vector<std::pair<int, COLORREF>>& bands)
{
    int nWidth = 0;
    for (const auto& band : bands)
        nWidth += band.first;
    HDC hScreen = ::GetDC(NULL);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, nWidth, nHeight);
    ::ReleaseDC(NULL, hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    int x = 0;
    for (const auto& band : bands) {
        RECT rc = {x, 0, x + band.first, nHeight};
        HBRUSH hBrush = ::CreateSolidBrush(band.second);
        ::FillRect(hDC, &rc, hBrush);
        ::DeleteObject(hBrush);
        x += band.first;
    }
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    bool bOk = picture.CreateFromHBITMAP(hBitmap, NULL);
    ::DeleteObject(hBitmap);
    return bOk && picture.IsValid() && (int)picture.GetWidth() == nWidth;
}

namespace
{
struct ManagerPeek : CWidgetManager
{
    static CWidget* CWidgetManager::*CtrlTab() { return &ManagerPeek::m_pCtrlTabWidget; }
    static CWidget* CWidgetManager::*Focus() { return &ManagerPeek::m_pFocusWidget; }
    static CWidget* CWidgetManager::*Pressed() { return &ManagerPeek::m_pPressedWidget; }
    static CWidget* CWidgetManager::*Over() { return &ManagerPeek::m_pOverWidget; }
    static int CWidgetManager::*Bits() { return &ManagerPeek::m_nButtonBits; }
};
} // namespace

CWidget*& CtrlTabWidgetOf(CWidgetManager& manager)
{
    return manager.*ManagerPeek::CtrlTab();
}

CWidget*& FocusWidgetOf(CWidgetManager& manager)
{
    return manager.*ManagerPeek::Focus();
}

CWidget*& PressedWidgetOf(CWidgetManager& manager)
{
    return manager.*ManagerPeek::Pressed();
}

CWidget*& OverWidgetOf(CWidgetManager& manager)
{
    return manager.*ManagerPeek::Over();
}

int& ButtonBitsOf(CWidgetManager& manager)
{
    return manager.*ManagerPeek::Bits();
}

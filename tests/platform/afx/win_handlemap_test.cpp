// The handle maps: permanent and temporary objects, the end of a window's
// object, subclassing, and the library without an application object.
#include "win_test_util.h"

#include <AfxModalScript.h>
#include <afxcmn.h>
#include <afxpriv.h>
#include <gtest/gtest.h>

#include <thread>

namespace
{

struct RawWindow
{
    HWND hWnd = CreateRawPopup();
    ~RawWindow()
    {
        if (::IsWindow(hWnd))
            ::DestroyWindow(hWnd);
    }
};

TEST(AfxHandleMap, WorksWithoutAnApplication)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetThread(), nullptr);
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandle(NULL));
    EXPECT_EQ(AfxGetResourceHandle(), ::GetModuleHandle(NULL));
    CString strExe = AfxGetAppName();
    EXPECT_STREQ(strExe, "afx_win_tests");
}

TEST(AfxHandleMap, TemporaryObjectsLiveUntilIdle)
{
    RawWindow raw;
    CWnd* pTemp = CWnd::FromHandle(raw.hWnd);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_EQ(pTemp->m_hWnd, raw.hWnd);
    EXPECT_EQ(CWnd::FromHandle(raw.hWnd), pTemp);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw.hWnd), nullptr);
    EXPECT_EQ(CWnd::FromHandle(NULL), nullptr);

    // Mark the temporary object: the same object comes back until idle time
    // deletes it, then a new one is made for the handle.
    pTemp->m_hWnd = (HWND)(UINT_PTR)0x10;
    EXPECT_EQ(CWnd::FromHandle(raw.hWnd)->m_hWnd, (HWND)(UINT_PTR)0x10);
    CWinThread thread;
    EXPECT_TRUE(thread.OnIdle(0));
    EXPECT_FALSE(thread.OnIdle(1));
    EXPECT_EQ(CWnd::FromHandle(raw.hWnd)->m_hWnd, raw.hWnd);

    // A lock held keeps them; the last unlock deletes.
    CWnd::FromHandle(raw.hWnd)->m_hWnd = (HWND)(UINT_PTR)0x10;
    AfxLockTempMaps();
    AfxLockTempMaps();
    EXPECT_TRUE(AfxUnlockTempMaps());
    EXPECT_EQ(CWnd::FromHandle(raw.hWnd)->m_hWnd, (HWND)(UINT_PTR)0x10);
    EXPECT_FALSE(thread.OnIdle(1)); // locked: nothing deleted
    EXPECT_EQ(CWnd::FromHandle(raw.hWnd)->m_hWnd, (HWND)(UINT_PTR)0x10);
    EXPECT_FALSE(AfxUnlockTempMaps());
    EXPECT_EQ(CWnd::FromHandle(raw.hWnd)->m_hWnd, raw.hWnd);
}

TEST(AfxHandleMap, TemporaryObjectsBelongToTheirThread)
{
    RawWindow raw;
    CWnd* pMine = CWnd::FromHandle(raw.hWnd);
    CWnd* pOther = nullptr;
    std::thread([&] { pOther = CWnd::FromHandle(raw.hWnd); }).join();
    EXPECT_NE(pOther, nullptr);
    EXPECT_NE(pOther, pMine);
}

TEST(AfxHandleMap, PermanentObjectsAreSharedByAllThreads)
{
    RawWindow raw;
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(raw.hWnd));
    EXPECT_EQ(CWnd::FromHandle(raw.hWnd), &wnd);
    CWnd* pSeen = nullptr;
    std::thread([&] { pSeen = CWnd::FromHandlePermanent(raw.hWnd); }).join();
    EXPECT_EQ(pSeen, &wnd);
    EXPECT_EQ(wnd.Detach(), raw.hWnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw.hWnd), nullptr);
    EXPECT_EQ(wnd.m_hWnd, (HWND)NULL);
}

class CSelfDeletingWnd : public CWnd
{
public:
    explicit CSelfDeletingWnd(bool* pDeleted) : m_pDeleted(pDeleted) {}
    ~CSelfDeletingWnd() override { *m_pDeleted = true; }

protected:
    void PostNcDestroy() override { delete this; }
    bool* m_pDeleted;
};

TEST(AfxHandleMap, DestroyedWindowDetachesAndCallsPostNcDestroy)
{
    bool bDeleted = false;
    CSelfDeletingWnd* pWnd = new CSelfDeletingWnd(&bDeleted);
    ASSERT_TRUE(pWnd->CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    HWND hWnd = pWnd->m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), pWnd);
    ::DestroyWindow(hWnd); // not through the object
    EXPECT_TRUE(bDeleted);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

class CSkipsBaseNcDestroy : public CWnd
{
public:
    int m_nPostNcDestroy = 0;

protected:
    afx_msg void OnNcDestroy() {}
    void PostNcDestroy() override { ++m_nPostNcDestroy; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSkipsBaseNcDestroy, CWnd)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

TEST(AfxHandleMap, HandlerSkippingTheBaseStillDetaches)
{
    CSkipsBaseNcDestroy wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, (HWND)NULL);
    EXPECT_EQ(wnd.m_nPostNcDestroy, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(AfxHandleMap, ChildObjectsDetachWithTheirParent)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    CWnd child;
    ASSERT_TRUE(child.Create(NULL, "", WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 1));
    HWND hChild = child.m_hWnd;
    parent.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_EQ(child.m_hWnd, (HWND)NULL);
    EXPECT_EQ(CWnd::FromHandlePermanent(hChild), nullptr);
}

TEST(AfxHandleMap, ObjectGoingOutOfScopeDestroysItsWindow)
{
    HWND hWnd;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

class CCountingWnd : public CWnd
{
public:
    int m_nUser = 0;

protected:
    afx_msg LRESULT OnUser(WPARAM, LPARAM)
    {
        ++m_nUser;
        return 0x55;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingWnd, CWnd)
    ON_MESSAGE(WM_USER + 5, OnUser)
END_MESSAGE_MAP()

TEST(AfxHandleMap, SubclassAndUnsubclass)
{
    RawWindow raw;
    WNDPROC pfnOriginal = (WNDPROC)::GetWindowLongPtr(raw.hWnd, GWLP_WNDPROC);
    ::SetWindowTextA(raw.hWnd, "raw");
    CCountingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(raw.hWnd));
    EXPECT_FALSE(wnd.SubclassWindow(raw.hWnd)); // already attached
    EXPECT_EQ(::SendMessage(raw.hWnd, WM_USER + 5, 0, 0), 0x55);
    EXPECT_EQ(wnd.m_nUser, 1);
    // Everything else still reaches the control's own procedure.
    CString strText;
    wnd.GetWindowText(strText);
    EXPECT_STREQ(strText, "raw");
    EXPECT_EQ(::SendMessage(raw.hWnd, WM_QUERYAFXWNDPROC, 0, 0), 1);

    EXPECT_EQ(wnd.UnsubclassWindow(), raw.hWnd);
    EXPECT_EQ((WNDPROC)::GetWindowLongPtr(raw.hWnd, GWLP_WNDPROC), pfnOriginal);
    ::SendMessage(raw.hWnd, WM_USER + 5, 0, 0);
    EXPECT_EQ(wnd.m_nUser, 1);
}

TEST(AfxHandleMap, SubclassDlgItemFindsTheChild)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    HWND hChild = ::CreateWindowExA(0, "EDIT", "x", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd, (HMENU)77,
                                    ::GetModuleHandle(NULL), NULL);
    CEdit edit;
    EXPECT_FALSE(edit.SubclassDlgItem(78, &parent));
    ASSERT_TRUE(edit.SubclassDlgItem(77, &parent));
    EXPECT_EQ(edit.m_hWnd, hChild);
    EXPECT_EQ(parent.GetDlgItem(77), &edit);
    parent.DestroyWindow();
    EXPECT_EQ(edit.m_hWnd, (HWND)NULL);
}

TEST(AfxHandleMap, GdiObjectsComeBackAsTheirClass)
{
    struct Case
    {
        int nStock;
        CRuntimeClass* pClass;
    } cases[] = {
        {BLACK_PEN, RUNTIME_CLASS(CPen)},
        {WHITE_BRUSH, RUNTIME_CLASS(CBrush)},
        {DEFAULT_GUI_FONT, RUNTIME_CLASS(CFont)},
        {DEFAULT_PALETTE, RUNTIME_CLASS(CPalette)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pClass->m_lpszClassName);
        CGdiObject* pObject = CGdiObject::FromHandle(::GetStockObject(c.nStock));
        ASSERT_NE(pObject, nullptr);
        EXPECT_TRUE(pObject->IsKindOf(c.pClass));
    }
    HRGN hRgn = ::CreateRectRgn(0, 0, 1, 1);
    EXPECT_TRUE(CRgn::FromHandle(hRgn)->IsKindOf(RUNTIME_CLASS(CRgn)));
    AfxLockTempMaps();
    AfxUnlockTempMaps();
    // The temporary object never owned the region.
    EXPECT_EQ(::GetObjectType(hRgn), (DWORD)OBJ_REGION);
    ::DeleteObject(hRgn);

    CBrush brush(RGB(9, 9, 9));
    EXPECT_EQ(CBrush::FromHandle(brush), &brush);
    HGDIOBJ hBrush = brush.m_hObject;
    EXPECT_TRUE(brush.DeleteObject());
    EXPECT_EQ(::GetObjectType(hBrush), 0u);
    EXPECT_FALSE(brush.DeleteObject());
}

TEST(AfxHandleMap, DeviceContextsAndMenus)
{
    HDC hDC = ::CreateCompatibleDC(NULL);
    CDC* pTemp = CDC::FromHandle(hDC);
    EXPECT_EQ(pTemp->GetSafeHdc(), hDC);
    {
        CDC dc;
        ASSERT_TRUE(dc.Attach(hDC));
        EXPECT_EQ(CDC::FromHandle(hDC), &dc);
        dc.Detach();
    }
    AfxLockTempMaps();
    AfxUnlockTempMaps();
    // Neither the temporary nor the detached object deleted the DC.
    EXPECT_EQ(::GetObjectType(hDC), (DWORD)OBJ_MEMDC);
    ::DeleteDC(hDC);

    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    EXPECT_TRUE(menu.AppendMenu(MF_STRING, 10, "Item"));
    EXPECT_EQ(CMenu::FromHandle(menu.m_hMenu), &menu);
    CString strItem;
    menu.GetMenuString(10, strItem, MF_BYCOMMAND);
    EXPECT_STREQ(strItem, "Item");
    HMENU hMenu = menu.m_hMenu;
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_FALSE(::IsMenu(hMenu));
}

TEST(AfxHandleMap, SafeHandlesOfNullPointers)
{
    CWnd* pNoWnd = nullptr;
    CDC* pNoDC = nullptr;
    CGdiObject* pNoObject = nullptr;
    CMenu* pNoMenu = nullptr;
    EXPECT_EQ(pNoWnd->GetSafeHwnd(), (HWND)NULL);
    EXPECT_EQ(pNoDC->GetSafeHdc(), (HDC)NULL);
    EXPECT_EQ(pNoObject->GetSafeHandle(), (HGDIOBJ)NULL);
    EXPECT_EQ(pNoMenu->GetSafeHmenu(), (HMENU)NULL);
    EXPECT_FALSE(pNoWnd->IsWindow());
}

TEST(AfxHandleMap, RegisteredClassesAreReused)
{
    LPCTSTR pszFirst = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    CString strFirst = pszFirst;
    CString strSecond = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    EXPECT_EQ(strFirst, strSecond);
    CString strOther = AfxRegisterWndClass(0);
    EXPECT_NE(strFirst, strOther);

    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, strFirst, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    char szClass[128] = "";
    ::GetClassNameA(wnd.m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, strFirst);
    wnd.DestroyWindow();

    WNDCLASS wc = {};
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = "TavrelAfxTestClass";
    EXPECT_TRUE(AfxRegisterClass(&wc));
    EXPECT_TRUE(AfxRegisterClass(&wc)); // already there is fine
}

} // namespace

namespace
{

template <class F> F ModuleProc(HMODULE hModule, LPCSTR pszName)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(hModule, pszName)));
}

// The class library is one for the process: a DLL sees the program's objects.
TEST(AfxHandleMap, ModulesShareTheLibrarysState)
{
    HMODULE hModule = ::LoadLibraryA("afx_test_module.dll");
    ASSERT_NE(hModule, (HMODULE)NULL);
    auto pfnLookup = ModuleProc<CWnd* (*)(HWND)>(hModule, "AfxTestModuleLookup");
    auto pfnApp = ModuleProc<CWinApp* (*)()>(hModule, "AfxTestModuleApp");
    auto pfnBox = ModuleProc<int (*)(LPCSTR)>(hModule, "AfxTestModuleMessageBox");
    auto pfnCreate = ModuleProc<HWND (*)(CWnd*)>(hModule, "AfxTestModuleCreateChild");
    ASSERT_TRUE(pfnLookup && pfnApp && pfnBox && pfnCreate);

    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    EXPECT_EQ(pfnLookup(parent.m_hWnd), &parent);
    {
        CWinApp app("Shared");
        EXPECT_EQ(pfnApp(), &app);
        CModalScript script;
        script.Answer(IDOK);
        EXPECT_EQ(pfnBox("来自模块"), IDOK);
        EXPECT_STREQ(script.At(0).strText, "来自模块");
        EXPECT_STREQ(script.At(0).strCaption, "Shared");
    }
    EXPECT_EQ(pfnApp(), nullptr);

    HWND hChild = pfnCreate(&parent);
    ASSERT_NE(hChild, (HWND)NULL);
    EXPECT_NE(CWnd::FromHandlePermanent(hChild), nullptr);
    EXPECT_EQ(::SendMessage(hChild, WM_USER + 30, 21, 0), 42);
    parent.DestroyWindow(); // the module's object deletes itself with its window
    EXPECT_EQ(CWnd::FromHandlePermanent(hChild), nullptr);
    ::FreeLibrary(hModule);
}

} // namespace

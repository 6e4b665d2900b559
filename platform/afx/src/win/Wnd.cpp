// CWnd: the handle map, creation through the CBT hook, the window procedure
// and message dispatch (maps, commands, notifications, reflection).
#include "AfxImpl.h"
#include <afxpriv.h>

#include <shellapi.h>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL), m_nFlags(0), m_nModalResult(0) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd), m_pfnSuper(NULL), m_nFlags(0), m_nModalResult(0) {}

CWnd::~CWnd()
{
    if (this == &wndTop || this == &wndBottom || this == &wndTopMost || this == &wndNoTopMost)
        return;
    // A window outliving its object would send its messages to freed memory.
    if (m_hWnd != NULL && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    else if (m_hWnd != NULL)
        Detach();
}

// ------------------------------------------------------------------ handle map

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    return static_cast<CWnd*>(AfxMapHWND()->FromHandle(hWnd));
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    return static_cast<CWnd*>(AfxMapHWND()->LookupPermanent(hWnd));
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL)
        return FALSE;
    AfxMapHWND()->SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL)
        AfxMapHWND()->RemoveHandle(hWnd, this);
    m_hWnd = NULL;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == NULL || !::IsWindow(hWnd) || m_hWnd != NULL)
        return FALSE;
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (pfnOld != AfxWndProc)
        m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    if (hWndControl == NULL)
        return FALSE;
    return SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper != NULL) {
        ::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        m_pfnSuper = NULL;
    }
    return Detach();
}

// ------------------------------------------------------------------ creation

// Attaches the object waiting in m_pWndInit to the first window created
// while it waits, and subclasses that window, before its first message.
LRESULT CALLBACK AfxCbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (nCode != HCBT_CREATEWND || pState->m_pWndInit == NULL)
        return ::CallNextHookEx(pState->m_hHookCbt, nCode, wParam, lParam);

    HWND hWnd = (HWND)wParam;
    char szClass[32] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, "IME") == 0 || lstrcmpiA(szClass, "MSCTFIME UI") == 0)
        return ::CallNextHookEx(pState->m_hHookCbt, nCode, wParam, lParam);

    CWnd* pWndInit = pState->m_pWndInit;
    pState->m_pWndInit = NULL;
    pWndInit->Attach(hWnd);
    pWndInit->PreSubclassWindow();
    WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (pfnOld != AfxWndProc)
        pWndInit->m_pfnSuper = pfnOld;
    return ::CallNextHookEx(pState->m_hHookCbt, nCode, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookCbt == NULL) {
        pState->m_hHookCbt = ::SetWindowsHookEx(WH_CBT, AfxCbtFilterHook, NULL, ::GetCurrentThreadId());
        if (pState->m_hHookCbt == NULL)
            AfxThrowMemoryException();
    }
    pState->m_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pWndInit != NULL) {
        pState->m_pWndInit = NULL;
        return FALSE;
    }
    return TRUE;
}

// The library's own window class, registered on first use.
static LPCTSTR AfxDefaultClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = "AfxWnd";
    return AfxRegisterClass(&wc) ? wc.lpszClassName : NULL;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        cs.lpszClass = AfxDefaultClass();
        if (cs.lpszClass == NULL)
            return FALSE;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, (LPVOID)pContext);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != NULL)
        return FALSE;
    CREATESTRUCT cs;
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;

    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // The hook never fired: no window was made, and the object gets its
    // clean-up as if one had been destroyed.
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy();
        return FALSE;
    }
    return hWnd != NULL;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == NULL)
        return FALSE;
    HWND hWndOrig = m_hWnd;
    CWnd* pWnd = FromHandlePermanent(hWndOrig);
    BOOL bResult = ::DestroyWindow(hWndOrig);
    // 'this' may be gone now (PostNcDestroy), but only when it was the
    // permanent object: then the map says whether it still exists.
    if (pWnd != NULL) {
        if (FromHandlePermanent(hWndOrig) == pWnd) {
            // Attached without our window procedure: no WM_NCDESTROY came.
            pWnd->Detach();
        }
    } else if (m_hWnd == hWndOrig) {
        m_hWnd = NULL; // a temporary object
    }
    return bResult;
}

// The end of a window: give up the main-window role, unsubclass, detach,
// then the object's PostNcDestroy.
static void AfxFinishNcDestroy(CWnd* pWnd, WNDPROC pfnSuper)
{
    AfxToolTipWindowGone(pWnd);
    HWND hWnd = pWnd->m_hWnd;
    if ((WNDPROC)::GetWindowLongPtr(hWnd, GWLP_WNDPROC) == AfxWndProc && pfnSuper != NULL)
        ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)pfnSuper);
    pWnd->Detach();
    pWnd->PostNcDestroy();
}

static void AfxReleaseMainWindow(CWnd* pWnd)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL) {
        if (pThread->m_pMainWnd == pWnd) {
            // The main window of a thread going ends that thread's loop.
            AfxPostQuitMessage(0);
            pThread->m_pMainWnd = NULL;
        }
        if (pThread->m_pActiveWnd == pWnd)
            pThread->m_pActiveWnd = NULL;
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp != pThread && pApp->m_pMainWnd == pWnd)
        pApp->m_pMainWnd = NULL;
}

void CWnd::OnNcDestroy()
{
    AfxReleaseMainWindow(this);
    Default();
    AfxFinishNcDestroy(this, m_pfnSuper);
}

// ------------------------------------------------------------------ window procedure

// An exception thrown by a handler must not unwind through the system's frames.
static LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg)
{
    LRESULT lResult = 0;
    if (pMsg->message == WM_CREATE)
        lResult = -1;
    else if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, NULL);
    char szMessage[256] = "";
    e->GetErrorMessage(szMessage, sizeof(szMessage));
    ::OutputDebugStringA("afx: exception in a message handler: ");
    ::OutputDebugStringA(szMessage);
    e->Delete();
    return lResult;
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG oldState = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    WNDPROC pfnSuper = pWnd->m_pfnSuper;
    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        lResult = AfxProcessWndProcException(e, &pState->m_lastSentMsg);
    }

    // A class whose WM_NCDESTROY handler skipped CWnd::OnNcDestroy: finish
    // here, so no object stays attached to a dead window.
    if (nMsg == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd && pWnd->m_hWnd == hWnd) {
        AfxReleaseMainWindow(pWnd);
        AfxFinishNcDestroy(pWnd, pfnSuper);
    }

    pState->m_lastSentMsg = oldState;
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_QUERYAFXWNDPROC)
        return 1;
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL || pWnd->m_hWnd != hWnd)
        return ::DefWindowProc(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProc(m_pfnSuper, m_hWnd, nMsg, wParam, lParam);
    return ::DefWindowProc(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_lastSentMsg.time = ::GetMessageTime();
    DWORD dwPos = ::GetMessagePos();
    pState->m_lastSentMsg.pt.x = (short)LOWORD(dwPos);
    pState->m_lastSentMsg.pt.y = (short)HIWORD(dwPos);
    // A mouse a test placed is where every message happened.
    if (AfxHasTestCursorPos())
        AfxGetCursorPos(&pState->m_lastSentMsg.pt);
    return &pState->m_lastSentMsg;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
    } else if (message == WM_NOTIFY) {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        if (pNMHDR == NULL || pNMHDR->hwndFrom == NULL || !OnNotify(wParam, lParam, &lResult))
            return FALSE;
    } else {
        AFX_CTLCOLOR ctl;
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            ctl.hDC = (HDC)wParam;
            ctl.hWnd = (HWND)lParam;
            ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
            message = WM_CTLCOLOR;
            lParam = (LPARAM)&ctl;
        }
        const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message);
        // Printing the client area runs the window's own painting, with
        // CPaintDC drawing into the DC the message brings.
        if (pEntry == NULL && message == WM_PRINTCLIENT)
            pEntry = FindMessageEntry(WM_PAINT);
        if (pEntry == NULL)
            return FALSE;
        AFX_MSGCALL call = {message, wParam, lParam, 0, nullptr, 0};
        if (!pEntry->pfn(this, call))
            return FALSE;
        lResult = call.lResult;
    }
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}

// ------------------------------------------------------------------ commands, notifications, reflection

static BOOL AfxReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* pChild = CWnd::FromHandlePermanent(hWndChild);
    if (pChild == NULL)
        return FALSE;
    return pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    int nCode = HIWORD(wParam);
    if (hWndCtrl == NULL) {
        // A menu item or an accelerator.
        if (nID == 0)
            return FALSE;
        nCode = CN_COMMAND;
    } else {
        if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        if (AfxReflectToChild(hWndCtrl, WM_COMMAND, wParam, lParam, NULL))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, NULL, NULL);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    HWND hWndCtrl = pNMHDR->hwndFrom;
    UINT nID = (UINT)(WORD)::GetDlgCtrlID(hWndCtrl);
    int nCode = (int)pNMHDR->code;
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (AfxReflectToChild(hWndCtrl, WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    AFX_NOTIFY notify;
    notify.pResult = pResult;
    notify.pNMHDR = pNMHDR;
    return OnCmdMsg(nID, MAKELONG(nCode, WM_NOTIFY), &notify, NULL);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM: return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
        int nCode = HIWORD(wParam);
        if (CWnd::OnCmdMsg(0, MAKELONG(nCode, WM_REFLECT_BASE + WM_COMMAND), NULL, NULL)) {
            if (pResult != NULL)
                *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        NMHDR* pNMHDR = (NMHDR*)lParam;
        LRESULT lDummy = 0;
        AFX_NOTIFY notify;
        notify.pResult = pResult != NULL ? pResult : &lDummy;
        notify.pNMHDR = pNMHDR;
        return CWnd::OnCmdMsg(0, MAKELONG((int)pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, NULL);
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            AFX_CTLCOLOR ctl;
            ctl.hDC = (HDC)wParam;
            ctl.hWnd = (HWND)lParam;
            ctl.nCtlType = message - WM_CTLCOLORMSGBOX;
            return CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, (LPARAM)&ctl, pResult);
        }
        return FALSE;
    }
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return AfxReflectToChild(hWndChild, msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    LRESULT lResult = 0;
    HWND hWndCtl = pWnd->GetSafeHwnd();
    if (hWndCtl != NULL && hWndCtl != m_hWnd && ReflectLastMsg(hWndCtl, &lResult))
        return (HBRUSH)lResult;
    return (HBRUSH)Default();
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        CMenu* pMenu = CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem);
        if (pMenu != NULL) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

static HMENU AfxFindPopupMenuFromID(HMENU hMenu, UINT nID)
{
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != NULL) {
            if (HMENU hFound = AfxFindPopupMenuFromID(hSub, nID))
                return hFound;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return hMenu;
        }
    }
    return NULL;
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        HMENU hMenu = NULL;
        if (HMENU hTracking = AfxGetThreadState()->m_hTrackingMenu)
            hMenu = AfxFindPopupMenuFromID(hTracking, lpMeasureItemStruct->itemID);
        if (hMenu == NULL && ::GetMenu(m_hWnd) != NULL)
            hMenu = AfxFindPopupMenuFromID(::GetMenu(m_hWnd), lpMeasureItemStruct->itemID);
        CMenu* pMenu = CMenu::FromHandlePermanent(hMenu);
        if (pMenu != NULL) {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    } else {
        HWND hWndChild = ::GetDlgItem(m_hWnd, (int)lpMeasureItemStruct->CtlID);
        if (hWndChild != NULL && ReflectLastMsg(hWndChild))
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct)
{
    LRESULT lResult = 0;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return (int)lResult;
    return (int)Default();
}

void CWnd::OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    if (ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        return;
    Default();
}

void CWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    HWND hWndBar = ((CWnd*)pScrollBar)->GetSafeHwnd();
    if (hWndBar != NULL && ReflectLastMsg(hWndBar))
        return;
    Default();
}

void CWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    HWND hWndBar = ((CWnd*)pScrollBar)->GetSafeHwnd();
    if (hWndBar != NULL && ReflectLastMsg(hWndBar))
        return;
    Default();
}

void CWnd::OnParentNotify(UINT message, LPARAM lParam)
{
    if ((LOWORD(message) == WM_CREATE || LOWORD(message) == WM_DESTROY) && ReflectLastMsg((HWND)lParam))
        return;
    Default();
}

// ------------------------------------------------------------------ message loop helpers

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    // Tips see the mouse before the window does (some messages hide them).
    if (AfxGetThreadState()->m_bToolTipsEnabled)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg)
{
    if ((lpMsg->message < WM_KEYFIRST || lpMsg->message > WM_KEYLAST) &&
        (lpMsg->message < WM_MOUSEFIRST || lpMsg->message > WM_MOUSELAST))
        return FALSE;
    return IsDialogMessage(lpMsg);
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (bOnlyPerm) {
            CWnd* pWnd = FromHandlePermanent(hChild);
            if (pWnd != NULL)
                AfxCallWndProc(pWnd, hChild, message, wParam, lParam);
        } else {
            ::SendMessage(hChild, message, wParam, lParam);
        }
        if (bDeep && ::GetTopWindow(hChild) != NULL) {
            CWnd wndChild(hChild);
            wndChild.SendMessageToDescendants(message, wParam, lParam, bDeep, bOnlyPerm);
            wndChild.m_hWnd = NULL;
        }
    }
}

BOOL CWnd::ContinueModal()
{
    // A window destroyed under the loop ends it too.
    return (m_nFlags & WF_CONTINUEMODAL) != 0 && ::IsWindow(m_hWnd);
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessage(m_hWnd, WM_NULL, 0, 0);
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    BOOL bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    BOOL bOffered = FALSE;
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= (WF_MODALLOOP | WF_CONTINUEMODAL);
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;

    for (;;) {
        if (!ContinueModal())
            goto ExitModal;

        // Idle: show the window, offer it to the responder once, tell the owner.
        while (bIdle && !::PeekMessage(pMsg, NULL, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!bOffered) {
                bOffered = TRUE;
                AfxRespondModalWindow(this);
                if (!ContinueModal())
                    goto ExitModal;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != NULL && lIdleCount == 0)
                ::SendMessage(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
            if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = FALSE;
        }

        do {
            if (!AfxPumpMessage()) {
                AfxPostQuitMessage(0);
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (bShowIdle && (pMsg->message == 0x118 || pMsg->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = FALSE;
            }
            if (!ContinueModal())
                goto ExitModal;
            if (AfxIsIdleMessage(pMsg)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessage(pMsg, NULL, 0, 0, PM_NOREMOVE));
    }

ExitModal:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

// ------------------------------------------------------------------ thin members

BOOL PASCAL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLong(hWnd, GWL_STYLE, (LONG)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL PASCAL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLong(hWnd, GWL_EXSTYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLong(hWnd, GWL_EXSTYLE, (LONG)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLength(m_hWnd);
    LPSTR pBuf = rString.GetBuffer(nLen);
    ::GetWindowText(m_hWnd, pBuf, nLen + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND hWnd = ::GetDlgItem(m_hWnd, nID);
    if (hWnd != NULL) {
        int nLen = ::GetWindowTextLength(hWnd);
        LPSTR pBuf = rString.GetBuffer(nLen);
        ::GetWindowText(hWnd, pBuf, nLen + 1);
        rString.ReleaseBuffer();
    }
    return rString.GetLength();
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    DWORD dwStyle = GetStyle();
    HWND hWndCenter = pAlternateOwner->GetSafeHwnd();
    if (pAlternateOwner == NULL)
        hWndCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    // Not against a hidden or minimised window.
    if (hWndCenter != NULL) {
        DWORD dwAlternateStyle = (DWORD)::GetWindowLong(hWndCenter, GWL_STYLE);
        if (!(dwAlternateStyle & WS_VISIBLE) || (dwAlternateStyle & WS_MINIMIZE))
            hWndCenter = NULL;
    }

    CRect rcDlg;
    GetWindowRect(&rcDlg);
    CRect rcArea;
    CRect rcCenter;
    if (!(dwStyle & WS_CHILD)) {
        MONITORINFO mi = {};
        mi.cbSize = sizeof(mi);
        HMONITOR hMonitor = ::MonitorFromWindow(hWndCenter != NULL ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
        if (::GetMonitorInfo(hMonitor, &mi))
            rcArea = mi.rcWork;
        else
            ::SystemParametersInfo(SPI_GETWORKAREA, 0, &rcArea, 0);
        if (hWndCenter == NULL)
            rcCenter = rcArea;
        else
            ::GetWindowRect(hWndCenter, &rcCenter);
    } else {
        HWND hWndParent = ::GetParent(m_hWnd);
        ::GetClientRect(hWndParent, &rcArea);
        if (hWndCenter == NULL) {
            rcCenter = rcArea;
        } else {
            ::GetClientRect(hWndCenter, &rcCenter);
            ::MapWindowPoints(hWndCenter, hWndParent, (POINT*)&rcCenter, 2);
        }
    }

    int xLeft = (rcCenter.left + rcCenter.right) / 2 - rcDlg.Width() / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - rcDlg.Height() / 2;
    if (xLeft + rcDlg.Width() > rcArea.right)
        xLeft = rcArea.right - rcDlg.Width();
    if (xLeft < rcArea.left)
        xLeft = rcArea.left;
    if (yTop + rcDlg.Height() > rcArea.bottom)
        yTop = rcArea.bottom - rcDlg.Height();
    if (yTop < rcArea.top)
        yTop = rcArea.top;
    SetWindowPos(NULL, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

static HWND AfxGetParentOwner(HWND hWnd)
{
    if (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

CWnd* CWnd::GetTopLevelParent() const
{
    if (GetSafeHwnd() == NULL)
        return NULL;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((hWndT = AfxGetParentOwner(hWndParent)) != NULL)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    if (GetSafeHwnd() == NULL)
        return NULL;
    HWND hWndOwner = m_hWnd;
    HWND hWndT;
    while ((hWndT = ::GetWindow(hWndOwner, GW_OWNER)) != NULL)
        hWndOwner = hWndT;
    return FromHandle(hWndOwner);
}

CWnd* CWnd::GetParentOwner() const
{
    if (GetSafeHwnd() == NULL)
        return NULL;
    HWND hWndParent = m_hWnd;
    HWND hWndT;
    while ((::GetWindowLong(hWndParent, GWL_STYLE) & WS_CHILD) && (hWndT = ::GetParent(hWndParent)) != NULL)
        hWndParent = hWndT;
    return FromHandle(hWndParent);
}

HWND PASCAL CWnd::GetSafeOwner_(HWND hParent, HWND* pWndTop)
{
    HWND hWnd = hParent;
    if (hWnd == NULL) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain->GetSafeHwnd();
    }
    // A pop-up cannot be owned by a child window.
    while (hWnd != NULL && (::GetWindowLong(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);

    HWND hWndTop = hWnd;
    for (HWND hWndTemp = hWnd; hWndTemp != NULL; hWndTemp = ::GetParent(hWndTemp))
        hWndTop = hWndTemp;

    if (hParent == NULL && hWnd != NULL)
        hWnd = ::GetLastActivePopup(hWnd);

    if (pWndTop != NULL) {
        if (hWndTop != NULL && ::IsWindowEnabled(hWndTop) && hWndTop != hWnd) {
            *pWndTop = hWndTop;
            ::EnableWindow(hWndTop, FALSE);
        } else {
            *pWndTop = NULL;
        }
    }
    return hWnd;
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop)
{
    return FromHandle(GetSafeOwner_(pParent->GetSafeHwnd(), pWndTop));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    // Controls changed by the exchange must not call their handlers back.
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    HWND hWndOldLockout = pState->m_hLockoutNotifyWindow;
    pState->m_hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try {
        DoDataExchange(&dx);
        bOK = TRUE;
    } catch (CUserException* e) {
        // The user was told; the focus is on the control at fault.
        e->Delete();
    } catch (...) {
        pState->m_hLockoutNotifyWindow = hWndOldLockout;
        throw;
    }
    pState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    if (lpszCaption == NULL)
        lpszCaption = AfxGetAppName();
    return AfxShowMessageBox(m_hWnd, lpszText, lpszCaption, nType, 0);
}

void CWnd::DragAcceptFiles(BOOL bAccept)
{
    ::DragAcceptFiles(m_hWnd, bAccept);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

static int AfxScrollLimit(HWND hWnd, int nBar)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE;
    if (!::GetScrollInfo(hWnd, nBar, &info))
        return 0;
    int nMax = info.nMax;
    if (info.nPage > 1)
        nMax -= (int)info.nPage - 1;
    return nMax;
}

int CWnd::GetScrollLimit(int nBar)
{
    return AfxScrollLimit(m_hWnd, nBar);
}

int CScrollBar::GetScrollLimit()
{
    return AfxScrollLimit(m_hWnd, SB_CTL);
}

// Standard controls, menus and the frame window.
#include "AfxImpl.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)
IMPLEMENT_DYNCREATE(CMenu, CObject)

// ------------------------------------------------------------------ creation

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("EDIT", NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("LISTBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("COMBOBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create("SCROLLBAR", NULL, dwStyle, rect, pParentWnd, nID);
}

// ------------------------------------------------------------------ owner drawing

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

// List and combo boxes: the item messages go to the item virtuals.
template <class T> static BOOL AfxItemChildNotify(T* pCtrl, UINT message, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_DRAWITEM: pCtrl->DrawItem((LPDRAWITEMSTRUCT)lParam); break;
    case WM_MEASUREITEM: pCtrl->MeasureItem((LPMEASUREITEMSTRUCT)lParam); break;
    case WM_COMPAREITEM:
        if (pResult != NULL)
            *pResult = pCtrl->CompareItem((LPCOMPAREITEMSTRUCT)lParam);
        return TRUE;
    case WM_DELETEITEM: pCtrl->DeleteItem((LPDELETEITEMSTRUCT)lParam); break;
    default: return FALSE;
    }
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (AfxItemChildNotify(this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (AfxItemChildNotify(this, message, lParam, pResult))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ------------------------------------------------------------------ texts

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    if (nMaxLength < (int)sizeof(WORD)) {
        if (nMaxLength > 0)
            lpszBuffer[0] = '\0';
        return 0;
    }
    // The buffer's first word carries its size in.
    *(LPWORD)lpszBuffer = (WORD)(nMaxLength > 0xFFFF ? 0xFFFF : nMaxLength);
    return (int)::SendMessage(m_hWnd, EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR) {
        rString.Empty();
        return;
    }
    int nGot = GetText(nIndex, rString.GetBuffer(nLen));
    rString.ReleaseBuffer(nGot == LB_ERR ? 0 : -1);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int nLen = GetLBTextLen(nIndex);
    if (nLen == CB_ERR) {
        rString.Empty();
        return;
    }
    int nGot = GetLBText(nIndex, rString.GetBuffer(nLen));
    rString.ReleaseBuffer(nGot == CB_ERR ? 0 : -1);
}

// ------------------------------------------------------------------ CMenu

CMenu::~CMenu()
{
    DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu)
{
    return static_cast<CMenu*>(AfxMapHMENU()->FromHandle(hMenu));
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu)
{
    return static_cast<CMenu*>(AfxMapHMENU()->LookupPermanent(hMenu));
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == NULL)
        return FALSE;
    if (m_hMenu != NULL)
        AfxMapHMENU()->RemoveHandle(m_hMenu, this);
    m_hMenu = hMenu;
    AfxMapHMENU()->SetPermanent(hMenu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU hMenu = m_hMenu;
    if (hMenu != NULL)
        AfxMapHMENU()->RemoveHandle(hMenu, this);
    m_hMenu = NULL;
    return hMenu;
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == NULL)
        return FALSE;
    return ::DestroyMenu(Detach());
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    return Attach(::LoadMenu(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int nLen = ::GetMenuString(m_hMenu, nIDItem, NULL, 0, nFlags);
    if (nLen <= 0) {
        rString.Empty();
        return 0;
    }
    ::GetMenuString(m_hMenu, nIDItem, rString.GetBuffer(nLen), nLen + 1, nFlags);
    rString.ReleaseBuffer();
    return rString.GetLength();
}

// The items of a menu as the modal responder sees them.
static void AfxReadMenuItems(HMENU hMenu, std::vector<AFX_MENU_ITEM>& items, int nDepth)
{
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
        if (!::GetMenuItemInfoA(hMenu, (UINT)i, TRUE, &info))
            continue;
        AFX_MENU_ITEM item;
        if (info.cch > 0) {
            info.cch += 1;
            info.dwTypeData = item.strText.GetBuffer((int)info.cch);
            ::GetMenuItemInfoA(hMenu, (UINT)i, TRUE, &info);
            item.strText.ReleaseBuffer();
        }
        item.dwItemData = info.dwItemData;
        if (info.fType & MFT_SEPARATOR)
            item.nState |= MF_SEPARATOR;
        if (info.fType & MFT_OWNERDRAW)
            item.nState |= MF_OWNERDRAW;
        // A separator's state says nothing (the system reports it disabled).
        if (!(info.fType & MFT_SEPARATOR))
            item.nState |= info.fState & (MF_GRAYED | MF_DISABLED);
        if (info.fState & MFS_CHECKED)
            item.nState |= MF_CHECKED;
        if (info.fState & MFS_DEFAULT)
            item.nState |= MF_DEFAULT;
        if (info.hSubMenu != NULL) {
            item.nState |= MF_POPUP;
            if (nDepth < 16) // a menu may not hold itself, but be safe
                AfxReadMenuItems(info.hSubMenu, item.subItems, nDepth + 1);
        } else if (!(info.fType & MFT_SEPARATOR)) {
            item.nID = info.wID;
        }
        items.push_back(std::move(item));
    }
}

static BOOL AfxIsEnabledMenuCommand(const std::vector<AFX_MENU_ITEM>& items, UINT nID)
{
    for (const AFX_MENU_ITEM& item : items) {
        if (item.nID == nID && item.IsEnabledCommand())
            return TRUE;
        if ((item.nState & MF_POPUP) && !(item.nState & (MF_GRAYED | MF_DISABLED)) &&
            AfxIsEnabledMenuCommand(item.subItems, nID))
            return TRUE;
    }
    return FALSE;
}

// Offers the menu to the modal responder: TRUE with the result the real
// call would give when it answered.
static BOOL AfxRespondPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, HWND hWndOwner, BOOL& bResult)
{
    if (!AfxHasModalResponder())
        return FALSE;
    // As the real menu does before it shows: the owner updates the items.
    if (!(nFlags & TPM_NONOTIFY))
        ::SendMessage(hWndOwner, WM_INITMENUPOPUP, (WPARAM)pMenu->m_hMenu, 0);
    AFX_MODAL_REQUEST request;
    request.nKind = afxModalPopupMenu;
    request.nType = nFlags;
    request.hWndOwner = hWndOwner;
    request.pMenu = pMenu;
    request.pObject = pMenu;
    request.strClassName = pMenu->GetRuntimeClass()->m_lpszClassName;
    request.ptMenu = CPoint(x, y);
    AfxReadMenuItems(pMenu->m_hMenu, request.menuItems, 0);
    INT_PTR nResult = 0;
    if (!AfxModalRespond(request, nResult))
        return FALSE;
    // Only what a user could click is picked.
    UINT nID = (UINT)nResult;
    if (nResult <= 0 || !AfxIsEnabledMenuCommand(request.menuItems, nID))
        nID = 0;
    if (nFlags & TPM_RETURNCMD) {
        bResult = (BOOL)nID;
    } else {
        if (nID != 0)
            ::PostMessage(hWndOwner, WM_COMMAND, nID, 0);
        bResult = TRUE;
    }
    return TRUE;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return TrackPopupMenuEx(nFlags, x, y, pWnd, NULL);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm)
{
    HWND hWndOwner = pWnd->GetSafeHwnd();
    if (m_hMenu == NULL || !::IsWindow(hWndOwner))
        return FALSE;
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    HMENU hOldTracking = pState->m_hTrackingMenu;
    pState->m_hTrackingMenu = m_hMenu;
    BOOL bResult = FALSE;
    if (!AfxRespondPopupMenu(this, fuFlags, x, y, hWndOwner, bResult))
        bResult = ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, hWndOwner, lptpm);
    pState->m_hTrackingMenu = hOldTracking;
    return bResult;
}

// ------------------------------------------------------------------ CFrameWnd

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = NULL;
    if (lpszMenuName != NULL) {
        hMenu = ::LoadMenu(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
        if (hMenu == NULL)
            return FALSE;
    }
    int x = rect.left, y = rect.top, cx, cy;
    if (rect.left == (LONG)CW_USEDEFAULT) {
        x = y = cx = cy = CW_USEDEFAULT;
    } else {
        cx = rect.right - rect.left;
        cy = rect.bottom - rect.top;
    }
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(), hMenu,
                  (LPVOID)pContext)) {
        if (hMenu != NULL)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.hIcon = ::LoadIcon(NULL, IDI_APPLICATION);
        wc.lpszClassName = "AfxFrameOrView";
        if (!AfxRegisterClass(&wc))
            return FALSE;
        cs.lpszClass = wc.lpszClassName;
    }
    return TRUE;
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1)
        nCmdShow = IsIconic() ? SW_RESTORE : SW_SHOW;
    ShowWindow(nCmdShow);
    BringWindowToTop();
}

// Common controls and image lists.
#include "AfxImpl.h"
#include <afxcmn.h>

IMPLEMENT_DYNCREATE(CImageList, CObject)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CHotKeyCtrl, CWnd)
IMPLEMENT_DYNAMIC(CComboBoxEx, CComboBox)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

// The common control classes, registered once per process.
static void AfxInitCommonControls()
{
    static const BOOL s_bInit = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_PROGRESS_CLASS | ICC_HOTKEY_CLASS | ICC_BAR_CLASSES};
        return ::InitCommonControlsEx(&icc);
    }();
    (void)s_bInit;
}

static BOOL AfxCreateCommonControl(CWnd* pWnd, LPCTSTR lpszClass, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                                   UINT nID)
{
    AfxInitCommonControls();
    return pWnd->CWnd::Create(lpszClass, NULL, dwStyle, rect, pParentWnd, nID);
}

// ------------------------------------------------------------------ CImageList

CImageList::~CImageList()
{
    DeleteImageList();
}

CImageList* PASCAL CImageList::FromHandle(HIMAGELIST hImageList)
{
    return static_cast<CImageList*>(AfxMapHIMAGELIST()->FromHandle(hImageList));
}

CImageList* PASCAL CImageList::FromHandlePermanent(HIMAGELIST hImageList)
{
    return static_cast<CImageList*>(AfxMapHIMAGELIST()->LookupPermanent(hImageList));
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (hImageList == NULL)
        return FALSE;
    if (m_hImageList != NULL)
        AfxMapHIMAGELIST()->RemoveHandle(m_hImageList, this);
    m_hImageList = hImageList;
    AfxMapHIMAGELIST()->SetPermanent(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST hImageList = m_hImageList;
    if (hImageList != NULL)
        AfxMapHIMAGELIST()->RemoveHandle(hImageList, this);
    m_hImageList = NULL;
    return hImageList;
}

BOOL CImageList::DeleteImageList()
{
    if (m_hImageList == NULL)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    AfxInitCommonControls();
    HINSTANCE hInst = AfxFindResourceHandle(lpszBitmapID, RT_BITMAP);
    return Attach(ImageList_LoadImage(hInst, lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

// ------------------------------------------------------------------ creation

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateCommonControl(this, WC_TABCONTROL, dwStyle, rect, pParentWnd, nID);
}

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateCommonControl(this, WC_HEADER, dwStyle, rect, pParentWnd, nID);
}

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateCommonControl(this, WC_LISTVIEW, dwStyle, rect, pParentWnd, nID);
}

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateCommonControl(this, WC_TREEVIEW, dwStyle, rect, pParentWnd, nID);
}

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateCommonControl(this, PROGRESS_CLASS, dwStyle, rect, pParentWnd, nID);
}

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateCommonControl(this, TRACKBAR_CLASS, dwStyle, rect, pParentWnd, nID);
}

BOOL CHotKeyCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateCommonControl(this, HOTKEY_CLASS, dwStyle, rect, pParentWnd, nID);
}

BOOL CComboBoxEx::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateCommonControl(this, WC_COMBOBOXEX, dwStyle, rect, pParentWnd, nID);
}

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!AfxInitRichEdit2())
        return FALSE;
    return CWnd::Create("RichEdit20A", NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    AfxInitCommonControls();
    return CWnd::CreateEx(0, TOOLTIPS_CLASS, NULL, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), NULL, NULL);
}

// ------------------------------------------------------------------ owner drawing

BOOL CTabCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

// ------------------------------------------------------------------ CListCtrl

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMN column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = (LPTSTR)lpszColumnHeading;
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam)
{
    LVITEM item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = (LPTSTR)lpszItem;
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                        LPARAM lParam)
{
    LVITEM item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = (LPTSTR)lpszItem;
    item.iImage = nImage;
    item.state = nState;
    item.stateMask = nStateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEM item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    if (!GetItem(&item))
        return 0;
    return (DWORD_PTR)item.lParam;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    return SetItem(nItem, 0, LVIF_PARAM, NULL, 0, 0, 0, (LPARAM)dwData);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEM item = {};
    item.stateMask = nMask;
    item.state = nState;
    return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMSTATE, nItem, (LPARAM)&item);
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const
{
    LVITEM item = {};
    item.iSubItem = nSubItem;
    item.cchTextMax = nLen;
    item.pszText = lpszText;
    return (int)::SendMessage(m_hWnd, LVM_GETITEMTEXT, nItem, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control says how much it copied; grow until the text fits.
    CString str;
    for (int nLen = 256;; nLen *= 2) {
        int nGot = GetItemText(nItem, nSubItem, str.GetBuffer(nLen), nLen + 1);
        str.ReleaseBuffer(nGot < 0 ? 0 : (nGot > nLen ? nLen : nGot));
        if (nGot < nLen || nLen >= 1024 * 1024)
            return str;
    }
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText)
{
    LVITEM item = {};
    item.iSubItem = nSubItem;
    item.pszText = (LPTSTR)lpszText;
    return (BOOL)::SendMessage(m_hWnd, LVM_SETITEMTEXT, nItem, (LPARAM)&item);
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
{
    RECT rect = {};
    rect.top = iSubItem;
    rect.left = nArea;
    BOOL bResult = (BOOL)::SendMessage(m_hWnd, LVM_GETSUBITEMRECT, iItem, (LPARAM)&rect);
    if (bResult)
        ref = rect;
    return bResult;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    int nItem = ListView_HitTest(m_hWnd, &info);
    if (pFlags != NULL)
        *pFlags = info.flags;
    return nItem;
}

// ------------------------------------------------------------------ CTreeCtrl

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter)
{
    TVINSERTSTRUCT tvis = {};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = nMask;
    tvis.item.pszText = (LPTSTR)lpszItem;
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    tvis.item.state = nState;
    tvis.item.stateMask = nStateMask;
    tvis.item.lParam = lParam;
    return InsertItem(&tvis);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const
{
    CString str;
    for (int nLen = 256;; nLen *= 2) {
        TVITEM item = {};
        item.hItem = hItem;
        item.mask = TVIF_TEXT;
        item.pszText = str.GetBuffer(nLen);
        item.cchTextMax = nLen + 1;
        BOOL bOK = TreeView_GetItem(m_hWnd, &item);
        str.ReleaseBuffer(bOK ? -1 : 0);
        if (!bOK || str.GetLength() < nLen || nLen >= 1024 * 1024)
            return str;
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem)
{
    TVITEM item = {};
    item.hItem = hItem;
    item.mask = TVIF_TEXT;
    item.pszText = (LPTSTR)lpszItem;
    return TreeView_SetItem(m_hWnd, &item);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const
{
    TVITEM item = {};
    item.hItem = hItem;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    BOOL bResult = TreeView_GetItem(m_hWnd, &item);
    if (bResult) {
        nImage = item.iImage;
        nSelectedImage = item.iSelectedImage;
    }
    return bResult;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage)
{
    TVITEM item = {};
    item.hItem = hItem;
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.iImage = nImage;
    item.iSelectedImage = nSelectedImage;
    return TreeView_SetItem(m_hWnd, &item);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask)
{
    TVITEM item = {};
    item.hItem = hItem;
    item.mask = TVIF_STATE;
    item.state = nState;
    item.stateMask = nStateMask;
    return TreeView_SetItem(m_hWnd, &item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const
{
    TVITEM item = {};
    item.hItem = hItem;
    item.mask = TVIF_PARAM;
    if (!TreeView_GetItem(m_hWnd, &item))
        return 0;
    return (DWORD_PTR)item.lParam;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData)
{
    TVITEM item = {};
    item.hItem = hItem;
    item.mask = TVIF_PARAM;
    item.lParam = (LPARAM)dwData;
    return TreeView_SetItem(m_hWnd, &item);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const
{
    TVITEM item = {};
    item.hItem = hItem;
    item.mask = TVIF_CHILDREN;
    TreeView_GetItem(m_hWnd, &item);
    return item.cChildren != 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const
{
    *(HTREEITEM*)lpRect = hItem;
    return (BOOL)::SendMessage(m_hWnd, TVM_GETITEMRECT, bTextOnly, (LPARAM)lpRect);
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    TVHITTESTINFO info = {};
    info.pt = pt;
    HTREEITEM hItem = TreeView_HitTest(m_hWnd, &info);
    if (pFlags != NULL)
        *pFlags = info.flags;
    return hItem;
}

// ------------------------------------------------------------------ CToolTipCtrl

void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    memset(&ti, 0, sizeof(ti));
    ti.cbSize = sizeof(ti);
    HWND hWnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        // The whole window: the tool is its handle.
        ti.hwnd = ::GetParent(hWnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)hWnd;
    } else {
        ti.hwnd = hWnd;
        ti.uFlags = 0;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool != NULL)
        ti.rect = *lpRectTool;
    ti.lpszText = (LPTSTR)lpszText;
    if (ti.uFlags & TTF_IDISHWND)
        ti.uFlags |= TTF_SUBCLASS;
    return (BOOL)::SendMessage(m_hWnd, TTM_ADDTOOL, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool != NULL)
        ti.rect = *lpRectTool;
    ti.hinst = AfxFindResourceHandle(MAKEINTRESOURCE((nIDText >> 4) + 1), RT_STRING);
    ti.lpszText = (LPTSTR)MAKEINTRESOURCE(nIDText);
    if (ti.uFlags & TTF_IDISHWND)
        ti.uFlags |= TTF_SUBCLASS;
    return (BOOL)::SendMessage(m_hWnd, TTM_ADDTOOL, 0, (LPARAM)&ti);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ::SendMessage(m_hWnd, TTM_DELTOOL, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = (LPTSTR)lpszText;
    ::SendMessage(m_hWnd, TTM_UPDATETIPTEXT, 0, (LPARAM)&ti);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    ::SendMessage(m_hWnd, TTM_NEWTOOLRECT, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const
{
    FillInToolInfo(ToolInfo, pWnd, nIDTool);
    ToolInfo.lpszText = NULL;
    return (BOOL)::SendMessage(m_hWnd, TTM_GETTOOLINFO, 0, (LPARAM)&ToolInfo);
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    // The message has no buffer size: tips are at most 80 characters.
    char szText[256] = "";
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = szText;
    ::SendMessage(m_hWnd, TTM_GETTEXT, sizeof(szText), (LPARAM)&ti);
    szText[sizeof(szText) - 1] = 0;
    str = szText;
}

BOOL CToolTipCtrl::HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const
{
    TTHITTESTINFO hti = {};
    hti.hwnd = pWnd->GetSafeHwnd();
    hti.pt = pt;
    hti.ti.cbSize = sizeof(TOOLINFO);
    if (!::SendMessage(m_hWnd, TTM_HITTEST, 0, (LPARAM)&hti))
        return FALSE;
    if (lpToolInfo != NULL)
        *lpToolInfo = hti.ti;
    return TRUE;
}

// ------------------------------------------------------------------ CRichEditCtrl

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE cr = {};
    GetSel(cr);
    CString str;
    if (cr.cpMax > cr.cpMin) {
        // Two bytes per character at most in the multibyte text.
        int nMax = (cr.cpMax - cr.cpMin) * 2;
        LPSTR psz = str.GetBuffer(nMax);
        ::SendMessage(m_hWnd, EM_GETSELTEXT, 0, (LPARAM)psz);
        str.ReleaseBuffer();
    }
    return str;
}

long CRichEditCtrl::GetTextRange(int nFirst, int nLast, CString& refString) const
{
    refString.Empty();
    if (nLast <= nFirst)
        return 0;
    TEXTRANGEA tr;
    tr.chrg.cpMin = nFirst;
    tr.chrg.cpMax = nLast;
    tr.lpstrText = refString.GetBuffer((nLast - nFirst) * 2);
    long nLen = (long)::SendMessage(m_hWnd, EM_GETTEXTRANGE, 0, (LPARAM)&tr);
    refString.ReleaseBuffer();
    return nLen;
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof(cf);
    return (DWORD)::SendMessage(m_hWnd, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof(cf);
    return (DWORD)::SendMessage(m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof(cf);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof(cf);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetWordCharFormat(CHARFORMAT& cf)
{
    cf.cbSize = sizeof(cf);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, (LPARAM)&cf);
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT2& cf) const
{
    cf.cbSize = sizeof(cf);
    return (DWORD)::SendMessage(m_hWnd, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT2& cf) const
{
    cf.cbSize = sizeof(cf);
    return (DWORD)::SendMessage(m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT2& cf)
{
    cf.cbSize = sizeof(cf);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT2& cf)
{
    cf.cbSize = sizeof(cf);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
}

BOOL CRichEditCtrl::SetWordCharFormat(CHARFORMAT2& cf)
{
    cf.cbSize = sizeof(cf);
    return (BOOL)::SendMessage(m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, (LPARAM)&cf);
}

DWORD CRichEditCtrl::GetParaFormat(PARAFORMAT& pf) const
{
    pf.cbSize = sizeof(pf);
    return (DWORD)::SendMessage(m_hWnd, EM_GETPARAFORMAT, 0, (LPARAM)&pf);
}

BOOL CRichEditCtrl::SetParaFormat(PARAFORMAT& pf)
{
    pf.cbSize = sizeof(pf);
    return (BOOL)::SendMessage(m_hWnd, EM_SETPARAFORMAT, 0, (LPARAM)&pf);
}

IRichEditOle* CRichEditCtrl::GetIRichEditOle() const
{
    IRichEditOle* pRichEditOle = NULL;
    ::SendMessage(m_hWnd, EM_GETOLEINTERFACE, 0, (LPARAM)&pRichEditOle);
    return pRichEditOle;
}

CPoint CRichEditCtrl::PosFromChar(UINT nChar) const
{
    POINTL pt = {0, 0};
    ::SendMessage(m_hWnd, EM_POSFROMCHAR, (WPARAM)&pt, nChar);
    return CPoint((int)pt.x, (int)pt.y);
}

int CRichEditCtrl::CharFromPos(CPoint pt) const
{
    POINTL ptl = {pt.x, pt.y};
    return (int)::SendMessage(m_hWnd, EM_CHARFROMPOS, 0, (LPARAM)&ptl);
}

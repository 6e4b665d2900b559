// Common controls of the class library (thin wrappers over comctl32 and the
// rich edit control).
#pragma once

#include <afxwin.h>
#include <commctrl.h>
#include <richedit.h>
#include <richole.h>

// ------------------------------------------------------------------ CImageList

class CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() : m_hImageList(NULL) {}
    virtual ~CImageList();

    HIMAGELIST m_hImageList;
    operator HIMAGELIST() const { return AfxIsNull_(this) ? NULL : m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return AfxIsNull_(this) ? NULL : m_hImageList; }
    static CImageList* PASCAL FromHandle(HIMAGELIST hImageList);
    static CImageList* PASCAL FromHandlePermanent(HIMAGELIST hImageList);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
    {
        return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
    {
        return Create(MAKEINTRESOURCE(nBitmapID), cx, nGrow, crMask);
    }
    BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(CImageList* pImageList) { return Attach(ImageList_Duplicate(pImageList->GetSafeHandle())); }
    BOOL DeleteImageList();

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
    {
        return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
    }
    int Add(CBitmap* pbmImage, CBitmap* pbmMask)
    {
        return ImageList_Add(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), (HBITMAP)pbmMask->GetSafeHandle());
    }
    int Add(CBitmap* pbmImage, COLORREF crMask)
    {
        return ImageList_AddMasked(m_hImageList, (HBITMAP)pbmImage->GetSafeHandle(), crMask);
    }
    int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
    {
        return ImageList_Replace(m_hImageList, nImage, (HBITMAP)pbmImage->GetSafeHandle(),
                                 (HBITMAP)pbmMask->GetSafeHandle());
    }
    int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(NULL, m_hImageList, nImage); }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
    {
        return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
    }
    BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle)
    {
        return ImageList_DrawEx(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg,
                                nStyle);
    }
    BOOL SetOverlayImage(int nImage, int nOverlay) { return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay); }
};

// ------------------------------------------------------------------ CTabCtrl

class CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)
public:
    CTabCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    CImageList* GetImageList() const { return CImageList::FromHandle(TabCtrl_GetImageList(m_hWnd)); }
    CImageList* SetImageList(CImageList* pImageList)
    {
        return CImageList::FromHandle(TabCtrl_SetImageList(m_hWnd, pImageList->GetSafeHandle()));
    }
    int GetItemCount() const { return TabCtrl_GetItemCount(m_hWnd); }
    BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const { return TabCtrl_GetItem(m_hWnd, nItem, pTabCtrlItem); }
    BOOL SetItem(int nItem, TCITEM* pTabCtrlItem) { return TabCtrl_SetItem(m_hWnd, nItem, pTabCtrlItem); }
    BOOL SetItemExtra(int nBytes) { return TabCtrl_SetItemExtra(m_hWnd, nBytes); }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const { return TabCtrl_GetItemRect(m_hWnd, nItem, lpRect); }
    int GetCurSel() const { return TabCtrl_GetCurSel(m_hWnd); }
    int SetCurSel(int nItem) { return TabCtrl_SetCurSel(m_hWnd, nItem); }
    void SetCurFocus(int nItem) { TabCtrl_SetCurFocus(m_hWnd, nItem); }
    int GetCurFocus() const { return TabCtrl_GetCurFocus(m_hWnd); }
    CSize SetItemSize(CSize size) { return CSize((DWORD)TabCtrl_SetItemSize(m_hWnd, size.cx, size.cy)); }
    void SetPadding(CSize size) { TabCtrl_SetPadding(m_hWnd, size.cx, size.cy); }
    int GetRowCount() const { return TabCtrl_GetRowCount(m_hWnd); }
    int SetMinTabWidth(int cx) { return TabCtrl_SetMinTabWidth(m_hWnd, cx); }
    LONG InsertItem(int nItem, TCITEM* pTabCtrlItem) { return TabCtrl_InsertItem(m_hWnd, nItem, pTabCtrlItem); }
    LONG InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0); }
    LONG InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
    {
        return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
    }
    LONG InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam)
    {
        TCITEM item = {};
        item.mask = nMask;
        item.pszText = (LPTSTR)lpszItem;
        item.iImage = nImage;
        item.lParam = lParam;
        return TabCtrl_InsertItem(m_hWnd, nItem, &item);
    }
    BOOL DeleteItem(int nItem) { return TabCtrl_DeleteItem(m_hWnd, nItem); }
    BOOL DeleteAllItems() { return TabCtrl_DeleteAllItems(m_hWnd); }
    void AdjustRect(BOOL bLarger, LPRECT lpRect) { TabCtrl_AdjustRect(m_hWnd, bLarger, lpRect); }
    int HitTest(TCHITTESTINFO* pHitTestInfo) const { return TabCtrl_HitTest(m_hWnd, pHitTestInfo); }
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}

protected:
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// ------------------------------------------------------------------ CHeaderCtrl

class CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    CHeaderCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetItemCount() const { return Header_GetItemCount(m_hWnd); }
    BOOL GetItem(int nPos, HDITEM* pHeaderItem) const { return Header_GetItem(m_hWnd, nPos, pHeaderItem); }
    BOOL SetItem(int nPos, HDITEM* pHeaderItem) { return Header_SetItem(m_hWnd, nPos, pHeaderItem); }
    int InsertItem(int nPos, HDITEM* phdi) { return Header_InsertItem(m_hWnd, nPos, phdi); }
    BOOL DeleteItem(int nPos) { return Header_DeleteItem(m_hWnd, nPos); }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const { return Header_GetItemRect(m_hWnd, nIndex, lpRect); }
    BOOL Layout(HDLAYOUT* pHeaderLayout) { return Header_Layout(m_hWnd, pHeaderLayout); }
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo)
    {
        return (int)::SendMessage(m_hWnd, HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo);
    }
    CImageList* SetImageList(CImageList* pImageList)
    {
        return CImageList::FromHandle(Header_SetImageList(m_hWnd, pImageList->GetSafeHandle()));
    }
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}

protected:
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// ------------------------------------------------------------------ CListCtrl

class CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    COLORREF GetBkColor() const { return ListView_GetBkColor(m_hWnd); }
    BOOL SetBkColor(COLORREF cr) { return ListView_SetBkColor(m_hWnd, cr); }
    COLORREF GetTextColor() const { return ListView_GetTextColor(m_hWnd); }
    BOOL SetTextColor(COLORREF cr) { return ListView_SetTextColor(m_hWnd, cr); }
    COLORREF GetTextBkColor() const { return ListView_GetTextBkColor(m_hWnd); }
    BOOL SetTextBkColor(COLORREF cr) { return ListView_SetTextBkColor(m_hWnd, cr); }
    CImageList* GetImageList(int nImageList) const
    {
        return CImageList::FromHandle(ListView_GetImageList(m_hWnd, nImageList));
    }
    CImageList* SetImageList(CImageList* pImageList, int nImageListType)
    {
        return CImageList::FromHandle(ListView_SetImageList(m_hWnd, pImageList->GetSafeHandle(), nImageListType));
    }
    DWORD GetExtendedStyle() const { return ListView_GetExtendedListViewStyle(m_hWnd); }
    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return (DWORD)::SendMessage(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle);
    }
    CHeaderCtrl* GetHeaderCtrl() const { return (CHeaderCtrl*)CWnd::FromHandle(ListView_GetHeader(m_hWnd)); }

    int GetItemCount() const { return ListView_GetItemCount(m_hWnd); }
    void SetItemCount(int nItems) { ListView_SetItemCount(m_hWnd, nItems); }
    BOOL GetItem(LVITEM* pItem) const { return ListView_GetItem(m_hWnd, pItem); }
    BOOL SetItem(const LVITEM* pItem) { return ListView_SetItem(m_hWnd, pItem); }
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const { return ListView_GetItemState(m_hWnd, nItem, nMask); }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    int GetNextItem(int nItem, int nFlags) const { return ListView_GetNextItem(m_hWnd, nItem, nFlags); }
    UINT GetSelectedCount() const { return ListView_GetSelectedCount(m_hWnd); }
    POSITION GetFirstSelectedItemPosition() const { return (POSITION)(DWORD_PTR)(1 + GetNextItem(-1, LVNI_SELECTED)); }
    int GetNextSelectedItem(POSITION& pos) const
    {
        int nItem = (int)(DWORD_PTR)pos - 1;
        pos = (POSITION)(DWORD_PTR)(1 + GetNextItem(nItem, LVNI_SELECTED));
        return nItem;
    }
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
    {
        return ListView_GetItemRect(m_hWnd, nItem, lpRect, nCode);
    }
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
    int GetTopIndex() const { return ListView_GetTopIndex(m_hWnd); }
    int GetCountPerPage() const { return ListView_GetCountPerPage(m_hWnd); }
    int GetColumnWidth(int nCol) const { return ListView_GetColumnWidth(m_hWnd, nCol); }
    BOOL SetColumnWidth(int nCol, int cx) { return ListView_SetColumnWidth(m_hWnd, nCol, cx); }
    BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const { return ListView_GetColumn(m_hWnd, nCol, pColumn); }
    BOOL SetColumn(int nCol, const LVCOLUMN* pColumn) { return ListView_SetColumn(m_hWnd, nCol, pColumn); }

    int InsertColumn(int nCol, const LVCOLUMN* pColumn) { return ListView_InsertColumn(m_hWnd, nCol, pColumn); }
    int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol) { return ListView_DeleteColumn(m_hWnd, nCol); }
    int InsertItem(const LVITEM* pItem) { return ListView_InsertItem(m_hWnd, pItem); }
    int InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0); }
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage)
    {
        return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
    }
    int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem) { return ListView_DeleteItem(m_hWnd, nItem); }
    BOOL DeleteAllItems() { return ListView_DeleteAllItems(m_hWnd); }
    int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const { return ListView_FindItem(m_hWnd, nStart, pFindInfo); }
    int HitTest(LVHITTESTINFO* pHitTestInfo) const { return ListView_HitTest(m_hWnd, pHitTestInfo); }
    int HitTest(CPoint pt, UINT* pFlags = NULL) const;
    int SubItemHitTest(LPLVHITTESTINFO pInfo) { return ListView_SubItemHitTest(m_hWnd, pInfo); }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) { return ListView_EnsureVisible(m_hWnd, nItem, bPartialOK); }
    BOOL Scroll(CSize size) { return ListView_Scroll(m_hWnd, size.cx, size.cy); }
    BOOL RedrawItems(int nFirst, int nLast) { return ListView_RedrawItems(m_hWnd, nFirst, nLast); }
    BOOL Update(int nItem) { return ListView_Update(m_hWnd, nItem); }
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) { return ListView_SortItems(m_hWnd, pfnCompare, dwData); }
    // Owner-drawn report lists (LVS_OWNERDRAWFIXED) draw here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}

protected:
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// ------------------------------------------------------------------ CTreeCtrl

class CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    UINT GetCount() const { return TreeView_GetCount(m_hWnd); }
    UINT GetIndent() const { return TreeView_GetIndent(m_hWnd); }
    void SetIndent(UINT nIndent) { TreeView_SetIndent(m_hWnd, nIndent); }
    CImageList* GetImageList(int nImageList) const
    {
        return CImageList::FromHandle(TreeView_GetImageList(m_hWnd, nImageList));
    }
    CImageList* SetImageList(CImageList* pImageList, int nImageListType)
    {
        return CImageList::FromHandle(TreeView_SetImageList(m_hWnd, pImageList->GetSafeHandle(), nImageListType));
    }
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const { return TreeView_GetNextItem(m_hWnd, hItem, nCode); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return TreeView_GetChild(m_hWnd, hItem); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return TreeView_GetNextSibling(m_hWnd, hItem); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return TreeView_GetPrevSibling(m_hWnd, hItem); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return TreeView_GetParent(m_hWnd, hItem); }
    HTREEITEM GetFirstVisibleItem() const { return TreeView_GetFirstVisible(m_hWnd); }
    HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const { return TreeView_GetNextVisible(m_hWnd, hItem); }
    HTREEITEM GetSelectedItem() const { return TreeView_GetSelection(m_hWnd); }
    HTREEITEM GetRootItem() const { return TreeView_GetRoot(m_hWnd); }
    BOOL GetItem(TVITEM* pItem) const { return TreeView_GetItem(m_hWnd, pItem); }
    BOOL SetItem(TVITEM* pItem) { return TreeView_SetItem(m_hWnd, pItem); }
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const
    {
        return TreeView_GetItemState(m_hWnd, hItem, nStateMask);
    }
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    BOOL ItemHasChildren(HTREEITEM hItem) const;
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
    SHORT GetItemHeight() const { return TreeView_GetItemHeight(m_hWnd); }
    SHORT SetItemHeight(SHORT cyHeight) { return TreeView_SetItemHeight(m_hWnd, cyHeight); }
    COLORREF GetBkColor() const { return TreeView_GetBkColor(m_hWnd); }
    COLORREF SetBkColor(COLORREF clr) { return TreeView_SetBkColor(m_hWnd, clr); }
    COLORREF GetTextColor() const { return TreeView_GetTextColor(m_hWnd); }
    COLORREF SetTextColor(COLORREF clr) { return TreeView_SetTextColor(m_hWnd, clr); }

    HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct) { return TreeView_InsertItem(m_hWnd, lpInsertStruct); }
    HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                         LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST)
    {
        return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
    }
    HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST)
    {
        return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0,
                          hParent, hInsertAfter);
    }
    BOOL DeleteItem(HTREEITEM hItem) { return TreeView_DeleteItem(m_hWnd, hItem); }
    BOOL DeleteAllItems() { return TreeView_DeleteAllItems(m_hWnd); }
    BOOL Expand(HTREEITEM hItem, UINT nCode) { return TreeView_Expand(m_hWnd, hItem, nCode); }
    BOOL Select(HTREEITEM hItem, UINT nCode) { return TreeView_Select(m_hWnd, hItem, nCode); }
    BOOL SelectItem(HTREEITEM hItem) { return TreeView_SelectItem(m_hWnd, hItem); }
    BOOL SelectDropTarget(HTREEITEM hItem) { return TreeView_SelectDropTarget(m_hWnd, hItem); }
    BOOL SelectSetFirstVisible(HTREEITEM hItem) { return TreeView_SelectSetFirstVisible(m_hWnd, hItem); }
    BOOL EnsureVisible(HTREEITEM hItem) { return TreeView_EnsureVisible(m_hWnd, hItem); }
    BOOL SortChildren(HTREEITEM hItem) { return TreeView_SortChildren(m_hWnd, hItem, 0); }
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = NULL) const;
    HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const { return TreeView_HitTest(m_hWnd, pHitTestInfo); }
};

// ------------------------------------------------------------------ CToolTipCtrl

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() {}
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    void Activate(BOOL bActivate) { ::SendMessage(m_hWnd, TTM_ACTIVATE, bActivate, 0); }
    // A tool of pWnd: its whole client area (lpRectTool null) or the rectangle nIDTool.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    BOOL GetToolInfo(TOOLINFO& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(LPTOOLINFO lpToolInfo) { ::SendMessage(m_hWnd, TTM_SETTOOLINFO, 0, (LPARAM)lpToolInfo); }
    int GetToolCount() const { return (int)::SendMessage(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }
    void RelayEvent(LPMSG lpMsg) { ::SendMessage(m_hWnd, TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
    void SetDelayTime(UINT nDelay) { ::SendMessage(m_hWnd, TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
    void SetDelayTime(DWORD dwDuration, int iTime) { ::SendMessage(m_hWnd, TTM_SETDELAYTIME, dwDuration, iTime); }
    int GetDelayTime(DWORD dwDuration) const { return (int)::SendMessage(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0); }
    int SetMaxTipWidth(int iWidth) { return (int)::SendMessage(m_hWnd, TTM_SETMAXTIPWIDTH, 0, iWidth); }
    int GetMaxTipWidth() const { return (int)::SendMessage(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0); }
    void SetMargin(LPRECT lprc) { ::SendMessage(m_hWnd, TTM_SETMARGIN, 0, (LPARAM)lprc); }
    void GetMargin(LPRECT lprc) const { ::SendMessage(m_hWnd, TTM_GETMARGIN, 0, (LPARAM)lprc); }
    BOOL SetTitle(UINT uIcon, LPCTSTR lpstrTitle)
    {
        return (BOOL)::SendMessage(m_hWnd, TTM_SETTITLE, uIcon, (LPARAM)lpstrTitle);
    }
    void TrackActivate(BOOL bActivate, LPTOOLINFO lpToolInfo)
    {
        ::SendMessage(m_hWnd, TTM_TRACKACTIVATE, bActivate, (LPARAM)lpToolInfo);
    }
    void TrackPosition(int xPos, int yPos) { ::SendMessage(m_hWnd, TTM_TRACKPOSITION, 0, MAKELPARAM(xPos, yPos)); }
    BOOL GetCurrentTool(LPTOOLINFO lpToolInfo) const
    {
        return (BOOL)::SendMessage(m_hWnd, TTM_GETCURRENTTOOL, 0, (LPARAM)lpToolInfo);
    }
    // The tool's text; a callback text is asked of the tool's window.
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const;
    void SetTipBkColor(COLORREF clr) { ::SendMessage(m_hWnd, TTM_SETTIPBKCOLOR, clr, 0); }
    void SetTipTextColor(COLORREF clr) { ::SendMessage(m_hWnd, TTM_SETTIPTEXTCOLOR, clr, 0); }
    void Pop() { ::SendMessage(m_hWnd, TTM_POP, 0, 0); }
    void Update() { ::SendMessage(m_hWnd, TTM_UPDATE, 0, 0); }

protected:
    void FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

// ------------------------------------------------------------------ small controls

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper) { ::SendMessage(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { ::SendMessage(m_hWnd, PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper); }
    void GetRange(int& nLower, int& nUpper) const
    {
        PBRANGE range = {};
        ::SendMessage(m_hWnd, PBM_GETRANGE, FALSE, (LPARAM)&range);
        nLower = range.iLow;
        nUpper = range.iHigh;
    }
    int GetPos() const { return (int)::SendMessage(m_hWnd, PBM_GETPOS, 0, 0); }
    int SetPos(int nPos) { return (int)::SendMessage(m_hWnd, PBM_SETPOS, nPos, 0); }
    int OffsetPos(int nPos) { return (int)::SendMessage(m_hWnd, PBM_DELTAPOS, nPos, 0); }
    int SetStep(int nStep) { return (int)::SendMessage(m_hWnd, PBM_SETSTEP, nStep, 0); }
    int StepIt() { return (int)::SendMessage(m_hWnd, PBM_STEPIT, 0, 0); }
    COLORREF SetBarColor(COLORREF clrBar) { return (COLORREF)::SendMessage(m_hWnd, PBM_SETBARCOLOR, 0, clrBar); }
    COLORREF SetBkColor(COLORREF clrNew) { return (COLORREF)::SendMessage(m_hWnd, PBM_SETBKCOLOR, 0, clrNew); }
};

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetLineSize() const { return (int)::SendMessage(m_hWnd, TBM_GETLINESIZE, 0, 0); }
    int SetLineSize(int nSize) { return (int)::SendMessage(m_hWnd, TBM_SETLINESIZE, 0, nSize); }
    int GetPageSize() const { return (int)::SendMessage(m_hWnd, TBM_GETPAGESIZE, 0, 0); }
    int SetPageSize(int nSize) { return (int)::SendMessage(m_hWnd, TBM_SETPAGESIZE, 0, nSize); }
    int GetRangeMax() const { return (int)::SendMessage(m_hWnd, TBM_GETRANGEMAX, 0, 0); }
    int GetRangeMin() const { return (int)::SendMessage(m_hWnd, TBM_GETRANGEMIN, 0, 0); }
    void GetRange(int& nMin, int& nMax) const
    {
        nMin = GetRangeMin();
        nMax = GetRangeMax();
    }
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE) { ::SendMessage(m_hWnd, TBM_SETRANGEMIN, bRedraw, nMin); }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE) { ::SendMessage(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax); }
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE)
    {
        SetRangeMin(nMin, FALSE);
        SetRangeMax(nMax, bRedraw);
    }
    int GetPos() const { return (int)::SendMessage(m_hWnd, TBM_GETPOS, 0, 0); }
    void SetPos(int nPos) { ::SendMessage(m_hWnd, TBM_SETPOS, TRUE, nPos); }
    void SetTicFreq(int nFreq) { ::SendMessage(m_hWnd, TBM_SETTICFREQ, nFreq, 0); }
    void ClearTics(BOOL bRedraw = FALSE) { ::SendMessage(m_hWnd, TBM_CLEARTICS, bRedraw, 0); }
};

class CHotKeyCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHotKeyCtrl)
public:
    CHotKeyCtrl() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetHotKey(WORD wVirtualKeyCode, WORD wModifiers)
    {
        ::SendMessage(m_hWnd, HKM_SETHOTKEY, MAKEWORD(wVirtualKeyCode, wModifiers), 0);
    }
    DWORD GetHotKey() const { return (DWORD)::SendMessage(m_hWnd, HKM_GETHOTKEY, 0, 0); }
    void GetHotKey(WORD& wVirtualKeyCode, WORD& wModifiers) const
    {
        DWORD dw = GetHotKey();
        wVirtualKeyCode = LOBYTE(LOWORD(dw));
        wModifiers = HIBYTE(LOWORD(dw));
    }
    void SetRules(WORD wInvalidComb, WORD wModifiers)
    {
        ::SendMessage(m_hWnd, HKM_SETRULES, wInvalidComb, MAKELPARAM(wModifiers, 0));
    }
};

class CComboBoxEx : public CComboBox
{
    DECLARE_DYNAMIC(CComboBoxEx)
public:
    CComboBoxEx() {}
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int InsertItem(const COMBOBOXEXITEM* pCBItem)
    {
        return (int)::SendMessage(m_hWnd, CBEM_INSERTITEM, 0, (LPARAM)pCBItem);
    }
    int DeleteItem(int iIndex) { return (int)::SendMessage(m_hWnd, CBEM_DELETEITEM, iIndex, 0); }
    BOOL GetItem(COMBOBOXEXITEM* pCBItem) { return (BOOL)::SendMessage(m_hWnd, CBEM_GETITEM, 0, (LPARAM)pCBItem); }
    int SetItem(const COMBOBOXEXITEM* pCBItem) { return (int)::SendMessage(m_hWnd, CBEM_SETITEM, 0, (LPARAM)pCBItem); }
    CComboBox* GetComboBoxCtrl()
    {
        return (CComboBox*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, CBEM_GETCOMBOCONTROL, 0, 0));
    }
    CEdit* GetEditCtrl() { return (CEdit*)CWnd::FromHandle((HWND)::SendMessage(m_hWnd, CBEM_GETEDITCONTROL, 0, 0)); }
    CImageList* SetImageList(CImageList* pImageList)
    {
        return CImageList::FromHandle(
            (HIMAGELIST)::SendMessage(m_hWnd, CBEM_SETIMAGELIST, 0, (LPARAM)pImageList->GetSafeHandle()));
    }
    DWORD SetExtendedStyle(DWORD dwExMask, DWORD dwExStyles)
    {
        return (DWORD)::SendMessage(m_hWnd, CBEM_SETEXTENDEDSTYLE, dwExMask, dwExStyles);
    }
};

// ------------------------------------------------------------------ CRichEditCtrl

class CRichEditCtrl : public CWnd
{
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() {}
    // A "RichEdit20A" window (AfxInitRichEdit2 loads the library).
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    BOOL CanUndo() const { return (BOOL)::SendMessage(m_hWnd, EM_CANUNDO, 0, 0); }
    int GetLineCount() const { return (int)::SendMessage(m_hWnd, EM_GETLINECOUNT, 0, 0); }
    BOOL GetModify() const { return (BOOL)::SendMessage(m_hWnd, EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) { ::SendMessage(m_hWnd, EM_SETMODIFY, bModified, 0); }
    void GetRect(LPRECT lpRect) const { ::SendMessage(m_hWnd, EM_GETRECT, 0, (LPARAM)lpRect); }
    void SetRect(LPCRECT lpRect) { ::SendMessage(m_hWnd, EM_SETRECT, 0, (LPARAM)lpRect); }
    int GetFirstVisibleLine() const { return (int)::SendMessage(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0); }
    long GetTextLength() const { return (long)::SendMessage(m_hWnd, WM_GETTEXTLENGTH, 0, 0); }
    void GetSel(CHARRANGE& cr) const { ::SendMessage(m_hWnd, EM_EXGETSEL, 0, (LPARAM)&cr); }
    void GetSel(long& nStartChar, long& nEndChar) const
    {
        CHARRANGE cr = {};
        GetSel(cr);
        nStartChar = cr.cpMin;
        nEndChar = cr.cpMax;
    }
    void SetSel(CHARRANGE& cr) { ::SendMessage(m_hWnd, EM_EXSETSEL, 0, (LPARAM)&cr); }
    void SetSel(long nStartChar, long nEndChar)
    {
        CHARRANGE cr = {nStartChar, nEndChar};
        SetSel(cr);
    }
    CString GetSelText() const;
    long GetTextRange(int nFirst, int nLast, CString& refString) const;
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        ::SendMessage(m_hWnd, EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
    }
    void HideSelection(BOOL bHide, BOOL bPerm) { ::SendMessage(m_hWnd, EM_HIDESELECTION, bHide, bPerm); }
    void LimitText(long nChars = 0) { ::SendMessage(m_hWnd, EM_EXLIMITTEXT, 0, nChars); }
    long GetLimitText() const { return (long)::SendMessage(m_hWnd, EM_GETLIMITTEXT, 0, 0); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)::SendMessage(m_hWnd, EM_SETREADONLY, bReadOnly, 0); }
    DWORD GetEventMask() const { return (DWORD)::SendMessage(m_hWnd, EM_GETEVENTMASK, 0, 0); }
    DWORD SetEventMask(DWORD dwEventMask) { return (DWORD)::SendMessage(m_hWnd, EM_SETEVENTMASK, 0, dwEventMask); }
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr)
    {
        return (COLORREF)::SendMessage(m_hWnd, EM_SETBKGNDCOLOR, bSysColor, cr);
    }
    DWORD GetDefaultCharFormat(CHARFORMAT& cf) const;
    DWORD GetSelectionCharFormat(CHARFORMAT& cf) const;
    BOOL SetDefaultCharFormat(CHARFORMAT& cf);
    BOOL SetSelectionCharFormat(CHARFORMAT& cf);
    BOOL SetWordCharFormat(CHARFORMAT& cf);
    DWORD GetDefaultCharFormat(CHARFORMAT2& cf) const;
    DWORD GetSelectionCharFormat(CHARFORMAT2& cf) const;
    BOOL SetDefaultCharFormat(CHARFORMAT2& cf);
    BOOL SetSelectionCharFormat(CHARFORMAT2& cf);
    BOOL SetWordCharFormat(CHARFORMAT2& cf);
    DWORD GetParaFormat(PARAFORMAT& pf) const;
    BOOL SetParaFormat(PARAFORMAT& pf);
    BOOL SetAutoURLDetect(BOOL bEnable = TRUE) { return !(BOOL)::SendMessage(m_hWnd, EM_AUTOURLDETECT, bEnable, 0); }
    void SetOptions(WORD wOp, DWORD dwFlags) { ::SendMessage(m_hWnd, EM_SETOPTIONS, wOp, dwFlags); }
    IRichEditOle* GetIRichEditOle() const;
    BOOL SetOLECallback(IRichEditOleCallback* pCallback)
    {
        return (BOOL)::SendMessage(m_hWnd, EM_SETOLECALLBACK, 0, (LPARAM)pCallback);
    }
    long StreamIn(int nFormat, EDITSTREAM& es)
    {
        return (long)::SendMessage(m_hWnd, EM_STREAMIN, nFormat, (LPARAM)&es);
    }
    long StreamOut(int nFormat, EDITSTREAM& es)
    {
        return (long)::SendMessage(m_hWnd, EM_STREAMOUT, nFormat, (LPARAM)&es);
    }
    int LineIndex(int nLine = -1) const { return (int)::SendMessage(m_hWnd, EM_LINEINDEX, nLine, 0); }
    int LineLength(int nLine = -1) const { return (int)::SendMessage(m_hWnd, EM_LINELENGTH, nLine, 0); }
    long LineFromChar(long nIndex) const { return (long)::SendMessage(m_hWnd, EM_EXLINEFROMCHAR, 0, nIndex); }
    void LineScroll(int nLines, int nChars = 0) { ::SendMessage(m_hWnd, EM_LINESCROLL, nChars, nLines); }
    CPoint PosFromChar(UINT nChar) const;
    int CharFromPos(CPoint pt) const;
    void EmptyUndoBuffer() { ::SendMessage(m_hWnd, EM_EMPTYUNDOBUFFER, 0, 0); }
    BOOL Undo() { return (BOOL)::SendMessage(m_hWnd, EM_UNDO, 0, 0); }
    void Clear() { ::SendMessage(m_hWnd, WM_CLEAR, 0, 0); }
    void Copy() { ::SendMessage(m_hWnd, WM_COPY, 0, 0); }
    void Cut() { ::SendMessage(m_hWnd, WM_CUT, 0, 0); }
    void Paste() { ::SendMessage(m_hWnd, WM_PASTE, 0, 0); }
};

// The owner-drawn list of a room's users: three icon columns (member level,
// status, title or face) and the data columns the room describes. Rows hold
// CUserItem pointers the list does not own. Clicks, moves and the loss of
// focus go to the owner's IUserListSink.
#pragma once

#include <afxcmn.h>

#include "IUnknownEx.h"
#include "SkinListCtrl.h"

#include <unordered_set>

class CUserItem;

TAVREL_GUID(IID_IUserListSink, "B226E1FC-1094-46E8-82A4-527F0D6A0A86");

struct IUserListSink : IUnknownEx
{
    virtual void OnUserListDblClick(NMHDR* pNMHDR, LRESULT* pResult) = 0;
    virtual void OnUserListRClick(NMHDR* pNMHDR, LRESULT* pResult) = 0;
    virtual void OnUserListClick(NMHDR* pNMHDR, LRESULT* pResult) = 0;
    virtual void OnUserListMouseMove(int nRow, bool bSameRow) = 0;
    virtual void OnUserListKillFocus() = 0;
};

// One column of a user or team list as the room configuration describes it.
struct tagColumnItem
{
    WORD wColumnWidth;
    WORD wDataDescribe;
    char szColumnName[16];
};
static_assert(sizeof(tagColumnItem) == 20, "column description layout");

// Data columns a list takes at most.
const WORD MAX_DATA_COLUMN = 31;
// The icon columns in front of the data columns.
const WORD ICON_COLUMN_COUNT = 3;

class CUserListView : public CSkinListCtrl
{
public:
    CUserListView();
    ~CUserListView() override;

    // Shared pictures, the owner's sink, colours; once after creation.
    bool LoadImageLists(IUnknownEx* pIUnknownEx);
    bool SetColumnDescribe(const tagColumnItem* pColumnItem, WORD wColumnCount);
    bool InsertUserItem(CUserItem* pUserItem, bool bShown);
    bool UpdateUserItem(CUserItem* pUserItem);
    bool DeleteUserItem(CUserItem* pUserItem);
    // While true only the own user's row (row 0) shows its icons.
    void SetHideOthers(bool bHideOthers) { m_bHideOthers = bHideOthers; }
    // By the first data column in the stored direction, which then flips.
    void SortByDefault();
    // By the first data column in the direction of the last sort.
    void Resort();

    using CListCtrl::GetItemText;
    // The text of a data column for the user; "shown" false gives the
    // neutral texts of a list that hides other users' data.
    CString GetItemText(const CUserItem* pUserItem, WORD wDataColumn, bool bShown) const;
    // The user's row image: the image set times 6 plus the status.
    static int GetImageIndex(const CUserItem* pUserItem);
    // Title of an identity, NULL for none.
    static LPCSTR GetIdentityTitle(DWORD dwIdentity);

    WORD GetColumnCount() const { return m_wColumnCount; }
    int GetTopRowCount() const { return m_nTopRowCount; }

    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg BOOL OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnDeleteAllItems(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    int FindUserRow(const CUserItem* pUserItem) const;
    bool IsOwnUser(const CUserItem* pUserItem) const;
    void ForgetUser(const CUserItem* pUserItem);
    void SetRowImages(int nRow, int nImage);
    void SortByColumn(int nColumn, bool bAscending);
    void RedrawRow(int nRow);
    bool ScrollToThumb(UINT message, WPARAM wParam);
    void DrawCellIcons(CDC* pDC, int nColumn, const CRect& rcCell, const CUserItem* pUserItem, bool bShown);
    static int CALLBACK CompareUsers(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    int m_nHoverItem;
    int m_nSelectItem;
    bool m_bHideOthers;
    int m_nTopRowCount;
    bool m_bAscendSort;
    WORD m_wColumnCount;
    WORD m_wDataDescribe[32];
    IUserListSink* m_pIUserListSink;
    WORD m_wHitMask;
    // The users with a row, so a room of thousands does not search the list
    // for every insert; and those whose row raised the top-row count.
    std::unordered_set<const CUserItem*> m_ListedUsers;
    std::unordered_set<const CUserItem*> m_TopRowUsers;
};

// The user list framed with the toolkit's one-pixel border.
class CSkinUserListView : public CUserListView
{
protected:
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};

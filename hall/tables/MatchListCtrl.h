// The ranking list of a match room: one row per user (rank, nickname,
// score), white text over a tiled background picture, ranked users first.
#pragma once

#include <afxcmn.h>

#include "Picture.h"
#include "SkinListCtrl.h"

class CUserItem;

// What the list asks of the match room view that is its parent window.
class IMatchListOwner
{
public:
    virtual ~IMatchListOwner() {}
    // 0 idle, 1 waiting for sign-up, 2 sign-up open, 3 running, 4 over.
    virtual DWORD GetMatchState() const = 0;
};

// Running: unranked rows are shown in yellow.
const DWORD MATCH_STATE_RUNNING = 3;

class CMatchListCtrl : public CSkinListCtrl
{
public:
    CMatchListCtrl();
    ~CMatchListCtrl() override;

    // Columns, colours and the background composed for a list of that size.
    void InitMatchList(int width, int height);

    bool InsertUserItem(CUserItem* pUserItem);
    bool UpdateUserItem(CUserItem* pUserItem);
    bool DeleteUserItem(CUserItem* pUserItem);
    bool SortUserItems();
    // Deletes the rows of users without a rank; answers the rows left.
    int RemoveUnrankedUsers();

    // False: every nickname reads as the generic player name.
    void SetShowUserName(bool bShow) { m_bShowUserName = bShow; }
    // The cell text of the user for a column.
    CString GetUserText(const CUserItem* pUserItem, int nColumn) const;

protected:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    int FindUserRow(const CUserItem* pUserItem) const;
    void SetRowTexts(int nRow, const CUserItem* pUserItem);
    COLORREF TextColour(const CUserItem* pUserItem);
    void ComposeBackground();
    static int CALLBACK CompareRank(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    CPicture m_MiddlePicture;
    WORD m_wColumnCount;
    WORD m_wDataKind[32];
    int m_nBackWidth;
    int m_nBackHeight;
    CPicture m_BackPicture;
    bool m_bShowUserName;
};

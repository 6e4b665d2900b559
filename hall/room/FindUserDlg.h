// The find-player dialog: the players of the room whose nickname holds the
// typed text, letters of either case. The room view makes it once, shows it
// on request and tells it when a listed player changes or leaves.
//
// Ownership: the room view owns the object and deletes it; the count of the
// list's sink part is kept for the list's sake only and never deletes.
#pragma once

#include <afxwin.h>

#include "IUnknownEx.h"
#include "RgnButton.h"
#include "RgnDialog.h"

class CRoomViewItem;
class CUserItem;
class CUserListView;
class CUserManager;
struct IUserListSink;

const UINT IDC_FIND_NICKNAME = 1038;
const UINT IDC_FIND_RESULTS = 1039;
const int FIND_NICKNAME_LIMIT = 32;

class CFindUserDlg : public CRgnDialog
{
public:
    explicit CFindUserDlg(CRoomViewItem* pView);
    virtual ~CFindUserDlg();

    // A modeless window; false when it cannot be made.
    BOOL CreateWindowOnly(CWnd* pParent);
    // Followed room changes of a listed player.
    void UpdateUserItem(CUserItem* pUserItem);
    void DeleteUserItem(CUserItem* pUserItem);
    // The search (the default button).
    void OnSearch();

    // The result list's rows, in order.
    HWND GetResultList() const;
    int GetResultCount() const;
    CUserItem* GetResultUser(int nRow) const;
    ULONG GetRefCount() const { return m_ulRefCount; }
    // The list's sink part (IUserListSink).
    IUnknownEx* GetSinkPart() { return m_pSink; }

    // The nickname holds the text, ASCII letters of either case, matched at
    // character starts only (a GBK trail byte is never a letter nor the
    // start of a match).
    static bool NicknameMatches(LPCSTR pszNickName, LPCSTR pszText);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    DECLARE_MESSAGE_MAP()

private:
    friend class CFindUserSink;
    CFindUserDlg(const CFindUserDlg&) = delete;
    CFindUserDlg& operator=(const CFindUserDlg&) = delete;

    // The room's side (FindUserDlgRoom.cpp).
    CUserManager* RoomUsers() const;
    void ShowRoomUserMenu(CUserItem* pUserItem, int x, int y);
    // The room's player-list columns: 20-byte entries and their count.
    const void* RoomColumns(WORD& wCount) const;

    ULONG m_ulRefCount;
    CRoomViewItem* m_pView;
    CEdit m_Nickname;
    CRgnButton m_btSearch;
    CRgnButton m_btClose;
    CUserListView* m_pResultList;
    IUnknownEx* m_pSink;
    HBITMAP m_hScrollBar;
};

// The column beside a room's tables: a tab control with the room's player
// list (and, in team rooms, the team list) over the chat pane with the item
// bar. The room tab window makes one per entered room and holds one
// reference; the panel goes with its last Release.
#pragma once

#include <afxcmn.h>

#include <SkinTab.h>
#include <SkinWnd.h>

#include "AnchorLayout.h"
#include "ChatBar.h"
#include "ChatToolBar.h"
#include "RichEditWnd.h"
#include "RoomViewNeighbours.h"
#include "TeamListView.h"
#include "UserListView.h"

class CRoomViewItem;

class CRoomViewItemControl : public CSkinWnd, public IRoomViewControlItem, public CAnchorLayout, public IChatBarOwner
{
public:
    enum
    {
        IDC_LIST_TAB = 1007,
        IDC_USER_LIST = 1008,
        IDC_TEAM_LIST = 1017,
        IDC_CHAT_PANE = 1009,
        IDC_CHAT_TOOL_BAR = 1010,
        IDC_CHAT_INPUT_BAR = 1011,
    };
    static constexpr COLORREF kPanelFill = 0xF6EAD2;
    static constexpr COLORREF kListBack = 0xFFEFCE;

    explicit CRoomViewItemControl(CRoomViewItem* pView);

    bool CreateControlView(CWnd* pParent, const CRect& rect, DWORD dwStyle);
    // Destroys the panel window with its children; the object stays until
    // its last reference goes.
    void DestroyControlView();

    // Counted: the room tab window holds one reference. QueryInterface
    // gives IID_IUserListSink the list's sink part, which is not counted:
    // the panel owns the list that holds it.
    ULONG AddRef();
    ULONG Release();
    HRESULT QueryInterface(REFGUID iid, void** out);
    LONG GetRefCount() const { return m_lRefCount; }

    // IRoomViewControlItem
    CWnd* GetChatControl() override;
    void EnableChatInput(bool bEnable) override;
    void SetChatInputText(LPCSTR pszText) override;
    DWORD GetChatPartner() override { return m_dwChatTarget; }
    // Selects the partner in the chat bar's addressee list (entry 0, "all",
    // for none), adding an entry with the partner's nickname when needed.
    void SetChatPartner(DWORD dwUserID) override;
    void SetListRoom(DWORD dwRoomID, WORD wRoomType) override;
    void SetListDisplayFlag(BYTE cbFlag) override;
    void SetListRedraw(bool bRedraw) override;
    void SetColumnDescribe(const tagColumnDescribe& columns) override;
    void InsertUser(CUserItem* pUserItem) override;
    void UpdateUser(CUserItem* pUserItem) override;
    void RemoveUser(CUserItem* pUserItem) override;
    void SortUsers() override;
    void SetItemBarFlags(bool bGameCoin, bool bSecondCurrency) override;
    void ShowTeams(const tagColumnDescribe& columns, const tagTeamItem* pTeams, int nCount) override;

    // The player list's clicks.
    void OnUserListRClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnUserListClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnUserListKillFocus();

    // IChatBarOwner
    CWnd* GetPanelWindow() override { return this; }
    CWnd* GetChatDisplay() override { return GetChatControl(); }
    CRoomViewItem* GetRoomView() override { return m_pView; }
    CChatBar* GetChatBar() override { return &m_ChatBar; }
    bool IsChatInputEnabled() override { return m_bChatEnabled; }
    DWORD GetLastSendTime() override { return m_dwLastSendTime; }
    void SetLastSendTime(DWORD dwTickCount) override { m_dwLastSendTime = dwTickCount; }

    // A user leaves: his addressee entry goes (entry 0 selected first when
    // it was his); false when he had none.
    bool RemoveChatTarget(DWORD dwUserID);

    // The team tab: true when it was made now.
    bool AddTeamListTab();
    void RemoveTeamListTab();
    void RefreshItemBar();

    CUserListView& GetUserList() { return m_UserList; }
    CTeamListView& GetTeamList() { return m_TeamList; }
    CSkinTab& GetListTab() { return m_ListTab; }
    CRichEditWnd& GetChatPane() { return m_ChatPane; }
    CChatToolBar& GetChatToolBar() { return m_ChatToolBar; }
    BYTE GetListDisplayFlag() const { return m_cbDisplayFlag; }
    bool GetItemBarGameCoin() const { return m_bItemGameCoin; }

    // How many panels live (for leak checks).
    static LONG GetLiveCount() { return s_lLiveCount; }

    CWnd* GetOwnerWindow() override { return this; }
    void DrawSkinView(CDC* pDC, int cx, int cy) override;
    using CSkinWnd::DrawSkinView;

protected:
    ~CRoomViewItemControl() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    class CListSink : public IUserListSink
    {
    public:
        explicit CListSink(CRoomViewItemControl* pOwner) : m_pOwner(pOwner) {}
        ULONG AddRef() override { return 1; }
        ULONG Release() override { return 1; }
        HRESULT QueryInterface(REFGUID iid, void** out) override { return m_pOwner->QueryInterface(iid, out); }
        void OnUserListDblClick(NMHDR*, LRESULT*) override {}
        void OnUserListRClick(NMHDR* pNMHDR, LRESULT* pResult) override { m_pOwner->OnUserListRClick(pNMHDR, pResult); }
        void OnUserListClick(NMHDR* pNMHDR, LRESULT* pResult) override { m_pOwner->OnUserListClick(pNMHDR, pResult); }
        void OnUserListMouseMove(int, bool) override {}
        void OnUserListKillFocus() override { m_pOwner->OnUserListKillFocus(); }

    private:
        CRoomViewItemControl* m_pOwner;
    };

    CUserItem* RowUser(NMHDR* pNMHDR, int& nRow) const;

    LONG m_lRefCount;
    CListSink m_ListSink;
    CRoomViewItem* m_pView;
    CSkinTab m_ListTab;
    CSkinUserListView m_UserList;
    CTeamListView m_TeamList;
    // The team list's rows point into these.
    CArray<tagTeamItem, const tagTeamItem&> m_Teams;
    HBITMAP m_hScrollBar;
    CChatToolBar m_ChatToolBar;
    CRichEditWnd m_ChatPane;
    CChatBar m_ChatBar;
    CRect m_rcListArea;
    DWORD m_dwChatTarget;
    DWORD m_dwLastSendTime;
    bool m_bChatEnabled;
    BYTE m_cbDisplayFlag;
    bool m_bItemGameCoin;
    bool m_bItemSecondCurrency;

    static LONG s_lLiveCount;
};

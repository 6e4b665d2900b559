// The match view of a match room as the room view drives it: the room's
// records (room information, group state, users) become the match view's
// own, and what the match view asks of its room (requests, boxes, the own
// user, the ranking list and its two web panes) is answered by the room
// view it was made for.
//
// Ownership: the room view owns the adapter (it deletes what its factory
// made); the adapter owns the match view, its ranking list and its panes.
// Users are the room's; the list keeps them only until the room reports
// them deleted.
#pragma once

#include <afxwin.h>

#include <memory>
#include <vector>

#include "MatchListCtrl.h"
#include "MatchRoomHost.h"
#include "RoomViewItemMatch.h"
#include "RoomViewNeighbours.h"

class CRoomViewItem;

// The ranking list of the match view over the list control.
class CMatchRankList : public IMatchRankList
{
public:
    bool CreateList(CWnd* pParent, DWORD dwStyle, UINT nID) override;
    CWnd* GetListWnd() override { return &m_List; }
    void InitMatchList(int nWidth, int nHeight) override { m_List.InitMatchList(nWidth, nHeight); }
    void RemoveUnrankedUsers() override { m_List.RemoveUnrankedUsers(); }
    int GetRowCount() override;
    CUserItem* GetRowUser(int nRow) override;

    CMatchListCtrl& GetList() { return m_List; }

private:
    CMatchListCtrl m_List;
};

class CRoomMatchViewAdapter : public IRoomMatchView, public IMatchRoomHost
{
public:
    CRoomMatchViewAdapter();
    ~CRoomMatchViewAdapter() override;

    // Start-up: every room view made from then on gets one for its match
    // view; RemoveFactory leaves the room views without.
    static void InstallFactory();
    static void RemoveFactory();

    // The match record of the room information's match description.
    static void BuildMatchRecord(const tagRoomInfo& info, tagMatchRecord& record);

    // IRoomMatchView: the parent is the room view the adapter serves.
    bool CreateMatchView(CWnd* pParent, UINT nID) override;
    HWND GetMatchHwnd() override { return m_MatchView.GetSafeHwnd(); }
    void SetMatchDescription(const tagRoomInfo& info) override;
    void SetMatchState(const tagRoomGroupState& state, CUserItem* pUserItem) override;
    void ShowSignButtons(DWORD dwCode) override { m_MatchView.ShowSignButtons(dwCode); }
    void ShowMatchMessage(DWORD dwKind, DWORD dwIndex) override { m_MatchView.ShowMatchMessage(dwKind, dwIndex); }
    void OnSignResult(DWORD dwCode) override { m_MatchView.OnSignResult(dwCode); }
    void InsertRankUser(CUserItem* pUserItem) override;
    void UpdateRankUser(CUserItem* pUserItem) override;
    void RemoveRankUser(CUserItem* pUserItem) override;
    void SortRank() override;
    void SetRankRedraw(bool bRedraw) override;

    // IMatchRoomHost
    CGameRoom* GetGameRoom() override;
    CUserItem* GetSelfUserItem() override;
    void RequestJoinMatch() override;
    void RequestQuitMatch() override;
    void SendTextToGameClient(DWORD dwId, LPCSTR pszText) override;
    int ShowSkinMessageBox(LPCSTR pszText, UINT nStyle, const MsgBoxParams* pParams) override;
    IMatchRankList* GetMatchList() override { return &m_RankList; }
    ICycleMatchPage* CreateMatchPage(CWnd* pParent) override;

    CRoomViewItemMatch& GetMatchView() { return m_MatchView; }
    CMatchListCtrl& GetRankList() { return m_RankList.GetList(); }

private:
    CRoomMatchViewAdapter(const CRoomMatchViewAdapter&) = delete;
    CRoomMatchViewAdapter& operator=(const CRoomMatchViewAdapter&) = delete;

    // The own-ranking box shows the row count: repaint it with the list.
    void RepaintRanking();

    CRoomViewItem* m_pRoomView;
    CMatchRankList m_RankList;
    std::vector<std::unique_ptr<ICycleMatchPage>> m_Pages;
    // Last: its window and the children in it go first.
    CRoomViewItemMatch m_MatchView;
};

#include "RoomMatchViewAdapter.h"

#include <algorithm>
#include <new>

#include "RecordCodec.h"
#include "RoomViewItem.h"
#include "TextUnit.h"
#include "UserItem.h"
#include "WebDialogs.h"

namespace
{

// A web pane of the match view: the hall's page child inside the view.
class CMatchWebPage : public ICycleMatchPage
{
public:
    bool Create(CWnd* pParent) { return m_Page.Create(pParent) != FALSE; }
    void Navigate(LPCSTR pszUrl) override
    {
        m_Page.m_strURL = pszUrl;
        m_Page.Navigate(pszUrl);
    }
    void MoveWindow(int x, int y, int cx, int cy) override { m_Page.MoveWindow(x, y, cx, cy); }
    void ShowWindow(int nCmdShow) override { m_Page.ShowWindow(nCmdShow); }

private:
    CMailHtmlDlg m_Page;
};

const WORD kNoGroup = 0xFFFF;
const BYTE kStartAtTime = 1;

} // namespace

// ------------------------------------------------------------------ CMatchRankList

bool CMatchRankList::CreateList(CWnd* pParent, DWORD dwStyle, UINT nID)
{
    return m_List.Create(dwStyle, CRect(0, 0, 0, 0), pParent, nID) != FALSE;
}

int CMatchRankList::GetRowCount()
{
    return m_List.GetSafeHwnd() != NULL ? m_List.GetItemCount() : 0;
}

CUserItem* CMatchRankList::GetRowUser(int nRow)
{
    if (m_List.GetSafeHwnd() == NULL || nRow < 0 || nRow >= m_List.GetItemCount())
        return NULL;
    return reinterpret_cast<CUserItem*>(m_List.GetItemData(nRow));
}

// ------------------------------------------------------------------ CRoomMatchViewAdapter

CRoomMatchViewAdapter::CRoomMatchViewAdapter() : m_pRoomView(NULL), m_MatchView(this) {}

CRoomMatchViewAdapter::~CRoomMatchViewAdapter()
{
    // The list and the panes are children of the view: the windows go
    // before the objects behind them.
    if (m_MatchView.GetSafeHwnd() != NULL)
        m_MatchView.DestroyWindow();
}

void CRoomMatchViewAdapter::InstallFactory()
{
    CRoomViewItem::s_MatchViewFactory = []() -> IRoomMatchView* { return new (std::nothrow) CRoomMatchViewAdapter; };
}

void CRoomMatchViewAdapter::RemoveFactory()
{
    CRoomViewItem::s_MatchViewFactory = nullptr;
}

// The match description of the room information, field by field, in the
// order the room server sends both; the id word is the room's first word,
// whose high bits carry the match kind. The award ids are the trailing
// values, the extra award the closing one. The match ends its running
// seconds after a timed start; a match that starts when enough players
// signed up has no end time known in advance.
void CRoomMatchViewAdapter::BuildMatchRecord(const tagRoomInfo& info, tagMatchRecord& record)
{
    memset(&record, 0, sizeof(record));
    const tagMatchDescription& match = info.Match;
    record.dwMatchId = info.dwRoomID;
    TextCopyField(reinterpret_cast<char*>(record.cbReserved1), sizeof(record.cbReserved1), match.szName,
                  GetFieldLength(match.szName, sizeof(match.szName)));
    record.wRunningCount = match.wValue1;
    record.nFeeType = SHORT(match.wValue2);
    record.dwFee = match.dwValue3;
    record.wItemCount = match.wValue4;
    record.dwSignUpSeconds = match.dwValue5;
    record.cbStartMode = match.cbKind;
    record.dwStartValue = match.dwValue6;
    record.dwRunningSeconds = match.wValue7;
    static_assert(sizeof(match.cbTime) == sizeof(record.qwBaseTime), "the base time is one 8-byte word");
    memcpy(&record.qwBaseTime, match.cbTime, sizeof(record.qwBaseTime));
    if (record.cbStartMode == kStartAtTime)
        record.qwMatchTime = record.qwBaseTime + record.dwSignUpSeconds + record.dwStartValue + record.dwRunningSeconds;
    static_assert(ROOM_INFO_MAX_VALUES <= kMaxMatchAwards, "every value of the room fits the record");
    record.dwAwardCount = std::min(info.dwValueCount, DWORD(ROOM_INFO_MAX_VALUES));
    memcpy(record.dwAwardIds, info.dwValues, record.dwAwardCount * sizeof(DWORD));
    record.dwExtraAwardId = info.dwTailValue;
}

bool CRoomMatchViewAdapter::CreateMatchView(CWnd* pParent, UINT nID)
{
    m_pRoomView = dynamic_cast<CRoomViewItem*>(pParent);
    if (m_pRoomView == NULL || m_MatchView.GetSafeHwnd() != NULL)
        return false;
    // Hidden: the room view shows it once it knows the room is a match room.
    // It fills the room view, which keeps it so when it is resized.
    CRect rcClient;
    pParent->GetClientRect(&rcClient);
    return m_MatchView.Create(NULL, NULL, WS_CHILD | WS_CLIPCHILDREN, rcClient, pParent, nID) != FALSE;
}

void CRoomMatchViewAdapter::SetMatchDescription(const tagRoomInfo& info)
{
    tagMatchRecord record;
    BuildMatchRecord(info, record);
    m_MatchView.SetMatchInfo(&record);
    // The room is set up now: its id is known for the two pages.
    m_MatchView.LoadMatchPages();
}

// The group's value is its countdown in milliseconds; a state without a
// current group changes nothing.
void CRoomMatchViewAdapter::SetMatchState(const tagRoomGroupState& state, CUserItem* pUserItem)
{
    if (state.dwGroupIndex >= kNoGroup)
        return;
    m_MatchView.SetMatchState(WORD(state.dwGroupIndex), state.dwValue, state.dwState, state.dwValue);
    m_MatchView.UpdateSelfSignState(pUserItem);
}

void CRoomMatchViewAdapter::InsertRankUser(CUserItem* pUserItem)
{
    if (pUserItem == NULL)
        return;
    m_RankList.GetList().InsertUserItem(pUserItem);
    m_MatchView.UpdateSelfSignState(pUserItem);
    RepaintRanking();
}

void CRoomMatchViewAdapter::UpdateRankUser(CUserItem* pUserItem)
{
    if (pUserItem == NULL)
        return;
    m_RankList.GetList().UpdateUserItem(pUserItem);
    m_MatchView.UpdateSelfSignState(pUserItem);
    RepaintRanking();
}

void CRoomMatchViewAdapter::RemoveRankUser(CUserItem* pUserItem)
{
    if (pUserItem != NULL && m_RankList.GetList().DeleteUserItem(pUserItem))
        RepaintRanking();
}

void CRoomMatchViewAdapter::SortRank()
{
    m_RankList.GetList().SortUserItems();
    RepaintRanking();
}

void CRoomMatchViewAdapter::SetRankRedraw(bool bRedraw)
{
    CWnd& list = m_RankList.GetList();
    if (list.GetSafeHwnd() == NULL)
        return;
    list.SetRedraw(bRedraw ? TRUE : FALSE);
    // Rows that came while it drew nothing show now.
    if (bRedraw)
        list.Invalidate();
}

void CRoomMatchViewAdapter::RepaintRanking()
{
    if (m_MatchView.GetSafeHwnd() == NULL)
        return;
    if (CWidget* pRanking = m_MatchView.GetWidget(3))
        pRanking->MarkDirtyFull();
    m_MatchView.Invalidate(FALSE);
}

CGameRoom* CRoomMatchViewAdapter::GetGameRoom()
{
    return m_pRoomView != NULL ? m_pRoomView->GetGameRoom() : NULL;
}

CUserItem* CRoomMatchViewAdapter::GetSelfUserItem()
{
    return m_pRoomView != NULL ? m_pRoomView->GetMeUserItem() : NULL;
}

void CRoomMatchViewAdapter::RequestJoinMatch()
{
    if (m_pRoomView != NULL)
        m_pRoomView->RequestJoinMatch();
}

void CRoomMatchViewAdapter::RequestQuitMatch()
{
    if (m_pRoomView != NULL)
        m_pRoomView->RequestQuitMatch();
}

void CRoomMatchViewAdapter::SendTextToGameClient(DWORD dwId, LPCSTR pszText)
{
    if (m_pRoomView != NULL)
        m_pRoomView->SendTextToGameClient(dwId, pszText);
}

int CRoomMatchViewAdapter::ShowSkinMessageBox(LPCSTR pszText, UINT nStyle, const MsgBoxParams* pParams)
{
    return m_pRoomView != NULL ? m_pRoomView->ShowMessageBox(pszText, nStyle, pParams) : 0;
}

ICycleMatchPage* CRoomMatchViewAdapter::CreateMatchPage(CWnd* pParent)
{
    std::unique_ptr<CMatchWebPage> pPage(new (std::nothrow) CMatchWebPage);
    if (pPage == NULL || !pPage->Create(pParent))
        return NULL;
    m_Pages.push_back(std::move(pPage));
    return m_Pages.back().get();
}

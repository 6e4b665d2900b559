#include "RoomViewItemMatch.h"

#include <afxcmn.h>
#include <algorithm>
#include <tinyxml.h>

#include <IniFile.h>
#include <XTVBufferDC.h>

#include "AsyncDownLoader.h"
#include "GameRoom.h"
#include "GlobalUnits.h"
#include "HallMsgBox.h"
#include "UserItem.h"

namespace
{
const DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | LVS_NOCOLUMNHEADER | LVS_ALIGNLEFT | LVS_OWNERDRAWFIXED | LVS_REPORT;
static_assert(kListStyle == 0x52004C01, "match list style");
const UINT kCountdownMs = 1000;
const int kUrlChars = 256;
const char kMatchFolder[] = "gameroom\\MatchViewItem\\";
const char kAwardHeaders[] = "Content-Type: application/x-www-form-urlencoded\r\n";
const char kQuitQuestion[] = "您确定要退赛么？";
const UINT kQuestionStyle = 20;
const UINT kWarningQuestionStyle = 68;
const UINT kNoticeStyle = 32;

CString ChildText(const TiXmlElement* pParent, const char* pszName)
{
    const TiXmlElement* pChild = pParent->FirstChildElement(pszName);
    const char* text = pChild != NULL ? pChild->GetText() : NULL;
    CString result(text != NULL ? text : "");
    CGlobalUnits::Utf8ToText(result);
    return result;
}

CString AwardText(const TiXmlElement* pRoot, DWORD dwAwardId, bool& bFound)
{
    CString name;
    name.Format("AWARD%u", unsigned(dwAwardId));
    const TiXmlElement* pAward = pRoot->FirstChildElement(name);
    bFound = pAward != NULL;
    if (pAward == NULL)
        return "";
    const CString title = ChildText(pAward, "MATCH_REWARD_NAME");
    const CString detail = ChildText(pAward, "REWARD_DETAIL");
    if (detail.IsEmpty())
        return title;
    CString text;
    text.Format("%s(%s)", (LPCSTR)title, (LPCSTR)detail);
    return text;
}
} // namespace

BEGIN_MESSAGE_MAP(CRoomViewItemMatch, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_NOTIFY(NM_CUSTOMDRAW, CRoomViewItemMatch::IDC_MATCH_LIST, OnListCustomDraw)
    ON_MESSAGE(CRoomViewItemMatch::WM_AWARD_REPLY, OnAwardReply)
END_MESSAGE_MAP()

CRoomViewItemMatch::CRoomViewItemMatch(IMatchRoomHost* pHost)
    : m_EventBuildHelper(&m_WidgetManager), m_pHost(pHost), m_NewsWidget(this), m_SignWidget(this),
      m_StatusWidget(this), m_UserList(this), m_pTitlePage(NULL), m_pDescribePage(NULL), m_dwMatchState(0),
      m_dwStateValue(0), m_wStateWord(0xFFFF), m_bSignShown(false), m_bStarted(false), m_dwSavedSignUp(0),
      m_dwSavedStart(0), m_dwOwnSignStatus(0), m_cbMatchKind(0)
{
    memset(&m_Record, 0, sizeof(m_Record));
    ResetCountdowns();
}

CRoomViewItemMatch::~CRoomViewItemMatch() {}

CButtonWidget& CRoomViewItemMatch::GetButton(int nID)
{
    switch (nID) {
    case IDC_SIGN_IN: return m_btSignIn;
    case IDC_QUIT_SIGN: return m_btQuitSign;
    case IDC_QUIT_ROOM: return m_btQuitRoom;
    default: return m_btDetail;
    }
}

CWidget* CRoomViewItemMatch::GetWidget(int nIndex)
{
    switch (nIndex) {
    case 0: return &m_NewsWidget;
    case 1: return &m_SignWidget;
    case 2: return &m_StatusWidget;
    default: return &m_UserList;
    }
}

DWORD CRoomViewItemMatch::AwardCount() const
{
    return std::min(m_Record.dwAwardCount, DWORD(kMaxMatchAwards));
}

CString CRoomViewItemMatch::GetAwardText(int nIndex) const
{
    return nIndex >= 0 && nIndex < kMaxMatchAwards ? m_strAwards[nIndex] : CString();
}

int CRoomViewItemMatch::GetRankRowCount()
{
    IMatchRankList* pList = m_pHost != NULL ? m_pHost->GetMatchList() : NULL;
    return pList != NULL ? pList->GetRowCount() : 0;
}

CUserItem* CRoomViewItemMatch::GetSelfUserItem()
{
    return m_pHost != NULL ? m_pHost->GetSelfUserItem() : NULL;
}

LRESULT CRoomViewItemMatch::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_EventBuildHelper.BuildEvent(m_hWnd, message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

int CRoomViewItemMatch::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_WidgetManager.SetParentHwnd(m_hWnd);
    IMatchRankList* pList = m_pHost != NULL ? m_pHost->GetMatchList() : NULL;
    if (pList != NULL)
        pList->CreateList(this, kListStyle, IDC_MATCH_LIST);

    m_btSignIn.Create(IDC_SIGN_IN, this, "", BUTTON_STYLE_NORMAL);
    m_btQuitSign.Create(IDC_QUIT_SIGN, this, "", BUTTON_STYLE_NORMAL);
    m_btQuitRoom.Create(IDC_QUIT_ROOM, this, "", BUTTON_STYLE_NORMAL);
    m_btDetail.Create(IDC_MATCH_DETAIL, this, "", BUTTON_STYLE_NORMAL);
    m_WidgetManager.AddWidget(&m_btSignIn);
    m_WidgetManager.AddWidget(&m_btQuitSign);
    m_WidgetManager.AddWidget(&m_btQuitRoom);
    m_WidgetManager.AddWidget(&m_NewsWidget);
    m_WidgetManager.AddWidget(&m_SignWidget);
    m_WidgetManager.AddWidget(&m_UserList);
    m_WidgetManager.AddWidget(&m_StatusWidget);
    m_WidgetManager.AddWidget(&m_btDetail);
    m_btQuitSign.SetVisible(false);

    CWnd* pListWnd = pList != NULL ? pList->GetListWnd() : NULL;
    m_Images.LoadMatchImages(CString(g_GlobalUnits.GetResourceDirectory()) + kMatchFolder,
                             pListWnd != NULL ? pListWnd->GetSafeHwnd() : NULL);
    m_btSignIn.SetImageBack(&m_Images.m_SignIn);
    m_btQuitSign.SetImageBack(&m_Images.m_QuitSign);
    m_btQuitRoom.SetImageBack(&m_Images.m_QuitRoom);
    m_btDetail.SetImageBack(&m_Images.m_MatchDetail);
    if (pList != NULL)
        pList->InitMatchList(LIST_WIDTH, LIST_HEIGHT);

    if (m_pHost != NULL) {
        m_pTitlePage = m_pHost->CreateMatchPage(this);
        m_pDescribePage = m_pHost->CreateMatchPage(this);
    }
    return 0;
}

void CRoomViewItemMatch::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    const int left0 = (cx - CMatchImages::kBackWidth) / 2 + 22;
    if (m_pTitlePage != NULL)
        m_pTitlePage->MoveWindow(left0, 10, 750, 98);

    int left = left0;
    const int newsWidth = int(m_Images.m_MatchNews.GetWidth()), newsHeight = int(m_Images.m_MatchNews.GetHeight());
    if (m_Images.m_MatchNews.IsValid()) {
        m_NewsWidget.Resize(left0, 108, newsWidth, newsHeight);
        left = left0 + newsWidth;
    }
    m_btDetail.Move(left + 460, 24);
    m_UserList.Resize(left + 310, 41, 224, 555);
    IMatchRankList* pList = m_pHost != NULL ? m_pHost->GetMatchList() : NULL;
    CWnd* pListWnd = pList != NULL ? pList->GetListWnd() : NULL;
    if (pListWnd != NULL && pListWnd->GetSafeHwnd() != NULL)
        pListWnd->MoveWindow(left + 320, 183, LIST_WIDTH, LIST_HEIGHT, TRUE);

    left += 10;
    m_SignWidget.Resize(left, 114, 285, 185);
    const int buttonWidth = int(m_Images.m_SignIn.GetWidth() / 4), buttonHeight = int(m_Images.m_SignIn.GetHeight());
    m_btSignIn.Resize(left, 309, buttonWidth, buttonHeight);
    m_btQuitSign.Resize(left, 309, buttonWidth, buttonHeight);
    m_btQuitRoom.Resize(left + buttonWidth + 8, 309, buttonWidth, buttonHeight);

    const int statusTop = newsHeight + 118;
    const int statusWidth = newsWidth + 10 + 285 - 20;
    m_StatusWidget.Resize(left0, statusTop, statusWidth, 97);
    if (m_pDescribePage != NULL)
        m_pDescribePage->MoveWindow(left0, statusTop + 97 - 15, statusWidth, 169);

    if (m_Images.m_MatchBack.IsValid() && m_Images.m_Background.IsValid() &&
        (long(m_Images.m_Background.GetWidth()) < cx || long(m_Images.m_Background.GetHeight()) < cy))
        m_Images.m_Background.Resample(cx, cy, PICTURE_RESAMPLE_SMOOTH);
}

void CRoomViewItemMatch::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    IMatchRankList* pList = m_pHost != NULL ? m_pHost->GetMatchList() : NULL;
    CWnd* pListWnd = pList != NULL ? pList->GetListWnd() : NULL;
    if (pListWnd != NULL && ::IsWindow(pListWnd->GetSafeHwnd())) {
        CRect rc;
        pListWnd->GetWindowRect(&rc);
        ScreenToClient(&rc);
        dcPaint.ExcludeClipRect(&rc);
    }
    // The web panes are children of their own: exclude every child window.
    for (CWnd* pChild = GetWindow(GW_CHILD); pChild != NULL; pChild = pChild->GetWindow(GW_HWNDNEXT)) {
        if (pChild == pListWnd || !(pChild->GetStyle() & WS_VISIBLE))
            continue;
        CRect rc;
        pChild->GetWindowRect(&rc);
        ScreenToClient(&rc);
        dcPaint.ExcludeClipRect(&rc);
    }
    CXTVBufferDC dcBuffer(dcPaint);
    if (m_Images.m_Background.IsValid())
        m_Images.m_Background.Draw(dcBuffer.GetSafeHdc(), 0, 0);
    CWidgetDC dc(&dcBuffer, rcClient);
    m_WidgetManager.DrawWidgetsTo(&dc);
}

BOOL CRoomViewItemMatch::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CRoomViewItemMatch::MarkAllDirtyAndPaint()
{
    m_WidgetManager.MarkAllDirty();
    if (m_hWnd != NULL)
        Invalidate(FALSE);
}

void CRoomViewItemMatch::ResetCountdowns()
{
    m_bSignShown = false;
    m_bStarted = false;
    m_Record.dwSignUpSeconds = m_dwSavedSignUp;
    m_Record.dwStartValue = m_dwSavedStart;
}

CString CRoomViewItemMatch::ReadMatchUrl(LPCSTR pszKey) const
{
    CIniFile ini(CString(g_GlobalUnits.GetWorkDirectory()) + "Config\\Urls.ini");
    char buffer[kUrlChars + 1] = "";
    ini.GetString("MatchUrl", pszKey, buffer, "", sizeof(buffer));
    return buffer;
}

void CRoomViewItemMatch::SetMatchInfo(const tagMatchRecord* pRecord)
{
    if (pRecord == NULL)
        return;
    m_Record = *pRecord;
    m_dwSavedSignUp = m_Record.dwSignUpSeconds;
    m_dwSavedStart = m_Record.dwStartValue;
    // A new record: the progress bar measures against it.
    m_StatusWidget.ResetFirstValues();

    const DWORD flags = m_Record.dwMatchId & 0xFF0000;
    const bool bit16 = (flags & 0x10000) != 0, bit17 = (flags & 0x20000) != 0;
    m_cbMatchKind = bit16 && bit17 ? 4 : bit16 ? 3 : bit17 ? 2 : 1;
    m_NewsWidget.SetShownTime(m_Record.qwMatchTime - m_Record.dwRunningSeconds);
    RequestAwards();

    if (m_Record.cbStartMode == 1) {
        m_SignWidget.SetShowClock(1);
        m_SignWidget.SetStartTime(m_Record.qwBaseTime + m_Record.dwSignUpSeconds + m_Record.dwStartValue);
        if (m_hWnd != NULL)
            SetTimer(IDT_COUNTDOWN, kCountdownMs, NULL);
        LONGLONG value = 0;
        m_btSignIn.SetDisabled(GetPhase(value) != MATCH_PHASE_START);
    } else if (m_Record.cbStartMode == 2) {
        m_SignWidget.SetStartTime(0);
        m_SignWidget.SetPlayersNeeded(m_Record.dwStartValue);
    }
    MarkAllDirtyAndPaint();
}

void CRoomViewItemMatch::RequestAwards()
{
    const CString base = ReadMatchUrl("RewardUrl");
    if (base.IsEmpty())
        return;
    CGameRoom* pRoom = m_pHost != NULL ? m_pHost->GetGameRoom() : NULL;
    CString url;
    url.Format("%s?KindID=%u&ID=", (LPCSTR)base, unsigned(pRoom != NULL ? pRoom->GetGameId() : 0));
    CString ids;
    for (DWORD i = 0; i < AwardCount(); ++i) {
        CString id;
        id.Format(i == 0 ? "%u" : ",%u", unsigned(m_Record.dwAwardIds[i]));
        ids += id;
    }
    if (m_Record.dwExtraAwardId != 0) {
        CString id;
        id.Format(ids.IsEmpty() ? "%u" : ",%u", unsigned(m_Record.dwExtraAwardId));
        ids += id;
    }
    url += ids;
    if (m_hWnd != NULL)
        g_AsyncDownLoader.AddTask(0, url, kAwardHeaders, m_hWnd, WM_AWARD_REPLY);
}

LRESULT CRoomViewItemMatch::OnAwardReply(WPARAM wParam, LPARAM lParam)
{
    const tagAsyncDownHead* pHead = (const tagAsyncDownHead*)wParam;
    const tagAsyncDownResult* pResult = (const tagAsyncDownResult*)lParam;
    if (pHead == NULL || pHead->dwCode != ASYNC_DOWN_FINISHED || pResult == NULL || pResult->pData == NULL)
        return 0;
    const CString text((const char*)pResult->pData, int(std::min(pResult->dwLength, DWORD(0x7FFFFFFF))));
    TiXmlDocument document;
    document.Parse(text);
    const TiXmlElement* pRoot = document.Error() ? NULL : document.RootElement();
    if (pRoot == NULL)
        return 0;
    for (DWORD i = 0; i < AwardCount(); ++i) {
        bool found = false;
        const CString award = AwardText(pRoot, m_Record.dwAwardIds[i], found);
        if (found)
            m_strAwards[i] = award;
    }
    if (m_Record.dwExtraAwardId != 0) {
        bool found = false;
        const CString award = AwardText(pRoot, m_Record.dwExtraAwardId, found);
        if (found)
            m_strExtraAward = award;
    }
    m_NewsWidget.MarkDirtyFull();
    return 0;
}

void CRoomViewItemMatch::LoadMatchPages()
{
    CGameRoom* pRoom = m_pHost != NULL ? m_pHost->GetGameRoom() : NULL;
    const DWORD roomId = pRoom != NULL ? pRoom->GetId() : 0;
    struct Page
    {
        ICycleMatchPage* page;
        const char* key;
    };
    const Page pages[] = {{m_pTitlePage, "TitleUrl"}, {m_pDescribePage, "DescribeUrl"}};
    for (const Page& page : pages) {
        if (page.page == NULL)
            continue;
        CString url;
        url.Format("%s?%u", (LPCSTR)ReadMatchUrl(page.key), unsigned(roomId));
        page.page->Navigate(url);
        page.page->ShowWindow(SW_SHOW);
    }
}

void CRoomViewItemMatch::SetMatchState(WORD wWord, DWORD dwValue, DWORD dwState, DWORD dwMilliseconds)
{
    m_wStateWord = wWord;
    m_dwStateValue = dwValue;
    m_dwMatchState = dwState;
    switch (dwState) {
    case 0: {
        m_btSignIn.SetDisabled(true);
        m_btQuitSign.SetDisabled(true);
        if (IMatchRankList* pList = m_pHost != NULL ? m_pHost->GetMatchList() : NULL)
            pList->RemoveUnrankedUsers();
        if (m_hWnd != NULL)
            SetTimer(IDT_COUNTDOWN, kCountdownMs, NULL);
        ResetCountdowns();
        break;
    }
    case 1:
        m_btSignIn.SetVisible(true);
        m_btSignIn.SetDisabled(true);
        m_btQuitSign.SetVisible(false);
        m_btQuitSign.SetDisabled(true);
        ResetCountdowns();
        if (dwMilliseconds != 0)
            m_Record.dwSignUpSeconds = dwMilliseconds / 1000;
        break;
    case 2:
        if (m_bSignShown)
            return;
        m_btSignIn.SetVisible(true);
        m_btSignIn.SetDisabled(false);
        m_btQuitSign.SetVisible(false);
        m_btQuitSign.SetDisabled(true);
        m_bSignShown = true;
        if (m_Record.cbStartMode == 1 && dwMilliseconds != 0)
            m_Record.dwStartValue = dwMilliseconds / 1000;
        break;
    case 3: {
        const LONGLONG now = AfxGetCurrentTime().GetTime();
        m_Record.dwRunningCountdown = LONGLONG(m_Record.qwMatchTime) > now ? DWORD(LONGLONG(m_Record.qwMatchTime) - now)
                                                                           : m_Record.dwRunningSeconds;
        m_btQuitSign.SetVisible(false);
        m_btSignIn.SetVisible(true);
        m_btSignIn.SetDisabled(true);
        if (m_bStarted)
            return;
        m_bStarted = true;
        m_UserList.MarkDirtyFull();
        break;
    }
    case 4:
        m_btSignIn.SetDisabled(true);
        m_btQuitSign.SetDisabled(true);
        ResetCountdowns();
        break;
    default: m_btSignIn.SetDisabled(true); break;
    }
    MarkAllDirtyAndPaint();
}

void CRoomViewItemMatch::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != IDT_COUNTDOWN) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    // The countdowns stop at zero: the boxes show what is left.
    switch (m_dwMatchState) {
    case 1:
        if (m_Record.dwSignUpSeconds > 0)
            --m_Record.dwSignUpSeconds;
        break;
    case 2:
        if (m_Record.cbStartMode == 1 && m_Record.dwStartValue > 0)
            --m_Record.dwStartValue;
        break;
    case 3:
        if (m_Record.wRunningCount == 1 && m_Record.dwRunningCountdown > 0)
            --m_Record.dwRunningCountdown;
        break;
    default: KillTimer(IDT_COUNTDOWN); break;
    }
    m_StatusWidget.MarkDirty();
    m_SignWidget.MarkDirty();
    Invalidate(FALSE);
}

void CRoomViewItemMatch::UpdateSelfSignState(CUserItem* pUserItem)
{
    if (pUserItem == NULL || pUserItem->GetUserID() != g_GlobalUnits.GetGlobalUserData()->dwUserID)
        return;
    m_dwOwnSignStatus = pUserItem->GetSecondExtension()->dwValue1;
    if (m_dwOwnSignStatus == 1 && m_dwMatchState == 2) {
        m_btSignIn.SetDisabled(true);
        m_btQuitSign.SetVisible(true);
        m_btQuitSign.SetDisabled(false);
        MarkAllDirtyAndPaint();
    }
}

void CRoomViewItemMatch::ShowSignButtons(DWORD dwResult)
{
    if (dwResult == 0) {
        m_btSignIn.SetVisible(false);
        m_btQuitSign.SetVisible(true);
        m_btQuitSign.SetDisabled(false);
    } else {
        m_btSignIn.SetVisible(true);
        m_btSignIn.SetDisabled(false);
        ShowSignError(dwResult);
    }
    MarkAllDirtyAndPaint();
}

void CRoomViewItemMatch::OnSignResult(DWORD dwCode)
{
    if (dwCode == 8) {
        m_btSignIn.SetVisible(true);
        m_btQuitSign.SetVisible(false);
        if (m_dwMatchState == 2)
            m_btSignIn.SetDisabled(false);
        else if (m_dwMatchState == 3)
            m_btSignIn.SetDisabled(true);
        MarkAllDirtyAndPaint();
    } else if (dwCode == 9)
        ShowMatchBox("退赛失败，不允许退赛！", 15, kNoticeStyle);
}

void CRoomViewItemMatch::ShowMatchMessage(DWORD dwKind, DWORD dwNumber)
{
    if (m_pHost == NULL)
        return;
    if (dwKind == 1 && m_Record.dwExtraAwardId != 0)
        m_pHost->SendTextToGameClient(0, m_strExtraAward);
    else if (dwKind == 0 && dwNumber >= 1 && dwNumber <= AwardCount())
        m_pHost->SendTextToGameClient(m_Record.dwAwardIds[dwNumber - 1], m_strAwards[dwNumber - 1]);
}

void CRoomViewItemMatch::ShowSignError(DWORD dwResult)
{
    static const UINT kTextIds[] = {0, 12500, 12501, 12502, 12503, 12505, 12504, 12506};
    if (dwResult == 0)
        return;
    CString text;
    if (dwResult < sizeof(kTextIds) / sizeof(kTextIds[0]))
        text = g_GlobalUnits.LoadResString(kTextIds[dwResult]);
    else
        text.Format("未知错误!错误号:%d", int(dwResult));
    ShowMatchBox(text, 10, kNoticeStyle);
}

int CRoomViewItemMatch::ShowMatchBox(LPCSTR pszText, int nTimeoutSeconds, UINT nStyle)
{
    MsgBoxParams params;
    params.timeoutSeconds = nTimeoutSeconds;
    params.useCaptions = 1;
    lstrcpynA(params.captions[MSGBOX_OK], "确定", MAX_PATH);
    lstrcpynA(params.captions[MSGBOX_NO], "否", MAX_PATH);
    lstrcpynA(params.captions[MSGBOX_YES], "是", MAX_PATH);
    lstrcpynA(params.captions[MSGBOX_RETRY], "重试", MAX_PATH);
    // The room's box draws other icons than the codes given: the icon bits
    // are replaced, not added to.
    UINT icon = nStyle & 0xF0;
    switch (icon) {
    case 0x10: icon = 0x40; break;
    case 0x20: icon = 0x10; break;
    case 0x40: icon = 0x20; break;
    default: break;
    }
    const UINT style = (nStyle & ~0xF0u) | icon;
    return m_pHost != NULL ? m_pHost->ShowSkinMessageBox(pszText, style, &params) : 0;
}

void CRoomViewItemMatch::OnSignUpClick()
{
    CString question;
    if (m_Record.nFeeType == 1) {
        if (m_Record.dwFee != 0)
            question.Format("报名将扣除%u金蛋，是否继续？", unsigned(m_Record.dwFee));
    } else if (m_Record.dwFee != 2) {
        ShowMatchBox("房间未设置费用类型，报名失败！", 15, kQuestionStyle);
        return;
    } else if (m_Record.wItemCount != 0)
        question.Format("报名将扣除%u的道具，是否继续？", unsigned(m_Record.wItemCount));
    if (!question.IsEmpty() && ShowMatchBox(question, 15, kQuestionStyle) != IDYES)
        return;
    if (m_pHost != NULL)
        m_pHost->RequestJoinMatch();
    m_btSignIn.SetDisabled(true);
    MarkAllDirtyAndPaint();
}

void CRoomViewItemMatch::ButtonClick(int nID)
{
    switch (nID) {
    case IDC_SIGN_IN: OnSignUpClick(); break;
    case IDC_QUIT_SIGN:
        if (ShowMatchBox(kQuitQuestion, 10, kWarningQuestionStyle) == IDYES) {
            if (m_pHost != NULL)
                m_pHost->RequestQuitMatch();
            m_btQuitSign.SetDisabled(true);
            MarkAllDirtyAndPaint();
        }
        break;
    case IDC_QUIT_ROOM:
        if (m_dwOwnSignStatus == 1 && ShowMatchBox(kQuitQuestion, 10, kWarningQuestionStyle) != IDYES)
            break;
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(WM_CLOSE_ROOM, 0, 0);
        break;
    case IDC_MATCH_DETAIL: {
        CString url = ReadMatchUrl("matchdetail");
        if (url.IsEmpty())
            break;
        CString id;
        id.Format("?ID=%d", int(m_Record.dwMatchId));
        url += id;
        OpenUrlInBrowser(url, SW_SHOW);
        break;
    }
    default: break;
    }
}

void CRoomViewItemMatch::OnListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* pDraw = (NMLVCUSTOMDRAW*)pNMHDR;
    *pResult = CDRF_DODEFAULT;
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: *pResult = CDRF_NOTIFYITEMDRAW; break;
    case CDDS_ITEMPREPAINT: *pResult = CDRF_NOTIFYSUBITEMDRAW; break;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        IMatchRankList* pList = m_pHost != NULL ? m_pHost->GetMatchList() : NULL;
        CWnd* pListWnd = pList != NULL ? pList->GetListWnd() : NULL;
        if (pListWnd == NULL)
            break;
        const HWND hList = pListWnd->GetSafeHwnd();
        CUserItem* pUser = pList->GetRowUser(int(pDraw->nmcd.dwItemSpec));
        const bool own = pUser != NULL && pUser->GetUserID() == g_GlobalUnits.GetGlobalUserData()->dwUserID;
        pDraw->clrText = own ? RGB(255, 0, 0) : ListView_GetTextColor(hList);
        pDraw->clrTextBk = ListView_GetTextBkColor(hList);
        break;
    }
    default: break;
    }
}

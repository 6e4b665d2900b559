// CRoomViewItemMatch: the body of a match room: sign-up, withdraw, leave and
// detail buttons, the facts, sign-up, status and own-ranking widgets, the
// ranking list and two web panes. It keeps a copy of the room server's match
// record, runs the countdowns, asks about fees and withdrawals, and loads the
// award names for the game client.
#pragma once

#include <afxwin.h>
#include <stddef.h>

#include <ButtonListener.h>
#include <ButtonWidget.h>
#include <EventBuildHelper.h>
#include <WidgetManager.h>

#include "MatchImages.h"
#include "MatchListCtrl.h"
#include "MatchRoomHost.h"
#include "MatchWidgets.h"

const int kMaxMatchAwards = 256;

// The room server's match record, copied whole.
struct tagMatchRecord
{
    DWORD dwMatchId; // bits 16 and 17 give the match kind
    BYTE cbReserved1[34];
    WORD wRunningCount; // 1: the running countdown moves in state 3
    SHORT nFeeType;     // 1: fee in gold eggs
    BYTE cbReserved2[2];
    DWORD dwFee; // other fee types: 2 marks an item fee
    WORD wItemCount;
    BYTE cbReserved3[2];
    DWORD dwSignUpSeconds;
    BYTE cbStartMode; // 1: at a time, 2: when enough players signed up
    BYTE cbReserved4[3];
    DWORD dwStartValue; // mode 1: seconds to the start; mode 2: players needed
    DWORD dwRunningSeconds;
    DWORD dwRunningCountdown;
    BYTE cbReserved5[8];
    ULONGLONG qwBaseTime;
    ULONGLONG qwMatchTime;
    DWORD dwAwardCount;
    DWORD dwAwardIds[kMaxMatchAwards];
    DWORD dwExtraAwardId; // 0: none
};
static_assert(offsetof(tagMatchRecord, wRunningCount) == 38, "match record layout");
static_assert(offsetof(tagMatchRecord, nFeeType) == 40, "match record layout");
static_assert(offsetof(tagMatchRecord, dwFee) == 44, "match record layout");
static_assert(offsetof(tagMatchRecord, wItemCount) == 48, "match record layout");
static_assert(offsetof(tagMatchRecord, dwSignUpSeconds) == 52, "match record layout");
static_assert(offsetof(tagMatchRecord, cbStartMode) == 56, "match record layout");
static_assert(offsetof(tagMatchRecord, dwStartValue) == 60, "match record layout");
static_assert(offsetof(tagMatchRecord, dwRunningSeconds) == 64, "match record layout");
static_assert(offsetof(tagMatchRecord, dwRunningCountdown) == 68, "match record layout");
static_assert(offsetof(tagMatchRecord, qwBaseTime) == 80, "match record layout");
static_assert(offsetof(tagMatchRecord, qwMatchTime) == 88, "match record layout");
static_assert(offsetof(tagMatchRecord, dwAwardCount) == 96, "match record layout");
static_assert(offsetof(tagMatchRecord, dwAwardIds) == 100, "match record layout");
static_assert(offsetof(tagMatchRecord, dwExtraAwardId) == 1124, "match record layout");
static_assert(sizeof(tagMatchRecord) == 1128, "match record layout");

// The ranking list is a child of the view and asks it for the match state.
class CRoomViewItemMatch : public CWnd, public IButtonListener, public IMatchListOwner
{
public:
    enum
    {
        IDC_SIGN_IN = 1001,
        IDC_QUIT_SIGN = 1002,
        IDC_QUIT_ROOM = 1003,
        IDC_MATCH_LIST = 1004,
        IDC_MATCH_DETAIL = 1005,
        IDT_COUNTDOWN = 102,
        WM_AWARD_REPLY = WM_USER + 1,
        // Posted to the parent: close the room.
        WM_CLOSE_ROOM = WM_USER + 256,
        LIST_WIDTH = 204,
        LIST_HEIGHT = 400
    };

    explicit CRoomViewItemMatch(IMatchRoomHost* pHost);
    virtual ~CRoomViewItemMatch();

    // A null record does nothing.
    virtual void SetMatchInfo(const tagMatchRecord* pRecord);
    virtual void ResetCountdowns();

    void ButtonClick(int nID) override;
    void ButtonDblClk(int) override {}

    DWORD* GetMatchId() { return &m_Record.dwMatchId; }
    DWORD GetMatchState() const override { return m_dwMatchState; }
    void LoadMatchPages();
    void SetMatchState(WORD wWord, DWORD dwValue, DWORD dwState, DWORD dwMilliseconds);
    void UpdateSelfSignState(CUserItem* pUserItem);
    void ShowSignButtons(DWORD dwResult);
    void OnSignResult(DWORD dwCode);
    void ShowMatchMessage(DWORD dwKind, DWORD dwNumber);
    void ShowSignError(DWORD dwResult);
    // Asks through the room's box; the id of the button that closed it.
    int ShowMatchBox(LPCSTR pszText, int nTimeoutSeconds, UINT nStyle);
    CUserItem* GetSelfUserItem();

    // What the widgets read.
    const tagMatchRecord& GetMatchRecord() const { return m_Record; }
    const CMatchImages& GetImages() const { return m_Images; }
    // Phase 0..3 and its countdown value, as the status box computes it.
    int GetPhase(LONGLONG& value) { return m_StatusWidget.GetCountdown(value); }
    BYTE GetMatchKind() const { return m_cbMatchKind; }
    DWORD GetOwnSignStatus() const { return m_dwOwnSignStatus; }
    int GetRankRowCount();
    CString GetAwardText(int nIndex) const;
    CString GetExtraAwardText() const { return m_strExtraAward; }
    CButtonWidget& GetButton(int nID);
    CWidget* GetWidget(int nIndex);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnAwardReply(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CRoomViewItemMatch(const CRoomViewItemMatch&) = delete;
    CRoomViewItemMatch& operator=(const CRoomViewItemMatch&) = delete;

    // The award entries the server's count covers, at most the list's size.
    DWORD AwardCount() const;
    void RequestAwards();
    CString ReadMatchUrl(LPCSTR pszKey) const;
    void OnSignUpClick();
    void MarkAllDirtyAndPaint();

    CWidgetManager m_WidgetManager;
    CEventBuildHelper m_EventBuildHelper;
    IMatchRoomHost* m_pHost;
    CButtonWidget m_btSignIn;
    CButtonWidget m_btQuitSign;
    CButtonWidget m_btQuitRoom;
    CButtonWidget m_btDetail;
    CMatchNewsWidget m_NewsWidget;
    CMatchSignWidget m_SignWidget;
    CMatchStatusWidget m_StatusWidget;
    CMatchUserList m_UserList;
    ICycleMatchPage* m_pTitlePage;
    ICycleMatchPage* m_pDescribePage;
    CMatchImages m_Images;
    tagMatchRecord m_Record;
    DWORD m_dwMatchState;
    DWORD m_dwStateValue;
    WORD m_wStateWord;
    CString m_strAwards[kMaxMatchAwards];
    CString m_strExtraAward;
    bool m_bSignShown;
    bool m_bStarted;
    DWORD m_dwSavedSignUp;
    DWORD m_dwSavedStart;
    DWORD m_dwOwnSignStatus;
    BYTE m_cbMatchKind;
};

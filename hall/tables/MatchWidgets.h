// The drawn widgets of the match room view: the sign-up box (state row and
// clock or player counts), the status box (time left and progress bar), the
// facts panel and the own-ranking box. Each reads the view's match record,
// state and pictures when it draws.
#pragma once

#include <afxwin.h>

#include <Widget.h>
#include <WidgetDC.h>

#include <utility>
#include <vector>

class CRoomViewItemMatch;
struct tagMatchRecord;

// Phases of the match as the boxes count them down.
enum
{
    MATCH_PHASE_NONE = 0,
    MATCH_PHASE_SIGN_UP = 1,
    MATCH_PHASE_START = 2,
    MATCH_PHASE_RUNNING = 3
};

// prefix, the number (or with bIsTime the local hour and minute of the time
// value) in yellow, then suffix; white otherwise.
void DrawSentence(CDC* pDC, int x, int y, LPCSTR pszPrefix, LPCSTR pszSuffix, bool bIsTime, int nNumber,
                  LONGLONG llTime);
// A bulleted label and value line; the result is the line height.
int DrawLabelValue(CDC* pDC, CFont* pLabelFont, CFont* pValueFont, int x, int y, LPCSTR pszLabel, LPCSTR pszValue);

class CMatchSignWidget : public CWidget
{
public:
    explicit CMatchSignWidget(CRoomViewItemMatch* pView);
    ~CMatchSignWidget() override;

    void Draw(CWidgetDC* pDC) override;
    void SetStartTime(ULONGLONG qwTime) { m_qwStartTime = qwTime; }
    void SetPlayersNeeded(DWORD dwCount) { m_dwPlayersNeeded = dwCount; }
    void SetShowClock(BYTE cbShow) { m_cbShowClock = cbShow; }
    ULONGLONG GetStartTime() const { return m_qwStartTime; }
    DWORD GetPlayersNeeded() const { return m_dwPlayersNeeded; }
    bool IsClockShown() const { return m_cbShowClock != 0; }
    // The row of the state strip for a match state.
    static int StateRow(DWORD dwState);

private:
    DWORD m_dwReserved;
    DWORD m_dwPlayersNeeded;
    ULONGLONG m_qwStartTime;
    DWORD m_dwPlayersSigned;
    BYTE m_cbShowClock;
    CRoomViewItemMatch* m_pView;
};

class CMatchStatusWidget : public CWidget
{
public:
    explicit CMatchStatusWidget(CRoomViewItemMatch* pView);
    ~CMatchStatusWidget() override;

    void Draw(CWidgetDC* pDC) override;
    // The phase, and its countdown value through value.
    int GetCountdown(LONGLONG& value);
    // A new record: the progress measures against its values again.
    void ResetFirstValues();
    // The sentence of the head row.
    static CString TimeLeftText(int nPhase, LONGLONG value);
    // The filled part of a bar of length nLength, within 0..nLength.
    static int FilledLength(int nPhase, LONGLONG value, DWORD dwFirstStart, int nLength);

private:
    BYTE m_cbReserved;
    DWORD m_dwFirstSignUp;
    DWORD m_dwFirstStart;
    CRoomViewItemMatch* m_pView;
};

class CMatchNewsWidget : public CWidget
{
public:
    typedef std::vector<std::pair<CString, CString>> Lines;

    explicit CMatchNewsWidget(CRoomViewItemMatch* pView);
    ~CMatchNewsWidget() override;

    void Draw(CWidgetDC* pDC) override;
    void SetShownTime(ULONGLONG qwTime) { m_qwShownTime = qwTime; }
    // The label and value lines of a record.
    static Lines BuildLines(const tagMatchRecord& record, ULONGLONG qwShownTime);

private:
    CRoomViewItemMatch* m_pView;
    BYTE m_cbReserved;
    CFont m_LabelFont;
    CFont m_ValueFont;
    ULONGLONG m_qwShownTime;
};

class CMatchUserList : public CWidget
{
public:
    explicit CMatchUserList(CRoomViewItemMatch* pView);
    ~CMatchUserList() override;

    void Draw(CWidgetDC* pDC) override;
    static CString RankText(WORD wRank, int nRows);

private:
    CRoomViewItemMatch* m_pView;
};

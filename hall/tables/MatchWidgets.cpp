#include "MatchWidgets.h"

#include <time.h>

#include <algorithm>

#include "CustomFaceManagerWnd.h"
#include "GlobalUnits.h"
#include "IUserFaceRes.h"
#include "RoomViewItemMatch.h"
#include "UserItem.h"

namespace
{
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kYellow = RGB(0xFE, 0xF7, 0x00);
const COLORREF kSentenceColour = 0x067CDB;
const COLORREF kLabelColour = 0x543E33;
const COLORREF kValueColour = 0x573E34;
const int kLineGap = 11;

struct SpanParts
{
    int hours; // within the day
    int minutes;
    int seconds;
};

SpanParts SplitSpan(LONGLONG value)
{
    if (value < 0)
        value = 0;
    return {int((value / 3600) % 24), int((value / 60) % 60), int(value % 60)};
}

bool LocalTime(LONGLONG value, struct tm& out)
{
    _tzset();
    __time64_t t = value;
    const struct tm* local = _localtime64(&t);
    if (local == NULL)
        return false;
    out = *local;
    return true;
}

CPoint Origin(CWidgetDC* pDC)
{
    CPoint pt(0, 0);
    pDC->TranslatePoint(&pt);
    return pt;
}

void CreateSongFont(CFont& font, int height, int weight)
{
    font.CreateFont(-height, 0, 0, 0, weight, FALSE, FALSE, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
}
} // namespace

void DrawSentence(CDC* pDC, int x, int y, LPCSTR pszPrefix, LPCSTR pszSuffix, bool bIsTime, int nNumber,
                  LONGLONG llTime)
{
    if (pDC == NULL)
        return;
    CFont font;
    CreateSongFont(font, 14, 300);
    CFont* pOldFont = pDC->SelectObject(&font);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = pDC->SetTextColor(kWhite);
    if (pszPrefix != NULL && *pszPrefix != '\0') {
        pDC->TextOut(x, y, pszPrefix);
        x += pDC->GetTextExtent(pszPrefix).cx + 10;
    }
    CString middle;
    struct tm local;
    if (!bIsTime)
        middle.Format("%d", nNumber);
    else if (LocalTime(llTime, local))
        middle.Format("%d点%d分", local.tm_hour, local.tm_min);
    pDC->SetTextColor(kYellow);
    pDC->TextOut(x, y, middle);
    x += pDC->GetTextExtent(middle).cx + 10;
    if (pszSuffix != NULL && *pszSuffix != '\0') {
        pDC->SetTextColor(kWhite);
        pDC->TextOut(x, y, pszSuffix);
    }
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(pOldFont);
}

int DrawLabelValue(CDC* pDC, CFont* pLabelFont, CFont* pValueFont, int x, int y, LPCSTR pszLabel, LPCSTR pszValue)
{
    if (pDC == NULL)
        return 0;
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(pLabelFont);
    const COLORREF oldColour = pDC->SetTextColor(kLabelColour);
    const char kBullet[] = "·";
    pDC->TextOut(x, y, kBullet);
    CSize size = pDC->GetTextExtent(kBullet);
    x += size.cx;
    if (pszLabel != NULL && *pszLabel != '\0') {
        pDC->TextOut(x, y, pszLabel);
        const CSize label = pDC->GetTextExtent(pszLabel);
        x += label.cx;
        size.cy = std::max(size.cy, label.cy);
    }
    pDC->SelectObject(pValueFont);
    pDC->SetTextColor(kValueColour);
    if (pszValue != NULL && *pszValue != '\0') {
        pDC->TextOut(x, y, pszValue);
        size.cy = std::max(size.cy, pDC->GetTextExtent(pszValue).cy);
    }
    pDC->SetTextColor(oldColour);
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(oldMode);
    return size.cy;
}

// ---- sign-up box ---------------------------------------------------------------

CMatchSignWidget::CMatchSignWidget(CRoomViewItemMatch* pView)
    : m_dwReserved(0), m_dwPlayersNeeded(0), m_qwStartTime(0), m_dwPlayersSigned(0), m_cbShowClock(0), m_pView(pView)
{}

CMatchSignWidget::~CMatchSignWidget() {}

int CMatchSignWidget::StateRow(DWORD dwState)
{
    switch (dwState) {
    case 1: return 0;
    case 3: return 1;
    case 2: return 2;
    case 0:
    case 4: return 3;
    default: return 0;
    }
}

void CMatchSignWidget::Draw(CWidgetDC* pWidgetDC)
{
    if (pWidgetDC == NULL || pWidgetDC->GetDC() == NULL || m_pView == NULL)
        return;
    CDC* pDC = pWidgetDC->GetDC();
    const CMatchImages& images = m_pView->GetImages();
    const CPoint origin = Origin(pWidgetDC);
    int y = origin.y;
    const int rowHeight = int(images.m_MatchStatus.GetHeight() / 4);
    DrawImagePart(pDC, images.m_MatchStatus, origin.x, y, int(images.m_MatchStatus.GetWidth()), rowHeight, 0,
                  StateRow(m_pView->GetMatchState()) * rowHeight);
    y += rowHeight + 8;
    if (images.m_TimeBack.IsValid())
        images.m_TimeBack.Draw(pDC->GetSafeHdc(), origin.x, y);
    if (m_cbShowClock == 0) {
        DrawSentence(pDC, origin.x, y + 20, "满", "人即可开始比赛！", false, int(m_dwPlayersNeeded), 0);
        DrawSentence(pDC, origin.x, y + 45, "已经有", "人挑战该比赛！", false, int(m_dwPlayersSigned), 0);
        return;
    }
    y += 45;
    const int x = origin.x + 47;
    const int step = 55 + int(images.m_Number.GetWidth() / 10);
    LONGLONG value = 0;
    const int phase = m_pView->GetPhase(value);
    SpanParts parts = {0, 0, 0};
    if ((phase == MATCH_PHASE_SIGN_UP && value > 0) || phase == MATCH_PHASE_START || phase == MATCH_PHASE_RUNNING)
        parts = SplitSpan(value);
    DrawNumber(pDC, images.m_Number, parts.hours, x, y, true);
    DrawNumber(pDC, images.m_Number, parts.minutes, x + step, y, true);
    DrawNumber(pDC, images.m_Number, parts.seconds, x + 2 * step, y, true);
}

// ---- status box ----------------------------------------------------------------

CMatchStatusWidget::CMatchStatusWidget(CRoomViewItemMatch* pView)
    : m_cbReserved(0), m_dwFirstSignUp(0), m_dwFirstStart(0), m_pView(pView)
{}

CMatchStatusWidget::~CMatchStatusWidget() {}

void CMatchStatusWidget::ResetFirstValues()
{
    m_dwFirstSignUp = 0;
    m_dwFirstStart = 0;
}

int CMatchStatusWidget::GetCountdown(LONGLONG& value)
{
    value = 0;
    if (m_pView == NULL)
        return MATCH_PHASE_NONE;
    const tagMatchRecord& record = m_pView->GetMatchRecord();
    if (m_dwFirstSignUp == 0)
        m_dwFirstSignUp = record.dwSignUpSeconds;
    if (m_dwFirstStart == 0)
        m_dwFirstStart = record.dwStartValue;
    switch (m_pView->GetMatchState()) {
    case 1: value = record.dwSignUpSeconds; return MATCH_PHASE_SIGN_UP;
    case 2: value = record.dwStartValue; return MATCH_PHASE_START;
    case 3: value = record.dwRunningCountdown; return MATCH_PHASE_RUNNING;
    default: return MATCH_PHASE_NONE;
    }
}

CString CMatchStatusWidget::TimeLeftText(int nPhase, LONGLONG value)
{
    CString text;
    if (nPhase == MATCH_PHASE_RUNNING)
        return "比赛已经开始";
    if (!((nPhase == MATCH_PHASE_SIGN_UP && value > 0) || nPhase == MATCH_PHASE_START))
        return "比赛已结束!";
    if (value < 0)
        value = 0;
    const SpanParts parts = SplitSpan(value);
    CString span;
    if (value < 3600 && parts.minutes < 1)
        span.Format("%d秒", parts.seconds);
    else if (value < 3600)
        span.Format("%d分%d秒", parts.minutes, parts.seconds);
    else
        span.Format("%d时%d分%d秒", parts.hours, parts.minutes, parts.seconds);
    text.Format(nPhase == MATCH_PHASE_SIGN_UP ? "离报名时间还剩，%s" : "离开始时间还剩，%s", (LPCSTR)span);
    return text;
}

int CMatchStatusWidget::FilledLength(int nPhase, LONGLONG value, DWORD dwFirstStart, int nLength)
{
    if (nLength <= 0)
        return 0;
    LONGLONG numerator = dwFirstStart;
    if (nPhase == MATCH_PHASE_SIGN_UP)
        numerator = 0;
    else if (nPhase == MATCH_PHASE_START)
        numerator = LONGLONG(dwFirstStart) - value;
    LONGLONG filled = dwFirstStart == 0 ? nLength : numerator * nLength / LONGLONG(dwFirstStart);
    if (filled < 0)
        filled = 0;
    if (filled > nLength)
        filled = nLength;
    return int(filled);
}

void CMatchStatusWidget::Draw(CWidgetDC* pWidgetDC)
{
    if (pWidgetDC == NULL || pWidgetDC->GetDC() == NULL || m_pView == NULL)
        return;
    CDC* pDC = pWidgetDC->GetDC();
    const HDC hdc = pDC->GetSafeHdc();
    const CMatchImages& images = m_pView->GetImages();
    const tagMatchRecord& record = m_pView->GetMatchRecord();
    const CPoint origin = Origin(pWidgetDC);
    const int left = origin.x, top = origin.y, width = m_nWidth;
    CFont* pOldFont = pDC->SelectObject(g_GlobalUnits.GetFont());
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = pDC->GetTextColor();
    const int headY = top + int(images.m_SignInfoMark.GetHeight());
    if (record.cbStartMode == 1 && images.m_SignTimeOut.IsValid() && images.m_SignInfoMark.IsValid()) {
        const int timeOutWidth = int(images.m_SignTimeOut.GetWidth());
        images.m_SignTimeOut.Draw(hdc, left, headY);
        int x = left + timeOutWidth + 3;
        const int middle =
            (width - (x - left)) / 2 - int(images.m_SignInfoL.GetWidth() + images.m_SignInfoR.GetWidth());
        if (images.m_SignInfoL.IsValid())
            images.m_SignInfoL.Draw(hdc, x, top);
        x += int(images.m_SignInfoL.GetWidth());
        if (images.m_SignInfoM.IsValid() && middle > 0)
            images.m_SignInfoM.Draw(hdc, x, top, middle, long(images.m_SignInfoM.GetHeight()));
        images.m_SignInfoMark.Draw(hdc, x + 30, top);
        x += middle;
        if (images.m_SignInfoR.IsValid())
            images.m_SignInfoR.Draw(hdc, x, top);

        LONGLONG value = 0;
        const int phase = GetCountdown(value);
        const int textX = left + timeOutWidth + 13;
        pDC->SetTextColor(kSentenceColour);
        pDC->TextOut(textX, top + 6, TimeLeftText(phase, value));

        // The bar: the empty look first, the filled look over it.
        const int length = width - (textX - left) + 10;
        const int barX = left + timeOutWidth + 5;
        const int capL = int(images.m_TimeOutL.GetWidth()), capR = int(images.m_TimeOutR.GetWidth());
        const int halfL = int(images.m_TimeOutL.GetHeight() / 2), halfR = int(images.m_TimeOutR.GetHeight() / 2);
        DrawImagePart(pDC, images.m_TimeOutL, barX, headY - halfL, capL, halfL, 0, halfL);
        if (images.m_StatusBackM.IsValid() && length - capL - capR > 0)
            images.m_StatusBackM.Draw(hdc, barX + capL, headY, length - capL - capR,
                                      long(images.m_StatusBackM.GetHeight()));
        DrawImagePart(pDC, images.m_TimeOutR, barX + length - capR, headY - halfR, capR, halfR, 0, halfR);
        const int filled = FilledLength(phase, value, m_dwFirstStart, length);
        if (filled > 0) {
            DrawImagePart(pDC, images.m_TimeOutL, barX, headY - halfL, capL, halfL, 0, 0);
            if (images.m_TimeOutM.IsValid() && filled - capL - capR > 0)
                images.m_TimeOutM.Draw(hdc, barX + capL, headY, filled - capL - capR,
                                       long(images.m_TimeOutM.GetHeight()));
            DrawImagePart(pDC, images.m_TimeOutR, barX + std::max(filled - capR, capL), headY - halfR, capR, halfR, 0,
                          0);
        }
    } else if (record.cbStartMode == 2 && images.m_SignStatus.IsValid())
        images.m_SignStatus.Draw(hdc, left, headY);
    pDC->SetTextColor(kWhite);
    pDC->TextOut(left + 15, headY + 32, "报名成功后不可进行其他游戏，如果退出，将视自动放弃比赛！");
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(pOldFont);
}

// ---- facts panel ---------------------------------------------------------------

CMatchNewsWidget::CMatchNewsWidget(CRoomViewItemMatch* pView) : m_pView(pView), m_cbReserved(0), m_qwShownTime(0)
{
    CreateSongFont(m_LabelFont, 14, 700);
    CreateSongFont(m_ValueFont, 14, 300);
}

CMatchNewsWidget::~CMatchNewsWidget() {}

CMatchNewsWidget::Lines CMatchNewsWidget::BuildLines(const tagMatchRecord& record, ULONGLONG qwShownTime)
{
    Lines lines;
    if (record.cbStartMode == 1) {
        CString when;
        struct tm local;
        if (LocalTime(LONGLONG(qwShownTime), local)) {
            when.Format("%d月%d日 ", local.tm_mon + 1, local.tm_mday);
            CString clock;
            clock.Format("%s:%s:%s", (LPCSTR)NumberToText(local.tm_hour, true),
                         (LPCSTR)NumberToText(local.tm_min, true), (LPCSTR)NumberToText(local.tm_sec, true));
            when += clock;
        }
        CString length, fee;
        length.Format("%u分钟", unsigned(record.dwRunningSeconds / 60));
        if (record.nFeeType != 1 && record.dwFee == 2)
            fee.Format("%u道具", unsigned(record.wItemCount));
        else
            fee.Format("%u金蛋", unsigned(record.dwFee));
        lines.push_back({"比赛时间：", when});
        lines.push_back({"比赛时长：", length});
        lines.push_back({"参赛人群：", "Varnok玩家"});
        lines.push_back({"参赛费用：", fee});
        lines.push_back({"限制IP：", "无"});
        lines.push_back({"限制ID：", "无"});
        lines.push_back({"限制地区：", "无"});
    } else if (record.cbStartMode == 2) {
        for (const char* label : {"比赛人数：", "比赛赛制：", "比赛奖品：", "排名依据：", "参赛费用："})
            lines.push_back({label, ""});
        for (const char* label : {"限制IP：", "限制ID：", "限制ID：", "限制地区："})
            lines.push_back({label, "无"});
    }
    return lines;
}

void CMatchNewsWidget::Draw(CWidgetDC* pWidgetDC)
{
    if (pWidgetDC == NULL || pWidgetDC->GetDC() == NULL || m_pView == NULL)
        return;
    CDC* pDC = pWidgetDC->GetDC();
    const CMatchImages& images = m_pView->GetImages();
    const tagMatchRecord& record = m_pView->GetMatchRecord();
    const CPoint origin = Origin(pWidgetDC);
    if (images.m_MatchNews.IsValid())
        images.m_MatchNews.Draw(pDC->GetSafeHdc(), origin.x, origin.y);
    int x = origin.x, y = origin.y + kLineGap;
    if (record.cbStartMode == 1) {
        x += 10;
        y += 10;
    }
    for (const auto& line : BuildLines(record, m_qwShownTime))
        y += DrawLabelValue(pDC, &m_LabelFont, &m_ValueFont, x, y, line.first, line.second) + kLineGap;
}

// ---- own-ranking box -----------------------------------------------------------

CMatchUserList::CMatchUserList(CRoomViewItemMatch* pView) : m_pView(pView) {}

CMatchUserList::~CMatchUserList() {}

CString CMatchUserList::RankText(WORD wRank, int nRows)
{
    CString text;
    if (wRank == 0)
        text = "排名：无";
    else
        text.Format("排名：%d/%d", int(wRank), nRows);
    return text;
}

void CMatchUserList::Draw(CWidgetDC* pWidgetDC)
{
    if (pWidgetDC == NULL || pWidgetDC->GetDC() == NULL || m_pView == NULL)
        return;
    CDC* pDC = pWidgetDC->GetDC();
    const HDC hdc = pDC->GetSafeHdc();
    const CMatchImages& images = m_pView->GetImages();
    const CPoint origin = Origin(pWidgetDC);
    const int left = origin.x, top = origin.y, right = left + m_nWidth, bottom = top + m_nHeight;
    if (images.m_UserListTop.IsValid())
        images.m_UserListTop.Draw(hdc, left, top);

    if (CUserItem* pUser = m_pView->GetSelfUserItem()) {
        const tagUserData* pData = pUser->GetUserData();
        CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
        if (pFaces != NULL && pFaces->HasCurrentFace(pData->dwUserID, pData->szKey13))
            pFaces->DrawFaceInRect(pData->dwUserID, pData->szKey13, pDC, left + 46, top + 24, 32, 32);
        else if (IUserFaceRes* pFaceRes = g_GlobalUnits.m_UserFaceResHelper.GetInterface())
            pFaceRes->DrawFace(pData->wFaceID, 0, pDC, left + 46, top + 24, 32, 32);

        CFont* pOldFont = pDC->SelectObject(g_GlobalUnits.GetFont());
        const int oldMode = pDC->SetBkMode(TRANSPARENT);
        const COLORREF oldColour = pDC->SetTextColor(kWhite);
        CRect rcName(left + 106, top + 24, right, top + 40);
        CString name(pData->szNickName, int(strnlen(pData->szNickName, sizeof(pData->szNickName))));
        pDC->DrawText(name, &rcName, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        CRect rcRank(rcName.left, rcName.bottom + 6, right, rcName.bottom + 28);
        pDC->DrawText(RankText(pUser->GetSecondExtension()->wValue2, m_pView->GetRankRowCount()), &rcRank,
                      DT_SINGLELINE | DT_NOPREFIX);
        pDC->SetTextColor(oldColour);
        pDC->SetBkMode(oldMode);
        pDC->SelectObject(pOldFont);
    }

    const int topHeight = int(images.m_UserListTop.GetHeight());
    const int bottomHeight = int(images.m_UserListBottom.GetHeight());
    if (images.m_UserListBottom.IsValid())
        images.m_UserListBottom.Draw(hdc, left, bottom - bottomHeight);
    const int middle = m_nHeight - topHeight - bottomHeight;
    if (images.m_UserListMid.IsValid() && middle > 0)
        images.m_UserListMid.Draw(hdc, left, top + topHeight, long(images.m_UserListMid.GetWidth()), middle);
}

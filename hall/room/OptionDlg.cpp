#include "OptionDlg.h"

#include <SkinMessageBox.h>
#include <TextUnit.h>

#include <commctrl.h>
#include <stdlib.h>

#include "GameOption.h"
#include "GameRoom.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "RoomOption.h"
#include "resource.h"

namespace
{
const WORD kMaxRate = 10000; // 100 %
}

IMPLEMENT_DYNAMIC(COptionDlg, CRgnDialog)

BEGIN_MESSAGE_MAP(COptionDlg, CRgnDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

COptionDlg::COptionDlg(CGameOption* pGameOption, CRoomOption* pRoomOption, CWnd* pParent)
    : CRgnDialog(IDD_ROOM_OPTION, pParent), m_cbPassword(0), m_cbLimitWin(0), m_cbLimitFlee(0), m_cbLimitDelay(0),
      m_cbLimitScore(0), m_cbLimitDetest(0), m_cbLimitSameIP(0), m_cbLimitInvite(0), m_cbLimitCall(0),
      m_cbLimitWhisper(0), m_wWinRate(0), m_wFleeRate(0), m_wNetDelay(0), m_lMaxScore(0), m_lLessScore(0),
      m_wBossHotKey(0), m_bPasswordAllowed(false), m_pGameOption(pGameOption), m_pRoomOption(pRoomOption),
      m_bLessScoreHidden(false)
{
    memset(m_szPassword, 0, sizeof(m_szPassword));
    // The template's hot-key control needs its class.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&icc);
}

COptionDlg::~COptionDlg() {}

WORD COptionDlg::ParseRate(LPCSTR pszText)
{
    // Read in decimal digits: binary fractions would turn 12.34 into 1233.
    const char* p = pszText != NULL ? pszText : "";
    while (*p == ' ')
        ++p;
    bool bNegative = false;
    if (*p == '-' || *p == '+')
        bNegative = *p++ == '-';
    unsigned long long nValue = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (nValue <= kMaxRate)
            nValue = nValue * 10 + unsigned(*p - '0');
    nValue *= 100;
    if (*p == '.') {
        ++p;
        if (*p >= '0' && *p <= '9') {
            nValue += 10 * unsigned(*p - '0');
            ++p;
            if (*p >= '0' && *p <= '9')
                nValue += unsigned(*p - '0');
        }
    }
    if (bNegative)
        return 0;
    return nValue > kMaxRate ? kMaxRate : (WORD)nValue;
}

WORD COptionDlg::GetRoomKind() const
{
    if (m_pRoomOption == NULL || m_pRoomOption->m_pGameRoom == NULL)
        return 0;
    return m_pRoomOption->m_pGameRoom->GetRoomKind();
}

BOOL COptionDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText("配置选项");
    m_edWinRate.SubclassDlgItem(IDC_OPTION_WIN, this);
    m_edFleeRate.SubclassDlgItem(IDC_OPTION_FLEE, this);
    m_edNetDelay.SubclassDlgItem(IDC_OPTION_DELAY, this);
    m_edLessScore.SubclassDlgItem(IDC_OPTION_SCORE_MIN, this);
    m_edMaxScore.SubclassDlgItem(IDC_OPTION_SCORE_MAX, this);
    m_edPassword.SubclassDlgItem(IDC_OPTION_PASS, this);
    m_hkBossKey.SubclassDlgItem(IDC_OPTION_BOSS_KEY, this);
    m_gpTable.SubclassDlgItem(IDC_OPTION_TABLE_GROUP, this);
    m_gpOther.SubclassDlgItem(IDC_OPTION_OTHER_GROUP, this);

    // The table password is offered only where the room allows one.
    DWORD dwRoomID = 0;
    if (m_pRoomOption != NULL)
        dwRoomID =
            m_pRoomOption->m_pGameRoom != NULL ? m_pRoomOption->m_pGameRoom->GetId() : m_pRoomOption->m_wServerID;
    m_bPasswordAllowed = m_pRoomOption != NULL && g_GlobalOption.IsPassLockTableAllowed(dwRoomID);

    if (m_pGameOption != NULL) {
        m_cbLimitWin = m_pGameOption->m_bLimitWin;
        m_cbLimitFlee = m_pGameOption->m_bLimitFlee;
        m_cbLimitDelay = m_pGameOption->m_bLimitDelay;
        m_cbLimitScore = m_pGameOption->m_bLimitScore;
        m_cbLimitInvite = m_pGameOption->m_bLimitInvite;
        m_cbLimitCall = m_pGameOption->m_bLimitCall;
        m_cbLimitWhisper = m_pGameOption->m_bLimitWisper;
        m_wWinRate = m_pGameOption->m_wWinRate;
        m_wFleeRate = m_pGameOption->m_wFleeRate;
        m_wNetDelay = m_pGameOption->m_wNetDelay;
        m_lMaxScore = m_pGameOption->m_lMaxScore;
        m_lLessScore = m_pGameOption->m_lLessScore;
    }
    if (m_pRoomOption != NULL) {
        m_cbPassword = m_pRoomOption->m_cbPassFlag;
        TextCopyField(m_szPassword, m_pRoomOption->m_strTablePass);
    }
    if (!m_bPasswordAllowed)
        m_cbPassword = 0;
    m_cbLimitDetest = g_GlobalOption.m_bLimitDetest;
    m_cbLimitSameIP = g_GlobalOption.m_bLimitSameIP;
    m_wBossHotKey = g_GlobalOption.m_wBossHotKey;

    const WORD wKind = GetRoomKind();
    m_bLessScoreHidden = wKind == ROOM_KIND_GAME_COIN || wKind == ROOM_KIND_SECOND_CURRENCY;
    if (wKind == ROOM_KIND_GAME_COIN)
        SetDlgItemText(IDC_OPTION_SCORE_CHECK, "金蛋范围");
    else if (wKind == ROOM_KIND_SECOND_CURRENCY)
        SetDlgItemText(IDC_OPTION_SCORE_CHECK, "金豆范围");

    m_edWinRate.LimitText(5);
    m_edFleeRate.LimitText(5);
    m_edLessScore.LimitText(11);
    m_edMaxScore.LimitText(10);
    m_edPassword.LimitText(32);

    Check(IDC_OPTION_WIN_CHECK, m_cbLimitWin);
    Check(IDC_OPTION_FLEE_CHECK, m_cbLimitFlee);
    Check(IDC_OPTION_DELAY_CHECK, m_cbLimitDelay);
    Check(IDC_OPTION_SCORE_CHECK, m_cbLimitScore);
    Check(IDC_OPTION_DETEST, m_cbLimitDetest);
    Check(IDC_OPTION_SAME_IP, m_cbLimitSameIP);
    Check(IDC_OPTION_PASS_CHECK, m_cbPassword);
    Check(IDC_OPTION_INVITE, m_cbLimitInvite);
    Check(IDC_OPTION_CALL, m_cbLimitCall);
    Check(IDC_OPTION_WHISPER, m_cbLimitWhisper);

    CString strText;
    strText.Format("%.2f", m_wWinRate / 100.0);
    SetDlgItemText(IDC_OPTION_WIN, strText);
    strText.Format("%.2f", m_wFleeRate / 100.0);
    SetDlgItemText(IDC_OPTION_FLEE, strText);
    SetDlgItemInt(IDC_OPTION_DELAY, m_wNetDelay, FALSE);
    SetDlgItemInt(IDC_OPTION_SCORE_MIN, m_bLessScoreHidden ? 0 : m_lLessScore, TRUE);
    SetDlgItemInt(IDC_OPTION_SCORE_MAX, m_lMaxScore, TRUE);
    SetDlgItemText(IDC_OPTION_PASS, m_szPassword);
    m_hkBossKey.SetHotKey(LOBYTE(m_wBossHotKey), HIBYTE(m_wBossHotKey));

    const bool bGuest = g_GlobalUnits.GetGlobalUserData()->lLevel == GUEST_USER_LEVEL;
    const BOOL bPasswordOn = m_bPasswordAllowed && !bGuest;
    GetDlgItem(IDC_OPTION_PASS_CHECK)->EnableWindow(bPasswordOn);
    GetDlgItem(IDC_OPTION_PASS)->EnableWindow(bPasswordOn);
    return TRUE;
}

void COptionDlg::Refuse(UINT nFocusID, LPCSTR pszText)
{
    SkinMessageBox(m_hWnd, pszText, "提示消息", MB_ICONINFORMATION);
    GotoDlgCtrl(GetDlgItem(nFocusID));
}

void COptionDlg::OnOK()
{
    m_cbLimitWin = IsChecked(IDC_OPTION_WIN_CHECK);
    m_cbLimitFlee = IsChecked(IDC_OPTION_FLEE_CHECK);
    m_cbLimitDelay = IsChecked(IDC_OPTION_DELAY_CHECK);
    m_cbLimitScore = IsChecked(IDC_OPTION_SCORE_CHECK);
    m_cbLimitDetest = IsChecked(IDC_OPTION_DETEST);
    m_cbLimitSameIP = IsChecked(IDC_OPTION_SAME_IP);
    m_cbLimitInvite = IsChecked(IDC_OPTION_INVITE);
    m_cbLimitCall = IsChecked(IDC_OPTION_CALL);
    m_cbLimitWhisper = IsChecked(IDC_OPTION_WHISPER);

    CString strText;
    GetDlgItemText(IDC_OPTION_WIN, strText);
    m_wWinRate = ParseRate(strText);
    GetDlgItemText(IDC_OPTION_FLEE, strText);
    m_wFleeRate = ParseRate(strText);
    GetDlgItemText(IDC_OPTION_DELAY, strText);
    // More than the field holds means no practical limit: keep the largest.
    const unsigned long nDelay = strtoul(strText, NULL, 10);
    m_wNetDelay = nDelay > 0xFFFF ? WORD(0xFFFF) : (WORD)nDelay;
    GetDlgItemText(IDC_OPTION_SCORE_MAX, strText);
    m_lMaxScore = strtol(strText, NULL, 10);
    GetDlgItemText(IDC_OPTION_SCORE_MIN, strText);
    const LONG lTypedLess = strtol(strText, NULL, 10);
    if (m_cbLimitScore && lTypedLess >= m_lMaxScore) {
        Refuse(IDC_OPTION_SCORE_MAX, "积分限制范围参数不正确，请正确设置积分限制范围！");
        return;
    }
    // A currency room shows 0 in place of the stored minimum: an untouched
    // 0 keeps the stored one.
    if (!(m_bLessScoreHidden && strText == "0"))
        m_lLessScore = lTypedLess;

    if (m_bPasswordAllowed) {
        m_cbPassword = IsChecked(IDC_OPTION_PASS_CHECK);
        GetDlgItemText(IDC_OPTION_PASS, strText);
        TextCopyField(m_szPassword, strText);
        if (m_cbPassword && m_szPassword[0] == '\0') {
            Refuse(IDC_OPTION_PASS, "桌子携带密码没有设置，请输入设置桌子携带密码！");
            return;
        }
    }
    m_wBossHotKey = (WORD)m_hkBossKey.GetHotKey();

    if (m_pGameOption != NULL) {
        m_pGameOption->m_bLimitWin = m_cbLimitWin != 0;
        m_pGameOption->m_bLimitFlee = m_cbLimitFlee != 0;
        m_pGameOption->m_bLimitDelay = m_cbLimitDelay != 0;
        m_pGameOption->m_bLimitScore = m_cbLimitScore != 0;
        m_pGameOption->m_wWinRate = m_wWinRate;
        m_pGameOption->m_wFleeRate = m_wFleeRate;
        m_pGameOption->m_wNetDelay = m_wNetDelay;
        m_pGameOption->m_lMaxScore = m_lMaxScore;
        m_pGameOption->m_lLessScore = m_lLessScore;
        m_pGameOption->m_bLimitInvite = m_cbLimitInvite != 0;
        m_pGameOption->m_bLimitCall = m_cbLimitCall != 0;
        m_pGameOption->m_bLimitWisper = m_cbLimitWhisper != 0;
    }
    if (m_pRoomOption != NULL) {
        m_pRoomOption->m_cbPassFlag = m_cbPassword;
        if (m_bPasswordAllowed)
            m_pRoomOption->m_strTablePass = m_szPassword;
    }
    g_GlobalOption.m_bLimitDetest = m_cbLimitDetest != 0;
    g_GlobalOption.m_bLimitSameIP = m_cbLimitSameIP != 0;
    g_GlobalOption.m_wBossHotKey = m_wBossHotKey;
    // Headless or taken by another program: the options stand all the same.
    RegisterBossKey(m_wBossHotKey);
    CRgnDialog::OnOK();
}

bool COptionDlg::RegisterBossKey(WORD wHotKey)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hFrame = pMainWnd != NULL ? pMainWnd->GetSafeHwnd() : NULL;
    if (hFrame == NULL)
        return false;
    ::UnregisterHotKey(hFrame, OPTION_BOSS_HOTKEY_ID);
    return CGlobalUnits::RegisterHotKey(hFrame, OPTION_BOSS_HOTKEY_ID, wHotKey);
}

HBRUSH COptionDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hBrush = CRgnDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC && pWnd != NULL && (WORD)pWnd->GetDlgCtrlID() == (WORD)IDC_STATIC)
        pDC->SetTextColor(RGB(0, 112, 125));
    return hBrush;
}

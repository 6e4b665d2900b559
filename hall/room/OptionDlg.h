// The sit-limit options of a room's game: win and flee rates, delay, score
// range, refusals, the table password and the boss key. OK stores them into
// the game's options, the room's options and the global options and
// registers the boss key again.
#pragma once

#include <afxwin.h>

#include <RgnDialog.h>

#include "OptionEdit.h"
#include "OptionGroup.h"
#include "OptionHotKeyCtrl.h"

class CGameOption;
class CRoomOption;

// The id the boss key is registered with on the main frame window.
const int OPTION_BOSS_HOTKEY_ID = 0x100;

class COptionDlg : public CRgnDialog
{
    DECLARE_DYNAMIC(COptionDlg)
public:
    COptionDlg(CGameOption* pGameOption, CRoomOption* pRoomOption, CWnd* pParent = NULL);
    virtual ~COptionDlg();

    // A rate typed in percent as hundredths of a percent, truncated and
    // held within 0 .. 100 %.
    static WORD ParseRate(LPCSTR pszText);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Drops the boss key's registration on the main frame window and makes
    // it again with the new key; false when the system refused it.
    virtual bool RegisterBossKey(WORD wHotKey);

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    bool IsChecked(UINT nID) const { return IsDlgButtonChecked(nID) == BST_CHECKED; }
    void Check(UINT nID, BYTE cbValue) { CheckDlgButton(nID, cbValue ? BST_CHECKED : BST_UNCHECKED); }
    void Refuse(UINT nFocusID, LPCSTR pszText);
    WORD GetRoomKind() const;

public:
    // The working block.
    BYTE m_cbPassword;
    BYTE m_cbLimitWin;
    BYTE m_cbLimitFlee;
    BYTE m_cbLimitDelay;
    BYTE m_cbLimitScore;
    BYTE m_cbLimitDetest;
    BYTE m_cbLimitSameIP;
    BYTE m_cbLimitInvite;
    BYTE m_cbLimitCall;
    BYTE m_cbLimitWhisper;
    WORD m_wWinRate;
    WORD m_wFleeRate;
    WORD m_wNetDelay;
    LONG m_lMaxScore;
    LONG m_lLessScore;
    char m_szPassword[33];
    WORD m_wBossHotKey;
    bool m_bPasswordAllowed;
    CGameOption* m_pGameOption;
    CRoomOption* m_pRoomOption;

private:
    // The minimum score is shown as 0 in currency rooms; the stored one
    // stays unless another is typed.
    bool m_bLessScoreHidden;
    COptionEdit m_edWinRate;
    COptionEdit m_edFleeRate;
    COptionEdit m_edNetDelay;
    COptionEdit m_edLessScore;
    COptionEdit m_edMaxScore;
    COptionEdit m_edPassword;
    COptionHotKeyCtrl m_hkBossKey;
    COptionGroup m_gpTable;
    COptionGroup m_gpOther;
};

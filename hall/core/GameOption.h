// The sit limits of one game, kept in the profile section named by the
// game's id. One per game met since start-up, owned by the options store.
#pragma once

#include <afx.h>

class CGame;

class CGameOption
{
public:
    CGameOption(WORD gameId, CGame* game);
    virtual ~CGameOption();

    // The twelve keys of the section; a missing key keeps the current value.
    void LoadOptions();
    void SaveOptions();
    CString GetSection() const;

    WORD m_wGameID;
    CGame* m_pGame; // not owned
    LONG m_lMaxScore;
    LONG m_lLessScore;
    bool m_bLimitScore;
    WORD m_wNetDelay;
    bool m_bLimitDelay;
    WORD m_wFleeRate; // hundredths of a percent
    bool m_bLimitFlee;
    WORD m_wWinRate; // hundredths of a percent
    bool m_bLimitWin;
    bool m_bLimitInvite;
    bool m_bLimitCall;
    bool m_bLimitWisper;
};

#include "GameOption.h"

#include "ProfileValues.h"

CGameOption::CGameOption(WORD gameId, CGame* game)
    : m_wGameID(gameId), m_pGame(game), m_lMaxScore(0x7FFFFFFF), m_lLessScore(-2147483646), m_bLimitScore(false),
      m_wNetDelay(500), m_bLimitDelay(false), m_wFleeRate(5000), m_bLimitFlee(false), m_wWinRate(0), m_bLimitWin(false),
      m_bLimitInvite(false), m_bLimitCall(false), m_bLimitWisper(false)
{}

CGameOption::~CGameOption() {}

CString CGameOption::GetSection() const
{
    CString section;
    section.Format("%d", (int)m_wGameID);
    return section;
}

void CGameOption::LoadOptions()
{
    CString section = GetSection();
    m_lMaxScore = ReadProfileInt(section, "MaxScore", m_lMaxScore);
    m_lLessScore = ReadProfileInt(section, "LessScore", m_lLessScore);
    m_bLimitScore = ReadProfileBool(section, "LimitScore", m_bLimitScore);
    m_wNetDelay = (WORD)ReadProfileInt(section, "NetDelay", m_wNetDelay);
    m_bLimitDelay = ReadProfileBool(section, "LimitDelay", m_bLimitDelay);
    m_wFleeRate = (WORD)ReadProfileInt(section, "FleeRate", m_wFleeRate);
    m_bLimitFlee = ReadProfileBool(section, "LimitFlee", m_bLimitFlee);
    m_wWinRate = (WORD)ReadProfileInt(section, "WinRate", m_wWinRate);
    m_bLimitWin = ReadProfileBool(section, "LimitWin", m_bLimitWin);
    m_bLimitInvite = ReadProfileBool(section, "LimitInvite", m_bLimitInvite);
    m_bLimitCall = ReadProfileBool(section, "LimitCall", m_bLimitCall);
    m_bLimitWisper = ReadProfileBool(section, "LimitWisper", m_bLimitWisper);
}

void CGameOption::SaveOptions()
{
    CString section = GetSection();
    WriteProfileInt(section, "MaxScore", m_lMaxScore);
    WriteProfileInt(section, "LessScore", m_lLessScore);
    WriteProfileBool(section, "LimitScore", m_bLimitScore);
    WriteProfileInt(section, "NetDelay", m_wNetDelay);
    WriteProfileBool(section, "LimitDelay", m_bLimitDelay);
    WriteProfileInt(section, "FleeRate", m_wFleeRate);
    WriteProfileBool(section, "LimitFlee", m_bLimitFlee);
    WriteProfileInt(section, "WinRate", m_wWinRate);
    WriteProfileBool(section, "LimitWin", m_bLimitWin);
    WriteProfileBool(section, "LimitInvite", m_bLimitInvite);
    WriteProfileBool(section, "LimitCall", m_bLimitCall);
    WriteProfileBool(section, "LimitWisper", m_bLimitWisper);
}

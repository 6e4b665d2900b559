// The members of one team as the hall server describes them (main 1010).
#pragma once

#include <afx.h>
#include <afxtempl.h>

struct tagTeamMember
{
    DWORD dwMemberID;
    char szName[32];
    char szText1[128];
    DWORD dwValue2;
    char szText3[128];
    DWORD dwValue4;
    DWORD dwValue5;
    DWORD dwValue6;
};

class CTeamManager
{
public:
    explicit CTeamManager(DWORD dwTeamID = 0) : m_dwTeamID(dwTeamID) {}

    DWORD GetTeamID() const { return m_dwTeamID; }
    void SetTeamID(DWORD dwTeamID) { m_dwTeamID = dwTeamID; }
    void AddMember(const tagTeamMember& member) { m_Members.Add(member); }
    INT_PTR GetMemberCount() const { return m_Members.GetSize(); }
    const tagTeamMember& GetMember(INT_PTR nIndex) const { return m_Members[nIndex]; }
    // Null when the team has no such member.
    const tagTeamMember* FindMember(DWORD dwMemberID) const;

private:
    DWORD m_dwTeamID;
    CArray<tagTeamMember, const tagTeamMember&> m_Members;
};

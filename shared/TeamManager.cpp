#include "TeamManager.h"

const tagTeamMember* CTeamManager::FindMember(DWORD dwMemberID) const
{
    for (INT_PTR i = 0; i < m_Members.GetSize(); ++i) {
        if (m_Members[i].dwMemberID == dwMemberID)
            return &m_Members[i];
    }
    return NULL;
}

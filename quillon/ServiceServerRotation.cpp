#include "ServiceServerRotation.h"

CServiceServerRotation::CServiceServerRotation() : m_nStartIndex(0), m_nNextIndex(0) {}

void CServiceServerRotation::Reset(const CServiceServerArray& servers, int nLastServerID)
{
    m_Servers.Copy(servers);
    m_nStartIndex = nLastServerID < 0 || nLastServerID >= GetServerCount() ? 0 : nLastServerID;
    m_nNextIndex = m_nStartIndex;
}

bool CServiceServerRotation::GetNextServer(tagServiceServer& server)
{
    if (m_nNextIndex < 0 || m_nNextIndex >= GetServerCount())
        return false;
    server = m_Servers[m_nNextIndex];
    ++m_nNextIndex;
    if (m_nNextIndex >= GetServerCount())
        m_nNextIndex = 0;
    if (m_nNextIndex == m_nStartIndex)
        m_nNextIndex = -1;
    return true;
}

int CServiceServerRotation::OnConnected()
{
    if (GetServerCount() == 0)
        return -1;
    int nIndex = (m_nNextIndex < 0 ? m_nStartIndex : m_nNextIndex) - 1;
    if (nIndex < 0)
        nIndex = GetServerCount() - 1;
    m_nNextIndex = nIndex;
    return nIndex;
}

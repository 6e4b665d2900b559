#include "UpdateTestHost.h"

#include <iterator>

CTestUpdateHost::CTestUpdateHost(LPCSTR pszWorkDirectory) : m_strWork(pszWorkDirectory) {}

bool CTestUpdateHost::GetHallDownloadInfo(tagHallDownloadInfo& info)
{
    if (!m_bHasRecord)
        return false;
    info = m_Record;
    return true;
}

void CTestUpdateHost::ReadHallDownloadInfo(std::istream& stream)
{
    std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    std::lock_guard<std::mutex> guard(m_lock);
    m_HandedOver.push_back(text);
}

std::vector<std::string> CTestUpdateHost::HandedOver() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_HandedOver;
}

void CTestUpdateHost::SetBulletinList(const CArray<tagBulletinItem, const tagBulletinItem&>& items)
{
    m_nBulletinCalls++;
    m_Bulletins.clear();
    for (INT_PTR i = 0; i < items.GetSize(); i++)
        m_Bulletins.push_back(items[i]);
}

bool CTestUpdateHost::StartDownLoad(LPCSTR pszName, BYTE cbFlag, const CHAR (*ppszUrls)[HALL_URL_SIZE],
                                    DWORD dwHallVersion)
{
    Mission mission;
    mission.name = pszName;
    mission.cbFlag = cbFlag;
    for (int i = 0; i < HALL_URL_COUNT && ppszUrls[i][0] != '\0'; i++)
        mission.urls.push_back(std::string(ppszUrls[i], strnlen(ppszUrls[i], HALL_URL_SIZE)));
    mission.dwVersion = dwHallVersion;
    m_Missions.push_back(mission);
    return true;
}

int CTestUpdateHost::ShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType)
{
    m_Prompts.push_back(Prompt{hOwner, pszText, pszCaption, nType});
    return m_nAnswer;
}

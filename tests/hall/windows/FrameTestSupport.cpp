#include "FrameTestSupport.h"

#include "GameTreeNode.h"

bool RecordingDataCenter::ConnectServer()
{
    m_log.Add("connect");
    return true;
}

bool RecordingDataCenter::SendLogon(DWORD& dwSerialNum, HWND hWnd, const tagLogonInput& input)
{
    m_log.Add("logon " + std::to_string(input.dwUserID) + " " + input.szAccounts + " " + input.szPassword);
    dwSerialNum = 1;
    return true;
}

bool RecordingDataCenter::SendMachineLogon(DWORD& dwSerialNum, HWND hWnd)
{
    m_log.Add("guestLogon");
    dwSerialNum = 1;
    return true;
}

bool RecordingDataCenter::CloseSocket()
{
    m_log.Add("closeSocket");
    return true;
}

bool RecordingDataCenter::SubscribeOnlineCounts()
{
    m_log.Add("afterLogon");
    return true;
}

bool RecordingDataCenter::SendLogoff(bool bClose)
{
    m_log.Add("logoff");
    return true;
}

bool RecordingDataCenter::OpenServicePage(DWORD dwPageGroup, DWORD dwPageIndex)
{
    m_log.Add("service " + std::to_string(dwPageGroup) + "," + std::to_string(dwPageIndex));
    return true;
}

bool RecordingDataCenter::OnServiceCopyData(HWND hSender, const COPYDATASTRUCT* pCopyData)
{
    // The user-service program's face notice is dwData 0.
    return pCopyData != NULL && pCopyData->dwData == 0;
}

RecordingApp::RecordingApp(CallLog& log) : dataCenter(log), m_log(log)
{
    m_pPrevious = CHallApp::Install(this);
}

RecordingApp::~RecordingApp()
{
    CHallApp::Install(m_pPrevious);
}

bool RecordingApp::ShowUrlInPlaza(LPCSTR pszUrl, BYTE cbFlag, int nMode)
{
    m_log.Add(std::string("plaza ") + pszUrl);
    return true;
}

bool RecordingNeighbours::CanCloseAllRooms()
{
    m_log.Add("canClose");
    return !roomsRefuse;
}

bool RecordingNeighbours::CloseAllRooms()
{
    m_log.Add("closeRooms");
    return !roomsRefuse;
}

void RecordingNeighbours::EnterRoom(CGameTreeNode* pGame)
{
    CGameTreeNode* pRoom = pGame->GetChildCount() == 1 ? pGame->GetChild(0) : NULL;
    m_log.Add("enter " + std::to_string(pGame->GetItemType()) + ":" + std::to_string(pGame->GetItemData()) + "/" +
              (pRoom != NULL ? std::to_string(pRoom->GetItemType()) + ":" + std::to_string(pRoom->GetItemData())
                             : std::string("none")));
}

void RecordingNeighbours::CreateItemShop()
{
    m_log.Add("createShop");
    hasShop = true;
}

bool RecordingUpdater::UpdateFile(LPCSTR pszUrl, LPCSTR pszLocalFile, CWnd* pNotifyWnd, int nKind)
{
    m_log.Add("file " + std::to_string(nKind) + " " + pszLocalFile);
    return true;
}

bool RecordingUpdater::UpdateAdBanner(DWORD dwInstalledVersion, int nBannerKind, CWnd* pNotifyWnd)
{
    m_log.Add("banner " + std::to_string(nBannerKind));
    return true;
}

bool RecordingUpdater::UpdateCompetitionEntry(DWORD dwInstalledVersion, CWnd* pNotifyWnd)
{
    m_log.Add("competition");
    return true;
}

bool RecordingUpdater::UpdateConfigFile(DWORD dwInstalledVersion, int nListKind, CWnd* pNotifyWnd)
{
    m_log.Add("list " + std::to_string(nListKind));
    return true;
}

bool RecordingUpdater::ExtractZipFile(LPCSTR pszPath)
{
    std::string path(pszPath);
    size_t slash = path.find_last_of('\\');
    m_log.Add("extract " + (slash == std::string::npos ? path : path.substr(slash + 1)));
    return true;
}

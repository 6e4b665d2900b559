// The block shared with the user-service program (Quillon), starting that
// program on a page, and hearing its face notice.
#include "ClientDataCenter.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

#include "CustomFaceManagerWnd.h"
#include "GlobalUnits.h"
#include "ShareBlock.h"

namespace
{

// Tick and second name the block; another hall started in the same tick
// gets past it on the next try.
CString MakeShareName(int nTry)
{
    CString name;
    name.Format(SERVICE_SHARE_NAME_FORMAT, int(GetTickCount() + DWORD(nTry)), int(DWORD(time(NULL))));
    return name;
}

CClientDataCenter::PFN_SHARE_NAME g_pfnShareName = MakeShareName;

} // namespace

CClientDataCenter::PFN_SHARE_NAME CClientDataCenter::SetShareNameMaker(PFN_SHARE_NAME pfn)
{
    PFN_SHARE_NAME previous = g_pfnShareName;
    g_pfnShareName = pfn != NULL ? pfn : MakeShareName;
    return previous;
}

void CClientDataCenter::CreateShareBlock()
{
    m_pShareData = static_cast<tagServiceShareData*>(CreateOwnShareBlock(
        g_pfnShareName, 8, sizeof(tagServiceShareData), m_szShareName, sizeof(m_szShareName), m_hShareMemory));
    if (m_pShareData == NULL)
        AfxMessageBox("创建共享内存失败");
}

void CClientDataCenter::CloseShareBlock()
{
    ReleaseShareBlock(m_pShareData, m_hShareMemory);
}

void CClientDataCenter::WriteSharePassword(LPCSTR pszPassword)
{
    if (m_pShareData != NULL)
        CopyTextField(m_pShareData->szPassword, pszPassword != NULL ? pszPassword : "");
}

void CClientDataCenter::TerminateService()
{
    if (m_ServiceProcess.hProcess != NULL && WaitForSingleObject(m_ServiceProcess.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(m_ServiceProcess.hProcess, 0);
    if (m_ServiceProcess.hProcess != NULL)
        CloseHandle(m_ServiceProcess.hProcess);
    if (m_ServiceProcess.hThread != NULL)
        CloseHandle(m_ServiceProcess.hThread);
    memset(&m_ServiceProcess, 0, sizeof(m_ServiceProcess));
}

bool CClientDataCenter::OpenServicePage(DWORD dwPageGroup, DWORD dwPageIndex)
{
    if (IsGuest() || m_pShareData == NULL)
        return false;
    if (m_ServiceProcess.hProcess != NULL && WaitForSingleObject(m_ServiceProcess.hProcess, 0) == WAIT_TIMEOUT) {
        HWND hService = HWND(ULongToHandle(m_pShareData->dwServiceWnd));
        if (hService != NULL) {
            ::ShowWindow(hService, SW_SHOW);
            ::SetForegroundWindow(hService);
            return false;
        }
        TerminateProcess(m_ServiceProcess.hProcess, 0);
    }

    m_pShareData->dwServiceWnd = 0;
    m_pShareData->dwHallWnd = HandleToULong(AfxGetMainWnd()->GetSafeHwnd());
    m_pShareData->dwPageGroup = dwPageGroup;
    m_pShareData->dwPageIndex = dwPageIndex;
    if (m_ServiceProcess.hProcess != NULL)
        CloseHandle(m_ServiceProcess.hProcess);
    if (m_ServiceProcess.hThread != NULL)
        CloseHandle(m_ServiceProcess.hThread);
    memset(&m_ServiceProcess, 0, sizeof(m_ServiceProcess));

    CString strCommandLine;
    strCommandLine.Format("%s %s", (LPCSTR)s_strServiceProgram, m_szShareName);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    if (!CreateProcessA(NULL, strCommandLine.GetBuffer(), NULL, NULL, FALSE, CREATE_DEFAULT_ERROR_MODE, NULL, NULL,
                        &startup, &m_ServiceProcess)) {
        strCommandLine.ReleaseBuffer();
        memset(&m_ServiceProcess, 0, sizeof(m_ServiceProcess));
        return false;
    }
    strCommandLine.ReleaseBuffer();
    return true;
}

// Only the notice's own shape counts: dwData 0, no data or its 256 bytes,
// from the window that the running user-service program wrote into the block.
bool CClientDataCenter::OnServiceCopyData(HWND hSender, const COPYDATASTRUCT* pCopyData)
{
    if (pCopyData == NULL || m_pShareData == NULL)
        return false;
    if (pCopyData->dwData != SERVICE_NOTICE_DATA ||
        (pCopyData->cbData != 0 && pCopyData->cbData != SERVICE_NOTICE_SIZE))
        return false;
    HWND hService = HWND(ULongToHandle(m_pShareData->dwServiceWnd));
    if (hService == NULL || hSender != hService || m_ServiceProcess.dwProcessId == 0)
        return false;
    DWORD dwSenderProcess = 0;
    GetWindowThreadProcessId(hSender, &dwSenderProcess);
    if (dwSenderProcess != m_ServiceProcess.dwProcessId)
        return false;

    tagGlobalUserData* pUserData = g_GlobalUnits.GetGlobalUserData();
    CCustomFaceManagerWnd* pFaceManager = g_GlobalUnits.GetCustomFaceManager();
    if (pFaceManager != NULL) {
        pFaceManager->LoadCachedFace(pUserData->dwUserID);
        CString strSign = pFaceManager->GetFaceSign(pUserData->dwUserID);
        if (!strSign.IsEmpty())
            CopyTextField(pUserData->szCustomFace, strSign);
    }
    return true;
}

#include "UpdateFixture.h"

#include "ZipEntryWriter.h"

#include <stdlib.h>

void UpdateFixture::SetUp()
{
    m_savedHttp = g_HttpTuning;
    m_savedUpdate = g_UpdateTuning;
    g_HttpTuning.dwHelperTimeout = kPatientTimeout;
    g_UpdateTuning.dwConnectTimeout = kPatientTimeout;
    g_UpdateTuning.dwReceiveTimeout = kPatientTimeout;
    g_UpdateTuning.dwStopWait = 3000;
    ASSERT_TRUE(m_server.Start());

    m_temp.reset(new CTempFolder);
    m_host.reset(new CTestUpdateHost(m_temp->Folder() + "\\"));
    m_host->m_strDownloadUrl = Url("").c_str();
    ::CreateDirectoryA(Work("config"), NULL);
    ::CreateDirectoryA(Work("Res"), NULL);

    m_hWnd = ::CreateWindowExA(0, "STATIC", "reports", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    ASSERT_TRUE(m_hWnd != NULL);
}

void UpdateFixture::UseShortTimeouts()
{
    g_HttpTuning.dwHelperTimeout = kShortTimeout;
    g_UpdateTuning.dwConnectTimeout = kShortTimeout;
    g_UpdateTuning.dwReceiveTimeout = kShortTimeout;
}

void UpdateFixture::TearDown()
{
    if (m_hWnd != NULL)
        ::DestroyWindow(m_hWnd);
    m_server.Stop();
    m_host.reset();
    m_temp.reset();
    g_HttpTuning = m_savedHttp;
    g_UpdateTuning = m_savedUpdate;
}

Report UpdateFixture::WaitReport(DWORD dwTimeout)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, m_hWnd, WM_UPDATE_FAILED, WM_UPDATE_FINISHED, PM_REMOVE)) {
            Report report;
            report.uMessage = msg.message;
            report.wParam = msg.wParam;
            report.lParam = msg.lParam;
            return report;
        }
        DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeout)
            return Report();
        MsgWaitForMultipleObjects(0, NULL, FALSE, dwTimeout - dwElapsed, QS_POSTMESSAGE);
    }
}

void UpdateFixture::WriteDynaItemCfg(const std::string& strText)
{
    ::CreateDirectoryA(Work("config\\Dynamic"), NULL);
    WriteBytes(Work("config\\Dynamic\\DynaItemCfg.ini"), strText);
}

std::string MakeZip(const std::vector<std::pair<CString, std::string>>& entries, int nMethod)
{
    CTempFolder temp;
    CString strPath = temp / "made.zip";
    {
        CZipPack pack;
        pack.OpenArchive(strPath, CZipPack::zipCreate);
        CZipEntryWriter writer(pack);
        for (const auto& entry : entries) {
            ZipNewEntry header;
            header.name = entry.first;
            header.method = nMethod;
            writer.Add(header, entry.second.data(), (DWORD)entry.second.size());
        }
        pack.CloseArchive();
    }
    return ReadBytes(strPath);
}

std::string FileBody(const std::string& strTag)
{
    return "[Public]\r\nversion=1\r\n; " + strTag + "\r\n" + CHttpTestServer::Pattern(5000);
}

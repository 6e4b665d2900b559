// Shared set-up of the update driver tests: a scripted HTTP server on
// 127.0.0.1, a temporary program folder with its host, a window that
// receives the reports, and short time-outs.
#pragma once

// The class library before the SDK headers, whose macros rename some of its
// members; the server's Winsock before the window headers.
#include <afx.h>

#include "HttpTestServer.h"

#include <afxwin.h>

#include "FileUpdate.h"
#include "HttpTuning.h"
#include "TestPorts.h"
#include "TestWait.h"
#include "UpdateTestHost.h"
#include "UpdateTuning.h"
#include "ZipTestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct Report
{
    UINT uMessage = 0; // 0: none arrived
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class UpdateFixture : public testing::Test
{
protected:
    // For the tests that wait for a stalled server to time out.
    static constexpr DWORD kShortTimeout = 400;
    // Every other test: a loaded machine must never turn a slow answer
    // into a failure.
    static constexpr DWORD kPatientTimeout = 15000;
    static constexpr DWORD kReportWait = 20000;

    void SetUp() override;
    void TearDown() override;
    void UseShortTimeouts();

    std::string Url(const std::string& strPath) const { return m_server.Url(strPath); }
    CWnd* NotifyWnd() const { return CWnd::FromHandle(m_hWnd); }
    // The next report posted to the window, waiting up to dwTimeout ms.
    Report WaitReport(DWORD dwTimeout = kReportWait);
    // Paths under the program folder.
    CString Work(LPCSTR pszRelative) const { return m_host->m_strWork + pszRelative; }
    CString Dynamic(LPCSTR pszName) const { return m_host->GetConfigDirectory() + "\\Dynamic\\" + pszName; }
    void WriteDynaItemCfg(const std::string& strText);

    CHttpTestServer m_server;
    std::unique_ptr<CTempFolder> m_temp;
    std::unique_ptr<CTestUpdateHost> m_host;
    HWND m_hWnd = NULL;
    tagHttpTuning m_savedHttp;
    tagUpdateTuning m_savedUpdate;
};

// A zip archive of the given entries (name as the reader shows it, data);
// method 0 stores them, 8 deflates them.
std::string MakeZip(const std::vector<std::pair<CString, std::string>>& entries, int nMethod = 8);
// An HTTP body of the given bytes that no check refuses.
std::string FileBody(const std::string& strTag);

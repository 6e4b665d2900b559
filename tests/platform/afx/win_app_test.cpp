// The application object and its loop, the profile, threads and
// synchronisation objects.
#include "win_test_res.h"
#include "win_test_util.h"

#include <AfxModalScript.h>
#include <TestWait.h>
#include <afxmt.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace
{

// A quit message left behind would end the next modal loop of the test thread.
void DrainQuit()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
}

class CBoxApp : public CWinApp
{
public:
    CBoxApp() : CWinApp("AfxTestApp") {}
    std::vector<CString> m_prompts;
    UINT m_nLastType = 0;
    UINT m_nLastHelp = 0;
    int m_nAnswer = IDOK;

    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override
    {
        m_prompts.push_back(lpszPrompt);
        m_nLastType = nType;
        m_nLastHelp = nIDPrompt;
        return m_nAnswer;
    }
};

TEST(AfxApp, TheApplicationIsTheThreadObjectWhileItLives)
{
    {
        CBoxApp app;
        EXPECT_EQ(AfxGetApp(), &app);
        EXPECT_EQ(AfxGetThread(), &app);
        EXPECT_STREQ(AfxGetAppName(), "AfxTestApp");
        ASSERT_TRUE(AfxWinInit(::GetModuleHandle(NULL), NULL, (LPTSTR) "", SW_HIDE));
        EXPECT_EQ(app.m_hInstance, ::GetModuleHandle(NULL));
        EXPECT_STREQ(app.m_pszExeName, "afx_win_tests");
        EXPECT_STREQ(app.m_pszAppName, "AfxTestApp");
        CString strProfile = app.m_pszProfileName;
        EXPECT_EQ(strProfile.Right(17), CString("afx_win_tests.INI"));
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetThread(), nullptr);
}

TEST(AfxApp, MessageBoxesGoThroughDoMessageBox)
{
    CModalScript script;
    CBoxApp app;
    app.m_nAnswer = IDNO;
    EXPECT_EQ(AfxMessageBox("继续吗？", MB_YESNO), IDNO);
    EXPECT_EQ(app.m_nLastType, (UINT)MB_YESNO); // as the caller gave it
    EXPECT_EQ(AfxMessageBox(IDS_TEST_GREETING, MB_OK), IDNO);
    ASSERT_EQ(app.m_prompts.size(), 2u);
    EXPECT_STREQ(app.m_prompts[1], "你好，世界");
    EXPECT_EQ(app.m_nLastHelp, (UINT)IDS_TEST_GREETING);
    EXPECT_EQ(script.Count(), 0u); // the override showed its own box
}

TEST(AfxApp, DefaultBoxIsCaptionedWithTheApplicationName)
{
    CModalScript script;
    script.Answer(IDOK);
    CWinApp app("应用");
    EXPECT_EQ(AfxMessageBox("x"), IDOK);
    EXPECT_STREQ(script.At(0).strCaption, "应用");
}

class CTestFrame : public CFrameWnd
{
public:
    int m_nKeysEaten = 0;
    int m_nKeysReached = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F9) {
            ++m_nKeysEaten;
            return TRUE;
        }
        return CFrameWnd::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++m_nKeysReached; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class CLoopApp : public CWinApp
{
public:
    explicit CLoopApp(BOOL bInitOK) : CWinApp("Loop"), m_bInitOK(bInitOK) {}
    BOOL m_bInitOK;
    int m_nInit = 0;
    int m_nExit = 0;
    LONG m_lMaxIdle = -1;
    WPARAM m_nPings = 0;
    int m_nKeysEaten = -1;
    int m_nKeysReached = -1;
    HWND m_hMain = NULL;

    BOOL InitInstance() override
    {
        ++m_nInit;
        CTestFrame* pFrame = new CTestFrame;
        if (!pFrame->Create(NULL, "Main", WS_OVERLAPPEDWINDOW))
            return FALSE;
        m_pMainWnd = pFrame;
        m_hMain = pFrame->m_hWnd;
        if (!m_bInitOK)
            return FALSE;
        pFrame->PostMessage(WM_KEYDOWN, VK_F9, 0);
        pFrame->PostMessage(WM_KEYDOWN, VK_F8, 0);
        ::PostThreadMessage(::GetCurrentThreadId(), WM_APP + 1, 5, 0);
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        m_lMaxIdle = std::max(m_lMaxIdle, lCount);
        // Idle with everything handled: close the main window, which ends the loop.
        if (lCount >= 1 && m_pMainWnd != NULL) {
            CTestFrame* pFrame = static_cast<CTestFrame*>(m_pMainWnd);
            m_nKeysEaten = pFrame->m_nKeysEaten;
            m_nKeysReached = pFrame->m_nKeysReached;
            pFrame->PostMessage(WM_CLOSE);
        }
        return CWinApp::OnIdle(lCount);
    }
    int ExitInstance() override
    {
        ++m_nExit;
        return CWinApp::ExitInstance() + 100;
    }

protected:
    afx_msg void OnPing(WPARAM wParam, LPARAM) { m_nPings += wParam; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoopApp, CWinApp)
    ON_THREAD_MESSAGE(WM_APP + 1, OnPing)
END_MESSAGE_MAP()

TEST(AfxApp, WinMainRunsTheLoopUntilTheMainWindowGoes)
{
    CLoopApp app(TRUE);
    int nCode = AfxWinMain(::GetModuleHandle(NULL), NULL, (LPTSTR) "-x", SW_HIDE);
    EXPECT_EQ(nCode, 100); // WM_QUIT's 0 through ExitInstance
    EXPECT_EQ(app.m_nInit, 1);
    EXPECT_EQ(app.m_nExit, 1);
    EXPECT_GE(app.m_lMaxIdle, 1);
    EXPECT_EQ(app.m_nPings, 5u);
    EXPECT_EQ(app.m_nKeysEaten, 1);
    EXPECT_EQ(app.m_nKeysReached, 1);
    EXPECT_STREQ(app.m_lpCmdLine, "-x");
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_FALSE(::IsWindow(app.m_hMain));
    DrainQuit();
}

TEST(AfxApp, FailedInitInstanceDestroysTheMainWindow)
{
    CLoopApp app(FALSE);
    AfxWinMain(::GetModuleHandle(NULL), NULL, (LPTSTR) "", SW_HIDE);
    EXPECT_EQ(app.m_nExit, 1);
    EXPECT_EQ(app.m_lMaxIdle, -1);
    EXPECT_FALSE(::IsWindow(app.m_hMain));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    DrainQuit();
}

// ------------------------------------------------------------------ profile

class AfxProfile : public ::testing::Test
{
protected:
    void SetUp() override { m_strKey.Format("TavrelAfxTest%lu", ::GetCurrentProcessId()); }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\" + m_strKey); }
    CString m_strKey;
};

TEST_F(AfxProfile, RegistryRoundTripUnderTheApplicationsKey)
{
    CWinApp app("AfxTestApp");
    app.SetRegistryKey(m_strKey);
    EXPECT_STREQ(app.m_pszRegistryKey, m_strKey);
    EXPECT_STREQ(app.m_pszProfileName, "AfxTestApp");

    EXPECT_TRUE(app.WriteProfileInt("设置", "Count", -5));
    EXPECT_EQ((int)app.GetProfileInt("设置", "Count", 0), -5);
    EXPECT_TRUE(app.WriteProfileString("设置", "Name", "玩家一"));
    EXPECT_STREQ(app.GetProfileString("设置", "Name"), "玩家一");
    EXPECT_TRUE(app.WriteProfileString("设置", "Empty", ""));
    EXPECT_STREQ(app.GetProfileString("设置", "Empty", "dflt"), "");
    const BYTE data[] = {0, 1, 0xFF, 0x80, 0};
    EXPECT_TRUE(app.WriteProfileBinary("设置", "Blob", (LPBYTE)data, sizeof(data)));
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(app.GetProfileBinary("设置", "Blob", &pData, &nBytes));
    ASSERT_EQ(nBytes, sizeof(data));
    EXPECT_EQ(memcmp(pData, data, sizeof(data)), 0);
    delete[] pData;

    // Missing values, and values of another type, give the default.
    EXPECT_EQ(app.GetProfileInt("设置", "Missing", 17), 17u);
    EXPECT_STREQ(app.GetProfileString("设置", "Missing", "dflt"), "dflt");
    EXPECT_STREQ(app.GetProfileString("设置", "Missing"), "");
    EXPECT_EQ(app.GetProfileInt("设置", "Name", 3), 3u);
    EXPECT_STREQ(app.GetProfileString("设置", "Count", "dflt"), "dflt");
    pData = (LPBYTE)1;
    EXPECT_FALSE(app.GetProfileBinary("设置", "Count", &pData, &nBytes));
    EXPECT_EQ(pData, nullptr);
    EXPECT_EQ(nBytes, 0u);

    // The layout other programs (and older versions) read.
    HKEY hKey = NULL;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\" + m_strKey + "\\AfxTestApp\\设置", 0, KEY_READ, &hKey),
              ERROR_SUCCESS);
    DWORD dwType = 0, dwValue = 0, cb = sizeof(dwValue);
    EXPECT_EQ(::RegQueryValueExA(hKey, "Count", NULL, &dwType, (LPBYTE)&dwValue, &cb), ERROR_SUCCESS);
    EXPECT_EQ(dwType, (DWORD)REG_DWORD);
    EXPECT_EQ(dwValue, 0xFFFFFFFBu);
    char szName[32] = "";
    cb = sizeof(szName);
    EXPECT_EQ(::RegQueryValueExA(hKey, "Name", NULL, &dwType, (LPBYTE)szName, &cb), ERROR_SUCCESS);
    EXPECT_EQ(dwType, (DWORD)REG_SZ);
    EXPECT_STREQ(szName, "玩家一");
    ::RegCloseKey(hKey);

    // Removing an entry, then the whole section.
    EXPECT_TRUE(app.WriteProfileString("设置", "Name", NULL));
    EXPECT_STREQ(app.GetProfileString("设置", "Name", "gone"), "gone");
    EXPECT_TRUE(app.WriteProfileString("设置", NULL, NULL));
    EXPECT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\" + m_strKey + "\\AfxTestApp\\设置", 0, KEY_READ, &hKey),
              ERROR_FILE_NOT_FOUND);
}

TEST(AfxProfileFile, PrivateProfileWithoutARegistryKey)
{
    char szPath[MAX_PATH];
    ::GetTempPathA(MAX_PATH, szPath);
    CString strFile;
    strFile.Format("%safx_profile_%lu.ini", szPath, ::GetCurrentProcessId());
    ::DeleteFileA(strFile);

    CWinApp app("IniApp");
    free((void*)app.m_pszProfileName);
    app.m_pszProfileName = _strdup(strFile);

    EXPECT_TRUE(app.WriteProfileInt("S", "I", 12));
    EXPECT_EQ(app.GetProfileInt("S", "I", 0), 12u);
    EXPECT_TRUE(app.WriteProfileString("S", "T", "文字"));
    EXPECT_STREQ(app.GetProfileString("S", "T"), "文字");
    const BYTE data[] = {0x00, 0xAB, 0xFF};
    EXPECT_TRUE(app.WriteProfileBinary("S", "B", (LPBYTE)data, sizeof(data)));
    char szRaw[32] = "";
    ::GetPrivateProfileStringA("S", "B", "", szRaw, sizeof(szRaw), strFile);
    EXPECT_STREQ(szRaw, "AALKPP"); // two letters a byte, low nibble first
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    ASSERT_TRUE(app.GetProfileBinary("S", "B", &pData, &nBytes));
    ASSERT_EQ(nBytes, 3u);
    EXPECT_EQ(memcmp(pData, data, 3), 0);
    delete[] pData;

    // Text that is not the binary form is refused, not half read.
    for (LPCSTR pszBad : {"AZ", "AAA", "aa"}) {
        SCOPED_TRACE(pszBad);
        ::WritePrivateProfileStringA("S", "Bad", pszBad, strFile);
        pData = nullptr;
        EXPECT_FALSE(app.GetProfileBinary("S", "Bad", &pData, &nBytes));
        EXPECT_EQ(pData, nullptr);
    }
    ::DeleteFileA(strFile);
}

// ------------------------------------------------------------------ threads

UINT AFX_CDECL StoreAndAnswer(LPVOID pParam)
{
    *static_cast<std::atomic<int>*>(pParam) = 5;
    return 42 + (AfxGetThread() != nullptr ? 1 : 0);
}

TEST(AfxThreads, SuspendedWorkerRunsWhenResumed)
{
    std::atomic<int> value{0};
    CWinThread* pThread = AfxBeginThread(StoreAndAnswer, &value, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    EXPECT_NE(pThread->m_hThread, (HANDLE)NULL);
    EXPECT_NE(pThread->m_nThreadID, 0u);
    DWORD dwCode = 0;
    EXPECT_TRUE(::GetExitCodeThread(pThread->m_hThread, &dwCode));
    EXPECT_EQ(dwCode, (DWORD)STILL_ACTIVE);
    EXPECT_EQ(value.load(), 0);
    EXPECT_EQ(pThread->ResumeThread(), 1u); // it had been suspended once
    ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(::GetExitCodeThread(pThread->m_hThread, &dwCode));
    EXPECT_EQ(dwCode, 43u); // the thread saw its own object
    EXPECT_EQ(value.load(), 5);
    delete pThread;
}

std::atomic<int> g_nThreadsDeleted{0};

class CCountedThread : public CWinThread
{
public:
    CCountedThread(AFX_THREADPROC pfn, LPVOID pParam) : CWinThread(pfn, pParam) {}
    ~CCountedThread() override { ++g_nThreadsDeleted; }
};

TEST(AfxThreads, AutoDeletingThreadFreesItsObject)
{
    std::atomic<int> value{0};
    g_nThreadsDeleted = 0;
    CCountedThread* pThread = new CCountedThread(StoreAndAnswer, &value);
    ASSERT_TRUE(pThread->CreateThread());
    WaitFor([] { return g_nThreadsDeleted != 0; }, 5000);
    EXPECT_EQ(g_nThreadsDeleted.load(), 1);
    EXPECT_EQ(value.load(), 5);
}

class CUiThread : public CWinThread
{
    DECLARE_DYNCREATE(CUiThread)
public:
    static HANDLE s_hReady;
    static std::atomic<int> s_nPings;
    static CWinThread* s_pSeen;

    BOOL InitInstance() override
    {
        s_pSeen = AfxGetThread();
        MSG msg;
        ::PeekMessage(&msg, NULL, 0, 0, PM_NOREMOVE); // the queue exists now
        ::SetEvent(s_hReady);
        return TRUE;
    }
    int ExitInstance() override { return CWinThread::ExitInstance() + 1000; }

protected:
    afx_msg void OnPing(WPARAM wParam, LPARAM)
    {
        s_nPings += (int)wParam;
        if (wParam == 0)
            ::PostQuitMessage(7);
    }
    DECLARE_MESSAGE_MAP()
};

HANDLE CUiThread::s_hReady = NULL;
std::atomic<int> CUiThread::s_nPings{0};
CWinThread* CUiThread::s_pSeen = nullptr;

IMPLEMENT_DYNCREATE(CUiThread, CWinThread)

BEGIN_MESSAGE_MAP(CUiThread, CWinThread)
    ON_THREAD_MESSAGE(WM_APP + 1, OnPing)
END_MESSAGE_MAP()

TEST(AfxThreads, UserInterfaceThreadRunsItsLoop)
{
    CUiThread::s_hReady = ::CreateEvent(NULL, TRUE, FALSE, NULL);
    CUiThread::s_nPings = 0;
    CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CUiThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    EXPECT_TRUE(pThread->IsKindOf(RUNTIME_CLASS(CUiThread)));
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_EQ(::WaitForSingleObject(CUiThread::s_hReady, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(pThread->PostThreadMessage(WM_APP + 1, 3, 0));
    EXPECT_TRUE(pThread->PostThreadMessage(WM_APP + 1, 0, 0));
    ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 5000), WAIT_OBJECT_0);
    DWORD dwCode = 0;
    ::GetExitCodeThread(pThread->m_hThread, &dwCode);
    EXPECT_EQ(dwCode, 1007u);
    EXPECT_EQ(CUiThread::s_nPings.load(), 3);
    EXPECT_EQ(CUiThread::s_pSeen, pThread);
    delete pThread;
    ::CloseHandle(CUiThread::s_hReady);
}

UINT AFX_CDECL EndsEarly(LPVOID pParam)
{
    AfxEndThread(9);
    *static_cast<std::atomic<int>*>(pParam) = 1; // never reached
    return 0;
}

TEST(AfxThreads, EndThreadLeavesWithItsCode)
{
    std::atomic<int> value{0};
    g_nThreadsDeleted = 0;
    CCountedThread* pThread = new CCountedThread(EndsEarly, &value);
    pThread->m_bAutoDelete = FALSE;
    ASSERT_TRUE(pThread->CreateThread());
    ASSERT_EQ(::WaitForSingleObject(pThread->m_hThread, 5000), WAIT_OBJECT_0);
    DWORD dwCode = 0;
    ::GetExitCodeThread(pThread->m_hThread, &dwCode);
    EXPECT_EQ(dwCode, 9u);
    EXPECT_EQ(value.load(), 0);
    EXPECT_EQ(g_nThreadsDeleted.load(), 0); // kept: not auto-deleting
    delete pThread;
}

TEST(AfxThreads, OnlyThreadClassesStart)
{
    bool bThrown = false;
    try {
        AfxBeginThread(RUNTIME_CLASS(CWnd));
    } catch (CInvalidArgException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

// ------------------------------------------------------------------ synchronisation

template <class F> BOOL OnOtherThread(F f)
{
    BOOL bResult = FALSE;
    std::thread([&] { bResult = f(); }).join();
    return bResult;
}

TEST(AfxSync, MutexIsHeldByOneThreadAtATime)
{
    CMutex mutex;
    CSingleLock lock(&mutex);
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(lock.Lock(0));
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_FALSE(OnOtherThread([&] { return CSingleLock(&mutex).Lock(0); }));
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
    // A thread that ends holding it abandons it; the next lock still gets it.
    EXPECT_TRUE(OnOtherThread([&] { return ::WaitForSingleObject(mutex.m_hObject, 0) == WAIT_OBJECT_0; }));
    EXPECT_TRUE(lock.Lock(0));
}

TEST(AfxSync, LockIsReleasedWithTheLockObject)
{
    CCriticalSection section;
    {
        CSingleLock lock(&section, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_FALSE(OnOtherThread([&] { return CSingleLock(&section).Lock(0); }));
    }
    EXPECT_TRUE(OnOtherThread([&] {
        CSingleLock lock(&section);
        return lock.Lock(0) && lock.Unlock();
    }));
}

TEST(AfxSync, NamedMutexOpensTheExistingOne)
{
    CString strName;
    strName.Format("TavrelAfxTestMutex%lu", ::GetCurrentProcessId());
    CMutex first(FALSE, strName);
    CMutex second(FALSE, strName);
    EXPECT_EQ(::GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    CSingleLock lock(&first, TRUE);
    EXPECT_FALSE(OnOtherThread([&] { return CSingleLock(&second).Lock(0); }));
}

TEST(AfxSync, EventsResetByThemselvesOrByHand)
{
    struct Case
    {
        BOOL bManualReset;
        BOOL bSecondLock; // still signalled after one waiter got through
    } cases[] = {{FALSE, FALSE}, {TRUE, TRUE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bManualReset);
        CEvent event(FALSE, c.bManualReset);
        CSingleLock lock(&event);
        EXPECT_FALSE(lock.Lock(0));
        EXPECT_TRUE(event.SetEvent());
        EXPECT_TRUE(lock.Lock(0));
        EXPECT_TRUE(lock.Unlock());
        EXPECT_EQ(lock.Lock(0), c.bSecondLock);
        lock.Unlock();
        event.ResetEvent();
        EXPECT_FALSE(lock.Lock(0));
    }
    CEvent signalled(TRUE, TRUE);
    EXPECT_TRUE(CSingleLock(&signalled).Lock(0));
}

TEST(AfxSync, SemaphoreCounts)
{
    CSemaphore semaphore(2, 2);
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_TRUE(semaphore.Lock(0));
    EXPECT_FALSE(semaphore.Lock(0));
    LONG lPrevious = -1;
    EXPECT_TRUE(semaphore.Unlock(1, &lPrevious));
    EXPECT_EQ(lPrevious, 0);
    EXPECT_TRUE(semaphore.Lock(0));
}

} // namespace

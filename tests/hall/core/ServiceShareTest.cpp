// The block shared with the user-service program, starting that program (a
// stand-in here) and its face notice.
#include "DataCenterTestSupport.h"
#include "HallProtocol.h"

#include <stdio.h>


#include "AfxModalScript.h"
#include "GlobalUnits.h"

namespace
{

class ServiceShareTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        CClientDataCenter::SetServiceProgram("quillon_standin.exe");
        m_strReport = m_Folder.Path() + "report.bin";
        SetEnvironmentVariableA("TAVREL_QUILLON_REPORT", m_strReport.c_str());
        SetEnvironmentVariableA("TAVREL_QUILLON_MODE", "");
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 4321;
    }

    void TearDown() override
    {
        DataCenterTest::TearDown(); // ends a stand-in that still runs
        SetEnvironmentVariableA("TAVREL_QUILLON_REPORT", NULL);
        SetEnvironmentVariableA("TAVREL_QUILLON_MODE", NULL);
        CClientDataCenter::SetServiceProgram("Quillon.exe");
    }

    // The 84 bytes the stand-in read and its window, once it wrote them.
    bool ReadReport(tagServiceShareData& block, DWORD& window)
    {
        // The stand-in may still be starting (slow under emulation) or writing:
        // wait for the whole report.
        std::vector<char> bytes;
        if (!PumpUntilFileRead(m_strReport, sizeof(block) + sizeof(window), bytes, 60000))
            return false;
        memcpy(&block, bytes.data(), sizeof(block));
        memcpy(&window, bytes.data() + sizeof(block), sizeof(window));
        // Gone before the next start writes its own (the delete, too, waits out
        // the writer's rename).
        return PumpUntil([&] { return DeleteFileA(m_strReport.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
    }

    // The block as another process sees it, by its name.
    tagServiceShareData ReadBlockByName()
    {
        tagServiceShareData block = {};
        HANDLE h = OpenFileMappingA(FILE_MAP_READ, FALSE, m_pDataCenter->GetShareName());
        EXPECT_NE(nullptr, h);
        if (h == NULL)
            return block;
        void* view = MapViewOfFile(h, FILE_MAP_READ, 0, 0, sizeof(block));
        memcpy(&block, view, sizeof(block));
        UnmapViewOfFile(view);
        CloseHandle(h);
        return block;
    }

    std::string m_strReport;
};

TEST_F(ServiceShareTest, BlockNameAndLayout)
{
    int tick = 0, seconds = 0;
    char rest = 0;
    ASSERT_EQ(2, sscanf(m_pDataCenter->GetShareName(), "TID=0x8%dP=%d%c", &tick, &seconds, &rest))
        << m_pDataCenter->GetShareName();
    tagServiceShareData block = ReadBlockByName();
    EXPECT_EQ(0, memcmp(&block, "\0\0\0\0\0\0\0\0\0\0\0\0", 12)) << "zeroed at creation";

    // The logon writes the digest, its result the user id.
    ListenToAll();
    ConnectToServer();
    m_Server.On(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_ACCOUNT,
                {CHallServer::Reply(HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
                                    CWireBytes().U32(0).U32(0x11223344).Str("n").U16(1).U8(0).Counted("").Vector())});
    tagLogonInput input = {};
    strcpy(input.szAccounts, "a");
    strcpy(input.szPassword, "0123456789abcdef0123456789abcdef");
    DWORD serial = 0;
    ASSERT_TRUE(m_pDataCenter->SendLogon(serial, m_Recorder.GetHwnd(), input));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(HN_LOGON_RESULT) == 1; }));
    BYTE raw[84];
    block = ReadBlockByName();
    memcpy(raw, &block, sizeof(raw));
    EXPECT_EQ(0x44, raw[0]);
    EXPECT_EQ(0x11, raw[3]);
    EXPECT_EQ(0, memcmp(raw + 12, "0123456789abcdef0123456789abcdef", 33));
}

TEST_F(ServiceShareTest, StartsTheProgramOnItsPageAndBringsItForwardLater)
{
    strcpy(const_cast<char*>(m_pDataCenter->GetShareData()->szPassword), "digest");
    ASSERT_TRUE(m_pDataCenter->OpenServicePage(3, 4));
    tagServiceShareData seen;
    DWORD window = 0;
    ASSERT_TRUE(ReadReport(seen, window));
    EXPECT_EQ(3u, seen.dwPageGroup);
    EXPECT_EQ(4u, seen.dwPageIndex);
    EXPECT_STREQ("digest", seen.szPassword);
    EXPECT_EQ(HandleToULong(m_MainWnd.GetSafeHwnd()), seen.dwHallWnd);
    EXPECT_NE(0u, window);
    EXPECT_EQ(window, m_pDataCenter->GetShareData()->dwServiceWnd) << "the program's window, written back";

    // A second request only brings that window forward.
    ShowWindow(HWND(ULongToHandle(window)), SW_HIDE);
    EXPECT_FALSE(m_pDataCenter->OpenServicePage(1, 0));
    EXPECT_TRUE(IsWindowVisible(HWND(ULongToHandle(window))));
    PumpFor(300);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_strReport.c_str())) << "no second start";
    EXPECT_EQ(3u, m_pDataCenter->GetShareData()->dwPageGroup);
}

TEST_F(ServiceShareTest, ProgramWithoutWindowIsReplaced)
{
    SetEnvironmentVariableA("TAVREL_QUILLON_MODE", "nowindow");
    ASSERT_TRUE(m_pDataCenter->OpenServicePage(1, 0));
    tagServiceShareData seen;
    DWORD firstWindow = 0;
    ASSERT_TRUE(ReadReport(seen, firstWindow));
    EXPECT_EQ(0u, m_pDataCenter->GetShareData()->dwServiceWnd);

    SetEnvironmentVariableA("TAVREL_QUILLON_MODE", "");
    ASSERT_TRUE(m_pDataCenter->OpenServicePage(2, 5));
    DWORD secondWindow = 0;
    ASSERT_TRUE(ReadReport(seen, secondWindow));
    EXPECT_EQ(2u, seen.dwPageGroup);
    EXPECT_EQ(5u, seen.dwPageIndex);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(HWND(ULongToHandle(firstWindow))); }))
        << "the first program was ended";
}

std::vector<CString> g_Names;
CString NextName(int)
{
    if (g_Names.empty())
        return CString();
    CString name = g_Names.front();
    g_Names.erase(g_Names.begin());
    return name;
}

// Another hall started in the same tick holds the name first: this one takes
// a fresh name and a block of its own; with every name taken it holds none
// and says so, and the other's block is left as it was.
TEST_F(ServiceShareTest, NameHeldElsewhereTakesAFreshOne)
{
    CString taken;
    taken.Format("TID=0x8%luP=1", GetCurrentProcessId());
    HANDLE hTaken = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 4096, taken);
    ASSERT_NE(nullptr, hTaken);
    BYTE* pTheirs = static_cast<BYTE*>(MapViewOfFile(hTaken, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(nullptr, pTheirs);
    pTheirs[0] = 0x5A;
    CClientDataCenter::PFN_SHARE_NAME previous = CClientDataCenter::SetShareNameMaker(NextName);

    g_Names = {taken, taken + "2"};
    {
        CClientDataCenter second;
        EXPECT_STREQ(taken + "2", second.GetShareName());
        ASSERT_NE(nullptr, second.GetShareData());
        EXPECT_EQ(0u, second.GetShareData()->dwUserID);
    }

    CModalScript script;
    g_Names = {taken};
    {
        CClientDataCenter third;
        EXPECT_STREQ("", third.GetShareName());
        EXPECT_EQ(nullptr, third.GetShareData());
        EXPECT_FALSE(third.OpenServicePage(1, 0));
    }
    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(CString("创建共享内存失败"), script.At(0).strText);
    EXPECT_EQ(0x5A, pTheirs[0]);

    CClientDataCenter::SetShareNameMaker(previous);
    UnmapViewOfFile(pTheirs);
    CloseHandle(hTaken);
}

TEST_F(ServiceShareTest, FailedStartKeepsNoProcess)
{
    CClientDataCenter::SetServiceProgram("no_such_program_here.exe");
    EXPECT_FALSE(m_pDataCenter->OpenServicePage(1, 0));
    CClientDataCenter::SetServiceProgram("quillon_standin.exe");
    EXPECT_TRUE(m_pDataCenter->OpenServicePage(1, 0));
}

TEST_F(ServiceShareTest, FaceNoticeOnlyInItsOwnShape)
{
    CServiceHallWindow hall(m_pDataCenter);
    HWND original = m_MainWnd.Detach();
    m_MainWnd.Attach(hall.m_hWnd);
    SetEnvironmentVariableA("TAVREL_QUILLON_MODE", "notice");
    ASSERT_TRUE(m_pDataCenter->OpenServicePage(1, 0));
    ASSERT_TRUE(PumpUntil([&] { return !hall.Notices.empty(); }, 10000));
    EXPECT_TRUE(hall.Notices[0]) << "the program's own notice is taken";
    HWND service = HWND(ULongToHandle(m_pDataCenter->GetShareData()->dwServiceWnd));

    char data[256] = {};
    struct Case
    {
        const char* name;
        HWND sender;
        COPYDATASTRUCT cds;
        bool taken;
    };
    const Case cases[] = {
        {"the notice", service, {0, 256, data}, true},
        {"the notice without data", service, {0, 0, NULL}, true},
        {"another dwData", service, {1, 256, data}, false},
        {"another size", service, {0, 8, data}, false},
        {"another sender", hall.m_hWnd, {0, 256, data}, false},
        {"no sender", NULL, {0, 256, data}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.taken, m_pDataCenter->OnServiceCopyData(c.sender, &c.cds));
    }
    EXPECT_FALSE(m_pDataCenter->OnServiceCopyData(service, NULL));
    m_MainWnd.Detach();
    m_MainWnd.Attach(original);
}

TEST_F(ServiceShareTest, NoticeBeforeAnyProgramIsRefused)
{
    COPYDATASTRUCT cds = {0, 0, NULL};
    EXPECT_FALSE(m_pDataCenter->OnServiceCopyData(m_MainWnd.GetSafeHwnd(), &cds));
}

TEST_F(ServiceShareTest, ResetEndsTheProgram)
{
    ASSERT_TRUE(m_pDataCenter->OpenServicePage(1, 0));
    tagServiceShareData seen;
    DWORD window = 0;
    ASSERT_TRUE(ReadReport(seen, window));
    ASSERT_TRUE(m_pDataCenter->ResetLogonState(true));
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(HWND(ULongToHandle(window))); }));
}

} // namespace

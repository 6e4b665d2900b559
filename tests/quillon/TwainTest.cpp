// The scanner link against the stand-in source manager beside this program:
// link, source selection, opening, enabling, event filtering, transfers,
// refusals and closing; and, from a folder without the library, no link.
#include "FaceTestSupport.h"

#include "TempFolder.h"
#include "Twain.h"

#include <gtest/gtest.h>

namespace
{

class CRecordingTwain : public CTwain
{
public:
    struct Taken
    {
        LONG cx, cy;
        TW_INT32 nInfoWidth;
    };
    std::vector<Taken> Images;
    int nAnswer = 0; // AskTransfer's answer

    int AskTransfer(TW_IMAGEINFO&) override { return nAnswer; }
    void TakeImage(HANDLE hBitmap, TW_IMAGEINFO& info) override
    {
        const BITMAPINFOHEADER* pHeader = static_cast<const BITMAPINFOHEADER*>(GlobalLock(hBitmap));
        Images.push_back(
            {pHeader != NULL ? pHeader->biWidth : -1, pHeader != NULL ? pHeader->biHeight : -1, info.ImageWidth});
        GlobalUnlock(hBitmap);
    }
};

class TwainTest : public testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_Manager.IsLoaded()) << "TWAIN_32.DLL stand-in beside the test program";
        m_hWnd = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL), NULL);
    }
    void TearDown() override { DestroyWindow(m_hWnd); }

    void Script(int nImages, int nInfoAnswers = 0, BOOL bFailTransfer = FALSE, BOOL bCancelSelect = FALSE)
    {
        tagStandInScript script = {nImages, 40, 30, bCancelSelect, bFailTransfer, FALSE, nInfoAnswers};
        m_Manager.Script(script);
    }
    // Link, select, open and enable the source.
    void Enable(CRecordingTwain& twain)
    {
        ASSERT_TRUE(twain.StartLink(m_hWnd));
        ASSERT_TRUE(twain.ChooseSource());
        ASSERT_TRUE(twain.OpenDataSource());
        ASSERT_TRUE(twain.EnableDataSource(FALSE));
    }
    BOOL Post(CRecordingTwain& twain, UINT message)
    {
        MSG msg = {m_hWnd, message, 0, 0, 0, {0, 0}};
        return twain.FilterMessage(&msg);
    }

    CStandInManager m_Manager;
    HWND m_hWnd = NULL;
};

TEST_F(TwainTest, LinkOpensTheManagerWithOurIdentity)
{
    Script(0);
    CRecordingTwain twain;
    EXPECT_FALSE(twain.StartLink(NULL)) << "not a window";
    EXPECT_FALSE(twain.IsLinked());
    ASSERT_TRUE(twain.StartLink(m_hWnd));
    EXPECT_TRUE(twain.IsManagerOpen());
    EXPECT_TRUE(twain.StartLink(m_hWnd)) << "already linked";
    EXPECT_EQ(1, m_Manager.Count(DG_CONTROL, DAT_PARENT, MSG_OPENDSM));
    const TW_IDENTITY& id = twain.GetAppIdentity();
    EXPECT_EQ(3, id.Version.MajorNum);
    EXPECT_EQ(5, id.Version.MinorNum);
    EXPECT_EQ(13, id.Version.Language);
    EXPECT_EQ(1, id.Version.Country);
    EXPECT_STREQ("3.5", id.Version.Info);
    EXPECT_EQ(1, id.ProtocolMajor);
    EXPECT_EQ(8, id.ProtocolMinor);
    EXPECT_EQ(3u, id.SupportedGroups);
    EXPECT_STREQ("ORPEL", id.Manufacturer);
    EXPECT_STREQ("Generic", id.ProductFamily);
    EXPECT_STREQ("Twain Test", id.ProductName);

    twain.StopLink();
    EXPECT_FALSE(twain.IsLinked());
    EXPECT_FALSE(twain.IsManagerOpen());
    EXPECT_EQ(1, m_Manager.Count(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM));
}

TEST_F(TwainTest, SelectionCancelledLeavesNoSource)
{
    Script(0, 0, FALSE, TRUE);
    CRecordingTwain twain;
    ASSERT_TRUE(twain.StartLink(m_hWnd));
    EXPECT_FALSE(twain.ChooseSource());
    EXPECT_FALSE(twain.IsSourceSelected());
    EXPECT_EQ(TWRC_CANCEL, twain.GetReturnCode());
    EXPECT_EQ(1, m_Manager.Count(DG_CONTROL, DAT_STATUS, MSG_GET)) << "a failed call asks for the status";
}

TEST_F(TwainTest, TransfersEveryPendingImage)
{
    Script(3);
    CRecordingTwain twain;
    Enable(twain);
    EXPECT_FALSE(Post(twain, WM_MOUSEMOVE)) << "not the source's";
    EXPECT_TRUE(Post(twain, WM_STANDIN_XFERREADY));
    ASSERT_EQ(3u, twain.Images.size());
    EXPECT_EQ(40, twain.Images[0].cx);
    EXPECT_EQ(30, twain.Images[0].cy);
    EXPECT_EQ(40, twain.Images[2].nInfoWidth);
    EXPECT_EQ(3, m_Manager.Count(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER));
    EXPECT_EQ(0, m_Manager.Count(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET));
}

TEST_F(TwainTest, RefusedImageInformationEndsTheRun)
{
    // Two images pending, but the source gives the information only once.
    Script(3, 1);
    CRecordingTwain twain;
    Enable(twain);
    EXPECT_TRUE(Post(twain, WM_STANDIN_XFERREADY));
    EXPECT_EQ(1u, twain.Images.size());
    EXPECT_EQ(2, m_Manager.Count(DG_IMAGE, DAT_IMAGEINFO, MSG_GET));
    EXPECT_EQ(1, m_Manager.Count(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET)) << "what is left is cancelled";
}

TEST_F(TwainTest, AnswersOfAskTransfer)
{
    const struct
    {
        int nAnswer;
        size_t nTaken;
        int nEnds, nResets;
    } cases[] = {
        {1, 0, 2, 0}, // skip each image, the run goes on until none is left
        {2, 0, 0, 1}, // cancel all at once
    };
    for (const auto& c : cases) {
        Script(2);
        CRecordingTwain twain;
        twain.nAnswer = c.nAnswer;
        Enable(twain);
        EXPECT_TRUE(Post(twain, WM_STANDIN_XFERREADY));
        EXPECT_EQ(c.nTaken, twain.Images.size()) << c.nAnswer;
        EXPECT_EQ(c.nEnds, m_Manager.Count(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER)) << c.nAnswer;
        EXPECT_EQ(c.nResets, m_Manager.Count(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET)) << c.nAnswer;
        EXPECT_EQ(0, m_Manager.Count(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET)) << c.nAnswer;
    }
}

TEST_F(TwainTest, FailedTransferCancelsTheRest)
{
    Script(2, 0, TRUE);
    CRecordingTwain twain;
    Enable(twain);
    EXPECT_TRUE(Post(twain, WM_STANDIN_XFERREADY));
    EXPECT_TRUE(twain.Images.empty());
    EXPECT_EQ(1, m_Manager.Count(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET));
    EXPECT_EQ(1, m_Manager.Count(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET));
}

TEST_F(TwainTest, CloseRequestClosesTheSource)
{
    Script(0);
    CRecordingTwain twain;
    Enable(twain);
    EXPECT_TRUE(Post(twain, WM_STANDIN_CLOSEREQ));
    EXPECT_FALSE(twain.IsSourceEnabled());
    EXPECT_FALSE(twain.IsSourceOpen());
    EXPECT_EQ(1, m_Manager.Count(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS));
    EXPECT_EQ(1, m_Manager.Count(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS));
    EXPECT_FALSE(Post(twain, WM_STANDIN_XFERREADY)) << "nothing is filtered once the source is closed";
}

TEST_F(TwainTest, WithoutLibraryNoCallIsMade)
{
    CRecordingTwain twain;
    EXPECT_FALSE(twain.CallSourceManager(NULL, NULL, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, NULL));
    EXPECT_EQ(TWRC_FAILURE, twain.GetReturnCode());
}

// Started from a folder without the library, the link does not come up;
// beside the stand-in it does.
TEST(TwainLink, NoLibraryNoLink)
{
    char szModule[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szModule, sizeof(szModule));
    std::string strFolder(szModule);
    strFolder.resize(strFolder.rfind('\\') + 1);
    CTempFolder folder("twainprobe");
    std::string strAlone = folder.File("twain_probe_alone.exe");
    ASSERT_TRUE(CopyFileA((strFolder + "twain_probe.exe").c_str(), strAlone.c_str(), FALSE));
    // Wine's own copy is kept out: a machine without the library has none.
    if (RunningUnderWine()) {
        SetWineDllOrder("twain_probe_alone.exe", "twain_32", "");
        SetWineDllOrder("twain_probe.exe", "twain_32", "native,builtin");
    }

    auto run = [](const std::string& strExe) -> DWORD {
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi = {};
        std::string strCommand = "\"" + strExe + "\"";
        if (!CreateProcessA(strExe.c_str(), &strCommand[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
            return DWORD(-1);
        WaitForSingleObject(pi.hProcess, 60000);
        DWORD dwCode = DWORD(-1);
        GetExitCodeProcess(pi.hProcess, &dwCode);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return dwCode;
    };
    EXPECT_EQ(0u, run(strAlone));
    EXPECT_EQ(1u, run(strFolder + "twain_probe.exe"));
}

} // namespace

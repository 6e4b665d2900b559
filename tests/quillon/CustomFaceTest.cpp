// The face page: the custom mode's upload against the local HTTP server
// (request, body and sign; the cache and the main window on success; the
// failures and their texts; one worker at a time; a bounded stop) and the
// system mode's pick.
#include "FaceTestSupport.h"

#include "AfxModalScript.h"
#include "CustomFace.h"
#include "HttpTestServer.h"
#include "MD5Encrypt.h"
#include "MemoryCanvas.h"
#include "ServiceGlobalUnits.h"
#include "TempFolder.h"
#include "TestWait.h"
#include "res/resource.h"

#include <fstream>
#include <memory>

#include <gtest/gtest.h>

namespace
{

const DWORD kUserID = 4321;
const char kPath[] = "/face/upload.php";

ICustomFaceRes* FaceCache()
{
    static bool bCreated = g_ServiceUnits.m_CustomFaceModule.CreateInstance();
    return bCreated ? g_ServiceUnits.m_CustomFaceModule.GetInterface() : NULL;
}

class CustomFaceTest : public testing::Test
{
public:
    void SetUp() override
    {
        g_ServiceUnits.Reset();
        g_ServiceUnits.GetUserData()->dwUserID = kUserID;
        ASSERT_TRUE(FaceCache() != NULL);
        ASSERT_TRUE(FaceCache()->OpenDatabase(m_Folder.File("faces.db").c_str()));
        ASSERT_TRUE(m_Server.Start());
        WriteUrl(m_Server.Url(kPath));
        m_Host.ShowWindow(SW_SHOWNOACTIVATE);
        m_pPage.reset(new CCustomFace(TRUE));
        ASSERT_TRUE(m_pPage->Create(IDD_FACE_PAGE, &m_Host));
        m_pPage->SetUrlsFile(m_Folder.File("Urls.ini").c_str());
        m_strFixture = WriteTwoColourBmp(m_Folder.File("face.bmp"), 128, 128, RGB(250, 0, 0), RGB(0, 0, 250));
    }
    void TearDown() override
    {
        m_pPage.reset();
        m_Server.OpenGate();
        m_Server.Stop();
        EXPECT_EQ(0, m_Script.Unexpected());
    }

    void WriteUrl(const std::string& strUrl)
    {
        std::ofstream(m_Folder.File("Urls.ini")) << "[CustomFace]\r\nupdateurl=" << strUrl << "\r\n";
    }
    void Crop() { ASSERT_TRUE(m_pPage->GetEditor().GetCroppedPicture()->Load(m_strFixture.c_str())); }
    // Confirms and waits for the worker to end; its exit code.
    DWORD SubmitAndWait()
    {
        EXPECT_TRUE(m_pPage->Submit(NULL));
        CWinThread* pThread = m_pPage->GetUploadThread();
        if (pThread == NULL)
            return DWORD(-1);
        EXPECT_TRUE(PumpUntil([&] { return !m_pPage->IsUploading(); }, 20000));
        DWORD dwCode = DWORD(-1);
        GetExitCodeThread(pThread->m_hThread, &dwCode);
        return dwCode;
    }
    static std::string Md5(const BYTE* p, size_t n)
    {
        char sz[CMD5Encrypt::kHexLength + 1];
        CMD5Encrypt::EncryptData(p, DWORD(n), sz);
        return sz;
    }

    CModalScript m_Script;
    CTempFolder m_Folder{"customface"};
    CHttpTestServer m_Server;
    CFaceHost m_Host;
    std::unique_ptr<CCustomFace> m_pPage;
    std::string m_strFixture;
};

TEST_F(CustomFaceTest, UploadPostsThePngWithItsSignAndStoresTheFace)
{
    m_Server.SetReply(kPath, CHttpTestServer::Ok("ok"));
    Crop();
    m_Script.AnswerBox(IDOK);
    EXPECT_EQ(1u, SubmitAndWait());

    // The name is the digest of the picture's dump as PNG; the sign binds
    // the user, the name and the key.
    CPicture expected;
    expected.Copy(*m_pPage->GetEditor().GetCroppedPicture());
    expected.SetType(PICTURE_TYPE_PNG);
    std::vector<BYTE> dump(expected.DumpSize());
    ASSERT_EQ(dump.size(), size_t(expected.Dump(dump.data(), DWORD(dump.size()))));
    const std::string strName = Md5(dump.data(), dump.size());
    const std::string strSignText = std::to_string(kUserID) + "png" + strName + LPCSTR(m_pPage->GetSignKey());
    const std::string strSign = Md5(reinterpret_cast<const BYTE*>(strSignText.data()), strSignText.size());
    EXPECT_EQ(8, m_pPage->GetSignKey().GetLength());

    auto requests = m_Server.GetRequests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("POST", requests[0].strMethod);
    EXPECT_EQ(std::string(kPath) + "?uid=4321&type=png&name=" + strName + "&sign=" + strSign, requests[0].strTarget);
    ASSERT_GT(requests[0].strBody.size(), 8u);
    EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), requests[0].strBody.substr(0, 8));
    CPicture body;
    ASSERT_TRUE(
        body.Decode(reinterpret_cast<const BYTE*>(requests[0].strBody.data()), DWORD(requests[0].strBody.size())));
    EXPECT_EQ(128u, body.GetWidth());
    EXPECT_EQ(PICTURE_TYPE_PNG, body.GetType());

    EXPECT_TRUE(FaceCache()->HasFace(kUserID));
    CPicture* pStored = FaceCache()->GetFaceImage(kUserID);
    ASSERT_TRUE(pStored != NULL);
    EXPECT_EQ(128u, pStored->GetWidth());
    auto faces = m_Host.Of(WM_QUILLON_FACE);
    ASSERT_EQ(1u, faces.size());
    EXPECT_EQ(FACE_CHANGE_CUSTOM, faces[0].wParam);
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_STREQ("上传成功!", m_Script.At(0).strText);
    const auto& tips = g_ServiceUnits.GetTipCalls();
    ASSERT_EQ(2, tips.GetSize());
    EXPECT_STREQ("正在上传头像，请稍候！", tips[0].strText);
    EXPECT_EQ(-1, tips[0].nTime);
    EXPECT_TRUE(tips[1].bHide);
}

TEST_F(CustomFaceTest, FailuresLeaveTheCacheAndTheHallAlone)
{
    const struct
    {
        const char* what;
        int nStatus;        // 0: no reply scripted for the URL
        std::string strUrl; // empty: the server's
        const char* pszText;
        bool bTipShown;
    } cases[] = {
        {"404", 404, "", "上传失败，请稍候再试!", true},
        {"500", 500, "", "上传失败，请稍候再试!", true},
        {"empty address", 0, "-", "您的链接有误，上传失败，请稍候再试!", false},
        {"no address", 0, "mailbox", "您的链接有误，上传失败，请稍候再试!", false},
        {"nobody listening", 0, "closed", "上传失败，请稍候再试!", true},
    };
    Crop();
    for (const auto& c : cases) {
        g_ServiceUnits.ClearTipCalls();
        m_Host.Messages.clear();
        size_t nBoxes = m_Script.Count();
        if (c.nStatus != 0)
            m_Server.SetReply(kPath, CHttpTestServer::Status(c.nStatus, "no"));
        if (c.strUrl == "-")
            WriteUrl("");
        else if (c.strUrl == "mailbox")
            WriteUrl("not a web address");
        else if (c.strUrl == "closed")
            WriteUrl("http://127.0.0.1:1/face/upload.php");
        else
            WriteUrl(m_Server.Url(kPath));
        m_Script.AnswerBox(IDOK);
        EXPECT_EQ(0u, SubmitAndWait()) << c.what;
        ASSERT_EQ(nBoxes + 1, m_Script.Count()) << c.what;
        EXPECT_STREQ(c.pszText, m_Script.At(nBoxes).strText) << c.what;
        EXPECT_FALSE(FaceCache()->HasFace(kUserID)) << c.what;
        EXPECT_TRUE(m_Host.Of(WM_QUILLON_FACE).empty()) << c.what;
        const auto& tips = g_ServiceUnits.GetTipCalls();
        if (c.bTipShown) {
            ASSERT_EQ(2, tips.GetSize()) << c.what;
            EXPECT_TRUE(tips[1].bHide) << c.what << ": the tip never stays";
        } else {
            EXPECT_EQ(0, tips.GetSize()) << c.what;
        }
    }
}

TEST_F(CustomFaceTest, NothingIsUploadedWithoutACrop)
{
    m_Server.SetReply(kPath, CHttpTestServer::Ok("ok"));
    EXPECT_TRUE(m_pPage->Submit(NULL));
    EXPECT_TRUE(m_pPage->GetUploadThread() == NULL);
    PumpFor(50);
    EXPECT_TRUE(m_Server.GetRequests().empty());
    EXPECT_TRUE(m_Host.Of(WM_QUILLON_FACE).empty());
}

TEST_F(CustomFaceTest, CropAndLoadRegisterThePage)
{
    m_pPage->SendMessage(WM_FACE_PICKED, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !m_Host.Of(WM_QUILLON_MODIFY).empty(); }));
    auto modified = m_Host.Of(WM_QUILLON_MODIFY);
    EXPECT_EQ(WPARAM(static_cast<CTabDlg*>(m_pPage.get())), modified[0].wParam);
    EXPECT_EQ(0, modified[0].lParam);
    EXPECT_EQ(0, m_pPage->GetChosenIndex());
}

TEST_F(CustomFaceTest, PreviewShowsTheCropAtFaceSize)
{
    Crop();
    m_pPage->MoveWindow(0, 0, 290, 300);
    m_pPage->ShowWindow(SW_SHOW);
    CMemoryCanvas canvas(290, 300, RGB(1, 2, 3));
    ASSERT_TRUE(canvas.Print(m_pPage->GetSafeHwnd()));
    // The 32-pixel square inside the preview box (211, 15)-(253, 57).
    EXPECT_EQ(RGB(250, 0, 0), canvas.At(216 + 4, 20 + 16));
    EXPECT_EQ(RGB(0, 0, 250), canvas.At(216 + 28, 20 + 16));
    // White page, border open at the top.
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(150, 5));
    EXPECT_EQ(RGB(29, 82, 90), canvas.At(0, 150));
    EXPECT_EQ(RGB(29, 82, 90), canvas.At(150, 299)) << "the bottom line";
}

TEST(SystemFacePage, OnlyAChangedPickGoesToTheMainWindow)
{
    CModalScript script;
    g_ServiceUnits.Reset();
    CFaceHost host;
    CCustomFace page(FALSE);
    ASSERT_TRUE(page.Create(IDD_FACE_PAGE, &host));
    EXPECT_FALSE(page.GetDlgItem(IDC_FACE_LOAD)->IsWindowEnabled());
    EXPECT_TRUE(page.GetScrollWnd() != NULL);
    const struct
    {
        WORD wCurrent;
        int nPicked; // -1: nothing picked
        bool bSent;
    } cases[] = {{3, -1, false}, {5, 5, false}, {3, 5, true}, {0, 0, false}};
    for (const auto& c : cases) {
        host.Messages.clear();
        g_ServiceUnits.GetUserData()->wFaceID = c.wCurrent;
        if (c.nPicked >= 0)
            page.SendMessage(WM_FACE_PICKED, WPARAM(c.nPicked), 0);
        EXPECT_TRUE(page.Submit(NULL));
        auto faces = host.Of(WM_QUILLON_FACE);
        if (c.bSent) {
            ASSERT_EQ(1u, faces.size());
            EXPECT_EQ(FACE_CHANGE_SYSTEM, faces[0].wParam);
            EXPECT_EQ(LPARAM(c.nPicked), faces[0].lParam);
        } else {
            EXPECT_TRUE(faces.empty()) << c.wCurrent << " " << c.nPicked;
        }
    }
    page.DestroyWindow();
    EXPECT_EQ(0, script.Unexpected());
}

// Last: the stopped worker is cut off inside the internet library.
TEST_F(CustomFaceTest, OneWorkerAtATimeAndABoundedStop)
{
    CHttpTestServer::Reply silent;
    silent.bNeverAnswer = true;
    m_Server.SetReply(kPath, silent);
    Crop();
    EXPECT_TRUE(m_pPage->Submit(NULL));
    CWinThread* pFirst = m_pPage->GetUploadThread();
    ASSERT_TRUE(pFirst != NULL);
    ASSERT_TRUE(m_Server.WaitForRequests(1, 10000));
    EXPECT_TRUE(m_pPage->Submit(NULL));
    EXPECT_EQ(pFirst, m_pPage->GetUploadThread()) << "a second confirmation starts no second worker";
    PumpFor(50);
    EXPECT_EQ(1u, m_Server.GetRequests().size());

    DWORD dwStart = GetTickCount();
    m_pPage.reset();
    DWORD dwTaken = GetTickCount() - dwStart;
    EXPECT_GE(dwTaken, CCustomFace::kStopWait - 100);
    EXPECT_LT(dwTaken, CCustomFace::kStopWait + 700);
    EXPECT_FALSE(FaceCache()->HasFace(kUserID));
}

} // namespace

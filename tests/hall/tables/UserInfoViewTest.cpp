// The own-user panel in a widget host double: level, VIP frames and colours,
// signature line, tool tips by mouse messages, the face and VIP clicks, and
// the signature through the hall data centre to the scripted hall server.
#include "DataCenterTestSupport.h" // Winsock before the system headers


#include <PictureMemFile.h>
#include <WidgetDC.h>
#include <WidgetFoundationWnd.h>

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallApp.h"
#include "HallProtocol.h"
#include "SkinTestSupport.h"
#include "UserInfoView.h"

namespace
{
const COLORREF kVipFrames[4] = {RGB(10, 10, 10), RGB(20, 200, 20), RGB(30, 30, 230), RGB(240, 40, 40)};

void WritePngFile(const CTempFolder& folder, const std::string& name, const skintest::Pixels& pixels)
{
    HBITMAP bitmap = skintest::MakeDib(pixels);
    CPicture picture;
    const bool made = picture.CreateFromHBITMAP(bitmap);
    DeleteObject(bitmap);
    CPictureMemFile file;
    if (made && picture.Encode(file, PICTURE_TYPE_PNG))
        folder.Write(name, std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize()));
}

class AppDouble : public IHallApp
{
public:
    explicit AppDouble(CClientDataCenter* dc) : m_dc(dc) {}
    CClientDataCenter* GetClientDataCenter() override { return m_dc; }
    bool IsLoggedOn() override { return true; }
    void RestoreMainWindow() override {}
    void LogonAgain() override {}
    bool ShowUrlInPlaza(LPCSTR, BYTE, int) override { return false; }

private:
    CClientDataCenter* m_dc;
};

struct LauncherDouble : CBrowserLauncher
{
    INT_PTR ShellOpen(LPCSTR url, int) override
    {
        opened.push_back(url);
        return 42;
    }
    std::vector<std::string> opened;
};

// The window the panel's tips belong to, with its signature label 1001.
class OwnerDouble : public IUserPanelOwner
{
public:
    bool Create()
    {
        if (!wnd.CreateEx(0, NULL, "owner", WS_POPUP, CRect(0, 0, 400, 200), NULL, 0))
            return false;
        label.Create("", WS_CHILD, CRect(0, 0, 100, 20), &wnd, CUserInfoView::IDC_OWNER_SIGNATURE);
        return tip.Create(&wnd, TTS_ALWAYSTIP) != FALSE;
    }
    CWnd* GetOwnerWnd() override { return &wnd; }
    CToolTipCtrl* GetToolTip() override { return &tip; }
    CString ToolText()
    {
        char text[256] = "";
        TOOLINFOA info = {};
        info.cbSize = sizeof(info);
        info.hwnd = wnd.GetSafeHwnd();
        info.uId = CUserInfoView::TOOL_TIP_ID;
        info.lpszText = text;
        tip.SendMessage(TTM_GETTEXTA, sizeof(text), (LPARAM)&info);
        return text;
    }
    CWnd wnd;
    CStatic label;
    CToolTipCtrl tip;
};

// The plaza as far as the panel sees it: a widget host.
class HostDouble : public CWidgetFoundationWnd
{
public:
    void Add(CWidget* pWidget) { m_WidgetManager.AddWidget(pWidget); }
};
} // namespace

class UserInfoViewTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        g_GlobalUnits.SetWorkDirectory(m_Folder.Folder());
        const std::string skin = "Res\\SelfInfo\\";
        for (const char* name : {"pan1_l.bmp", "pan1_m.bmp", "pan1_r.bmp", "InfoBack.bmp"})
            m_Folder.Write(skin + name, skintest::Bmp24(skintest::Pixels(20, 60, RGB(70, 70, 90))));
        m_Folder.Write(skin + "InfoBack.bmp", skintest::Bmp24(skintest::Pixels(200, 50, RGB(70, 70, 90))));
        skintest::Pixels vip(40, 10, 0);
        for (int i = 0; i < 4; ++i)
            vip.Fill(i * 10, 0, 10, 10, kVipFrames[i]);
        m_Folder.Write(skin + "isvip.bmp", skintest::Bmp24(vip));
        WritePngFile(m_Folder, skin + "Tool.png", skintest::Pixels(120, 20, RGB(0, 100, 100)));
        WritePngFile(m_Folder, skin + "BtBack.png", skintest::Pixels(20, 20, RGB(0, 50, 0)));
        WritePngFile(m_Folder, skin + "pic.png", skintest::Pixels(48, 48, RGB(100, 0, 100)));
        m_pPrevious = CHallApp::Install(&m_App);
        ASSERT_TRUE(m_Owner.Create());
        ASSERT_TRUE(m_Host.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 119), &m_Owner.wnd, 1));
        m_Host.Add(&m_Panel);
        m_Panel.LoadSkin(&m_Owner);
        m_Panel.PlacePanel(CRect(0, 0, 400, 119));
        tagGlobalUserData* user = g_GlobalUnits.GetGlobalUserData();
        user->dwUserID = 4321;
        lstrcpynA(user->szNickName, "自己", sizeof(user->szNickName));
    }
    void TearDown() override
    {
        m_Host.DestroyWindow();
        m_Owner.wnd.DestroyWindow();
        CHallApp::Install(m_pPrevious);
        g_GlobalUnits.SetWorkDirectory("");
        DataCenterTest::TearDown();
    }
    // Draws the panel into a canvas the size of the host.
    std::unique_ptr<CMemoryCanvas> Draw()
    {
        std::unique_ptr<CMemoryCanvas> canvas(new CMemoryCanvas(400, 119, RGB(1, 2, 3)));
        CWidgetDC dc(canvas->DC(), CRect(0, 0, 400, 119));
        m_Panel.Draw(&dc);
        return canvas;
    }
    void Mouse(UINT message, int x, int y) { m_Host.SendMessage(message, 0, MAKELPARAM(x, y)); }

    AppDouble m_App{nullptr};
    IHallApp* m_pPrevious = nullptr;
    OwnerDouble m_Owner;
    HostDouble m_Host;
    CUserInfoView m_Panel;
};

TEST_F(UserInfoViewTest, LevelFromTheExperienceTable)
{
    const std::string table = "[Level]\r\ncount=4\r\nlevel0=100\r\nlevel1=0\r\nlevel2=200\r\nlevel3=300\r\n";
    const struct
    {
        std::string ini; // empty: no file
        DWORD experience;
        int level;
        DWORD threshold;
    } cases[] = {
        {table, 100, 0, 100},
        {table, 101, 2, 200},
        {table, 300, 3, 300},
        {table, 301, 4, 300},
        {"", 5, 0, 0},
        {"[Level]\r\ncount=0\r\n", 5, 0, 0},
        {"[Level]\r\ncount=2000000000\r\n", 5, 1000, 0},
    };
    const std::string path = m_Folder.Path() + "exp.ini";
    for (const auto& c : cases) {
        DeleteFileA(path.c_str());
        if (!c.ini.empty())
            m_Folder.Write("exp.ini", c.ini);
        int level = 0;
        DWORD threshold = 0;
        CUserInfoView::ComputeLevel(path.c_str(), c.experience, level, threshold);
        EXPECT_EQ(c.level, level) << c.experience << " " << c.ini;
        EXPECT_EQ(c.threshold, threshold) << c.experience;
    }

    m_Folder.Write("config\\Original\\ExperienceCfg.ini", table);
    g_GlobalUnits.GetGlobalUserData()->dwAttribute16 = 150;
    m_Panel.UpdateUserInfo();
    EXPECT_EQ(2, m_Panel.GetLevel());
    EXPECT_EQ(200u, m_Panel.GetLevelThreshold());
}

TEST_F(UserInfoViewTest, VipFramesAndTextColours)
{
    const struct
    {
        LONG vip;
        int frame;
        COLORREF text;
    } cases[] = {
        {0, 0, RGB(255, 255, 255)}, {1, 1, RGB(255, 249, 145)}, {3, 3, RGB(255, 249, 145)},
        {5, 1, RGB(255, 249, 145)}, {7, 0, RGB(255, 255, 255)},
    };
    m_Panel.UpdateUserInfo();
    for (const auto& c : cases) {
        EXPECT_EQ(c.frame, CUserInfoView::VipFrame(c.vip)) << c.vip;
        g_GlobalUnits.GetGlobalUserData()->lLevel = c.vip;
        auto canvas = Draw();
        const CRect vip = m_Panel.GetVipRect();
        ASSERT_FALSE(vip.IsRectEmpty());
        EXPECT_EQ(kVipFrames[c.frame], canvas->At(vip.left + 5, vip.top + 5)) << c.vip;
        EXPECT_FALSE(canvas->Count(c.text, NULL) == 0) << "nickname in its colour, VIP " << c.vip;
    }
    g_GlobalUnits.GetGlobalUserData()->lLevel = 0;
}

TEST_F(UserInfoViewTest, SignatureLine)
{
    EXPECT_EQ(CString("个性签名：这个家伙很懒，什么都没留下~"), m_Panel.GetSignatureText());
    lstrcpynA(g_GlobalUnits.GetGlobalUserData()->szSignature, "你好", 128);
    m_Panel.UpdateUserInfo();
    EXPECT_EQ(CString("个性签名：你好"), m_Panel.GetSignatureText());
    CString label;
    m_Owner.label.GetWindowText(label);
    EXPECT_EQ(CString("你好"), label) << "the owner's label shows it";
    Draw();
    const CRect first = m_Panel.GetSignatureRect();
    EXPECT_FALSE(first.IsRectEmpty());
    m_Panel.PlacePanel(CRect(0, 0, 300, 119));
    Draw();
    EXPECT_EQ(first, m_Panel.GetSignatureRect()) << "fixed on the first draw";
}

TEST_F(UserInfoViewTest, ToolCellsKeepOneTip)
{
    m_Panel.UpdateUserInfo();
    Draw();
    const CRect strip = m_Panel.GetToolStripRect();
    ASSERT_EQ(CRect(-9, 65, 87, 88), strip);
    const struct
    {
        int x;
        int tool;
        const char* tip; // null: no tip
    } cases[] = {
        {5, 0, "Varnok游戏会员中心"}, {-9 + 23 + 2, 1, "进入游戏商城"}, {-9 + 46 + 2, 2, "Varnok游戏信息中心"},
        {-9 + 69 + 2, -1, nullptr},   {5, 0, "Varnok游戏会员中心"},
    };
    for (const auto& c : cases) {
        Mouse(WM_MOUSEMOVE, c.x, 70);
        EXPECT_EQ(c.tool, m_Panel.GetHoveredTool()) << c.x;
        if (c.tip != nullptr) {
            EXPECT_EQ(CString(c.tip), m_Owner.ToolText()) << c.x;
        }
        EXPECT_EQ(1, m_Owner.tip.GetToolCount()) << "one tool, whatever the moves";
    }
    m_Panel.SetNewMail(true, 4);
    Mouse(WM_MOUSEMOVE, -9 + 46 + 2, 70);
    EXPECT_EQ(CString("您有新邮件，请注意查看"), m_Owner.ToolText());
    const CRect level = m_Panel.GetLevelRect();
    Mouse(WM_MOUSEMOVE, level.left + 1, level.top + 1);
    EXPECT_EQ(CString("用户等级：0"), m_Owner.ToolText());
    EXPECT_EQ(1, m_Owner.tip.GetToolCount());
}

TEST_F(UserInfoViewTest, FaceAndVipClicks)
{
    LauncherDouble launcher;
    CBrowserLauncher* previous = CBrowserLauncher::Install(&launcher);
    m_Folder.Write("config\\Urls.ini", "[HallNewUrl]\r\nVipUrl=http://vip.test/\r\n");
    g_GlobalOption.LoadUrls();
    AppDouble app(m_pDataCenter);
    CHallApp::Install(&app);
    CClientDataCenter::SetServiceProgram("quillon_standin.exe");
    const std::string report = m_Folder.Path() + "report.bin";
    SetEnvironmentVariableA("TAVREL_QUILLON_REPORT", report.c_str());

    m_Panel.UpdateUserInfo();
    Draw();
    const CRect vip = m_Panel.GetVipRect();
    Mouse(WM_LBUTTONDOWN, vip.left + 2, vip.top + 2);
    Mouse(WM_LBUTTONUP, vip.left + 2, vip.top + 2);
    EXPECT_EQ(std::vector<std::string>{"http://vip.test/"}, launcher.opened);

    const CRect face = m_Panel.GetFaceFrameRect();
    Mouse(WM_LBUTTONDOWN, face.left + 2, face.top + 2);
    Mouse(WM_LBUTTONUP, face.left + 2, face.top + 2);
    tagServiceShareData seen = {};
    std::vector<char> bytes;
    ASSERT_TRUE(PumpUntilFileRead(report, sizeof(seen) + sizeof(DWORD), bytes,
                                  60000)); // the stand-in starts slowly under emulation
    memcpy(&seen, bytes.data(), sizeof(seen));
    EXPECT_EQ(0u, seen.dwPageGroup);
    EXPECT_EQ(0u, seen.dwPageIndex);

    CHallApp::Install(&m_App);
    CBrowserLauncher::Install(previous);
    SetEnvironmentVariableA("TAVREL_QUILLON_REPORT", NULL);
    CClientDataCenter::SetServiceProgram("Quillon.exe");
}

TEST_F(UserInfoViewTest, ChangedSignatureReachesTheHallServer)
{
    ListenToAll();
    ConnectToServer();
    AppDouble app(m_pDataCenter);
    CHallApp::Install(&app);
    lstrcpynA(g_GlobalUnits.GetGlobalUserData()->szSignature, "旧的", 128);
    m_Panel.UpdateUserInfo();

    CSignatureEdit edit(&m_Panel);
    ASSERT_TRUE(edit.Create(WS_CHILD, CRect(0, 0, 200, 20), &m_Host, 1017));
    for (const char* text : {"旧的", "新的签名"}) {
        edit.SendMessage(WM_SETFOCUS, 0, 0);
        EXPECT_TRUE(edit.GetStyle() & WS_VISIBLE);
        edit.SetWindowText(text);
        edit.SendMessage(WM_KILLFOCUS, 0, 0);
        EXPECT_FALSE(edit.GetStyle() & WS_VISIBLE);
    }
    const auto frames = WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_SIGNATURE, 1);
    ASSERT_EQ(1u, frames.size()) << "the unchanged text sent nothing";
    const std::string body(frames[0].Body.begin(), frames[0].Body.end());
    EXPECT_NE(std::string::npos, body.find("新的签名"));
    EXPECT_EQ(CString("新的签名"), m_Panel.GetSignature());
    edit.DestroyWindow();
    CHallApp::Install(&m_App);
}

// The player card over a room window double: its shape, lines, the big-face
// button and its command, and when it hides; the big-face viewer.
#include "MatchTestSupport.h" // Winsock before the system headers

#include <afxtest.h>

#include <AfxModalScript.h>

#include "CustomFaceManagerWnd.h"
#include "GlobalUnits.h"
#include "HallWindows.h"
#include "PlayInfoPanel.h"
#include "resource.h"

using namespace matchtest;

namespace
{
// One user's custom face of a chosen size.
class FaceCacheDouble : public ICustomFaceRes
{
public:
    FaceCacheDouble(DWORD userId, const char* sign) : m_userId(userId)
    {
        memset(&m_item, 0, sizeof(m_item));
        lstrcpynA(m_item.szSign, sign, sizeof(m_item.szSign));
    }
    void SetSize(int cx, int cy)
    {
        CPicture picture;
        picture.Create(cx, cy, 24);
        m_dump.resize(picture.DumpSize());
        picture.Dump(m_dump.data(), DWORD(m_dump.size()));
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }
    bool OpenDatabase(const char*) override { return true; }
    bool HasFace(DWORD userId) override { return userId == m_userId; }
    int GetFaceCount() override { return 1; }
    DWORD GetFaceUserIdAt(int) override { return m_userId; }
    bool DrawFace(DWORD, CDC*, int, int) override { return false; }
    bool DrawFaceInRect(DWORD, CDC*, const RECT*) override { return false; }
    tagCustomFaceItem* GetFaceItem(DWORD userId) override { return userId == m_userId ? &m_item : NULL; }
    UINT GetFaceData(DWORD userId, BYTE* out, UINT size) override
    {
        if (userId != m_userId || size < m_dump.size())
            return 0;
        memcpy(out, m_dump.data(), m_dump.size());
        return UINT(m_dump.size());
    }
    CPicture* GetFaceImage(DWORD) override { return NULL; }
    bool PutFace(DWORD, const char*, const BYTE*, UINT) override { return false; }
    tagCustomFaceItem* LoadFace(DWORD) override { return NULL; }
    int DeleteFace(DWORD) override { return 0; }

private:
    DWORD m_userId;
    tagCustomFaceItem m_item;
    std::vector<BYTE> m_dump;
};

class FaceManagerDouble : public CCustomFaceManagerWnd
{
public:
    explicit FaceManagerDouble(ICustomFaceRes* cache) : m_cache(cache) {}

protected:
    ICustomFaceRes* CreateFaceCache() override { return m_cache; }

private:
    ICustomFaceRes* m_cache;
};

class FrameDouble : public IHallFrameWnd
{
public:
    explicit FrameDouble(CCustomFaceManagerWnd* manager) : m_manager(manager) {}
    CCustomFaceManagerWnd* GetCustomFaceManager() override { return m_manager; }
    void ShowItemShop(int) override {}
    void EnterRoomById(int) override {}

private:
    CCustomFaceManagerWnd* m_manager;
};

// The room window: keeps the card's commands.
class RoomWnd : public CWnd
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == CPlayInfoPanel::WM_PLAYER_COMMAND)
            commands.push_back({wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

CUserItem* MakePlayer(DWORD id, const DWORD counts[4], BYTE status, DWORD team)
{
    tagUserData data = {};
    data.dwUserID = id;
    lstrcpynA(data.szNickName, "甲", sizeof(data.szNickName));
    lstrcpynA(data.szKey13, "own.png", sizeof(data.szKey13));
    data.dwScore[0] = DWORD(-12);
    for (int i = 0; i < 4; ++i)
        data.dwScore[i + 1] = counts[i];
    data.cbUserStatus = status;
    CUserItem* user = new CUserItem(data);
    user->GetExtra()->dwValue = team;
    lstrcpynA(user->GetExtra()->szText1, "红队", sizeof(user->GetExtra()->szText1));
    lstrcpynA(user->GetExtra()->szText2, "队长", sizeof(user->GetExtra()->szText2));
    return user;
}
} // namespace

class PlayInfoPanelTest : public testing::Test
{
protected:
    void SetUp() override
    {
        skintest::Pixels back(220, 320, RGB(200, 200, 200));
        back.Fill(0, 0, 10, 10, kMagenta);
        m_Skin.Folder().Write("Res\\GameRoom\\playerinfopanel\\playerinfobackincludeteam.bmp", skintest::Bmp24(back));
        WritePng(m_Skin.Folder(), "Res\\GameRoom\\playerinfopanel\\btLookBigHead.png",
                 skintest::Pixels(80, 20, RGB(0, 90, 0)));
        m_Skin.Folder().Write("Res\\ListImage\\USER_GAME_IDENTIFY.bmp",
                              skintest::Bmp24(skintest::Pixels(130, 10, RGB(0, 0, 200))));
        m_Manager.OpenUserCache();
        m_pPrevious = CHallWindows::InstallFrame(&m_Frame);
        ASSERT_TRUE(m_Room.CreateEx(0, NULL, "room", WS_POPUP, CRect(100, 100, 900, 700), NULL, 0));
        ASSERT_TRUE(m_Card.Create(IDD_PLAYER_INFO, &m_Room));
        m_Card.SetRoomViewItem(&m_Room);
        m_Card.SetRoomViewItem(NULL);
    }
    void TearDown() override
    {
        AfxClearTestCursorPos();
        m_Card.DestroyWindow();
        m_Room.DestroyWindow();
        CHallWindows::InstallFrame(m_pPrevious);
    }
    bool Visible() { return (m_Card.GetStyle() & WS_VISIBLE) != 0; }
    void ShowFor(CUserItem* user)
    {
        m_Card.ShowPlayerInfo(user, 10, 10, 60, 30);
        m_Card.ShowWindow(SW_SHOWNA);
    }

    MatchSkin m_Skin;
    FaceCacheDouble m_Cache{42, "own.png"};
    FaceManagerDouble m_Manager{&m_Cache};
    FrameDouble m_Frame{&m_Manager};
    IHallFrameWnd* m_pPrevious = nullptr;
    RoomWnd m_Room;
    CPlayInfoPanel m_Card;
};

TEST_F(PlayInfoPanelTest, ShapedToItsPicture)
{
    CRect rc;
    m_Card.GetWindowRect(&rc);
    EXPECT_EQ(CSize(220, 320), rc.Size());
    EXPECT_TRUE(skintest::HasWindowRegion(m_Card.GetSafeHwnd()));
    EXPECT_FALSE(skintest::RegionHolds(m_Card.GetSafeHwnd(), 2, 2)) << "the magenta corner";
    EXPECT_TRUE(skintest::RegionHolds(m_Card.GetSafeHwnd(), 100, 100));
    EXPECT_FALSE(Visible()) << "hidden until the room shows it";
}

TEST_F(PlayInfoPanelTest, LinesOfAPlayer)
{
    const DWORD twoOfThree[4] = {2, 0, 0, 1};
    const DWORD none[4] = {0, 0, 0, 0};
    std::unique_ptr<CUserItem> player(MakePlayer(42, twoOfThree, 7, 0));
    std::unique_ptr<CUserItem> newcomer(MakePlayer(43, none, 5, 9));
    m_Card.ShowPlayerInfo(player.get(), 0, 0, 0, 0);
    const std::pair<int, const char*> lines[] = {
        {1, "昵称：甲"},
        {3, "当前状态："},
        {4, "ID号：42"},
        {5, "积分：-12 总局数：3"},
        {6, "逃跑率：33.00% "},
        {7, "胜率：66.00%"},
        {8, "赢：2 输：0 和：0 逃：1"},
        {9, "所在战队：无"},
        {10, "职位：无"},
    };
    for (const auto& line : lines)
        EXPECT_EQ(CString(line.second), m_Card.GetLineText(line.first)) << line.first;
    m_Card.ShowPlayerInfo(newcomer.get(), 0, 0, 0, 0);
    EXPECT_EQ(CString("逃跑率： 0.00% "), m_Card.GetLineText(6));
    EXPECT_EQ(CString("胜率： 0.00%"), m_Card.GetLineText(7));
    EXPECT_EQ(CString("当前状态：游戏状态"), m_Card.GetLineText(3));
    EXPECT_EQ(CString("所在战队：红队"), m_Card.GetLineText(9));
    EXPECT_EQ(CString("职位：队长"), m_Card.GetLineText(10));
    m_Card.ShowPlayerInfo(NULL, 0, 0, 0, 0);
    EXPECT_EQ(newcomer.get(), m_Card.GetUserItem()) << "a null user keeps the one shown";

    // The card paints over its background without the user's pictures failing it.
    ShowFor(newcomer.get());
    const skintest::Snapshot shot(m_Card.GetSafeHwnd());
    EXPECT_EQ(RGB(200, 200, 200), shot.At(215, 315));
}

TEST_F(PlayInfoPanelTest, BigFaceButtonNeedsAWideFace)
{
    const DWORD none[4] = {0, 0, 0, 0};
    std::unique_ptr<CUserItem> player(MakePlayer(42, none, 1, 0));
    std::unique_ptr<CUserItem> stranger(MakePlayer(44, none, 1, 0));
    const struct
    {
        CUserItem* user;
        int width;
        bool enabled;
    } cases[] = {{player.get(), 33, true}, {player.get(), 32, false}, {stranger.get(), 100, false}};
    for (const auto& c : cases) {
        m_Cache.SetSize(c.width, 40);
        m_Card.ShowPlayerInfo(c.user, 0, 0, 0, 0);
        EXPECT_EQ(c.enabled, m_Card.GetLookFaceButton().IsWindowEnabled() != FALSE) << c.width;
    }
    CRect rc;
    m_Card.GetLookFaceButton().GetWindowRect(&rc);
    m_Card.ScreenToClient(&rc);
    EXPECT_EQ(CRect(9, 70, 29, 90), rc) << "sized by its picture";

    m_Cache.SetSize(33, 40);
    ShowFor(player.get());
    m_Card.SendMessage(WM_COMMAND, MAKEWPARAM(CPlayInfoPanel::IDC_LOOK_BIG_FACE, BN_CLICKED),
                       (LPARAM)m_Card.GetLookFaceButton().GetSafeHwnd());
    EXPECT_FALSE(Visible());
    ASSERT_EQ(1u, m_Room.commands.size());
    EXPECT_EQ(WPARAM(10), m_Room.commands[0].first);
    EXPECT_EQ(LPARAM(42), m_Room.commands[0].second);
}

TEST_F(PlayInfoPanelTest, HidesWhenTheCursorIsAway)
{
    const DWORD none[4] = {0, 0, 0, 0};
    std::unique_ptr<CUserItem> player(MakePlayer(42, none, 1, 0));
    CRect rcCard;
    const struct
    {
        UINT message;
        WPARAM wParam;
        bool inAnchor;
        bool stays;
    } cases[] = {
        {WM_KILLFOCUS, 0, true, true},          {WM_KILLFOCUS, 0, false, false},
        {WM_ACTIVATE, WA_INACTIVE, true, true}, {WM_ACTIVATE, WA_INACTIVE, false, false},
        {WM_ACTIVATEAPP, FALSE, true, false},
    };
    for (const auto& c : cases) {
        ShowFor(player.get());
        m_Card.GetWindowRect(&rcCard);
        AfxSetTestCursorPos(c.inAnchor ? CPoint(20, 20) : CPoint(rcCard.right + 50, rcCard.bottom + 50));
        m_Card.SendMessage(c.message, c.wParam, 0);
        EXPECT_EQ(c.stays, Visible()) << c.message << " " << c.inAnchor;
    }
    // Over the card itself it stays too.
    ShowFor(player.get());
    AfxSetTestCursorPos(rcCard.CenterPoint());
    m_Card.SendMessage(WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(Visible());

    // The user leaves the room: the card hides and forgets him.
    std::unique_ptr<CUserItem> other(MakePlayer(43, none, 1, 0));
    m_Card.OnUserItemDelete(other.get());
    EXPECT_TRUE(Visible());
    m_Card.OnUserItemDelete(player.get());
    EXPECT_FALSE(Visible());
    EXPECT_EQ(nullptr, m_Card.GetUserItem());
}

TEST(PlayInfoTextTest, StatesAndRates)
{
    const char* const states[] = {"没有状态", "空闲状态", "坐下状态", "准备状态", "旁观状态", "游戏状态", "", ""};
    for (BYTE s = 0; s < 8; ++s)
        EXPECT_EQ(CString(states[s]), CPlayInfoPanel::GetStatusText(s)) << int(s);
    EXPECT_EQ(CString("66.00"), CPlayInfoPanel::FormatRate(2, 3));
    EXPECT_EQ(CString("100.00"), CPlayInfoPanel::FormatRate(3, 3));
    EXPECT_EQ(CString(" 0.00"), CPlayInfoPanel::FormatRate(0, 0));
}

TEST(LookBigFaceTest, TallFacesAreSqueezedUnderTheCaption)
{
    EXPECT_EQ(CRect(97, 77, 197, 177), CLookBigFacePanel::FaceRect(294, 254, 100, 100));
    EXPECT_EQ(CRect(97, 25, 197, 253), CLookBigFacePanel::FaceRect(294, 254, 100, 300));
    EXPECT_EQ(CRect(97, 25, 197, 253), CLookBigFacePanel::FaceRect(294, 254, 100, 228));

    CModalScript script;
    script.Answer(IDOK);
    CLookBigFacePanel viewer(42);
    EXPECT_EQ(IDOK, viewer.DoModal());
    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(UINT(IDD_PLAYER_INFO), script.At(0).nIDTemplate);
}

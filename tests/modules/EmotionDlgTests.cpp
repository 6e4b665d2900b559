// The emotion picker made from Brindle.dll by the hall's module holder, with
// a test owner and a fixture folder of pictures.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>
#include <vector>

#include "EmotionDlg.h"
#include "GifWriter.h"
#include "IEmotionDlg.h"
#include "MemoryCanvas.h"
#include "ModuleTestSupport.h"

namespace
{

const COLORREF kBack = RGB(240, 240, 240);
const COLORREF kCellColour = RGB(0, 0, 200);
const COLORREF kFirstColour = RGB(200, 0, 0), kSecondColour = RGB(0, 160, 0);
const COLORREF kHoverFrame = RGB(28, 57, 208), kPreviewFrame = RGB(0, 138, 255);
const CPoint kGrid(5, 28); // with a background picture
const CRect kLeftBox(7, 29, 93, 115), kRightBox(181, 29, 267, 115);

// Page 1: numbers 0-74, number 0 animated, number 5 without a picture,
// number 6 with a name too long for a path.
// Page 2: numbers 100-101.
void WriteEmotionFolder(const CTempFolder& folder, bool background)
{
    std::string ini = "[emotion]\r\npagecount=2\r\nPagePath=page.bmp\r\n"
                      "[page1]\r\nindexbegin=0\r\nindexend=74\r\nname=默认\r\n"
                      "[page2]\r\nindexbegin=100\r\nindexend=101\r\nname=会员\r\n";
    for (int n = 0; n <= 74; ++n) {
        std::string file = n == 0 ? "anim.gif" : n == 5 ? "none.gif" : n == 6 ? std::string(300, 'p') : "cell.gif";
        ini += "[em" + std::to_string(n) + "]\r\nemotion=/e" + std::to_string(n) + "\r\npath=" + file + "\r\nname=n" +
               std::to_string(n) + "\r\n";
    }
    ini += "[em100]\r\nemotion=/vip1\r\npath=vip.gif\r\nname=v\r\n"
           "[em101]\r\nemotion=/vip2\r\npath=vip.gif\r\nname=w\r\n";
    folder.Write("config.ini", ini);
    folder.Write("anim.gif", skintest::SolidGif(20, 20, {kFirstColour, kSecondColour}, 300));
    folder.Write("cell.gif", skintest::SolidGif(20, 20, {kCellColour}, 0));
    folder.Write("vip.gif", skintest::SolidGif(20, 20, {kCellColour}, 0));
    if (background)
        folder.Write("emotionbk.bmp", skintest::Bmp24(skintest::Pixels(280, 270, kBack)));
}

// The owner: keeps every pick it is sent.
class PickOwner : public CWnd
{
public:
    std::vector<tagEmotion> picks;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_EMOTION_PICK) {
            picks.push_back(*reinterpret_cast<const tagEmotion*>(lParam));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class EmotionPickerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_Owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW, CRect(0, 0, 100, 100), NULL, 0));
        ASSERT_TRUE(m_Picker.CreateInstance()) << m_Picker.GetErrorDescribe();
    }
    void TearDown() override
    {
        m_Picker.CloseInstance();
        m_Owner.DestroyWindow();
    }

    IEmotionDlg* Picker() { return m_Picker.GetInterface(); }
    IEmotionDlg2* Picker2()
    {
        void* out = NULL;
        if (Picker()->QueryInterface(IID_IEmotionDlg2, &out) != S_OK)
            return NULL;
        Picker()->Release(); // the holder's reference keeps it
        return static_cast<IEmotionDlg2*>(out);
    }
    // Loads the folder, sets the level when given, creates and shows the picker.
    void Open(bool background = true, int level = -1)
    {
        WriteEmotionFolder(m_Folder, background);
        ASSERT_TRUE(Picker()->LoadConfig(m_Folder.Path().c_str()));
        if (level >= 0)
            Picker2()->SetVipLevel(level);
        ASSERT_TRUE(Picker()->Create(&m_Owner));
        Picker()->ShowAt(0, 0);
        m_hWnd = Picker()->GetSafeHwnd();
        ASSERT_NE(m_hWnd, nullptr);
    }
    HWND Tab() { return ::GetDlgItem(m_hWnd, 9001); }
    void HoverCell(int column, int row)
    {
        int x = kGrid.x + 2 + column * 29 + 14, y = kGrid.y + 2 + row * 29 + 14;
        ::SendMessage(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    }
    void SelectPage(int page)
    {
        TabCtrl_SetCurSel(Tab(), page);
        NMHDR header = {Tab(), 9001, UINT(TCN_SELCHANGE)};
        ::SendMessage(m_hWnd, WM_NOTIFY, 9001, (LPARAM)&header);
    }
    bool Visible() { return ::IsWindowVisible(m_hWnd) != FALSE; }

    PickOwner m_Owner;
    CEmotionDlgHelper m_Picker;
    CTempFolder m_Folder{"emotion_picker"};
    HWND m_hWnd = NULL;
};

// Where each cell's picture is drawn (client coordinates, its middle).
CPoint PictureMiddle(int index)
{
    return CPoint((index % 9) * 29 + 9 + 10, (index / 9) * 29 + 30 + 10);
}

TEST_F(EmotionPickerTest, ShowsSeventyTwoCellsAndHitsNothingPastThePage)
{
    Open();
    int size[2] = {};
    Picker()->GetSize(size);
    EXPECT_EQ(size[0], 280);
    EXPECT_EQ(size[1], 270);

    CMemoryCanvas canvas(280, 270);
    ASSERT_TRUE(canvas.Print(m_hWnd));
    EXPECT_EQ(canvas.At(PictureMiddle(71).x, PictureMiddle(71).y), kCellColour);
    EXPECT_EQ(canvas.At(PictureMiddle(4).x, PictureMiddle(4).y), kCellColour);
    EXPECT_EQ(canvas.At(PictureMiddle(5).x, PictureMiddle(5).y), kBack); // no picture
    EXPECT_EQ(canvas.At(PictureMiddle(6).x, PictureMiddle(6).y), kBack);
    EXPECT_EQ(canvas.At(PictureMiddle(72).x, 265), kBack); // where a ninth row would start
    EXPECT_EQ(canvas.Count(kCellColour), 69 * 20 * 20);    // cells 1-71 but 5 and 6, and none past

    struct Case
    {
        const char* name;
        int page, column, row;
        bool hit;
    };
    const Case cases[] = {
        {"last cell of the grid", 0, 8, 7, true},       {"first cell", 0, 0, 0, true},
        {"a number without a picture", 0, 5, 0, false}, {"a number whose path did not fit", 0, 6, 0, false},
        {"second page, within its two", 1, 1, 0, true}, {"second page, past its two", 1, 2, 0, false},
        {"second page, far past", 1, 8, 7, false},
    };
    Picker2()->SetVipLevel(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SelectPage(c.page);
        HoverCell(c.column, c.row);
        ASSERT_TRUE(canvas.Print(m_hWnd));
        CPoint corner(kGrid.x + 2 + c.column * 29, kGrid.y + 2 + c.row * 29);
        EXPECT_EQ(canvas.At(corner.x, corner.y) == kHoverFrame, c.hit);
        EXPECT_EQ(canvas.Count(kPreviewFrame) > 0, c.hit);
        ::SendMessage(m_hWnd, WM_MOUSELEAVE, 0, 0);
    }

    // The grid's own margins are no cell.
    ::SendMessage(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(kGrid.x + 2, kGrid.y + 20));
    ASSERT_TRUE(canvas.Print(m_hWnd));
    EXPECT_EQ(canvas.Count(kHoverFrame), 0);
}

TEST_F(EmotionPickerTest, PreviewMovesFromTheRightBoxToTheLeft)
{
    Open();
    CMemoryCanvas canvas(280, 270);
    HoverCell(2, 1);
    ASSERT_TRUE(canvas.Print(m_hWnd));
    EXPECT_EQ(canvas.At(kRightBox.left, kRightBox.top + 40), kPreviewFrame);
    EXPECT_EQ(canvas.At(kRightBox.left + 5, kRightBox.top + 5), RGB(255, 255, 255));
    EXPECT_NE(canvas.At(kLeftBox.left, kLeftBox.top + 40), kPreviewFrame);

    HoverCell(7, 1);
    ASSERT_TRUE(canvas.Print(m_hWnd));
    EXPECT_EQ(canvas.At(kLeftBox.left, kLeftBox.top + 40), kPreviewFrame);
    EXPECT_NE(canvas.At(kRightBox.left, kRightBox.top + 40), kPreviewFrame);
}

TEST(EmotionPickerPreview, SideRules)
{
    enum
    {
        NONE = CEmotionDlg::PREVIEW_NONE,
        LEFT = CEmotionDlg::PREVIEW_LEFT,
        RIGHT = CEmotionDlg::PREVIEW_RIGHT,
    };
    const struct
    {
        int side, column, oldColumn, next;
    } cases[] = {
        {NONE, -1, -1, NONE}, {NONE, 5, -1, RIGHT}, {NONE, 6, -1, LEFT},  {LEFT, -1, 3, NONE},  {LEFT, 3, 7, RIGHT},
        {LEFT, 4, 4, RIGHT},  {LEFT, 4, 5, LEFT},   {LEFT, 5, 4, LEFT},   {RIGHT, -1, 2, NONE}, {RIGHT, 6, 2, LEFT},
        {RIGHT, 5, 5, LEFT},  {RIGHT, 5, 4, RIGHT}, {RIGHT, 2, 7, RIGHT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.side << " " << c.column << " " << c.oldColumn);
        EXPECT_EQ(CEmotionDlg::NextPreviewSide(c.side, c.column, c.oldColumn), c.next);
    }
}

TEST_F(EmotionPickerTest, PreviewFramesAdvancePerTimerTick)
{
    Open();
    CMemoryCanvas canvas(280, 270);
    CPoint middle = kRightBox.CenterPoint();
    HoverCell(0, 0); // the animated one
    ASSERT_TRUE(canvas.Print(m_hWnd));
    EXPECT_EQ(canvas.At(middle.x, middle.y), kFirstColour);
    const COLORREF expected[] = {kSecondColour, kFirstColour, kSecondColour};
    for (COLORREF colour : expected) {
        ::SendMessage(m_hWnd, WM_TIMER, CEmotionDlg::TIMER_PREVIEW, 0);
        ASSERT_TRUE(canvas.Print(m_hWnd));
        EXPECT_EQ(canvas.At(middle.x, middle.y), colour);
    }

    // A picture of one frame stays as it is.
    HoverCell(1, 0);
    ::SendMessage(m_hWnd, WM_TIMER, CEmotionDlg::TIMER_PREVIEW, 0);
    ASSERT_TRUE(canvas.Print(m_hWnd));
    EXPECT_EQ(canvas.At(middle.x, middle.y), kCellColour);
}

TEST_F(EmotionPickerTest, PickSendsTheEmotionAndHides)
{
    const struct
    {
        int level, page;
        const char* file;
        const char* code;
    } cases[] = {
        {0, 0, "anim.gif", "/e0"},
        {0, 1, "vip.gif", "/unem"},
        {3, 1, "vip.gif", "/vip1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " page " << c.page);
        if (m_hWnd != NULL) {
            m_Picker.CloseInstance();
            ASSERT_TRUE(m_Picker.CreateInstance());
        }
        m_Owner.picks.clear();
        Open(true, c.level);
        EXPECT_EQ(TabCtrl_GetItemCount(Tab()), 2);
        SelectPage(c.page);
        HoverCell(0, 0);
        ::SendMessage(m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(kGrid.x + 16, kGrid.y + 16));
        ASSERT_EQ(m_Owner.picks.size(), 1u);
        EXPECT_EQ(std::string(m_Owner.picks[0].szPath), m_Folder.File(c.file));
        EXPECT_STREQ(m_Owner.picks[0].szCode, c.code);
        EXPECT_FALSE(Visible());

        // Nothing hovered: a click picks nothing.
        Picker()->ShowAt(0, 0);
        ::SendMessage(m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(kGrid.x + 16, kGrid.y + 16));
        EXPECT_EQ(m_Owner.picks.size(), 1u);
    }
}

TEST_F(EmotionPickerTest, MembersTabOnlyWithALevel)
{
    Open();
    EXPECT_EQ(TabCtrl_GetItemCount(Tab()), 1);
    Picker2()->SetVipLevel(0);
    EXPECT_EQ(TabCtrl_GetItemCount(Tab()), 1);
    Picker2()->SetVipLevel(7);
    EXPECT_EQ(TabCtrl_GetItemCount(Tab()), 1);
    Picker2()->SetVipLevel(6);
    EXPECT_EQ(TabCtrl_GetItemCount(Tab()), 2);
    Picker2()->SetVipLevel(1);
    EXPECT_EQ(TabCtrl_GetItemCount(Tab()), 2);
}

TEST_F(EmotionPickerTest, HidesWhenLeftButNotOnEnterOrEscape)
{
    Open();
    struct Case
    {
        const char* name;
        UINT message;
        WPARAM wParam;
        bool visible;
    };
    const Case cases[] = {
        {"Enter", WM_COMMAND, IDOK, true},
        {"Escape", WM_COMMAND, IDCANCEL, true},
        {"deactivated", WM_ACTIVATE, WA_INACTIVE, false},
        {"focus lost", WM_KILLFOCUS, 0, false},
        {"application deactivated", WM_ACTIVATEAPP, FALSE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picker()->ShowAt(0, 0);
        ASSERT_TRUE(Visible());
        ::SendMessage(m_hWnd, c.message, c.wParam, 0);
        EXPECT_TRUE(::IsWindow(m_hWnd));
        EXPECT_EQ(Visible(), c.visible);
    }
}

TEST_F(EmotionPickerTest, SizeWithoutBackgroundAndReleaseWithALiveWindow)
{
    Open(false);
    int size[2] = {};
    Picker()->GetSize(size);
    EXPECT_EQ(size[0], 266);
    EXPECT_EQ(size[1], 237);
    CRect window;
    ::GetWindowRect(m_hWnd, &window);
    EXPECT_EQ(window.Size(), CSize(266, 237));

    // The holder releases without Destroy: the window goes with the object.
    ASSERT_TRUE(::IsWindow(m_hWnd));
    m_Picker.CloseInstance();
    EXPECT_FALSE(::IsWindow(m_hWnd));
}

TEST_F(EmotionPickerTest, DestroyAndLoadingTwice)
{
    EXPECT_EQ(Picker()->GetSafeHwnd(), nullptr);
    Picker()->Destroy(); // no window yet
    Open();
    // The background is loaded: another folder changes nothing.
    CTempFolder other("emotion_other");
    EXPECT_TRUE(Picker()->LoadConfig(other.Path().c_str()));
    int size[2] = {};
    Picker()->GetSize(size);
    EXPECT_EQ(size[0], 280);
    Picker()->Destroy();
    EXPECT_FALSE(::IsWindow(m_hWnd));
    EXPECT_EQ(Picker()->GetSafeHwnd(), nullptr);
}

} // namespace

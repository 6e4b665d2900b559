// The user-service program's small controls on their own: amounts as typed,
// the tip's count-down, the password prompt, the exclusive tab buttons, the
// tab painter and the skin drawing routines in DIB sections.
#include <afxwin.h>

#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AfxModalScript.h"
#include "AmountEdit.h"
#include "ClipboardText.h"
#include "ImageTabItem.h"
#include "ImageTabPaintManager.h"
#include "InputerDlg.h"
#include "MemoryCanvas.h"
#include "ServiceAmount.h"
#include "SkinComboxEx.h"
#include "SkinDraw.h"
#include "SkinTab.h"
#include "TabButtonGroup.h"
#include "ServiceTestSupport.h"
#include "TempFolder.h"
#include "TestWait.h"
#include "TipDlg.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{

TEST(ServiceAmountTest, ReadsDigitsWithinTheWidth)
{
    struct Case
    {
        const char* text;
        ULONGLONG max;
        bool commas;
        AmountStatus status;
        ULONGLONG value;
    } cases[] = {
        {"", 0xFFFFFFFFull, false, AMOUNT_EMPTY, 0},
        {"0", 0xFFFFFFFFull, false, AMOUNT_OK, 0},
        {"4294967295", 0xFFFFFFFFull, false, AMOUNT_OK, 4294967295ull},
        {"4294967296", 0xFFFFFFFFull, false, AMOUNT_TOO_LARGE, 0},
        {"99999999999999999999999", 0xFFFFFFFFull, false, AMOUNT_TOO_LARGE, 0},
        {"-5", 0xFFFFFFFFull, false, AMOUNT_INVALID, 0},
        {"12a", 0xFFFFFFFFull, false, AMOUNT_INVALID, 0},
        {" 12", 0xFFFFFFFFull, false, AMOUNT_INVALID, 0},
        {"\xa3\xb1", 0xFFFFFFFFull, false, AMOUNT_INVALID, 0}, // a full-width digit
        {"12,345", 0xFFFFFFFFull, false, AMOUNT_INVALID, 0},
        {"12,345", 999999999999999999ull, true, AMOUNT_OK, 12345},
        {",", 999999999999999999ull, true, AMOUNT_INVALID, 0},
        {"999,999,999,999,999,999", 999999999999999999ull, true, AMOUNT_OK, 999999999999999999ull},
        {"1,000,000,000,000,000,000", 999999999999999999ull, true, AMOUNT_TOO_LARGE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ULONGLONG value = 7;
        EXPECT_EQ(c.status, ParseAmount(c.text, c.max, value, c.commas));
        EXPECT_EQ(c.value, value);
    }
}

TEST(ServiceAmountTest, ShowsGroupsOfThree)
{
    const std::pair<LONGLONG, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {12345, "12,345"},
        {-1234567, "-1,234,567"},
        {999999999999999999ll, "999,999,999,999,999,999"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.second, FormatAmount(c.first));
}

// A parent window for controls made in a test.
class ControlHost : public testing::Test
{
public:
    void SetUp() override
    {
        TheTestApp();
        ASSERT_TRUE(
            m_Host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), NULL, 0));
    }
    void TearDown() override { m_Host.DestroyWindow(); }
    CWnd m_Host;
};

TEST_F(ControlHost, AmountEditTakesDigitsOnly)
{
    CAmountEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 0, 200, 20), &m_Host, 1));
    for (char ch : std::string("1a2-3 ,4"))
        edit.SendMessage(WM_CHAR, WPARAM((unsigned char)ch), 1);
    edit.SendMessage(WM_IME_CHAR, WPARAM(0xA3B5), 1); // a full-width digit from an input method
    edit.SendMessage(WM_IME_CHAR, WPARAM('5'), 1);
    CString strText;
    edit.GetWindowText(strText);
    EXPECT_STREQ("12345", strText);
    edit.SendMessage(WM_CHAR, VK_BACK, 1);
    edit.GetWindowText(strText);
    EXPECT_STREQ("1234", strText);

    // Pasted text keeps its digits only.
    ASSERT_TRUE(SetClipboardText("x9,8 7"));
    edit.SetSel(4, 4);
    edit.SendMessage(WM_PASTE);
    edit.GetWindowText(strText);
    EXPECT_STREQ("1234987", strText);
    edit.SendMessage(WM_CHAR, 0x16, 1); // ctrl+V
    edit.GetWindowText(strText);
    EXPECT_STREQ("1234987987", strText);
}

TEST_F(ControlHost, ComboDropButtonFollowsThePointer)
{
    CSkinComboxEx combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 120, 100), &m_Host, 7));
    EXPECT_EQ(RGB(46, 126, 163), combo.m_crBorder);
    CRect rcDrop = SkinComboDropRect(&combo);
    CRect rcClient;
    combo.GetClientRect(&rcClient);
    EXPECT_EQ(CRect(rcClient.right - 20, 2, rcClient.right - 2, rcClient.bottom - 2), rcDrop);
    // Outside the drop button the state stays; inside it turns hot; leaving ends it.
    combo.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, rcClient.Height() / 2));
    EXPECT_EQ(CSkinComboxEx::STATE_NORMAL, combo.m_nDropState);
    combo.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rcDrop.left + 2, rcDrop.top + 2));
    EXPECT_EQ(CSkinComboxEx::STATE_HOT, combo.m_nDropState);
    combo.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(CSkinComboxEx::STATE_NORMAL, combo.m_nDropState);
    combo.DestroyWindow();
}

class TipTest : public ControlHost
{
public:
    void SetUp() override
    {
        ControlHost::SetUp();
        // The test gives the ticks itself.
        s_nOldInterval = CTipDlg::s_nTickInterval;
        CTipDlg::s_nTickInterval = USER_TIMER_MAXIMUM;
        ASSERT_TRUE(m_Tip.Create(IDD_TIP, &m_Host));
    }
    void TearDown() override
    {
        m_Tip.DestroyWindow();
        CTipDlg::s_nTickInterval = s_nOldInterval;
        ControlHost::TearDown();
    }
    void Tick(int n)
    {
        for (int i = 0; i < n; ++i)
            m_Tip.SendMessage(WM_TIMER, CTipDlg::kTimerID);
    }
    CTipDlg m_Tip;
    UINT s_nOldInterval = 10;
};

TEST_F(TipTest, HidesAfterItsTicks)
{
    m_Tip.ShowTip("正在登录", 1000);
    EXPECT_TRUE(m_Tip.IsWindowVisible());
    EXPECT_EQ(100, m_Tip.GetRemainingTicks());
    Tick(100);
    EXPECT_TRUE(m_Tip.IsWindowVisible()) << "ticks 100 down to 0";
    EXPECT_STREQ("正在登录", m_Tip.GetShownText());
    m_Tip.SendMessage(WM_TIMER, 2); // another timer: no count
    EXPECT_TRUE(m_Tip.IsWindowVisible());
    Tick(1);
    EXPECT_FALSE(m_Tip.IsWindowVisible());
    EXPECT_STREQ("", m_Tip.GetShownText());

    // -1 stays until hidden.
    m_Tip.ShowTip("等待回复", -1);
    Tick(500);
    EXPECT_TRUE(m_Tip.IsWindowVisible());
    EXPECT_STREQ("等待回复", m_Tip.GetShownText());
    m_Tip.HideTip();
    EXPECT_FALSE(m_Tip.IsWindowVisible());
}

TEST_F(TipTest, CallsFromAnotherThreadRunOnTheWindowsThread)
{
    DWORD dwShownOn = 0;
    std::thread worker([&] {
        m_Tip.ShowTip("上传中", -1);
        m_Tip.HideTip();
        m_Tip.ShowTip("上传成功", 1000);
        dwShownOn = GetCurrentThreadId();
    });
    worker.join();
    EXPECT_NE(0u, dwShownOn);
    EXPECT_STRNE("上传成功", m_Tip.GetText()) << "not touched off its thread";
    ASSERT_TRUE(PumpUntil([&] { return m_Tip.GetText() == "上传成功"; }));
    EXPECT_TRUE(m_Tip.IsWindowVisible());
    EXPECT_EQ(100, m_Tip.GetRemainingTicks());
}

TEST_F(TipTest, PaintsItsFrameAndRoundsItsCorners)
{
    m_Tip.ShowTip("x", -1);
    CRect rcClient;
    m_Tip.GetClientRect(&rcClient);
    CMemoryCanvas canvas(rcClient.Width(), rcClient.Height(), RGB(1, 2, 3));
    canvas.Print(m_Tip.m_hWnd, PW_CLIENTONLY);
    // The frame's edge colour along the border, the fill inside.
    EXPECT_EQ(RGB(17, 82, 129), canvas.At(rcClient.Width() / 2, 0));
    EXPECT_EQ(RGB(255, 252, 224), canvas.At(rcClient.Width() / 4, rcClient.Height() / 4));
    HRGN hRegion = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(m_Tip.m_hWnd, hRegion));
    EXPECT_FALSE(PtInRegion(hRegion, 0, 0)) << "the corner is cut";
    EXPECT_TRUE(PtInRegion(hRegion, rcClient.Width() / 2, rcClient.Height() / 2));
    DeleteObject(hRegion);
}

TEST(InputerTest, OkWithAnEmptyValueStaysOpen)
{
    TheTestApp();
    struct Case
    {
        const char* name;
        const char* value;
        UINT command;
        INT_PTR result;
    } cases[] = {
        {"empty OK", "", IDOK, -2},
        {"value OK", "secret", IDOK, IDOK},
        {"empty cancel", "", IDCANCEL, IDCANCEL},
        {"value cancel", "secret", IDCANCEL, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CModalScript script;
        bool bStayed = false;
        CString strPrompt;
        script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
            r.pWnd->GetDlgItemText(IDC_INPUTER_PROMPT, strPrompt);
            r.pWnd->SetDlgItemText(IDC_INPUTER_VALUE, c.value);
            r.pWnd->SendMessage(WM_COMMAND, c.command);
            PumpMessages();
            bStayed = ::IsWindow(r.pWnd->m_hWnd) && r.pWnd->IsWindowVisible();
            // What the dialog left open is ended here.
            return bStayed ? INT_PTR(-2) : CModalScript::keepRunning;
        });
        CInputerDlg prompt;
        prompt.m_strPrompt = "请输入保险箱密码";
        INT_PTR nResult = prompt.DoModal();
        EXPECT_EQ(c.result, nResult);
        EXPECT_EQ(c.result == -2, bStayed);
        EXPECT_STREQ("请输入保险箱密码", strPrompt);
        if (c.result == IDOK) {
            EXPECT_STREQ(c.value, prompt.m_strValue);
        }
        EXPECT_EQ(0, script.Unexpected());
    }
}

TEST_F(ControlHost, TabButtonsStayExclusive)
{
    CTabSkinButton buttons[3];
    CTabButtonGroup group;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(buttons[i].Create("b", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, i * 20, 50, i * 20 + 18),
                                      &m_Host, 100 + i));
        group.AddButton(&buttons[i]);
    }
    group.AddButton(&buttons[1]);
    EXPECT_EQ(3, group.GetCount()) << "a button joins once";
    for (int pick : {0, 2, 2, 1}) {
        group.SelectButton(&buttons[pick]);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(i == pick, bool(buttons[i].IsSelected())) << pick << " " << i;
            EXPECT_EQ(i == pick, bool(buttons[i].GetButtonChecked()));
        }
    }
    // A button that was set by hand is cleared too.
    buttons[0].SetSelected(TRUE);
    group.SelectButton(&buttons[2]);
    EXPECT_FALSE(buttons[0].IsSelected());
    EXPECT_FALSE(buttons[1].IsSelected());
    group.Clear();
    EXPECT_EQ(0, group.GetCount());
}

// A 24-bit picture of w by h whose pixels come from a function.
void WriteBitmap(const std::string& path, int w, int h, std::function<COLORREF(int, int)> pixel)
{
    const int nRow = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + nRow * h;
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<BYTE> bits(nRow * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = pixel(x, y);
            BYTE* p = &bits[(h - 1 - y) * nRow + x * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(bits.data()), bits.size());
}

// Cells of 4 by 4 pixels, each its own colour.
COLORREF CellColour(int column, int row)
{
    return RGB(40 + column * 60, 40 + row * 60, 200);
}

class SkinDrawTest : public testing::Test
{
public:
    void SetUp() override
    {
        TheTestApp();
        WriteBitmap(m_Folder.File("nine.bmp"), 12, 12, [](int x, int y) { return CellColour(x / 4, y / 4); });
        WriteBitmap(m_Folder.File("bar.bmp"), 15, 6, [](int x, int) { return CellColour(x / 5, 0); });
        m_Nine.SetLoadInfo(m_Folder.File("nine.bmp").c_str());
        m_Bar.SetLoadInfo(m_Folder.File("bar.bmp").c_str());
        ASSERT_TRUE(m_Nine.LoadImage());
        ASSERT_TRUE(m_Bar.LoadImage());
    }
    CTempFolder m_Folder{"skindraw"};
    CSkinImage m_Nine;
    CSkinImage m_Bar;
};

TEST_F(SkinDrawTest, FrameCornersStayNaturalEdgesStretch)
{
    const COLORREF kBack = RGB(1, 1, 1);
    CMemoryCanvas canvas(120, 80, kBack);
    DrawSkinFrame(canvas.DC(), CRect(10, 10, 110, 70), m_Nine);
    struct Probe
    {
        int x, y, column, row;
    } probes[] = {
        {10, 10, 0, 0},  {13, 13, 0, 0}, {14, 10, 1, 0},  {105, 13, 1, 0}, {106, 10, 2, 0},
        {109, 13, 2, 0}, {10, 14, 0, 1}, {13, 65, 0, 1},  {60, 40, 1, 1},  {109, 40, 2, 1},
        {10, 66, 0, 2},  {60, 69, 1, 2}, {109, 69, 2, 2},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(CellColour(p.column, p.row), canvas.At(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(kBack, canvas.At(9, 9));
    EXPECT_EQ(kBack, canvas.At(110, 70));

    // Smaller than two cells: the corners still whole, at their own size.
    CMemoryCanvas small(30, 30, kBack);
    DrawSkinFrame(small.DC(), CRect(10, 10, 16, 16), m_Nine);
    EXPECT_EQ(CellColour(0, 0), small.At(10, 10));
    EXPECT_EQ(CellColour(0, 0), small.At(11, 11));
    EXPECT_EQ(CellColour(2, 0), small.At(15, 10));
    EXPECT_EQ(CellColour(2, 0), small.At(12, 10)) << "the right corner is 4 wide";
    EXPECT_EQ(CellColour(0, 2), small.At(10, 15));
    EXPECT_EQ(CellColour(2, 2), small.At(15, 15));
    EXPECT_EQ(kBack, small.At(16, 16));
    EXPECT_EQ(kBack, small.At(9, 12));

    // An unloaded picture draws nothing.
    CSkinImage missing;
    missing.SetLoadInfo(m_Folder.File("none.bmp").c_str());
    CMemoryCanvas untouched(20, 20, kBack);
    DrawSkinFrame(untouched.DC(), CRect(0, 0, 20, 20), missing);
    DrawSkinBar(untouched.DC(), CRect(0, 0, 20, 20), missing);
    EXPECT_EQ(400, untouched.Count(kBack));
}

TEST_F(SkinDrawTest, BarEndsAndStretchedMiddle)
{
    const COLORREF kBack = RGB(1, 1, 1);
    CMemoryCanvas canvas(100, 30, kBack);
    DrawSkinBar(canvas.DC(), CRect(10, 5, 90, 25), m_Bar);
    EXPECT_EQ(CellColour(0, 0), canvas.At(10, 5));
    EXPECT_EQ(CellColour(0, 0), canvas.At(14, 10));
    EXPECT_EQ(CellColour(1, 0), canvas.At(15, 5));
    EXPECT_EQ(CellColour(1, 0), canvas.At(84, 10));
    EXPECT_EQ(CellColour(2, 0), canvas.At(85, 5));
    EXPECT_EQ(CellColour(2, 0), canvas.At(89, 10));
    EXPECT_EQ(kBack, canvas.At(50, 11)) << "at the picture's own height";
    EXPECT_EQ(kBack, canvas.At(90, 5));
}

TEST_F(SkinDrawTest, TabPainterDrawsFramesByState)
{
    // Left and right pictures of 3 frames of 5 by 8; the item's of 3 frames of 10 by 8.
    WriteBitmap(m_Folder.File("left.bmp"), 15, 8, [](int x, int) { return RGB(10 + x / 5, 0, 0); });
    WriteBitmap(m_Folder.File("right.bmp"), 15, 8, [](int x, int) { return RGB(0, 10 + x / 5, 0); });
    WriteBitmap(m_Folder.File("item.bmp"), 30, 8, [](int x, int) { return RGB(0, 0, 10 + x / 10); });
    CImageTabPaintManager* pPainter = new CImageTabPaintManager;
    pPainter->m_ImageLeft.SetLoadInfo(m_Folder.File("left.bmp").c_str());
    pPainter->m_ImageRight.SetLoadInfo(m_Folder.File("right.bmp").c_str());
    EXPECT_EQ(CRect(0, 5, 0, 0), pPainter->GetButtonMargin());
    EXPECT_EQ(CRect(0, 0, 0, 0), pPainter->GetHeaderMargin());

    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), NULL, 0));
    CSkinTab strip;
    ASSERT_TRUE(strip.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &host, 1));
    strip.GetTabManager()->SetPaintManager(pPainter);
    // No captions: glyph pixels are not checked.
    CImageTabItem first(0, ""), second(0, ""), third(0, "");
    for (CImageTabItem* pItem : {&first, &second, &third}) {
        pItem->GetImage()->SetLoadInfo(m_Folder.File("item.bmp").c_str());
        strip.InsertItem(strip.GetTabManager()->GetItemCount(), pItem->GetCaption(), NULL, -1, pItem);
    }
    third.SetEnabled(FALSE);
    first.Select();
    EXPECT_EQ(8, pPainter->GetButtonHeight(strip.GetTabManager()));
    CMemoryCanvas canvas(100, 10, RGB(255, 255, 255));
    EXPECT_EQ(20, pPainter->GetButtonLength(canvas.DC(), &first));
    // Frame 0 for the selected item, 1 for an enabled one, 2 for a disabled one.
    const struct
    {
        CImageTabItem* item;
        int frame;
    } cases[] = {{&first, 0}, {&second, 1}, {&third, 2}};
    for (const auto& c : cases) {
        canvas.Fill(RGB(255, 255, 255));
        EXPECT_EQ(20, pPainter->DrawSingleButton(canvas.DC(), c.item, CRect(0, 0, 20, 8), TRUE));
        EXPECT_EQ(RGB(10 + c.frame, 0, 0), canvas.At(0, 7)) << c.frame;
        EXPECT_EQ(RGB(10 + c.frame, 0, 0), canvas.At(4, 0));
        EXPECT_EQ(RGB(0, 0, 10 + c.frame), canvas.At(5, 0));
        EXPECT_EQ(RGB(0, 0, 10 + c.frame), canvas.At(14, 7));
        EXPECT_EQ(RGB(0, 10 + c.frame, 0), canvas.At(15, 0));
        EXPECT_EQ(RGB(0, 10 + c.frame, 0), canvas.At(19, 7));
        EXPECT_EQ(RGB(255, 255, 255), canvas.At(20, 0));
    }
    strip.DestroyWindow();
    host.DestroyWindow();
}

} // namespace

// The room's chat tool bar: the screenshot file, the font colour, the
// emotion picker's place and picks, clearing, and links of chat lines.
#include "ChatBarTest.h"

#include "ChatToolBar.h"
#include "GlobalUnits.h"
#include "IMessageProxy.h"
#include "TempFolder.h"

#include <afxdlgs.h>

#include <string.h>

namespace
{

HBITMAP MakePicture(int cx, int cy, COLORREF crColour)
{
    HDC hScreen = GetDC(NULL);
    HDC hMem = CreateCompatibleDC(hScreen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(hMem, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    HGDIOBJ hOld = SelectObject(hMem, hBitmap);
    HBRUSH hBrush = CreateSolidBrush(crColour);
    RECT rect = {0, 0, cx, cy};
    FillRect(hMem, &rect, hBrush);
    DeleteObject(hBrush);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
    ReleaseDC(NULL, hScreen);
    return hBitmap;
}

template <class T> T ReadAt(const std::string& bytes, size_t pos)
{
    T value{};
    if (pos + sizeof(T) <= bytes.size())
        memcpy(&value, bytes.data() + pos, sizeof(T));
    return value;
}

struct LauncherDouble : CBrowserLauncher
{
    INT_PTR ShellOpen(LPCSTR url, int) override
    {
        opened.push_back(url);
        return 42;
    }
    bool StartProcess(LPCSTR commandLine) override
    {
        opened.push_back(commandLine);
        return true;
    }
    std::vector<std::string> opened;
};

class ChatToolBarTest : public ChatBarTest
{
protected:
    void MakeBars()
    {
        MakeBar();
        m_Owner.pDisplay = &m_Panel.Rich();
        m_Tool.SetOwner(&m_Owner);
        ASSERT_TRUE(m_Tool.CreateBar(&m_Host, CRect(0, 30, 300, 56), 2));
    }
    void TearDown() override
    {
        if (m_Tool.GetSafeHwnd() != NULL)
            m_Tool.DestroyWindow();
        ChatBarTest::TearDown();
    }

    CChatToolBar m_Tool;
};

} // namespace

TEST(ChatScreenshot, WritesA24BitFileOfItsSize)
{
    CTempFolder folder("chatshot");
    struct Case
    {
        int cx;
        int cy;
    } cases[] = {{1, 1}, {3, 2}, {4, 3}, {5, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cx * 100 + c.cy);
        HBITMAP hBitmap = MakePicture(c.cx, c.cy, RGB(10, 20, 30));
        const std::string path = folder.File("shot.bmp");
        ASSERT_TRUE(CChatToolBar::WriteBitmapFile(path.c_str(), hBitmap));
        DeleteObject(hBitmap);
        const std::string bytes = folder.Read("shot.bmp");
        const DWORD dwStride = DWORD((c.cx * 3 + 3) & ~3);
        ASSERT_EQ(54 + dwStride * c.cy, bytes.size());
        EXPECT_EQ("BM", bytes.substr(0, 2));
        EXPECT_EQ(DWORD(bytes.size()), ReadAt<DWORD>(bytes, 2));
        EXPECT_EQ(54u, ReadAt<DWORD>(bytes, 10));
        EXPECT_EQ(40u, ReadAt<DWORD>(bytes, 14));
        EXPECT_EQ(LONG(c.cx), ReadAt<LONG>(bytes, 18));
        EXPECT_EQ(LONG(c.cy), ReadAt<LONG>(bytes, 22));
        EXPECT_EQ(24, ReadAt<WORD>(bytes, 28));
        EXPECT_EQ(0u, ReadAt<DWORD>(bytes, 30)); // no compression, no colour table
        // The first pixel, blue green red.
        EXPECT_EQ(30, BYTE(bytes[54]));
        EXPECT_EQ(20, BYTE(bytes[55]));
        EXPECT_EQ(10, BYTE(bytes[56]));
    }
    // Nothing to write, or nowhere: no file.
    EXPECT_FALSE(CChatToolBar::WriteBitmapFile(folder.File("none.bmp").c_str(), NULL));
    EXPECT_FALSE(folder.Exists("none.bmp"));
    HBITMAP hBitmap = MakePicture(2, 2, 0);
    EXPECT_FALSE(CChatToolBar::WriteBitmapFile(folder.File("no\\such\\folder.bmp").c_str(), hBitmap));
    DeleteObject(hBitmap);
}

TEST(ChatEmotionPicker, ShowsAboveTheButtonInsideANarrowBar)
{
    struct Case
    {
        CRect button;
        int nBar;
        int cx;
        int cy;
        CPoint expected;
    } cases[] = {
        {CRect(400, 600, 420, 620), 300, 200, 150, CPoint(400 - 200 + 150, 600 - 150)},
        {CRect(400, 600, 420, 620), 150, 200, 150, CPoint(400 - 50 - 200 + 150, 450)},
        {CRect(10, 100, 30, 120), 200, 200, 80, CPoint(10 - 200 + 80, 20)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CChatToolBar::PickerPosition(c.button, c.nBar, c.cx, c.cy));
}

TEST(ChatLinks, OnlyWebAddressesOpen)
{
    LauncherDouble launcher;
    CBrowserLauncher* pPrevious = CBrowserLauncher::Install(&launcher);
    struct Case
    {
        const char* link;
        bool bOpened;
    } cases[] = {
        {"http://example.test/a", true},
        {"HTTPS://example.test/", true},
        {"file:///c:/windows/system32/calc.exe", false},
        {"c:\\windows\\notepad.exe", false},
        {"cmd /c del *", false},
        {"javascript:alert(1)", false},
        {"http:", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        launcher.opened.clear();
        EXPECT_EQ(c.bOpened, CChatToolBar::OpenChatLink(c.link));
        EXPECT_EQ(c.bOpened ? 1u : 0u, launcher.opened.size());
    }
    EXPECT_FALSE(CChatToolBar::OpenChatLink(nullptr));
    CBrowserLauncher::Install(pPrevious);
}

TEST_F(ChatToolBarTest, ButtonsTipsAndLayout)
{
    MakeBars();
    EXPECT_NE(nullptr, m_Tool.GetEmotionDlg());
    EXPECT_EQ(6, int(m_Tool.GetToolTip().SendMessage(TTM_GETTOOLCOUNT, 0, 0)));
    const UINT order[] = {IDC_TOOL_EMOTION, IDC_TOOL_COLOUR, IDC_TOOL_CLEAR, IDC_TOOL_SPEAKER, IDC_TOOL_SCREENSHOT};
    int x = 8;
    for (UINT nID : order) {
        SCOPED_TRACE(nID);
        CRect rect;
        m_Tool.GetButton(nID).GetWindowRect(&rect);
        m_Tool.ScreenToClient(&rect);
        EXPECT_EQ(CPoint(x, 1), rect.TopLeft());
        x = rect.right + 8;
    }
    CRect rect;
    m_Tool.GetButton(IDC_TOOL_COMPLAINT).GetWindowRect(&rect);
    m_Tool.ScreenToClient(&rect);
    EXPECT_EQ(300 - 6, rect.right);
    EXPECT_EQ(0, m_Script.Unexpected());
}

TEST_F(ChatToolBarTest, EmotionPicksGoIntoTheInput)
{
    MakeBars();
    tagEmotion emotion = {};
    strcpy(emotion.szCode, "/01");
    m_Bar.SetInputText("hi");
    m_Tool.SendMessage(WM_EMOTION_PICK, 0, LPARAM(&emotion));
    EXPECT_EQ("hi/01", std::string(m_Bar.GetInputText()));
    // A members' emotion without the level: a system line, nothing typed.
    strcpy(emotion.szCode, "/unem");
    m_Tool.SendMessage(WM_EMOTION_PICK, 0, LPARAM(&emotion));
    EXPECT_EQ("hi/01", std::string(m_Bar.GetInputText()));
    EXPECT_NE(std::string::npos, m_Panel.ChatText().find("您不是会员，无法发送。"));
    // A code filling its whole field is read bounded.
    memset(emotion.szCode, 'x', sizeof(emotion.szCode));
    emotion.szCode[0] = '/';
    m_Bar.SetInputText("");
    m_Tool.SendMessage(WM_EMOTION_PICK, 0, LPARAM(&emotion));
    EXPECT_EQ(std::string("/") + std::string(15, 'x'), std::string(m_Bar.GetInputText()));
    // While the input is closed picks are ignored.
    m_Owner.bEnabled = false;
    strcpy(emotion.szCode, "/02");
    m_Tool.SendMessage(WM_EMOTION_PICK, 0, LPARAM(&emotion));
    EXPECT_EQ(std::string("/") + std::string(15, 'x'), std::string(m_Bar.GetInputText()));
    m_Tool.SendMessage(WM_EMOTION_PICK, 0, 0);
}

TEST_F(ChatToolBarTest, FontColourAndClear)
{
    MakeBars();
    CChatBar::SetChatColour(RGB(9, 9, 9));
    COLORREF crOffered = 0;
    m_Script.Then([&](AFX_MODAL_REQUEST& r) {
        CColorDialog* pDialog = static_cast<CColorDialog*>(r.pObject);
        crOffered = pDialog->m_cc.rgbResult;
        EXPECT_NE(0u, pDialog->m_cc.Flags & CC_RGBINIT);
        pDialog->m_cc.rgbResult = RGB(200, 10, 10);
        return INT_PTR(IDOK);
    });
    m_Tool.ChooseColour();
    EXPECT_EQ(RGB(9, 9, 9), crOffered);
    EXPECT_EQ(RGB(200, 10, 10), CChatBar::GetChatColour());
    m_Script.Answer(IDCANCEL);
    m_Tool.ChooseColour();
    EXPECT_EQ(RGB(200, 10, 10), CChatBar::GetChatColour());
    m_pView->GetMessageProxy()->InsertSystemText("line");
    ASSERT_NE("", m_Panel.ChatText());
    m_Tool.ClearChat();
    EXPECT_EQ("", m_Panel.ChatText());
}

TEST_F(ChatToolBarTest, ScreenshotOfTheChatDisplay)
{
    MakeBars();
    CTempFolder folder("chatshot");
    CRect captured;
    auto previous = CChatToolBar::s_CaptureChat;
    CChatToolBar::s_CaptureChat = [&](CWnd* pPanel, const CRect& rect) {
        EXPECT_EQ(&m_Host, pPanel);
        captured = rect;
        return MakePicture(rect.Width(), rect.Height(), RGB(1, 2, 3));
    };
    const std::string path = folder.File("chat.bmp");
    m_Script.Then([&](AFX_MODAL_REQUEST& r) {
        CFileDialog* pDialog = static_cast<CFileDialog*>(r.pObject);
        EXPECT_STREQ("screen.bmp", pDialog->m_ofn.lpstrFile);
        EXPECT_NE(0u, pDialog->m_ofn.Flags & OFN_OVERWRITEPROMPT);
        lstrcpynA(pDialog->m_ofn.lpstrFile, path.c_str(), pDialog->m_ofn.nMaxFile);
        return INT_PTR(IDOK);
    });
    EXPECT_TRUE(m_Tool.SaveScreenshot());
    CRect display;
    m_Panel.Rich().GetWindowRect(&display);
    EXPECT_EQ(display.Size(), captured.Size());
    const std::string bytes = folder.Read("chat.bmp");
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(DWORD(bytes.size()), ReadAt<DWORD>(bytes, 2));
    EXPECT_EQ(24, ReadAt<WORD>(bytes, 28));
    // Cancel writes nothing.
    DeleteFileA(path.c_str());
    m_Script.Answer(IDCANCEL);
    EXPECT_FALSE(m_Tool.SaveScreenshot());
    EXPECT_FALSE(folder.Exists("chat.bmp"));
    CChatToolBar::s_CaptureChat = previous;
}

TEST_F(ChatToolBarTest, EmotionPickerShowsAboveItsButton)
{
    MakeBars();
    m_Tool.ShowEmotions();
    IEmotionDlg* pPicker = m_Tool.GetEmotionDlg();
    ASSERT_NE(nullptr, pPicker);
    const HWND hPicker = pPicker->GetSafeHwnd();
    ASSERT_NE(HWND(NULL), hPicker);
    EXPECT_TRUE(IsWindowVisible(hPicker));
    int size[2] = {0, 0};
    pPicker->GetSize(size);
    CRect rcButton;
    m_Tool.GetButton(IDC_TOOL_EMOTION).GetWindowRect(&rcButton);
    CRect rcPicker;
    GetWindowRect(hPicker, &rcPicker);
    EXPECT_EQ(CChatToolBar::PickerPosition(rcButton, 300, size[0], size[1]), rcPicker.TopLeft());
    // Hovering the buttons leaves the focus in the picker; not the complaint.
    for (UINT nID : {IDC_TOOL_EMOTION, IDC_TOOL_COLOUR, IDC_TOOL_CLEAR, IDC_TOOL_SPEAKER, IDC_TOOL_SCREENSHOT})
        EXPECT_EQ(hPicker, m_Tool.GetButton(nID).GetFocusKeeper()->GetSafeHwnd());
    EXPECT_EQ(nullptr, m_Tool.GetButton(IDC_TOOL_COMPLAINT).GetFocusKeeper());
    // Shown again, the same window.
    m_Tool.ShowEmotions();
    EXPECT_EQ(hPicker, pPicker->GetSafeHwnd());
}

TEST_F(ChatToolBarTest, TargetAndInputListsFollowTheMouse)
{
    MakeBars();
    CRoomControlCombox& combo = m_Bar.GetTargetList();
    struct Step
    {
        UINT message;
        DWORD dwState;
    } steps[] = {
        {WM_MOUSEMOVE, COMBOX_LOOK_HOVER},   {WM_LBUTTONDOWN, COMBOX_LOOK_PRESSED}, {WM_LBUTTONUP, COMBOX_LOOK_PRESSED},
        {WM_MOUSELEAVE, COMBOX_LOOK_NORMAL}, {WM_MOUSEMOVE, COMBOX_LOOK_HOVER},     {WM_MOUSELEAVE, COMBOX_LOOK_NORMAL},
    };
    EXPECT_EQ(DWORD(COMBOX_LOOK_NORMAL), combo.GetLookState());
    for (const Step& step : steps) {
        SCOPED_TRACE(step.message);
        combo.SendMessage(step.message, 0, MAKELPARAM(2, 2));
        if (step.message == WM_LBUTTONDOWN)
            combo.ShowDropDown(FALSE);
        EXPECT_EQ(step.dwState, combo.GetLookState());
    }
}

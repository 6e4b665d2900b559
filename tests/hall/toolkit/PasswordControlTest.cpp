// The password box on a placeholder in a test parent: the stored-password
// placeholder, reading back, the change notice, and the soft keyboard below
// it with its rotated rows, soft Shift, Caps, Backspace and closing.
#include <GlobalUnits.h>
#include <PasswordControl.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skintest;

namespace
{
const UINT kControlId = 1234;
// Key picture sizes of the test skin (one state).
const int kKeyW = 24, kKeyH = 26, kShiftW = 40, kShiftH = 26, kBackW = 50, kBackH = 26, kCloseW = 16, kCloseH = 14;
const int kBackgroundW = 480, kBackgroundH = 130;

std::vector<std::vector<INPUT>> g_inputs;
UINT RecordInput(UINT n, INPUT* inputs, int)
{
    g_inputs.emplace_back(inputs, inputs + n);
    return n;
}

void SetKey(BYTE vk, BYTE state)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[vk] = state;
    ::SetKeyboardState(keys);
}

class PasswordControlTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string folder = m_folder.Path("");
        ::CreateDirectoryA(m_folder.Path("Res").c_str(), NULL);
        ::CreateDirectoryA(m_folder.Path("Res\\logon").c_str(), NULL);
        ::CreateDirectoryA(m_folder.Path("Res\\logon\\KeyBoard").c_str(), NULL);
        auto write = [this](const char* name, int cx, int cy) {
            m_folder.WriteBmp((std::string("Res\\logon\\KeyBoard\\") + name).c_str(),
                              Pixels(cx, cy, RGB(200, 200, 200)));
        };
        write("KEYBOARD_ITEM1.bmp", 3 * kKeyW, kKeyH);
        write("KEYBOARD_ITEM2.bmp", 3 * kShiftW, kShiftH);
        write("KEYBOARD_ITEM3.bmp", 3 * kBackW, kBackH);
        write("BT_KEYBOARD_CLOSE.bmp", 3 * kCloseW, kCloseH);
        write("PASSWORD_KEYBORAD_BK.bmp", kBackgroundW, kBackgroundH);
        write("BT_KEYBOARD.bmp", 4 * 21, 22);
        g_GlobalUnits.SetWorkDirectory(folder.c_str());

        SetKey(VK_SHIFT, 0);
        SetKey(VK_CAPITAL, 0);
        g_inputs.clear();
        m_previousSender = CPasswordKeyboard::SetInputSender(&RecordInput);
        ASSERT_TRUE(m_parent.CreateParent(400, 300));
        m_parent.SetWindowPos(NULL, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(
            m_placeholder.Create("", WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(20, 30, 220, 60), &m_parent, kControlId));
        HWND hWnd = m_placeholder.Detach();
        ASSERT_TRUE(m_control.SubclassWindow(hWnd));
    }
    void TearDown() override
    {
        m_control.DestroyWindow();
        m_parent.DestroyWindow();
        CPasswordKeyboard::SetInputSender(m_previousSender);
        SetKey(VK_SHIFT, 0);
        SetKey(VK_CAPITAL, 0);
    }
    CString EditText()
    {
        CString s;
        m_control.GetEditCtrl()->GetWindowText(s);
        return s;
    }
    std::string Password()
    {
        char sz[33];
        m_control.GetPassword(sz);
        return sz;
    }
    CPasswordKeyboard& Keyboard() { return *m_control.GetKeyboard(); }
    // Clicks a key through the mouse messages of the keyboard window.
    void Click(int row, int col)
    {
        CPoint pt = Keyboard().GetKeyRect(row, col).CenterPoint();
        Keyboard().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        if (Keyboard().GetSafeHwnd() != NULL)
            Keyboard().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    // The column of the key that shows a character.
    int ColumnOf(int row, char ch)
    {
        for (int col = 0; col < CPasswordKeyboard::rowLength[row]; ++col) {
            if (CPasswordKeyboard::KeyChar(Keyboard().GetRotation(), row, col, false, false) == ch ||
                CPasswordKeyboard::KeyChar(Keyboard().GetRotation(), row, col, true, false) == ch)
                return col;
        }
        return -1;
    }
    void Type(int row, char ch) { Click(row, ColumnOf(row, ch)); }

    TempFolder m_folder;
    RecordingParent m_parent;
    CStatic m_placeholder;
    CPasswordControl m_control;
    CPasswordKeyboard::InputSender m_previousSender = NULL;
};

TEST_F(PasswordControlTest, BuildsItsPartsOnThePlaceholder)
{
    CRect rc;
    m_control.GetWindowRect(&rc);
    EXPECT_EQ(rc.Height(), 22);
    EXPECT_EQ(rc.Width(), 200);
    ASSERT_NE(m_control.GetEditCtrl(), nullptr);
    EXPECT_EQ(m_control.GetEditCtrl()->GetDlgCtrlID(), (int)CPasswordControl::IDC_PASSWORD_EDIT);
    EXPECT_TRUE(m_control.GetEditCtrl()->GetStyle() & ES_PASSWORD);
    CWnd* pButton = m_control.GetDlgItem(CPasswordControl::IDC_KEYBOARD_BUTTON);
    ASSERT_NE(pButton, nullptr);
    CRect rcButton, rcClient;
    pButton->GetWindowRect(&rcButton);
    m_control.GetClientRect(&rcClient);
    m_control.ScreenToClient(&rcButton);
    EXPECT_EQ(rcButton.left, rcClient.Width() - 21);

    m_control.EnableControl(FALSE);
    EXPECT_FALSE(m_control.GetEditCtrl()->IsWindowEnabled());
    EXPECT_FALSE(pButton->IsWindowEnabled());
    m_control.EnableControl(TRUE);
    EXPECT_TRUE(pButton->IsWindowEnabled());
}

TEST_F(PasswordControlTest, PlaceholderAndReadingBack)
{
    m_control.SetPassword("secret");
    EXPECT_STREQ(EditText(), "********");
    EXPECT_TRUE(m_control.IsPlaceholderShown());
    EXPECT_EQ(Password(), "secret"); // unchanged: the stored text, not the stars
    m_control.SetPassword("");
    EXPECT_STREQ(EditText(), "");
    m_control.SetPassword(std::string(40, 'x').c_str());
    EXPECT_EQ(Password(), std::string(32, 'x'));

    // Typing replaces it and is reported under the control's id.
    m_parent.messages.clear();
    m_control.GetEditCtrl()->SetWindowText("typed");
    EXPECT_FALSE(m_control.IsPlaceholderShown());
    EXPECT_EQ(Password(), "typed");
    ASSERT_GE(m_parent.Count(WM_COMMAND, EN_CHANGE), 1);
    EXPECT_EQ(m_parent.messages.back().nID, kControlId);
    EXPECT_EQ((HWND)m_parent.messages.back().lParam, m_control.m_hWnd);
    m_control.LimitText(4);
    EXPECT_EQ(m_control.GetEditCtrl()->SendMessage(EM_GETLIMITTEXT), 4);
}

TEST_F(PasswordControlTest, KeyboardOpensBelowAndClearsThePlaceholder)
{
    m_control.SetPassword("secret");
    m_control.SendMessage(WM_COMMAND, MAKEWPARAM(CPasswordControl::IDC_KEYBOARD_BUTTON, BN_CLICKED),
                          (LPARAM)m_control.GetDlgItem(CPasswordControl::IDC_KEYBOARD_BUTTON)->m_hWnd);
    ASSERT_NE(Keyboard().GetSafeHwnd(), (HWND)NULL);
    EXPECT_STREQ(EditText(), "");
    CRect rcControl, rcKeyboard, rcClient;
    m_control.GetWindowRect(&rcControl);
    Keyboard().GetWindowRect(&rcKeyboard);
    Keyboard().GetClientRect(&rcClient);
    EXPECT_EQ(rcKeyboard.TopLeft(), CPoint(rcControl.left, rcControl.bottom));
    EXPECT_EQ(rcClient.Size(), CSize(kBackgroundW, kBackgroundH));
    EXPECT_TRUE(Keyboard().IsWindowVisible());
    // The hand over the keys is the hall's own cursor.
    EXPECT_NE(::LoadCursor(::GetModuleHandle(NULL), MAKEINTRESOURCE(135)), (HCURSOR)NULL);
}

TEST_F(PasswordControlTest, ClicksTypeIntoTheEdit)
{
    CPasswordKeyboard::SeedRotations(11);
    m_control.OpenKeyboard();
    ASSERT_NE(Keyboard().GetSafeHwnd(), (HWND)NULL);
    Type(2, 'a');
    Type(0, '1');
    EXPECT_STREQ(EditText(), "a1");
    // Soft Shift: one capital, then small again.
    Click(CPasswordKeyboard::functionRow, CPasswordKeyboard::colShift);
    EXPECT_TRUE(Keyboard().IsShiftOn());
    Type(3, 'x');
    EXPECT_FALSE(Keyboard().IsShiftOn());
    Type(3, 'y');
    // Shift on a digit gives its symbol.
    Click(CPasswordKeyboard::functionRow, CPasswordKeyboard::colShift);
    Type(0, '2');
    EXPECT_STREQ(EditText(), "a1Xy@");
    // Backspace.
    Click(CPasswordKeyboard::functionRow, CPasswordKeyboard::colBackspace);
    EXPECT_STREQ(EditText(), "a1Xy");
    EXPECT_EQ(Password(), "a1Xy");
}

TEST_F(PasswordControlTest, CapsChangesLettersOnly)
{
    m_control.OpenKeyboard();
    Click(CPasswordKeyboard::functionRow, CPasswordKeyboard::colCaps);
    // The key is injected as a real Caps Lock press and release.
    ASSERT_EQ(g_inputs.size(), 1u);
    ASSERT_EQ(g_inputs[0].size(), 2u);
    EXPECT_EQ(g_inputs[0][0].ki.wVk, VK_CAPITAL);
    EXPECT_EQ(g_inputs[0][0].ki.dwFlags & KEYEVENTF_KEYUP, 0u);
    EXPECT_EQ(g_inputs[0][1].ki.wVk, VK_CAPITAL);
    EXPECT_NE(g_inputs[0][1].ki.dwFlags & KEYEVENTF_KEYUP, 0u);
    // capsOn follows the key message.
    SetKey(VK_CAPITAL, 1);
    MSG msg = {Keyboard().m_hWnd, WM_KEYDOWN, VK_CAPITAL, 0};
    EXPECT_TRUE(Keyboard().HandleKeyMessage(&msg));
    EXPECT_TRUE(Keyboard().IsCapsOn());
    Type(2, 'b');
    Type(0, '3');
    Type(1, ';');
    // Caps with a soft Shift gives a small letter.
    Click(CPasswordKeyboard::functionRow, CPasswordKeyboard::colShift);
    Type(3, 'q');
    EXPECT_STREQ(EditText(), "B3;q");
    // A physical Shift follows its key messages too.
    SetKey(VK_SHIFT, 0x80);
    MSG up = {Keyboard().m_hWnd, WM_KEYDOWN, VK_SHIFT, 0};
    EXPECT_TRUE(Keyboard().HandleKeyMessage(&up));
    EXPECT_TRUE(Keyboard().IsShiftOn());
}

TEST_F(PasswordControlTest, RowsRotateAnewAtEachOpening)
{
    CPasswordKeyboard::SeedRotations(5);
    std::vector<std::vector<int>> openings;
    for (int i = 0; i < 4; ++i) {
        m_control.OpenKeyboard();
        ASSERT_NE(Keyboard().GetSafeHwnd(), (HWND)NULL);
        const int* r = Keyboard().GetRotation();
        openings.push_back({r[0], r[1], r[2], r[3]});
        // Each row keeps the cyclic order of its characters.
        for (int row = 0; row < CPasswordKeyboard::rowCount; ++row) {
            const int n = CPasswordKeyboard::rowLength[row];
            const int none[4] = {0, 0, 0, 0};
            int first = CPasswordKeyboard::KeyChar(r, row, 0, false, false);
            int start = -1;
            for (int col = 0; col < n; ++col)
                if (CPasswordKeyboard::KeyChar(none, row, col, false, false) == first)
                    start = col;
            ASSERT_GE(start, 0);
            for (int col = 0; col < n; ++col)
                EXPECT_EQ(CPasswordKeyboard::KeyChar(r, row, col, false, false),
                          CPasswordKeyboard::KeyChar(none, row, (start + col) % n, false, false));
        }
        // The focus leaving closes it.
        m_parent.SetFocus();
        EXPECT_EQ(Keyboard().GetSafeHwnd(), (HWND)NULL);
    }
    bool bDiffer = false;
    for (size_t i = 1; i < openings.size(); ++i)
        bDiffer = bDiffer || openings[i] != openings[0];
    EXPECT_TRUE(bDiffer);
    // The same seed gives the same rotations.
    CPasswordKeyboard::SeedRotations(5);
    m_control.OpenKeyboard();
    const int* r = Keyboard().GetRotation();
    EXPECT_EQ((std::vector<int>{r[0], r[1], r[2], r[3]}), openings[0]);
}

TEST_F(PasswordControlTest, CloseKeyEndsTheKeyboardOnce)
{
    m_control.OpenKeyboard();
    HWND hKeyboard = Keyboard().GetSafeHwnd();
    ASSERT_NE(hKeyboard, (HWND)NULL);
    Click(CPasswordKeyboard::functionRow, CPasswordKeyboard::colClose);
    EXPECT_FALSE(::IsWindow(hKeyboard));
    EXPECT_EQ(Keyboard().GetSafeHwnd(), (HWND)NULL);
    EXPECT_EQ(::GetFocus(), m_control.GetEditCtrl()->m_hWnd);
    // Opens again.
    m_control.OpenKeyboard();
    EXPECT_NE(Keyboard().GetSafeHwnd(), (HWND)NULL);
}

TEST_F(PasswordControlTest, HitTestFindsKeysAndFunctionKeys)
{
    m_control.OpenKeyboard();
    CPasswordKeyboard& kb = Keyboard();
    const int pitchX = kKeyW + 3, pitchY = kKeyH + 3;
    const struct
    {
        CPoint pt;
        bool hit;
        int row, col;
    } cases[] = {
        {CPoint(8, 8), true, 0, 0},
        {CPoint(7, 20), false, 0, 0},
        {CPoint(8 + pitchX * 2 + 5, 8 + pitchY * 3 + 5), true, 3, 2},
        {CPoint(8 + kKeyW + 2, 10), false, 0, 0}, // in the gap
        {CPoint(8 + pitchX * 12 + 5, 8 + pitchY * 2 + 5), true, 2, 12},
        {CPoint(8 + pitchX * 11 + 5, 10), true, 4, 0},              // Backspace beyond row 0
        {CPoint(8 + pitchX * 10 + 5, kBackH + 11 + 5), true, 4, 1}, // Shift beyond row 1
        {CPoint(8 + pitchX * 10 + kShiftW + 3 + 5, kBackH + 11 + 5), true, 4, 2},
        {CPoint(kBackgroundW - kCloseW - 5 + 3, 10), true, 4, 3},
        {CPoint(8 + pitchX * 14 + 5, 8 + pitchY * 3 + 5), false, 0, 0}, // beyond row 3
        {CPoint(10, 8 + pitchY * 4 + 2), false, 0, 0},
    };
    for (const auto& c : cases) {
        int row = -1, col = -1;
        EXPECT_EQ(kb.HitTest(c.pt, row, col) != FALSE, c.hit) << c.pt.x << "," << c.pt.y;
        if (c.hit) {
            EXPECT_EQ(row, c.row) << c.pt.x << "," << c.pt.y;
            EXPECT_EQ(col, c.col) << c.pt.x << "," << c.pt.y;
        }
    }
}

TEST(PasswordKeyboardKeys, CharacterOfAKey)
{
    const int none[4] = {0, 0, 0, 0};
    const int rot[4] = {3, 9, 12, 1};
    const struct
    {
        const int* rotation;
        int row, col;
        bool shift, caps;
        int ch;
    } cases[] = {
        {none, 0, 0, false, false, '`'}, {none, 0, 0, true, false, '~'}, {none, 1, 6, true, false, '"'},
        {none, 1, 9, false, false, '/'}, {rot, 0, 0, false, false, '3'}, {rot, 0, 8, false, false, '`'},
        {rot, 1, 1, false, false, '-'},  {rot, 2, 0, false, true, 'M'},  {rot, 2, 0, true, true, 'm'},
        {rot, 3, 12, false, false, 'n'}, {rot, 0, 0, false, true, '3'},  {none, 0, 11, false, false, 0},
        {none, 4, 0, false, false, 8},   {none, 4, 1, false, false, 16}, {none, 4, 2, false, false, 20},
        {none, 4, 3, false, false, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CPasswordKeyboard::KeyChar(c.rotation, c.row, c.col, c.shift, c.caps), c.ch) << c.row << "," << c.col;
}
} // namespace

namespace
{
TEST_F(PasswordControlTest, MissingPicturesLeaveAKeyboardWithoutKeys)
{
    TempFolder empty;
    g_GlobalUnits.SetWorkDirectory(empty.Path("").c_str());
    m_control.OpenKeyboard();
    ASSERT_NE(Keyboard().GetSafeHwnd(), (HWND)NULL);
    Snapshot shot(Keyboard().m_hWnd); // paints without pictures
    int row = -1, col = -1;
    EXPECT_FALSE(Keyboard().HitTest(CPoint(20, 20), row, col));
    Keyboard().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    Keyboard().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_STREQ(EditText(), "");
}
} // namespace

#include "LogonControls.h"
#include "RegisterEdit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GlobalUnits.h"
#include "StateTestSupport.h"
#include "skin/SkinTestSupport.h"

using skintest::Canvas;
using skintest::Pixels;

namespace
{

const COLORREF kBack = RGB(1, 2, 3);
// The arrow strip's cells, one colour per state.
const COLORREF kCells[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0)};

class LogonControls : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        ASSERT_TRUE(parent.CreateParent(300, 200));
    }
    void TearDown() override { parent.DestroyWindow(); }

    void WritePicture(const std::string& relative, const Pixels& pixels)
    {
        const std::vector<BYTE> bytes = skintest::Bmp24(pixels);
        folder.Write("Res\\" + relative, std::string(bytes.begin(), bytes.end()));
    }

    HWND MakeChild(LPCSTR cls, DWORD style, int cx, int cy, UINT id)
    {
        return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 10, 10, cx, cy, parent.GetSafeHwnd(),
                                 (HMENU)(UINT_PTR)id, NULL, NULL);
    }

    CStateFolder folder;
    skintest::RecordingParent parent;
};

TEST_F(LogonControls, ComboArrowFollowsTheMouse)
{
    Pixels arrow(40, 16, 0);
    for (int i = 0; i < 4; i++)
        arrow.Fill(i * 10, 0, 10, 16, kCells[i]);
    WritePicture("Common\\button\\arrow.bmp", arrow);

    CLogonCombox combo;
    ASSERT_TRUE(combo.SubclassWindow(MakeChild("COMBOBOX", CBS_DROPDOWN, 120, 200, 1001)));
    combo.LoadImage();
    CRect rcClient;
    combo.GetClientRect(&rcClient);
    const CRect rcArrow = combo.GetArrowRect();
    EXPECT_EQ(rcClient.right - 20, rcArrow.left);

    struct Step
    {
        UINT message;
        CPoint point;
        int state;
    } steps[] = {
        {WM_MOUSEMOVE, CPoint(5, 5), CLogonCombox::STATE_NORMAL},
        {WM_MOUSEMOVE, rcArrow.CenterPoint(), CLogonCombox::STATE_HOVER},
        {WM_LBUTTONDOWN, rcArrow.CenterPoint(), CLogonCombox::STATE_PRESSED},
        {WM_MOUSELEAVE, CPoint(0, 0), CLogonCombox::STATE_NORMAL},
    };
    for (const Step& step : steps) {
        combo.SendMessage(step.message, 0, MAKELPARAM(step.point.x, step.point.y));
        EXPECT_EQ(step.state, combo.GetState()) << step.message;
        Canvas canvas(rcClient.Width(), rcClient.Height(), kBack);
        combo.DrawSkin(canvas.Cdc());
        // The cell of the state at the right edge, inside the frame.
        EXPECT_EQ(kCells[step.state], canvas.At(rcClient.right - 6, rcClient.Height() / 2));
        EXPECT_EQ(LOGON_FRAME_COLOR, canvas.At(1, rcClient.Height() / 2));
    }
    combo.SendMessage(WM_LBUTTONUP, 0, 0);
    combo.UnsubclassWindow();
}

TEST_F(LogonControls, ComboWithoutPictureDrawsOnlyItsFrame)
{
    CLogonCombox combo;
    ASSERT_TRUE(combo.SubclassWindow(MakeChild("COMBOBOX", CBS_DROPDOWN, 120, 200, 1001)));
    combo.LoadImage();
    CRect rcClient;
    combo.GetClientRect(&rcClient);
    Canvas canvas(rcClient.Width(), rcClient.Height(), kBack);
    combo.DrawSkin(canvas.Cdc());
    EXPECT_EQ(LOGON_FRAME_COLOR, canvas.At(1, 1));
    EXPECT_EQ(LOGON_FRAME_COLOR, canvas.At(rcClient.right - 2, rcClient.Height() / 2));
    EXPECT_EQ(kBack, canvas.At(rcClient.right - 6, rcClient.Height() / 2));
    EXPECT_EQ(kBack, canvas.At(0, 0));
    combo.UnsubclassWindow();
}

TEST_F(LogonControls, EditsAndGroupAreFramed)
{
    CLongEdit logonEdit;
    CRegisterEdit registerEdit;
    struct EditCase
    {
        CEdit* edit;
        void (*draw)(CEdit*, CDC*);
        COLORREF frame;
    } edits[] = {
        {&logonEdit, [](CEdit* e, CDC* dc) { static_cast<CLongEdit*>(e)->DrawSkin(dc); }, LOGON_FRAME_COLOR},
        {&registerEdit, [](CEdit* e, CDC* dc) { static_cast<CRegisterEdit*>(e)->DrawSkin(dc); }, REGISTER_FRAME_COLOR},
    };
    for (const EditCase& c : edits) {
        ASSERT_TRUE(c.edit->SubclassWindow(MakeChild("EDIT", 0, 100, 22, 1002)));
        // Printed whole: the edit's own painting, then the frame over it.
        skintest::Snapshot shot(c.edit->GetSafeHwnd());
        EXPECT_EQ(c.frame, shot.At(1, 11));
        EXPECT_EQ(c.frame, shot.At(98, 11));
        EXPECT_EQ(c.frame, shot.At(50, 1));
        Canvas canvas(100, 22, kBack);
        c.draw(c.edit, canvas.Cdc());
        EXPECT_EQ(kBack, canvas.At(0, 11));
        c.edit->DestroyWindow();
    }

    CLogonGroup group;
    ASSERT_TRUE(group.SubclassWindow(MakeChild("STATIC", 0, 150, 60, 1003)));
    group.SetWindowText("another caption");
    Canvas groupCanvas(150, 60, kBack);
    group.DrawSkin(groupCanvas.Cdc());
    EXPECT_EQ(LOGON_FRAME_COLOR, groupCanvas.At(1, 30));
    EXPECT_EQ(LOGON_FRAME_COLOR, groupCanvas.At(75, 58));
    EXPECT_EQ(kBack, groupCanvas.At(75, 30));
    EXPECT_STREQ("网络设置", CLogonGroup::GetCaption());
    group.UnsubclassWindow();
}

TEST_F(LogonControls, LinkPressIsPostedToTheParent)
{
    CLogonLink link;
    ASSERT_TRUE(link.SubclassWindow(MakeChild("STATIC", SS_NOTIFY, 80, 16, 1007)));
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    skintest::PumpMessages();
    int nPosted = 0;
    for (const auto& m : parent.messages)
        if (m.message == WM_LOGON_LINK) {
            nPosted++;
            EXPECT_EQ(1007u, m.wParam);
            EXPECT_EQ(0, m.lParam);
        }
    EXPECT_EQ(1, nPosted);
    link.UnsubclassWindow();
}

// Items taller than the strip's row are cut to 19 pixels; the selected item
// takes the selected pictures.
TEST_F(LogonControls, TabItemsAreCutTo19)
{
    struct Picture
    {
        const char* name;
        COLORREF colour;
    } pictures[] = {
        {"logon\\tabl.bmp", RGB(10, 0, 0)},    {"logon\\tabm.bmp", RGB(20, 0, 0)},  {"logon\\tabr.bmp", RGB(30, 0, 0)},
        {"logon\\tabul.bmp", RGB(0, 40, 0)},   {"logon\\tabum.bmp", RGB(0, 50, 0)}, {"logon\\tabur.bmp", RGB(0, 60, 0)},
        {"logon\\tabback.bmp", RGB(0, 0, 70)},
    };
    for (const Picture& p : pictures)
        WritePicture(p.name, Pixels(4, 30, p.colour));

    CTabCtrlLogon tabs;
    ASSERT_TRUE(tabs.SubclassWindow(MakeChild(WC_TABCONTROLA, TCS_FIXEDWIDTH, 200, 80, 1004)));
    tabs.LoadImages();
    tabs.InsertItem(0, "A");
    tabs.InsertItem(1, "B");
    tabs.SetItemSize(CSize(60, 30));
    tabs.SetCurSel(1);
    CRect rcClient;
    tabs.GetClientRect(&rcClient);
    Canvas canvas(rcClient.Width(), rcClient.Height(), kBack);
    tabs.DrawTabs(canvas.Cdc(), rcClient);

    CRect rcFirst, rcSecond;
    ASSERT_TRUE(tabs.GetItemRect(0, &rcFirst));
    ASSERT_TRUE(tabs.GetItemRect(1, &rcSecond));
    ASSERT_GT(rcFirst.Height(), 19);
    const int y = rcFirst.top + 2;
    EXPECT_EQ(RGB(10, 0, 0), canvas.At(rcFirst.left + 1, y));
    EXPECT_EQ(RGB(20, 0, 0), canvas.At(rcFirst.left + 6, y));
    EXPECT_EQ(RGB(30, 0, 0), canvas.At(rcFirst.right - 2, y));
    EXPECT_EQ(RGB(0, 40, 0), canvas.At(rcSecond.left + 1, y));
    EXPECT_EQ(RGB(0, 50, 0), canvas.At(rcSecond.left + 6, y));
    // Below the cut: the row line, then the strip's background.
    EXPECT_EQ(RGB(20, 0, 0), canvas.At(rcFirst.left + 6, rcFirst.top + 18));
    EXPECT_EQ(LOGON_FRAME_COLOR, canvas.At(rcFirst.left + 6, rcFirst.top + 19));
    const COLORREF below = canvas.At(rcFirst.left + 6, rcFirst.top + 21);
    EXPECT_TRUE(below == CTabCtrlLogon::BACK_COLOR || below == CTabCtrlLogon::TOP_COLOR) << std::hex << below;
    tabs.UnsubclassWindow();
}

} // namespace

// Region dialogs: the nine frame pictures, the background and the close
// button drawn as a real window, the window cut to the pictures, and the
// plain dialog left without pictures.
#include "DunstellTestIds.h"

#include <AfxModalScript.h>
#include <RgnDialog.h>
#include <SkinAttribute.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const COLORREF kDialogMagenta = RGB(255, 0, 255);
const COLORREF kTL = RGB(200, 0, 0);
const COLORREF kTM = RGB(0, 200, 0);
const COLORREF kTR = RGB(0, 0, 200);
const COLORREF kL = RGB(200, 200, 0);
const COLORREF kR = RGB(0, 200, 200);
const COLORREF kBL = RGB(120, 60, 0);
const COLORREF kBM = RGB(60, 120, 0);
const COLORREF kBR = RGB(0, 60, 120);
const COLORREF kBack = RGB(230, 220, 210);
const COLORREF kClose[4] = {RGB(50, 50, 50), RGB(90, 90, 90), RGB(130, 130, 130), RGB(170, 170, 170)};

const int kWidth = 200;
const int kHeight = 150;

class CTestRgnDialog : public CRgnDialog
{
public:
    explicit CTestRgnDialog(CWnd* pParent = NULL) : CRgnDialog(IDD_SKIN_DIALOG, pParent) {}
};

// The skin pictures: the three corners that round the window carry a 3 x 3
// magenta square in their outer corner.
class SkinFiles
{
public:
    SkinFiles()
    {
        Pixels tl(10, 10, kTL), tr(10, 10, kTR), br(10, 8, kBR);
        tl.Fill(0, 0, 3, 3, kDialogMagenta);
        tr.Fill(7, 0, 3, 3, kDialogMagenta);
        br.Fill(7, 5, 3, 3, kDialogMagenta);
        Pixels close(64, 12, kClose[0]);
        for (int i = 1; i < 4; ++i)
            close.Fill(16 * i, 0, 16, 12, kClose[i]);
        m_paths[CSkinWndObject::SKIN_TL] = m_folder.WriteBmp("tl.bmp", tl);
        m_paths[CSkinWndObject::SKIN_TM] = m_folder.WriteBmp("tm.bmp", Pixels(4, 10, kTM));
        m_paths[CSkinWndObject::SKIN_TR] = m_folder.WriteBmp("tr.bmp", tr);
        m_paths[CSkinWndObject::SKIN_L] = m_folder.WriteBmp("l.bmp", Pixels(6, 4, kL));
        m_paths[CSkinWndObject::SKIN_R] = m_folder.WriteBmp("r.bmp", Pixels(6, 4, kR));
        m_paths[CSkinWndObject::SKIN_BL] = m_folder.WriteBmp("bl.bmp", Pixels(10, 8, kBL));
        m_paths[CSkinWndObject::SKIN_BM] = m_folder.WriteBmp("bm.bmp", Pixels(4, 8, kBM));
        m_paths[CSkinWndObject::SKIN_BR] = m_folder.WriteBmp("br.bmp", br);
        m_paths[CSkinWndObject::SKIN_BACK] = m_folder.WriteBmp("back.bmp", Pixels(8, 8, kBack));
        m_paths[CSkinWndObject::SKIN_CLOSE] = m_folder.WriteBmp("close.bmp", close);
    }

    void Apply(CSkinWndObject& skin) const
    {
        for (int i = 0; i < CSkinWndObject::SKIN_IMAGE_COUNT; ++i)
            skin.GetSkinImage(i)->SetLoadInfo(m_paths[i].c_str(), false);
    }

private:
    TempFolder m_folder;
    std::string m_paths[CSkinWndObject::SKIN_IMAGE_COUNT];
};

TEST(RgnDialog, NineFramePicturesMakeTheWindowAndItsShape)
{
    SkinFiles skin;
    CTestRgnDialog dlg;
    skin.Apply(dlg);
    ASSERT_TRUE(dlg.Create(IDD_SKIN_DIALOG, NULL));
    dlg.SetWindowPos(NULL, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpMessages();

    // The pictures replace the system frame: client area and window coincide.
    EXPECT_TRUE(dlg.IsSkinFrame());
    EXPECT_EQ(dlg.GetStyle() & WS_CAPTION, 0u);
    CRect rcClient;
    dlg.GetClientRect(&rcClient);
    EXPECT_EQ(rcClient, CRect(0, 0, kWidth, kHeight));

    struct
    {
        int x, y;
        bool inside;
    } shape[] = {
        {0, 0, false},
        {2, 2, false},
        {3, 0, true},
        {0, 3, true}, // top-left corner
        {kWidth - 1, 0, false},
        {kWidth - 3, 2, false},
        {kWidth - 4, 0, true}, // top-right
        {kWidth - 1, kHeight - 1, false},
        {kWidth - 3, kHeight - 3, false}, // bottom-right
        {kWidth - 1, kHeight - 4, true},
        {0, kHeight - 1, true},
        {100, 75, true}, // the rest
    };
    ASSERT_TRUE(HasWindowRegion(dlg.m_hWnd));
    for (const auto& p : shape) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(RegionHolds(dlg.m_hWnd, p.x, p.y), p.inside);
    }

    Snapshot shot(dlg.m_hWnd);
    struct
    {
        int x, y;
        COLORREF colour;
    } expected[] = {
        {5, 5, kTL},
        {9, 9, kTL}, // corners at their own size
        {150, 0, kTM},
        {100, 9, kTM},
        {kWidth - 11, 5, kTM}, // the top edge stretched between them
        {100, 10, kBack},
        {kWidth - 3, 5, kTR},
        {kWidth - 10, 9, kTR},
        {0, 10, kL},
        {5, 100, kL},
        {6, 100, kBack},
        {5, kHeight - 9, kL},
        {kWidth - 1, 10, kR},
        {kWidth - 6, 100, kR},
        {kWidth - 7, 100, kBack},
        {0, kHeight - 8, kBL},
        {9, kHeight - 1, kBL},
        {10, kHeight - 1, kBM},
        {100, kHeight - 8, kBM},
        {100, kHeight - 9, kBack},
        {kWidth - 10, kHeight - 8, kBR},
        {kWidth - 5, kHeight - 5, kBR},
        {100, 75, kBack},
        {30, 30, kBack},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(testing::Message() << e.x << "," << e.y);
        EXPECT_EQ(shot.At(e.x, e.y), e.colour);
    }

    // The close button: one state of its picture, near the top-right corner.
    CWnd* pClose = dlg.GetDlgItem(CRgnDialog::IDC_SKIN_CLOSE);
    ASSERT_NE(pClose, nullptr);
    CRect rcClose;
    pClose->GetWindowRect(&rcClose);
    dlg.ScreenToClient(&rcClose);
    EXPECT_EQ(rcClose, CRect(kWidth - 6 - 16, 4, kWidth - 6, 16));
    Snapshot closeShot(pClose->m_hWnd);
    EXPECT_EQ(closeShot.At(8, 6), kClose[0]);

    // The top frame row drags the window; below it is the client area.
    CPoint ptCaption(100, 5), ptBody(100, 50);
    dlg.ClientToScreen(&ptCaption);
    dlg.ClientToScreen(&ptBody);
    EXPECT_EQ(dlg.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptCaption.x, ptCaption.y)), HTCAPTION);
    EXPECT_EQ(dlg.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptBody.x, ptBody.y)), HTCLIENT);

    // A new size draws and cuts again.
    dlg.SetWindowPos(NULL, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(RegionHolds(dlg.m_hWnd, 119, 0));
    EXPECT_TRUE(RegionHolds(dlg.m_hWnd, 116, 0));
    Snapshot small(dlg.m_hWnd);
    EXPECT_EQ(small.At(115, 5), kTR);
    EXPECT_EQ(small.At(60, 45), kBack);
    dlg.DestroyWindow();
}

TEST(RgnDialog, TheCloseButtonEndsTheDialogAsCancel)
{
    SkinFiles skin;
    CModalScript script;
    CTestRgnDialog dlg;
    skin.Apply(dlg);
    script.Then([&](AFX_MODAL_REQUEST& r) {
        CWnd* pClose = r.pWnd->GetDlgItem(CRgnDialog::IDC_SKIN_CLOSE);
        EXPECT_NE(pClose, nullptr);
        if (pClose != NULL)
            pClose->SendMessage(BM_CLICK);
        return CModalScript::keepRunning;
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(script.Unexpected(), 0);
}

TEST(RgnDialog, WithoutPicturesItIsAPlainDialog)
{
    TempFolder folder;
    CTestRgnDialog dlg;
    // A picture that does not load counts as none.
    dlg.m_ImageTL.SetLoadInfo(folder.Path("missing.bmp").c_str());
    ASSERT_TRUE(dlg.Create(IDD_SKIN_DIALOG, NULL));
    dlg.ShowWindow(SW_SHOWNA);
    PumpMessages();
    EXPECT_FALSE(dlg.IsSkinFrame());
    EXPECT_EQ(dlg.GetStyle() & WS_CAPTION, (DWORD)WS_CAPTION);
    EXPECT_FALSE(HasWindowRegion(dlg.m_hWnd));
    EXPECT_EQ(dlg.GetDlgItem(CRgnDialog::IDC_SKIN_CLOSE), nullptr);

    // The client area shows the skin's background colour.
    CRect rcClient;
    dlg.GetClientRect(&rcClient);
    CPoint ptCentre = rcClient.CenterPoint();
    dlg.ClientToScreen(&ptCentre);
    CRect rcWindow;
    dlg.GetWindowRect(&rcWindow);
    Snapshot shot(dlg.m_hWnd);
    EXPECT_EQ(shot.At(ptCentre.x - rcWindow.left, ptCentre.y - rcWindow.top), CSkinAttribute::m_crBackground);
    dlg.DestroyWindow();
}

TEST(RgnDialog, DrawSkinViewPaintsIntoAnyDeviceContext)
{
    SkinFiles skin;
    CTestRgnDialog dlg;
    skin.Apply(dlg);
    Canvas canvas(60, 40, RGB(1, 1, 1));
    dlg.DrawSkinView(canvas.DC(), 60, 40);
    EXPECT_EQ(canvas.At(0, 0), kDialogMagenta); // drawn; only the window is cut
    EXPECT_EQ(canvas.At(5, 5), kTL);
    EXPECT_EQ(canvas.At(55, 5), kTR);
    EXPECT_EQ(canvas.At(30, 20), kBack);
    EXPECT_EQ(canvas.At(30, 39), kBM);
}
} // namespace

// The face editor hosted by a window standing in for its page: picture
// files through the file dialog, fitting, the crop frame followed with
// posted mouse messages, painting, and pictures from the stand-in source.
#include "FaceTestSupport.h"

#include "AfxModalScript.h"
#include "FaceCustomDlg.h"
#include "MemoryCanvas.h"
#include "TempFolder.h"
#include "TestWait.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{

const COLORREF kLeft = RGB(200, 30, 30);
const COLORREF kRight = RGB(30, 30, 200);

class FaceEditorTest : public testing::Test
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_Host.GetSafeHwnd() != NULL);
        m_Host.ShowWindow(SW_SHOWNOACTIVATE);
        ASSERT_TRUE(m_Editor.Create(IDD_FACE_CUSTOM, &m_Host));
        m_Editor.SetOwnerWnd(&m_Host);
        // The page's hosted area.
        m_Editor.MoveWindow(0, 0, 267, 206);
        m_Editor.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        m_Editor.DestroyWindow();
        EXPECT_EQ(0, m_Script.Unexpected());
    }

    // Loads a picture through the file dialog, answered with its path.
    void LoadThroughDialog(const std::string& strPath)
    {
        m_Script.Then([strPath](AFX_MODAL_REQUEST& r) {
            CFileDialog* pDlg = static_cast<CFileDialog*>(r.pObject);
            lstrcpynA(pDlg->m_ofn.lpstrFile, strPath.c_str(), int(pDlg->m_ofn.nMaxFile));
            return INT_PTR(IDOK);
        });
        m_Editor.LoadPictureFile();
    }
    std::string Bmp(const char* pszName, int cx, int cy)
    {
        return WriteTwoColourBmp(m_Folder.File(pszName), cx, cy, kLeft, kRight);
    }
    // A click on the crop frame that drags it by (dx, dy) and lets go.
    void DragCrop(CPoint from, int dx, int dy)
    {
        CPoint to(from.x + dx, from.y + dy);
        m_Editor.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        m_Editor.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
        m_Editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    }

    CModalScript m_Script;
    CTempFolder m_Folder{"faceeditor"};
    CFaceHost m_Host;
    CFaceCustomDlg m_Editor;
};

TEST_F(FaceEditorTest, FileDialogOffersPictureFormats)
{
    m_Script.Then([](AFX_MODAL_REQUEST& r) {
        CFileDialog* pDlg = static_cast<CFileDialog*>(r.pObject);
        EXPECT_TRUE(pDlg->m_bOpenFileDialog);
        EXPECT_STREQ("支持格式(*.bmp;*.jpg;*.png)", pDlg->m_ofn.lpstrFilter);
        return INT_PTR(IDCANCEL);
    });
    m_Editor.LoadPictureFile();
    EXPECT_FALSE(m_Editor.GetSourcePicture().IsValid());
    EXPECT_TRUE(m_Host.Of(WM_FACE_PICKED).empty()) << "a cancelled dialog changes nothing";
}

TEST_F(FaceEditorTest, SmallPictureAtNaturalSizeShowsTheCropFrame)
{
    EXPECT_TRUE(m_Editor.GetTracker().m_rect.IsRectEmpty()) << "no frame before a picture";
    LoadThroughDialog(Bmp("small.bmp", 100, 100));
    ASSERT_TRUE(m_Editor.GetSourcePicture().IsValid());
    EXPECT_EQ(0, m_Editor.GetScaleIndex());
    EXPECT_EQ(m_Editor.GetCropRect(), m_Editor.GetTracker().m_rect);
    EXPECT_EQ(88, m_Editor.GetCropRect().Width());
    auto picked = m_Host.Of(WM_FACE_PICKED);
    ASSERT_EQ(1u, picked.size());
    EXPECT_EQ(WPARAM(-1), picked[0].wParam);
}

TEST_F(FaceEditorTest, ScaleFollowsEachNewPicture)
{
    LoadThroughDialog(Bmp("large.bmp", 500, 400));
    EXPECT_EQ(5, m_Editor.GetScaleIndex());
    LoadThroughDialog(Bmp("tiny.bmp", 100, 100));
    EXPECT_EQ(0, m_Editor.GetScaleIndex()) << "a picture that fits at once is drawn at natural size";
    LoadThroughDialog(Bmp("wide.bmp", 2000, 100));
    EXPECT_EQ(9, m_Editor.GetScaleIndex()) << "0.1 is accepted";
}

TEST_F(FaceEditorTest, TooBigPictureIsDropped)
{
    m_Script.AnswerBox(IDOK);
    LoadThroughDialog(Bmp("huge.bmp", 2700, 50));
    EXPECT_FALSE(m_Editor.GetSourcePicture().IsValid());
    ASSERT_EQ(2u, m_Script.Count());
    EXPECT_STREQ("图片过大，请压缩后重试！", m_Script.At(1).strText);
    EXPECT_TRUE(m_Host.Of(WM_FACE_PICKED).empty());
}

TEST_F(FaceEditorTest, CropAtHalfScaleIsResampledTo128)
{
    LoadThroughDialog(Bmp("large.bmp", 500, 400)); // drawn at 0.5 from (8, 3)
    ASSERT_EQ(5, m_Editor.GetScaleIndex());
    EXPECT_EQ(CPoint(8, 3), m_Editor.GetOrigin());
    // A 128-pixel frame whose left half lies over the left colour.
    m_Editor.GetTracker().m_rect.SetRect(70, 40, 198, 168);
    DragCrop(CPoint(134, 104), 0, 0);
    EXPECT_EQ(CRect(70, 40, 198, 168), m_Editor.GetCropRect());
    CPicture* pCropped = m_Editor.GetCroppedPicture();
    ASSERT_TRUE(pCropped->IsValid());
    EXPECT_EQ(128u, pCropped->GetWidth());
    EXPECT_EQ(128u, pCropped->GetHeight());
    auto picked = m_Host.Of(WM_FACE_PICKED);
    ASSERT_EQ(2u, picked.size());
    EXPECT_EQ(0u, picked[1].wParam);

    // Source columns 124..379 straddle the halves at 250: the crop's left
    // edge is left colour, its right edge right colour.
    HDC hScreen = GetDC(NULL);
    HBITMAP hBitmap = pCropped->MakeBitmap(hScreen);
    ReleaseDC(NULL, hScreen);
    ASSERT_TRUE(hBitmap != NULL);
    CMemoryCanvas canvas(128, 128);
    HDC hMem = CreateCompatibleDC(canvas.GetSafeHdc());
    HGDIOBJ hOld = SelectObject(hMem, hBitmap);
    BitBlt(canvas.GetSafeHdc(), 0, 0, 128, 128, hMem, 0, 0, SRCCOPY);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
    DeleteObject(hBitmap);
    EXPECT_EQ(kLeft, canvas.At(4, 64));
    EXPECT_EQ(kRight, canvas.At(123, 64));
}

TEST_F(FaceEditorTest, DraggedFrameStopsAtItsLimits)
{
    LoadThroughDialog(Bmp("small.bmp", 100, 100));
    CRect rc = m_Editor.GetTracker().m_rect;
    // The bottom-right handle pulled far out: never beyond 128.
    DragCrop(CPoint(rc.right - 2, rc.bottom - 2), 150, 150);
    EXPECT_EQ(128, m_Editor.GetCropRect().Width());
    EXPECT_EQ(128, m_Editor.GetCropRect().Height());
    EXPECT_EQ(rc.TopLeft(), m_Editor.GetCropRect().TopLeft());
    // And pushed far in: never below 32.
    rc = m_Editor.GetTracker().m_rect;
    DragCrop(CPoint(rc.right - 2, rc.bottom - 2), -200, -200);
    EXPECT_EQ(32, m_Editor.GetCropRect().Width());
    EXPECT_EQ(32, m_Editor.GetCropRect().Height());
    // A move keeps the size.
    rc = m_Editor.GetTracker().m_rect;
    DragCrop(rc.CenterPoint(), 10, 5);
    EXPECT_EQ(CRect(rc.left + 10, rc.top + 5, rc.right + 10, rc.bottom + 5), m_Editor.GetCropRect());
}

TEST_F(FaceEditorTest, ClickWithoutFrameCropsNothing)
{
    m_Editor.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(130, 100));
    EXPECT_FALSE(m_Editor.GetCroppedPicture()->IsValid());
    EXPECT_TRUE(m_Host.Of(WM_FACE_PICKED).empty());
}

TEST_F(FaceEditorTest, PaintsTileFramePictureAndVeil)
{
    LoadThroughDialog(Bmp("small.bmp", 100, 100)); // at (83, 53), natural size
    CMemoryCanvas canvas(267, 206, RGB(1, 2, 3));
    ASSERT_TRUE(canvas.Print(m_Editor.GetSafeHwnd()));
    // The frame lies under the veil: darker than the veiled tile beside it.
    EXPECT_LT(GetRValue(canvas.At(0, 100)), GetRValue(canvas.At(1, 100))) << "frame around the image area";
    EXPECT_LT(GetRValue(canvas.At(266, 100)), GetRValue(canvas.At(265, 100)));
    // Inside the crop square the picture shows plainly (clear of the
    // frame's handles); outside it is veiled.
    CRect picture(83, 53, 183, 153), shown;
    ASSERT_TRUE(shown.IntersectRect(m_Editor.GetCropRect(), picture));
    shown.DeflateRect(9, 9);
    ASSERT_FALSE(shown.IsRectEmpty());
    const int y = shown.top + 2;
    EXPECT_EQ(shown.left < 133 ? kLeft : kRight, canvas.At(shown.left, y));
    EXPECT_EQ(shown.right - 1 < 133 ? kLeft : kRight, canvas.At(shown.right - 1, y));
    CRect crop = m_Editor.GetCropRect();
    COLORREF veiled = canvas.At(90, crop.top - 5);
    EXPECT_NE(kLeft, veiled);
    EXPECT_LT(GetRValue(veiled), GetRValue(kLeft));
}

TEST_F(FaceEditorTest, SourcePictureIsFittedWithTheScannerLimit)
{
    CStandInManager manager;
    ASSERT_TRUE(manager.IsLoaded());
    ASSERT_TRUE(m_Editor.IsLinked()) << "the editor links up when it starts";
    const struct
    {
        int cx, cy;
        bool bAccepted;
        int nIndex;
    } cases[] = {
        {300, 200, true, 2},  // 0.8
        {400, 300, true, 4},  // 0.6, the last a source may need
        {500, 400, false, 0}, // 0.5: refused
    };
    for (const auto& c : cases) {
        tagStandInScript script = {1, c.cx, c.cy, FALSE, FALSE, FALSE, 0};
        manager.Script(script);
        ASSERT_TRUE(m_Editor.ChooseSource());
        ASSERT_TRUE(m_Editor.OpenDataSource());
        ASSERT_TRUE(m_Editor.EnableDataSource(FALSE));
        if (!c.bAccepted)
            m_Script.AnswerBox(IDOK);
        size_t nBoxes = m_Script.Count();
        MSG msg = {m_Editor.GetSafeHwnd(), WM_STANDIN_XFERREADY, 0, 0, 0, {0, 0}};
        EXPECT_TRUE(m_Editor.PreTranslateMessage(&msg));
        EXPECT_EQ(c.bAccepted, m_Editor.GetSourcePicture().IsValid()) << c.cx;
        if (c.bAccepted) {
            EXPECT_EQ(c.nIndex, m_Editor.GetScaleIndex()) << c.cx;
            EXPECT_EQ(DWORD(c.cx), m_Editor.GetSourcePicture().GetWidth());
        } else {
            ASSERT_EQ(nBoxes + 1, m_Script.Count());
            EXPECT_STREQ("图片过大，请压缩后重试！", m_Script.At(nBoxes).strText);
        }
        m_Editor.CloseDataSource();
    }
    EXPECT_TRUE(m_Host.Of(WM_FACE_PICKED).empty()) << "a source's picture announces nothing";
}

} // namespace

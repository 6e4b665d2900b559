#include "FaceCustomDlg.h"

#include <afxdlgs.h>

#include "QuillonDlg.h"
#include "XTVBufferDC.h"
#include "res/resource.h"

namespace
{

CString SkinFolder()
{
    char szModule[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szModule, sizeof(szModule));
    CString strModule(szModule);
    return strModule.Left(strModule.ReverseFind('\\')) + "\\Res\\Quillon\\CustomFace\\";
}

} // namespace

const double CFaceCustomDlg::kScaleTable[kScaleCount] = {1.0, 0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1};

int CFaceCustomDlg::FitScaleIndex(long cx, long cy, long nAreaWidth, long nAreaHeight, int nFactorLimit)
{
    int nCount = 0;
    double dScale = 1.0;
    while (cx * dScale > nAreaWidth || cy * dScale > nAreaHeight) {
        if (nCount == kScaleCount)
            return -1;
        dScale = kScaleTable[nCount++];
    }
    if (nCount > nFactorLimit)
        return -1;
    // A picture that fits at once is drawn at its natural size.
    return nCount == 0 ? 0 : nCount - 1;
}

CPoint CFaceCustomDlg::PictureOrigin(const CRect& rcArea, long cx, long cy, double dScale)
{
    CRect rcDraw(rcArea);
    rcDraw.InflateRect(1, 1);
    return CPoint(int((rcDraw.Width() - cx * dScale) / 2) + rcDraw.left,
                  int((rcDraw.Height() - cy * dScale) / 2) + rcDraw.top);
}

CRect CFaceCustomDlg::CropSourceRect(const CRect& rcCrop, CPoint ptOrigin, double dScale)
{
    int nLeft = int((rcCrop.left - ptOrigin.x) / dScale);
    int nTop = int((rcCrop.top - ptOrigin.y) / dScale);
    return CRect(nLeft, nTop, nLeft + int(rcCrop.Width() / dScale), nTop + int(rcCrop.Height() / dScale));
}

BEGIN_MESSAGE_MAP(CFaceCustomDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CFaceCustomDlg::CFaceCustomDlg()
    : CDialog(IDD_FACE_CUSTOM), m_rcImage(0, 0, 0, 0), m_rcCrop(0, 0, 0, 0), m_ptOrigin(0, 0), m_nScaleIndex(0),
      m_pOwnerWnd(NULL)
{}

CFaceCustomDlg::~CFaceCustomDlg() {}

BOOL CFaceCustomDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetClientRect(&m_rcImage);
    CPoint ptCentre = m_rcImage.CenterPoint();
    m_rcCrop.SetRect(ptCentre.x - kCropSide / 2, ptCentre.y - kCropSide / 2, ptCentre.x + kCropSide / 2,
                     ptCentre.y + kCropSide / 2);
    CString strFolder = SkinFolder();
    if (!m_ImageFace.Load(strFolder + "FaceImage.png"))
        ServiceMessageBox(m_hWnd, "error m_ImageFace");
    if (!m_ImageBehind.Load(strFolder + "BehindImage.png"))
        ServiceMessageBox(m_hWnd, "error m_ImageBehind");
    m_Tracker.m_nStyle = CRectTracker::solidLine | CRectTracker::resizeInside;
    m_Tracker.m_sizeMin = CSize(32, 32);
    m_Tracker.m_sizeMax = CSize(kFaceSide, kFaceSide);
    m_Tracker.m_rectBound = m_rcImage;
    StartLink(m_hWnd);
    return TRUE;
}

CWnd* CFaceCustomDlg::GetNotifyWnd()
{
    return m_pOwnerWnd != NULL ? m_pOwnerWnd : GetParent();
}

void CFaceCustomDlg::LoadPictureFile()
{
    CFileDialog dialog(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       "支持格式(*.bmp;*.jpg;*.png)|*.bmp; *.jpg; *.jpeg; *.png|所有文件 (*.*)|*.*||", this);
    if (dialog.DoModal() != IDOK)
        return;
    LoadPicture(dialog.GetPathName());
}

bool CFaceCustomDlg::LoadPicture(LPCSTR pszPath)
{
    // An unreadable file leaves the picture invalid; it is fitted all the same.
    m_ImageSource.Load(pszPath);
    if (!FitPicture(kFileFactorLimit))
        return false;
    m_Tracker.m_rect = m_rcCrop;
    if (CWnd* pNotify = GetNotifyWnd())
        pNotify->SendMessage(WM_FACE_PICKED, WPARAM(-1), 0);
    InvalidateRect(&m_rcImage);
    return true;
}

bool CFaceCustomDlg::FitPicture(int nFactorLimit)
{
    long cx = m_ImageSource.IsValid() ? long(m_ImageSource.GetWidth()) : 0;
    long cy = m_ImageSource.IsValid() ? long(m_ImageSource.GetHeight()) : 0;
    int nIndex = FitScaleIndex(cx, cy, m_rcImage.Width(), m_rcImage.Height(), nFactorLimit);
    if (nIndex < 0) {
        m_ImageSource.Destroy();
        InvalidateRect(&m_rcImage);
        ServiceMessageBox(m_hWnd, "图片过大，请压缩后重试！");
        return false;
    }
    m_nScaleIndex = nIndex;
    m_ptOrigin = PictureOrigin(m_rcImage, cx, cy, kScaleTable[m_nScaleIndex]);
    return true;
}

void CFaceCustomDlg::TakeImage(HANDLE hBitmap, TW_IMAGEINFO&)
{
    if (hBitmap == NULL || !m_ImageSource.CreateFromHANDLE(hBitmap)) {
        ServiceMessageBox(m_hWnd, "加载图片失败，请重新选择！");
        return;
    }
    if (FitPicture(kScannerFactorLimit))
        InvalidateRect(&m_rcImage);
}

BOOL CFaceCustomDlg::PreTranslateMessage(MSG* pMsg)
{
    if (IsSourceEnabled())
        return FilterMessage(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CFaceCustomDlg::CropToTracker()
{
    m_ImageCropped.Copy(m_ImageSource);
    if (!m_ImageCropped.IsValid())
        return;
    CRect rcSource = CropSourceRect(m_rcCrop, m_ptOrigin, kScaleTable[m_nScaleIndex]);
    m_ImageCropped.Crop(rcSource);
    if (m_ImageCropped.IsValid() && m_ImageCropped.GetWidth() > DWORD(kFaceSide))
        m_ImageCropped.Resample(kFaceSide, kFaceSide, PICTURE_RESAMPLE_SMOOTH);
}

void CFaceCustomDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_Tracker.m_rect.IsRectEmpty() || m_Tracker.HitTest(point) < 0) {
        CDialog::OnLButtonDown(nFlags, point);
        return;
    }
    m_Tracker.Track(this, point);
    m_Tracker.GetTrueRect(&m_rcCrop);
    InvalidateRect(&m_rcImage);
    CropToTracker();
    if (CWnd* pNotify = GetNotifyWnd())
        pNotify->SendMessage(WM_FACE_PICKED, 0, 0);
}

BOOL CFaceCustomDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!m_Tracker.m_rect.IsRectEmpty() && pWnd == this && m_Tracker.SetCursor(this, nHitTest))
        return TRUE;
    return CDialog::OnSetCursor(pWnd, nHitTest, message);
}

HCURSOR CFaceCustomDlg::OnQueryDragIcon()
{
    return ::LoadCursor(NULL, IDC_ARROW);
}

BOOL CFaceCustomDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CFaceCustomDlg::OnDestroy()
{
    StopLink();
    CDialog::OnDestroy();
}

void CFaceCustomDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    GetClientRect(&m_rcImage);
}

void CFaceCustomDlg::OnPaint()
{
    CPaintDC paint(this);
    CXTVBufferDC dc(paint);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.SetBkMode(TRANSPARENT);
    dc.FillSolidRect(&rcClient, RGB(255, 255, 255));
    if (m_ImageBehind.IsValid()) {
        m_ImageBehind.Tile(dc.GetSafeHdc(), &m_rcImage);
        CBrush frame(RGB(133, 181, 227));
        dc.FrameRect(&m_rcImage, &frame);
    }
    if (!m_ImageSource.IsValid())
        return;
    const double dScale = kScaleTable[m_nScaleIndex];
    const long cx = long(m_ImageSource.GetWidth()), cy = long(m_ImageSource.GetHeight());
    m_ptOrigin = PictureOrigin(m_rcImage, cx, cy, dScale);
    m_ImageSource.Draw(dc.GetSafeHdc(), m_ptOrigin.x, m_ptOrigin.y, long(cx * dScale), long(cy * dScale));
    if (m_ImageFace.IsValid()) {
        HDC hdc = dc.GetSafeHdc();
        const CRect& a = m_rcImage;
        const CRect& c = m_rcCrop;
        m_ImageFace.Draw(hdc, a.left, a.top, c.left - a.left, a.Height());
        m_ImageFace.Draw(hdc, c.right, a.top, a.right - c.right, a.Height());
        m_ImageFace.Draw(hdc, c.left, a.top, c.Width(), c.top - a.top);
        m_ImageFace.Draw(hdc, c.left, c.bottom, c.Width(), a.bottom - c.bottom);
    }
    if (!m_Tracker.m_rect.IsRectEmpty())
        m_Tracker.Draw(&dc);
}

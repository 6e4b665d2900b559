// The custom face editor: shows a picture (from a file or an image source)
// scaled to fit, lets the user move and size a square crop frame over it and
// keeps the cropped picture that the face page uploads.
#pragma once

#include <afxwin.h>

#include "Picture.h"
#include "RectTrackerEx.h"
#include "Twain.h"

// To the owner: the choice changed (wParam 0 after a crop, -1 after a load).
const UINT WM_FACE_PICKED = WM_USER + 101;

class CFaceCustomDlg : public CDialog, public CTwain
{
public:
    static const int kScaleCount = 10;
    static const double kScaleTable[kScaleCount];
    // How many factors a picture may need: files down to 0.1, sources to 0.6.
    static const int kFileFactorLimit = 10;
    static const int kScannerFactorLimit = 5;
    static const int kCropSide = 88;
    static const int kFaceSide = 128;

    // The scale index at which a cx by cy picture fits an area of the given
    // size, or -1 when it needs more than nFactorLimit factors.
    static int FitScaleIndex(long cx, long cy, long nAreaWidth, long nAreaHeight, int nFactorLimit);
    // Where a picture drawn at dScale sits, centred in the area inflated by 1.
    static CPoint PictureOrigin(const CRect& rcArea, long cx, long cy, double dScale);
    // The part of the source picture under the crop rectangle.
    static CRect CropSourceRect(const CRect& rcCrop, CPoint ptOrigin, double dScale);

    CFaceCustomDlg();
    ~CFaceCustomDlg() override;

    // Who hears of changes (NULL: the parent window).
    void SetOwnerWnd(CWnd* pOwner) { m_pOwnerWnd = pOwner; }
    // Asks for a picture file and loads it.
    void LoadPictureFile();
    // Loads a picture file and fits it; false when it is refused as too big.
    bool LoadPicture(LPCSTR pszPath);

    CPicture* GetCroppedPicture() { return &m_ImageCropped; }
    const CPicture& GetSourcePicture() const { return m_ImageSource; }
    int GetScaleIndex() const { return m_nScaleIndex; }
    const CRect& GetImageArea() const { return m_rcImage; }
    const CRect& GetCropRect() const { return m_rcCrop; }
    CPoint GetOrigin() const { return m_ptOrigin; }
    CRectTrackerEx& GetTracker() { return m_Tracker; }

    void TakeImage(HANDLE hBitmap, TW_IMAGEINFO& info) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    // Fits the new source picture; false (picture dropped) when too big.
    bool FitPicture(int nFactorLimit);
    void CropToTracker();
    CWnd* GetNotifyWnd();

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    CPicture m_ImageSource;
    CPicture m_ImageCropped;
    CPicture m_ImageFace;
    CPicture m_ImageBehind;
    CRect m_rcImage;
    CRect m_rcCrop;
    CRectTrackerEx m_Tracker;
    CPoint m_ptOrigin;
    int m_nScaleIndex;
    CWnd* m_pOwnerWnd;
};

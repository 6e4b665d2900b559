#include "RoomSplitter.h"

#include <XTVBufferDC.h>

#include <algorithm>

#include "GlobalUnits.h"

BEGIN_MESSAGE_MAP(CRoomSplitter, CSkinSplitter)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CRoomSplitter::CRoomSplitter()
{
    static const char* const kPieces[3] = {"vbgr1.bmp", "vbgr2.bmp", "vbgr3.bmp"};
    for (int i = 0; i < 3; ++i) {
        CString strFile;
        strFile.Format("%sCommon\\splitter\\%s", g_GlobalUnits.GetResourceDirectory(), kPieces[i]);
        m_ImagePiece[i].SetLoadInfo(strFile);
    }
}

CRoomSplitter::~CRoomSplitter() {}

void CRoomSplitter::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTVBufferDC buffer(&dc, rcClient);
    DrawSplitter(&buffer, rcClient);
}

void CRoomSplitter::DrawSplitter(CDC* pDC, const CRect& rcClient)
{
    bool bAll = true;
    for (CSkinImage& piece : m_ImagePiece)
        bAll = piece.LoadImage() && bAll;
    if (!bAll) {
        pDC->FillSolidRect(&rcClient, kGreyFill);
        pDC->Draw3dRect(&rcClient, kGreyFrame, kGreyFrame);
        return;
    }
    if (!IsVertical())
        return;
    HDC hDC = pDC->GetSafeHdc();
    const int cx = rcClient.Width();
    const int nTop = m_ImagePiece[0].GetHeight();
    const int nMid = m_ImagePiece[1].GetHeight();
    const int nBottomAt = rcClient.bottom - m_ImagePiece[2].GetHeight();
    m_ImagePiece[0].BitBlt(hDC, rcClient.left, rcClient.top, cx, nTop, 0, 0);
    if (nMid > 0) {
        for (int y = rcClient.top + nTop; y < nBottomAt; y += nMid)
            m_ImagePiece[1].BitBlt(hDC, rcClient.left, y, cx, std::min(nMid, nBottomAt - y), 0, 0);
    }
    m_ImagePiece[2].BitBlt(hDC, rcClient.left, nBottomAt, cx, m_ImagePiece[2].GetHeight(), 0, 0);
}

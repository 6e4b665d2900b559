#include "DownLoadDlg.h"

#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "DownLoadText.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "IDownLoadService.h"
#include "ShareBlock.h"
#include "SkinMessageBox.h"
#include "SkinScrollWnd.h"
#include "TextUnit.h"
#include "ZipPackCheck.h"
#include "resource.h"

namespace
{
// A package's test answers here: wParam the mission id, lParam a
// tagPackageCheck the window frees.
const UINT WM_PACKAGE_CHECKED = WM_USER + 458;

const char kDoneFails[] = "fails";

struct tagPackageCheck
{
    HWND hWnd;
    WORD wID;
    bool bWhole;
    char szPath[260];
};

DWORD WINAPI CheckPackageThread(LPVOID pParam)
{
    tagPackageCheck* pCheck = static_cast<tagPackageCheck*>(pParam);
    pCheck->bWhole = IsWholeZipPackage(pCheck->szPath);
    // A window that went meanwhile hears nothing; the check is freed here.
    if (!::PostMessage(pCheck->hWnd, WM_PACKAGE_CHECKED, pCheck->wID, (LPARAM)pCheck))
        delete pCheck;
    return 0;
}

CString MakeShareName()
{
    CString name;
    name.Format("0x8%ld%ld", (long)_time64(NULL), (long)(rand() % 100));
    return name;
}

CDownLoadDlg::PFN_SHARE_NAME g_pfnShareName = MakeShareName;

// A text field of the service's records, read within its width.
template <size_t N> CString FieldText(const char (&field)[N])
{
    char text[N];
    TextCopyField(text, N, field, N);
    return text;
}

CString ProgressText(int nPercent, LPCSTR pszWhat)
{
    CString text;
    text.Format("%d%% %s", nPercent, pszWhat);
    return text;
}

CString NumberText(LPCSTR pszFormat, long value)
{
    CString text;
    text.Format(pszFormat, value);
    return text;
}
} // namespace

// ------------------------------------------------------------------ header

void CDownLoadHeader::LoadPictures(LPCSTR pszFolder)
{
    m_Back.Load(CString(pszFolder) + "Header.bmp");
    m_Item.Load(CString(pszFolder) + "HeaderItem.bmp");
}

void CDownLoadHeader::DrawHeaderBack(CDC* pDC, const CRect& rcClient)
{
    if (m_Back.IsValid())
        m_Back.Draw(pDC->GetSafeHdc(), rcClient.left, rcClient.top, rcClient.Width(), rcClient.Height());
    else
        CSkinHeaderCtrl::DrawHeaderBack(pDC, rcClient);
}

void CDownLoadHeader::DrawHeaderItem(CDC* pDC, int nItem, const CRect& rcItem, LPCTSTR pszText, int nFormat)
{
    if (!m_Item.IsValid()) {
        CSkinHeaderCtrl::DrawHeaderItem(pDC, nItem, rcItem, pszText, nFormat);
        return;
    }
    m_Item.Draw(pDC->GetSafeHdc(), rcItem.left, rcItem.top, rcItem.Width(), rcItem.Height());
    CRect rcText(rcItem);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->DrawText(pszText, -1, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// ------------------------------------------------------------------ list

BEGIN_MESSAGE_MAP(CDownLoadList, CListCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_ERASEBKGND()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CDownLoadList::CDownLoadList()
    : m_pOwner(NULL), m_rcCell(0, 0, 0, 0), m_nHoverRow(-1), m_nSelectedRow(-1), m_bClicked(FALSE), m_nDrawingRow(-1),
      m_nSelectedID(-1), m_crEven(RGB(240, 247, 249)), m_crOdd(RGB(229, 232, 239))
{}

void CDownLoadList::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pHeader != NULL && pHeader->GetSafeHwnd() != NULL && m_Header.GetSafeHwnd() == NULL)
        m_Header.SubclassWindow(pHeader->GetSafeHwnd());
}

void CDownLoadList::SetUp(LPCSTR pszFolder)
{
    InsertColumn(0, "   任务名", LVCFMT_CENTER, 78);
    InsertColumn(1, "大小", LVCFMT_CENTER, 78);
    InsertColumn(2, "进度", LVCFMT_CENTER, 203);
    InsertColumn(3, "速度", LVCFMT_CENTER, 78);
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_GRIDLINES);
    // Rows are as high as this list's pictures: 20 pixels.
    if (m_RowHeight.GetSafeHandle() == NULL)
        m_RowHeight.Create(1, 20, ILC_COLOR24, 1, 0);
    SetImageList(&m_RowHeight, LVSIL_SMALL);
    if (m_Header.GetSafeHwnd() != NULL)
        m_Header.EnableWindow(FALSE);
    LoadPictures(pszFolder);
}

void CDownLoadList::LoadPictures(LPCSTR pszFolder)
{
    static const char* const kParts[3] = {"left", "mid", "right"};
    for (int nSet = 0; nSet < 3; nSet++) {
        for (int nPart = 0; nPart < 3; nPart++) {
            CString path;
            path.Format("%sLafPgs\\%s%d.tga", pszFolder, kParts[nPart], nSet);
            m_Bars[nSet][nPart].Load(path);
        }
    }
    m_Header.LoadPictures(pszFolder);
}

int CDownLoadList::FindRow(WORD wID) const
{
    for (int i = 0; i < GetItemCount(); i++) {
        if ((WORD)GetItemData(i) == wID)
            return i;
    }
    return -1;
}

void CDownLoadList::ClearSelection()
{
    m_nSelectedRow = -1;
    m_nSelectedID = -1;
}

void CDownLoadList::Reset()
{
    ClearSelection();
    m_nHoverRow = -1;
    m_bClicked = FALSE;
    m_nDrawingRow = -1;
}

void CDownLoadList::OnLButtonDown(UINT nFlags, CPoint point)
{
    int nRow = HitTest(point);
    if (nRow >= 0 && nRow != m_nSelectedRow) {
        int nOld = m_nSelectedRow;
        m_nSelectedRow = nRow;
        m_nSelectedID = (int)(WORD)GetItemData(nRow);
        m_bClicked = TRUE;
        if (nOld >= 0)
            RedrawItems(nOld, nOld);
        RedrawItems(nRow, nRow);
        if (m_pOwner != NULL)
            m_pOwner->OnRowSelected(nRow);
    }
}

void CDownLoadList::OnMouseMove(UINT nFlags, CPoint point)
{
    int nRow = HitTest(point);
    if (nRow != m_nHoverRow) {
        int nOld = m_nHoverRow;
        m_nHoverRow = nRow;
        m_bClicked = FALSE;
        if (nOld >= 0)
            RedrawItems(nOld, nOld);
        if (nRow >= 0)
            RedrawItems(nRow, nRow);
    }
    Default();
}

BOOL CDownLoadList::OnEraseBkgnd(CDC*)
{
    // The rows cover what they draw.
    return TRUE;
}

// The skinned bars report thumb positions; the list scrolls by pixels.
void CDownLoadList::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION) {
        SCROLLINFO si = {sizeof(si), SIF_ALL};
        GetScrollInfo(SB_VERT, &si);
        int nRange = si.nMax - si.nMin;
        if (nRange > 0) {
            CRect rc;
            GetClientRect(&rc);
            int nUnit = (int)((si.nPage + 1) * rc.Height() / nRange);
            Scroll(CSize(0, ((int)nPos - si.nPos) * nUnit));
        }
        return;
    }
    Default();
}

void CDownLoadList::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION) {
        SCROLLINFO si = {sizeof(si), SIF_ALL};
        GetScrollInfo(SB_HORZ, &si);
        int nRange = si.nMax - si.nMin;
        if (nRange > 0) {
            CRect rc;
            GetClientRect(&rc);
            int nUnit = (int)((si.nPage + 1) * rc.Width() / nRange);
            Scroll(CSize(((int)nPos - si.nPos) * nUnit, 0));
        }
        return;
    }
    Default();
}

void CDownLoadList::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    DrawRow(pDC, (int)lpDrawItemStruct->itemID, CRect(lpDrawItemStruct->rcItem));
}

void CDownLoadList::DrawBar(CDC* pDC, const CRect& rcBar, int nSet, int nFill)
{
    CPicture* bars = m_Bars[nSet];
    const int nLeft = (int)bars[0].GetWidth();
    const int nRight = (int)bars[2].GetWidth();
    const int nHeight = rcBar.Height();
    const int nWidth = nFill;
    if (nWidth <= 0)
        return;
    HDC hDC = pDC->GetSafeHdc();
    if (bars[0].IsValid())
        bars[0].Draw(hDC, rcBar.left, rcBar.top, nLeft, nHeight);
    const int nMid = (int)bars[1].GetWidth();
    if (bars[1].IsValid() && nMid > 0) {
        for (int x = rcBar.left + nLeft; x < rcBar.left + nWidth - nRight; x += nMid) {
            int cx = nMid;
            if (x + cx > rcBar.left + nWidth - nRight)
                cx = rcBar.left + nWidth - nRight - x;
            bars[1].Draw(hDC, x, rcBar.top, cx, nHeight);
        }
    }
    if (bars[2].IsValid())
        bars[2].Draw(hDC, rcBar.left + nWidth - nRight, rcBar.top, nRight, nHeight);
}

void CDownLoadList::DrawRow(CDC* pDC, int nRow, const CRect& rcRow)
{
    if (nRow < 0 || nRow >= GetItemCount())
        return;
    m_nDrawingRow = nRow;
    COLORREF crBack = (nRow % 2 == 0) ? m_crEven : m_crOdd;
    if (nRow == m_nSelectedRow)
        crBack = RGB(166, 217, 254);
    pDC->FillSolidRect(&rcRow, crBack);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));

    const WORD wID = (WORD)GetItemData(nRow);
    for (int nColumn = 0; nColumn < 4; nColumn++) {
        CRect rcCell;
        if (!GetSubItemRect(nRow, nColumn, LVIR_BOUNDS, rcCell))
            continue;
        if (nColumn == 0) {
            // The first column's bounds are the whole row.
            rcCell.right = rcCell.left + GetColumnWidth(0);
        }
        rcCell.top = rcRow.top;
        rcCell.bottom = rcRow.bottom;
        m_rcCell = rcCell;
        CString text = GetItemText(nRow, nColumn);
        if (nColumn != 2) {
            pDC->DrawText(text, &rcCell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
            continue;
        }
        // The progress column: a bar two thirds of the cell less 20 pixels,
        // then the text to its right.
        const int nBarWidth = rcCell.Width() * 2 / 3 - 20;
        CRect rcBar(rcCell.left + 2, rcCell.top + 4, rcCell.left + 2 + (nBarWidth > 0 ? nBarWidth : 0),
                    rcCell.bottom - 4);
        if (nBarWidth > 0) {
            DrawBar(pDC, rcBar, 0, nBarWidth);
            int nSet = 0;
            int nFill = 0;
            const tagDownLoadMission* pMission = m_pOwner != NULL ? m_pOwner->FindMission(wID) : NULL;
            if (pMission != NULL && pMission->cbState == 1 && pMission->dwTotal > 0) {
                nSet = 1;
                nFill = (int)((ULONGLONG)nBarWidth * pMission->dwReceived / pMission->dwTotal);
            } else if (m_pOwner != NULL) {
                int nInstall = m_pOwner->FindInstall(wID);
                if (nInstall >= 0) {
                    const tagInstallStatus* pStatus = m_pOwner->GetInstall(nInstall);
                    DWORD dwDone = pStatus->dwDone;
                    DWORD dwTotal = pStatus->dwTotal;
                    if (dwTotal > 100) {
                        dwDone /= 100;
                        dwTotal /= 100;
                    }
                    nSet = 2;
                    nFill = dwTotal > 0 ? (int)((ULONGLONG)nBarWidth * dwDone / dwTotal) : nBarWidth;
                }
            }
            if (nSet != 0) {
                const int nLeast =
                    (int)(m_Bars[nSet][0].GetWidth() + m_Bars[nSet][1].GetWidth() + m_Bars[nSet][2].GetWidth());
                if (nFill > nBarWidth)
                    nFill = nBarWidth;
                if (nFill < nLeast)
                    nFill = nLeast < nBarWidth ? nLeast : nBarWidth;
                DrawBar(pDC, rcBar, nSet, nFill);
            }
        }
        CRect rcText(rcBar.right, rcCell.top, rcCell.right, rcCell.bottom);
        pDC->DrawText(text, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    m_nDrawingRow = -1;
}

// ------------------------------------------------------------------ window

BEGIN_MESSAGE_MAP(CDownLoadDlg, CRgnDialog)
    ON_MESSAGE(WM_DOWNLOAD_NOTIFY, OnDownLoadNotify)
    ON_MESSAGE(WM_DOWNLOAD_PROGRESS, OnDownLoadProgress)
    ON_MESSAGE(WM_PACKAGE_CHECKED, OnPackageChecked)
    ON_WM_COPYDATA()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDownLoadDlg::CDownLoadDlg()
    : CRgnDialog(IDD_DOWNLOAD), m_ulSinkRef(0), m_lLastSpeed(0), m_pListScroll(NULL), m_hInstallerWnd(NULL),
      m_hShareMap(NULL), m_pShare(NULL)
{
    m_szShareName[0] = '\0';
    memset(&m_ProcessInfo, 0, sizeof(m_ProcessInfo));
}

CDownLoadDlg::~CDownLoadDlg()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
    FreeRecords();
    CloseShareBlock();
    // A running installer is left running.
    ForgetInstaller(true);
}

CDownLoadDlg::PFN_SHARE_NAME CDownLoadDlg::SetShareNameMaker(PFN_SHARE_NAME pfn)
{
    PFN_SHARE_NAME previous = g_pfnShareName;
    g_pfnShareName = pfn != NULL ? pfn : MakeShareName;
    return previous;
}

CString CDownLoadDlg::GetInstallerPath()
{
    char szPath[MAX_PATH] = "";
    DWORD n = ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return "Kestrum.exe";
    char* pSlash = strrchr(szPath, '\\');
    CString folder = pSlash != NULL ? CString(szPath, (int)(pSlash - szPath + 1)) : CString();
    return folder + "Kestrum.exe";
}

ULONG CDownLoadDlg::AddRef()
{
    return ++m_ulSinkRef;
}

ULONG CDownLoadDlg::Release()
{
    return m_ulSinkRef > 0 ? --m_ulSinkRef : 0;
}

HRESULT CDownLoadDlg::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IChannelMessageSink) || IsEqualGUID(iid, IID_IUnknownEx)) {
        *out = static_cast<IChannelMessageSink*>(this);
        AddRef();
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

bool CDownLoadDlg::CreateDownLoadWindow(CWnd* pParent)
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        return true;
    return Create(IDD_DOWNLOAD, pParent) != FALSE && m_hWnd != NULL;
}

void CDownLoadDlg::CloseDownLoadWindow()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CDownLoadDlg::OnInitDialog()
{
    // A new window starts afresh: no missions, no queue, no installer.
    FreeRecords();
    CloseShareBlock();
    ForgetInstaller(true);
    m_lLastSpeed = 0;
    m_pListScroll = NULL;

    CString folder = CString(g_GlobalUnits.GetResourceDirectory()) + "DownLoad\\";
    static const char* const kFrame[] = {"downtl.bmp", "downtm.bmp", "downtr.bmp", "downl.bmp", "downr.bmp",
                                         "downbl.bmp", "downbm.bmp", "downbr.bmp", "downbk.bmp"};
    static const int kSlots[] = {SKIN_TL, SKIN_TM, SKIN_TR, SKIN_L, SKIN_R, SKIN_BL, SKIN_BM, SKIN_BR, SKIN_BACK};
    for (int i = 0; i < 9; i++)
        GetSkinImage(kSlots[i])->SetLoadInfo(folder + kFrame[i]);
    CRgnDialog::OnInitDialog();

    SetWindowText("游戏下载");
    CenterWindow(GetOwner());

    m_List.SetOwner(this);
    m_List.Reset();
    if (!m_List.SubclassDlgItem(IDC_DOWNLOAD_LIST, this))
        return TRUE;
    m_List.SetUp(folder);

    if (m_Link.SubclassDlgItem(IDC_DOWNLOAD_LINK, this)) {
        m_Link.SetHyperLinkUrl(g_GlobalOption.GetSelfDownloadUrl());
        m_Link.SetBackGroundColor(RGB(211, 233, 246));
    }
    if (m_btCancelOne.SubclassDlgItem(IDOK, this)) {
        m_btCancelOne.LoadRgnImage(folder + "Cancle.bmp", RGB(255, 0, 255));
        m_btCancelOne.EnableWindow(FALSE);
    }
    if (m_btQuit.SubclassDlgItem(IDCANCEL, this))
        m_btQuit.LoadRgnImage(folder + "Quit.bmp", RGB(255, 0, 255));

    // The skinned scroll frame around the list.
    CString scrollbar = CString(g_GlobalUnits.GetResourceDirectory()) + "Common\\scrollbar\\scrollbar.bmp";
    if (m_ScrollBitmap.GetSafeHandle() != NULL)
        m_ScrollBitmap.DeleteObject();
    HBITMAP hBitmap = (HBITMAP)::LoadImageA(NULL, scrollbar, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (hBitmap != NULL)
        m_ScrollBitmap.Attach(hBitmap);
    m_pListScroll = CListScrollWnd::Attach(&m_List, (HBITMAP)m_ScrollBitmap.GetSafeHandle());
    if (m_pListScroll == NULL || m_pListScroll->GetSafeHwnd() == NULL)
        return TRUE;
    m_pListScroll->MoveWindow(3, 28, 438, 90);

    if (!m_CopyDataRecv.SetChannelMessageSink(static_cast<IChannelMessageSink*>(this)))
        return TRUE;
    OpenShareBlock();
    return TRUE;
}

bool CDownLoadDlg::OpenShareBlock()
{
    // A name somebody already holds, or a mapping that fails, is given up for
    // a fresh name: without a block no installer can be started.
    m_pShare = static_cast<tagInstallShare*>(CreateOwnShareBlock([](int) { return g_pfnShareName(); }, 8,
                                                                 sizeof(tagInstallShare), m_szShareName,
                                                                 sizeof(m_szShareName), m_hShareMap));
    if (m_pShare == NULL)
        return false;
    m_pShare->wSize = sizeof(tagInstallShare);
    m_pShare->dwHallWnd = HandleToULong(m_hWnd);
    return true;
}

void CDownLoadDlg::CloseShareBlock()
{
    ReleaseShareBlock(m_pShare, m_hShareMap);
    m_szShareName[0] = '\0';
}

void CDownLoadDlg::ForgetInstaller(bool bCloseHandles)
{
    m_hInstallerWnd = NULL;
    if (m_pShare != NULL)
        m_pShare->dwInstallerWnd = 0;
    if (bCloseHandles) {
        if (m_ProcessInfo.hThread != NULL)
            ::CloseHandle(m_ProcessInfo.hThread);
        if (m_ProcessInfo.hProcess != NULL)
            ::CloseHandle(m_ProcessInfo.hProcess);
        memset(&m_ProcessInfo, 0, sizeof(m_ProcessInfo));
    }
}

void CDownLoadDlg::FreeRecords()
{
    for (INT_PTR i = 0; i < m_Missions.GetSize(); i++)
        delete m_Missions[i];
    m_Missions.RemoveAll();
    for (INT_PTR i = 0; i < m_InstallQueue.GetSize(); i++)
        delete m_InstallQueue[i];
    m_InstallQueue.RemoveAll();
}

void CDownLoadDlg::OnDestroy()
{
    // The block goes with the window; a running installer keeps its own view.
    CloseShareBlock();
    m_CopyDataRecv.SetChannelMessageSink(NULL);
    m_hInstallerWnd = NULL;
    CRgnDialog::OnDestroy();
}

void CDownLoadDlg::PostNcDestroy()
{
    // The holder owns the object.
    m_pListScroll = NULL;
}

WORD CDownLoadDlg::TickNow() const
{
    return (WORD)(AfxGetTickCount() & 0xFFFF);
}

const tagDownLoadMission* CDownLoadDlg::FindMission(WORD wID) const
{
    for (INT_PTR i = 0; i < m_Missions.GetSize(); i++) {
        if (m_Missions[i]->wID == wID)
            return m_Missions[i];
    }
    return NULL;
}

int CDownLoadDlg::FindInstall(WORD wID) const
{
    for (INT_PTR i = 0; i < m_InstallQueue.GetSize(); i++) {
        if (m_InstallQueue[i]->wID == wID)
            return (int)i;
    }
    return -1;
}

// ------------------------------------------------------------------ the service's reports

LRESULT CDownLoadDlg::OnDownLoadNotify(WPARAM wParam, LPARAM lParam)
{
    const tagDownLoadHead* pHead = reinterpret_cast<const tagDownLoadHead*>(wParam);
    if (pHead == NULL || lParam == 0 || pHead->wMain != 1)
        return 0;
    const void* pRecord = reinterpret_cast<const void*>(lParam);
    switch (pHead->wSub) {
    case DOWNLOAD_SUB_ANNOUNCED: OnMissionAnnounced(pRecord); break;
    case DOWNLOAD_SUB_DONE: OnMissionDone(pRecord); break;
    case DOWNLOAD_SUB_PROGRESS: {
        const tagDownLoadProgress* p = static_cast<const tagDownLoadProgress*>(pRecord);
        OnMissionProgress(p->wMissionID, p->lReceived, p->lTotal, true);
        break;
    }
    case DOWNLOAD_SUB_FAILED: OnMissionFailed(pRecord); break;
    case DOWNLOAD_SUB_HALL_READY: OnHallPackageReady(); break;
    default: break;
    }
    return 0;
}

LRESULT CDownLoadDlg::OnDownLoadProgress(WPARAM, LPARAM lParam)
{
    const tagDownLoadProgress* p = reinterpret_cast<const tagDownLoadProgress*>(lParam);
    if (p != NULL)
        OnMissionProgress(p->wMissionID, p->lReceived, p->lTotal, false);
    return 0;
}

void CDownLoadDlg::OnMissionAnnounced(const void* pRecord)
{
    const tagDownLoadAnnounce* p = static_cast<const tagDownLoadAnnounce*>(pRecord);
    tagDownLoadMission* pMission = new tagDownLoadMission;
    pMission->wID = p->wMissionID;
    pMission->dwTotal = p->dwTotal;
    pMission->wTick = TickNow();
    pMission->dwReceived = p->dwReceived;
    pMission->cbState = 0;
    m_Missions.Add(pMission);
    if (m_List.GetSafeHwnd() == NULL)
        return;
    int nRow = m_List.InsertItem(LVIF_TEXT | LVIF_PARAM, m_List.GetItemCount(), FieldText(p->szName), 0, 0, 0,
                                 (LPARAM)p->wMissionID);
    if (nRow < 0)
        return;
    m_List.SetItemText(nRow, 1, NumberText("%d(KB)", 0));
    m_List.SetItemText(nRow, 2, "准备下载");
    m_List.SetItemText(nRow, 3, NumberText("%d", 0));
}

void CDownLoadDlg::OnMissionProgress(WORD wID, LONG lReceived, LONG lTotal, bool bStoreSpeed)
{
    int nPercent = 0;
    LONG lSpeed = 0;
    tagDownLoadMission* pMission = const_cast<tagDownLoadMission*>(FindMission(wID));
    if (pMission != NULL) {
        const WORD wNow = TickNow();
        const DWORD dwReceived = (DWORD)lReceived;
        LONG lComputed = -1;
        if (bStoreSpeed) {
            if (dwReceived > pMission->dwReceived)
                lComputed = DownLoadSpeed(pMission->dwReceived, dwReceived, pMission->wTick, wNow);
            if (lComputed >= 0)
                m_lLastSpeed = lComputed;
        } else {
            lComputed = DownLoadSpeed(pMission->dwReceived, dwReceived, pMission->wTick, wNow);
        }
        lSpeed = lComputed >= 0 ? lComputed : m_lLastSpeed;
        nPercent = DownLoadPercent(lReceived, lTotal);
        pMission->dwReceived = dwReceived;
        pMission->wTick = wNow;
        pMission->dwTotal = (DWORD)lTotal;
        pMission->cbState = 1;
    }
    if (m_List.GetSafeHwnd() == NULL)
        return;
    int nRow = m_List.FindRow(wID);
    if (nRow < 0)
        return;
    m_List.SetItemText(nRow, 1, FormatDownLoadSize((DWORD)lTotal));
    m_List.SetItemText(nRow, 2, ProgressText(nPercent, "正在下载"));
    m_List.SetItemText(nRow, 3, FormatDownLoadSpeed(lSpeed));
}

void CDownLoadDlg::OnMissionFailed(const void* pRecord)
{
    const tagDownLoadProgress* p = static_cast<const tagDownLoadProgress*>(pRecord);
    tagDownLoadMission* pMission = const_cast<tagDownLoadMission*>(FindMission(p->wMissionID));
    if (pMission == NULL)
        return;
    pMission->wTick = TickNow();
    pMission->cbState = 0;
    pMission->dwReceived = (DWORD)p->lReceived;
    pMission->dwTotal = (DWORD)p->lTotal;
    if (m_List.GetSafeHwnd() == NULL)
        return;
    int nRow = m_List.FindRow(p->wMissionID);
    if (nRow < 0)
        return;
    m_List.SetItemText(nRow, 1, FormatDownLoadSize(pMission->dwTotal));
    m_List.SetItemText(nRow, 2, "下载失败");
    m_List.SetItemText(nRow, 3, NumberText("%d(KB/S)", 0));
}

void CDownLoadDlg::OnMissionDone(const void* pRecord)
{
    const tagDownLoadDone* p = static_cast<const tagDownLoadDone*>(pRecord);
    const WORD wID = p->wMissionID;
    for (INT_PTR i = 0; i < m_Missions.GetSize(); i++) {
        if (m_Missions[i]->wID == wID) {
            delete m_Missions[i];
            m_Missions.RemoveAt(i);
            break;
        }
    }
    CString result = FieldText(p->szResult);
    if (result == kDoneFails) {
        RemoveRowAndCloseWhenEmpty(m_List.GetSafeHwnd() != NULL ? m_List.FindRow(wID) : -1);
        return;
    }
    // Only a whole package is installed: it is tested on a worker first.
    tagPackageCheck* pCheck = new tagPackageCheck;
    pCheck->hWnd = m_hWnd;
    pCheck->wID = wID;
    pCheck->bWhole = false;
    TextCopyField(pCheck->szPath, result);
    if (m_List.GetSafeHwnd() != NULL) {
        int nRow = m_List.FindRow(wID);
        if (nRow >= 0) {
            m_List.SetItemText(nRow, 2, "正在校验");
            m_List.SetItemText(nRow, 3, NumberText("%d(KB/S)", 0));
        }
    }
    HANDLE hThread = ::CreateThread(NULL, 0, CheckPackageThread, pCheck, 0, NULL);
    if (hThread == NULL) {
        delete pCheck;
        OnPackageVerdict(wID, result, false);
        return;
    }
    ::CloseHandle(hThread);
}

LRESULT CDownLoadDlg::OnPackageChecked(WPARAM, LPARAM lParam)
{
    tagPackageCheck* pCheck = reinterpret_cast<tagPackageCheck*>(lParam);
    if (pCheck == NULL)
        return 0;
    OnPackageVerdict(pCheck->wID, pCheck->szPath, pCheck->bWhole);
    delete pCheck;
    return 0;
}

void CDownLoadDlg::OnPackageVerdict(WORD wID, LPCSTR pszPath, bool bWhole)
{
    int nRow = m_List.GetSafeHwnd() != NULL ? m_List.FindRow(wID) : -1;
    if (!bWhole) {
        // A cut or damaged package is handled as a failed download.
        if (pszPath != NULL && pszPath[0] != '\0')
            ::DeleteFileA(pszPath);
        RemoveRowAndCloseWhenEmpty(nRow);
        return;
    }
    tagInstallStatus* pStatus = new tagInstallStatus;
    memset(pStatus, 0, sizeof(*pStatus));
    pStatus->wID = wID;
    TextCopyField(pStatus->szText, pszPath);
    m_InstallQueue.Add(pStatus);
    if (nRow >= 0)
        StartInstaller();
}

void CDownLoadDlg::RemoveRowAndCloseWhenEmpty(int nRow)
{
    if (nRow < 0 || m_List.GetSafeHwnd() == NULL)
        return;
    if (nRow == m_List.GetSelectedRow()) {
        m_List.ClearSelection();
        if (m_btCancelOne.GetSafeHwnd() != NULL)
            m_btCancelOne.EnableWindow(FALSE);
    }
    m_List.DeleteItem(nRow);
    if (m_List.GetItemCount() == 0)
        DestroyWindow();
}

void CDownLoadDlg::OnHallPackageReady()
{
    // Ends the logon of a hall that is being updated, while it still shows.
    HWND hLogon = CHallWindows::GetLogonWindow();
    if (hLogon != NULL && ::IsWindow(hLogon))
        ::SendMessage(hLogon, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// ------------------------------------------------------------------ the installer

int CDownLoadDlg::StartInstaller()
{
    // Without a block the installer could not find this window.
    if (m_pShare == NULL)
        return 0;
    if (m_ProcessInfo.hProcess != NULL && ::WaitForSingleObject(m_ProcessInfo.hProcess, 0) == WAIT_TIMEOUT) {
        HWND hInstaller = (HWND)ULongToHandle(m_pShare->dwInstallerWnd);
        if (hInstaller != NULL && IsInstallerWindow(hInstaller)) {
            m_hInstallerWnd = hInstaller;
            ::SetForegroundWindow(hInstaller);
            SendToInstaller(INSTALL_MAIN_CONTROL, INSTALL_SUB_TO_FRONT, NULL, 0);
            return 1;
        }
        // Still starting: its hello takes the queue.
        return 1;
    }
    ForgetInstaller(true);

    CString commandLine;
    commandLine.Format("%s /ShareName:%s", "Kestrum.exe", m_szShareName);
    CString program = GetInstallerPath();
    STARTUPINFOA si;
    memset(&si, 0, sizeof(si));
    si.cb = sizeof(si);
    char szCommand[MAX_PATH + 96];
    if (!TextCopyField(szCommand, commandLine))
        return 0;
    if (!::CreateProcessA(program, szCommand, NULL, NULL, FALSE, CREATE_DEFAULT_ERROR_MODE, NULL, NULL, &si,
                          &m_ProcessInfo)) {
        memset(&m_ProcessInfo, 0, sizeof(m_ProcessInfo));
        return 0;
    }
    return 1;
}

bool CDownLoadDlg::IsInstallerWindow(HWND hSender) const
{
    if (hSender == NULL || m_ProcessInfo.hProcess == NULL || !::IsWindow(hSender))
        return false;
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hSender, &dwProcessId);
    return dwProcessId == m_ProcessInfo.dwProcessId;
}

void CDownLoadDlg::SendToInstaller(WORD wMain, WORD wSub, const void* pData, WORD wSize)
{
    if (m_hInstallerWnd == NULL || !::IsWindow(m_hInstallerWnd))
        return;
    CIPCSendCopyData sender(m_hInstallerWnd, m_hWnd);
    if (pData != NULL)
        sender.SendData(wMain, wSub, pData, wSize);
    else
        sender.SendCommand(wMain, wSub);
}

BOOL CDownLoadDlg::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct)
{
    HWND hSender = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL;
    if (m_CopyDataRecv.OnCopyData(hSender, pCopyDataStruct))
        return TRUE;
    return (BOOL)Default();
}

bool CDownLoadDlg::OnChannelMessage(const tagIPCHead* head, const void* data, WORD dataSize, HWND sender)
{
    if (head == NULL || head->wMainCmdID != INSTALL_MAIN_FROM_INSTALLER)
        return false;
    // Only windows of the installer this window started are heard.
    if (!IsInstallerWindow(sender))
        return false;
    switch (head->wSubCmdID) {
    case INSTALL_SUB_HELLO:
        if (::IsChild(m_hWnd, sender))
            return false;
        OnInstallerHello(sender);
        return true;
    case INSTALL_SUB_NOTE: return true;
    case INSTALL_SUB_INSTALLED:
    case INSTALL_SUB_PROGRESS: {
        if (data == NULL || dataSize < sizeof(tagInstallStatus))
            return false;
        tagInstallStatus status;
        memcpy(&status, data, sizeof(status));
        status.szText[sizeof(status.szText) - 1] = '\0';
        if (head->wSubCmdID == INSTALL_SUB_PROGRESS)
            OnInstallProgress(status);
        else
            OnInstalled(status);
        return true;
    }
    default: return false;
    }
}

void CDownLoadDlg::OnInstallerHello(HWND hSender)
{
    m_hInstallerWnd = hSender;
    for (INT_PTR i = 0; i < m_InstallQueue.GetSize(); i++)
        SendToInstaller(INSTALL_MAIN_RECORD, INSTALL_SUB_RECORD, m_InstallQueue[i], sizeof(tagInstallStatus));
}

void CDownLoadDlg::OnInstallProgress(const tagInstallStatus& status)
{
    int nInstall = FindInstall(status.wID);
    if (nInstall >= 0) {
        m_InstallQueue[nInstall]->dwDone = status.dwDone;
        m_InstallQueue[nInstall]->dwTotal = status.dwTotal;
    }
    if (m_List.GetSafeHwnd() == NULL)
        return;
    int nRow = m_List.FindRow(status.wID);
    if (nRow < 0)
        return;
    m_List.SetItemText(nRow, 2, ProgressText(InstallPercent(status.dwDone, status.dwTotal), "正在安装"));
    m_List.SetItemText(nRow, 3, NumberText("%d(KB/S)", 0));
}

void CDownLoadDlg::OnInstalled(const tagInstallStatus& status)
{
    int nInstall = FindInstall(status.wID);
    if (nInstall >= 0) {
        delete m_InstallQueue[nInstall];
        m_InstallQueue.RemoveAt(nInstall);
        if (m_InstallQueue.GetSize() == 0)
            SendToInstaller(INSTALL_MAIN_CONTROL, INSTALL_SUB_QUEUE_EMPTY, NULL, 0);
    }
    int nRow = m_List.GetSafeHwnd() != NULL ? m_List.FindRow(status.wID) : -1;
    if (nRow < 0) {
        if (m_List.GetSafeHwnd() != NULL && m_List.GetItemCount() == 0)
            OnCancel();
        return;
    }
    CString name = m_List.GetItemText(nRow, 0);
    if (nRow == m_List.GetSelectedRow()) {
        m_List.ClearSelection();
        if (m_btCancelOne.GetSafeHwnd() != NULL)
            m_btCancelOne.EnableWindow(FALSE);
    }
    m_List.DeleteItem(nRow);
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL && pMain->GetSafeHwnd() != NULL)
        pMain->SendMessage(WM_GAME_INSTALLED);
    CString text;
    text.Format("%s已经更新完毕", (LPCSTR)name);
    HALLMSGBOXPARAMS params;
    TextCopyField(params.szCaptions[SKINMB_CAPTION_OK], "确定");
    SkinMessageBox(NULL, text, "提示消息", MB_ICONINFORMATION, &params);
    if (m_hWnd != NULL && m_List.GetSafeHwnd() != NULL && m_List.GetItemCount() == 0)
        OnCancel();
}

// ------------------------------------------------------------------ buttons and the list

void CDownLoadDlg::OnRowSelected(int nRow)
{
    const WORD wID = (WORD)m_List.GetItemData(nRow);
    const tagDownLoadMission* pMission = FindMission(wID);
    if (m_btCancelOne.GetSafeHwnd() != NULL)
        m_btCancelOne.EnableWindow(pMission != NULL && pMission->cbState == 1);
}

void CDownLoadDlg::OnOK()
{
    if (m_List.GetSelectedID() < 0)
        return;
    IDownLoadService* pService = g_GlobalUnits.m_DownLoadServiceHelper.GetInterface();
    if (pService != NULL)
        pService->CancelMission((WORD)m_List.GetSelectedID());
    m_List.ClearSelection();
    if (m_btCancelOne.GetSafeHwnd() != NULL)
        m_btCancelOne.EnableWindow(FALSE);
}

void CDownLoadDlg::OnCancel()
{
    IDownLoadService* pService = g_GlobalUnits.m_DownLoadServiceHelper.GetInterface();
    if (pService != NULL)
        pService->CancelAllMissions();
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
}

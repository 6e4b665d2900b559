#include "CustomFace.h"

#include <afxinet.h>

#include <memory>
#include <vector>

#include "MD5Encrypt.h"
#include "PictureMemFile.h"
#include "QuillonDlg.h"
#include "ServiceGlobalUnits.h"
#include "SkinScrollWnd.h"
#include "res/resource.h"

namespace
{

// Agreed with the custom-face server; it only enters the request's sign.
const char kSignKey[] = "36205718";

const CRect kHostedArea(3, 54, 270, 260);
const CRect kPreviewBox(211, 15, 253, 57);
const COLORREF kBorderColour = RGB(29, 82, 90);
const COLORREF kTitleColour = RGB(0, 90, 103);

CString ProgramFolder()
{
    char szModule[MAX_PATH] = "";
    GetModuleFileNameA(NULL, szModule, sizeof(szModule));
    CString strModule(szModule);
    return strModule.Left(strModule.ReverseFind('\\'));
}

} // namespace

BEGIN_MESSAGE_MAP(CCustomFace, CTabDlg)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_FACE_LOAD, OnLoadPicture)
    ON_BN_CLICKED(IDC_CLOSE_BUTTON, OnCloseCommand)
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_FACE_PICKED, OnFacePicked)
END_MESSAGE_MAP()

CCustomFace::CCustomFace(BOOL bCustomMode)
    : CTabDlg(IDD_FACE_PAGE), m_pScrollWnd(NULL), m_hScrollBitmap(NULL), m_strSignKey(kSignKey), m_pUploadThread(NULL),
      m_rcHosted(kHostedArea), m_rcPreview(kPreviewBox), m_nChosenIndex(-1), m_bCustomMode(bCustomMode),
      m_dwUploadUserID(0), m_hMainWnd(NULL)
{
    m_strUrlsFile = ProgramFolder() + "\\config\\Urls.ini";
}

CCustomFace::~CCustomFace()
{
    StopUploadThread();
    if (m_hScrollBitmap != NULL)
        ::DeleteObject(m_hScrollBitmap);
}

void CCustomFace::DoDataExchange(CDataExchange* pDX)
{
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FACE_LOAD, m_btLoad);
}

BOOL CCustomFace::OnInitDialog()
{
    CTabDlg::OnInitDialog();
    HINSTANCE hResource = AfxGetResourceHandle();
    m_ImagePreview.SetLoadInfo(IDB_FACE_BUTTON, hResource);
    m_ImageLine.SetLoadInfo(IDB_FACE_LINE, hResource);
    m_btLoad.LoadRgnImage(hResource, IDB_FACE_LOAD, RGB(255, 0, 255));
    m_BorderPen.CreatePen(PS_SOLID, 1, kBorderColour);
    if (!m_bCustomMode)
        m_btLoad.EnableWindow(FALSE);
    if (m_bCustomMode) {
        if (m_FaceCustom.Create(IDD_FACE_CUSTOM, this)) {
            m_FaceCustom.SetOwnerWnd(this);
            m_FaceCustom.MoveWindow(m_rcHosted.left, m_rcHosted.top, m_rcHosted.Width(), m_rcHosted.Height());
            m_FaceCustom.ShowWindow(SW_SHOW);
        }
    } else if (m_FaceFrame.Create(IDD_FACE_CUSTOM, this)) {
        m_FaceFrame.SetOwnerWnd(this);
        m_hScrollBitmap = ::LoadBitmap(hResource, MAKEINTRESOURCE(IDB_FACE_SCROLL));
        m_pScrollWnd = CSkinScrollWnd::Attach(&m_FaceFrame, m_hScrollBitmap);
        m_FaceFrame.ShowWindow(SW_SHOW);
        if (m_pScrollWnd != NULL) {
            m_pScrollWnd->ShowWindow(SW_SHOW);
            m_pScrollWnd->MoveWindow(m_rcHosted.left, m_rcHosted.top, m_rcHosted.Width(), m_rcHosted.Height());
        }
        m_FaceFrame.BuildGrid();
    }
    return TRUE;
}

void CCustomFace::RefreshFromData()
{
    InvalidateRect(&m_rcPreview, TRUE);
}

bool CCustomFace::Submit(IQuillonDataCenter*)
{
    if (m_bCustomMode) {
        // Nothing to send without a crop, and one upload at a time.
        if (!IsUploading() && m_FaceCustom.GetCroppedPicture()->IsValid())
            StartUpload();
        return true;
    }
    if (m_nChosenIndex >= 0 && m_nChosenIndex != int(g_ServiceUnits.GetUserData()->wFaceID)) {
        if (CWnd* pMain = GetMainDialog())
            pMain->SendMessage(WM_QUILLON_FACE, FACE_CHANGE_SYSTEM, LPARAM(m_nChosenIndex));
    }
    return true;
}

BOOL CCustomFace::IsUploading() const
{
    return m_pUploadThread != NULL && ::WaitForSingleObject(m_pUploadThread->m_hThread, 0) == WAIT_TIMEOUT;
}

BOOL CCustomFace::StartUpload()
{
    if (IsUploading())
        return FALSE;
    // A finished worker's object is ours to delete.
    if (m_pUploadThread != NULL) {
        ::CloseHandle(m_pUploadThread->m_hThread);
        m_pUploadThread->m_hThread = NULL;
        delete m_pUploadThread;
        m_pUploadThread = NULL;
    }
    m_UploadPicture.Copy(*m_FaceCustom.GetCroppedPicture());
    m_dwUploadUserID = g_ServiceUnits.GetUserData()->dwUserID;
    CWnd* pMain = GetMainDialog();
    m_hMainWnd = pMain != NULL ? pMain->GetSafeHwnd() : NULL;

    CWinThread* pThread = new CWinThread(UploadThread, this);
    pThread->m_bAutoDelete = FALSE;
    if (!pThread->CreateThread(CREATE_SUSPENDED)) {
        delete pThread;
        return FALSE;
    }
    ::SetThreadPriority(pThread->m_hThread, THREAD_PRIORITY_NORMAL);
    m_pUploadThread = pThread;
    ::ResumeThread(pThread->m_hThread);
    return TRUE;
}

void CCustomFace::StopUploadThread()
{
    if (m_pUploadThread == NULL)
        return;
    HANDLE hThread = m_pUploadThread->m_hThread;
    if (hThread != NULL) {
        if (::WaitForSingleObject(hThread, kStopWait) != WAIT_OBJECT_0)
            ::TerminateThread(hThread, 0xFFFFFFFF);
        ::CloseHandle(hThread);
        m_pUploadThread->m_hThread = NULL;
    }
    delete m_pUploadThread;
    m_pUploadThread = NULL;
}

BOOL CCustomFace::StoreFace(CPicture* pPicture, DWORD dwUserID, LPCSTR pszName)
{
    if (pPicture == NULL)
        return FALSE;
    if (pPicture->IsValid()) {
        // The dump is sized by the picture, not by a fixed buffer.
        std::vector<BYTE> dump(pPicture->DumpSize());
        DWORD dwSize = dump.empty() ? 0 : pPicture->Dump(dump.data(), DWORD(dump.size()));
        ICustomFaceRes* pFaces = g_ServiceUnits.m_CustomFaceModule.GetInterface();
        if (pFaces != NULL && dwSize != 0)
            pFaces->PutFace(dwUserID, pszName, dump.data(), dwSize);
    }
    HWND hMain = m_hMainWnd;
    if (hMain == NULL) {
        CWnd* pMain = GetMainDialog();
        hMain = pMain != NULL ? pMain->GetSafeHwnd() : NULL;
    }
    if (hMain != NULL)
        ::SendMessage(hMain, WM_QUILLON_FACE, FACE_CHANGE_CUSTOM, 0);
    return TRUE;
}

CString CCustomFace::MakeName(const CPicture& picture)
{
    std::vector<BYTE> dump(picture.IsValid() ? picture.DumpSize() : 0);
    DWORD dwSize = dump.empty() ? 0 : picture.Dump(dump.data(), DWORD(dump.size()));
    char szName[CMD5Encrypt::kHexLength + 1] = "";
    CMD5Encrypt::EncryptData(dump.data(), dwSize, szName);
    return szName;
}

CString CCustomFace::MakeSign(DWORD dwUserID, LPCSTR pszName, LPCSTR pszKey)
{
    CString strText;
    strText.Format("%dpng%s%s", int(dwUserID), pszName, pszKey);
    char szSign[CMD5Encrypt::kHexLength + 1] = "";
    CMD5Encrypt::EncryptData(LPCSTR(strText), szSign);
    return szSign;
}

int CCustomFace::ShowBox(LPCSTR pszText)
{
    return ServiceMessageBox(m_hMainWnd, pszText);
}

UINT CCustomFace::UploadThread(LPVOID pParam)
{
    return static_cast<CCustomFace*>(pParam)->Upload();
}

UINT CCustomFace::Upload()
{
    char szUrl[261] = "";
    ::GetPrivateProfileStringA("CustomFace", "updateurl", "", szUrl, 260, m_strUrlsFile);
    CPicture& picture = m_UploadPicture;
    DWORD dwService = 0;
    CString strServer, strObject;
    INTERNET_PORT nPort = 0;
    if (!AfxParseURL(szUrl, dwService, strServer, strObject, nPort)) {
        ShowBox("您的链接有误，上传失败，请稍候再试!");
        return 0;
    }
    if (picture.GetType() != PICTURE_TYPE_PNG)
        picture.SetType(PICTURE_TYPE_PNG);
    g_ServiceUnits.ShowTip("正在上传头像，请稍候！", -1);

    std::unique_ptr<CInternetSession> session;
    std::unique_ptr<CHttpConnection> connection;
    std::unique_ptr<CHttpFile> request;
    try {
        session.reset(new CInternetSession);
        session->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, DWORD(5000));
        session->SetOption(INTERNET_OPTION_CONNECT_RETRIES, DWORD(1));
        connection.reset(session->GetHttpConnection(strServer, nPort));

        CString strName = MakeName(picture);
        CString strSign = MakeSign(m_dwUploadUserID, strName, m_strSignKey);
        CString strRequest;
        strRequest.Format("%s?uid=%d&type=png&name=%s&sign=%s", LPCSTR(strObject), int(m_dwUploadUserID),
                          LPCSTR(strName), LPCSTR(strSign));
        request.reset(connection->OpenRequest(CHttpConnection::HTTP_VERB_POST, strRequest, NULL, 1, NULL, NULL,
                                              INTERNET_FLAG_EXISTING_CONNECT));
        CPictureMemFile body;
        if (!picture.Encode(body, PICTURE_TYPE_PNG))
            body.Close();
        request->SendRequest(NULL, 0, body.GetBuffer(), body.GetSize());

        g_ServiceUnits.HideTip();
        DWORD dwStatus = 0;
        request->QueryInfoStatusCode(dwStatus);
        if (dwStatus != HTTP_STATUS_OK) {
            ShowBox("上传失败，请稍候再试!");
            return 0;
        }
        char buffer[1024];
        while (request->Read(buffer, sizeof(buffer)) != 0) {}
        StoreFace(&picture, m_dwUploadUserID, strName);
        ShowBox("上传成功!");
        body.Close();
        request->Close();
        session->Close();
        return 1;
    } catch (CException* e) {
        // A transport failure is a failed upload: the tip goes and the user is told.
        e->Delete();
    }
    g_ServiceUnits.HideTip();
    ShowBox("上传失败，请稍候再试!");
    return 0;
}

BOOL CCustomFace::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CCustomFace::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.FillSolidRect(&rcClient, RGB(255, 255, 255));
    CPen* pOldPen = dc.SelectObject(&m_BorderPen);
    dc.MoveTo(rcClient.left, rcClient.top);
    dc.LineTo(rcClient.left, rcClient.bottom - 1);
    dc.LineTo(rcClient.right - 1, rcClient.bottom - 1);
    dc.LineTo(rcClient.right - 1, rcClient.top - 1);
    dc.SelectObject(pOldPen);

    if (!m_ImagePreview.IsNull())
        m_ImagePreview.BitBlt(dc.GetSafeHdc(), m_rcPreview.left, m_rcPreview.top);
    if (!m_ImageLine.IsNull())
        m_ImageLine.StretchBlt(dc.GetSafeHdc(), CRect(8, 73, 8 + 248, 73 + 2));

    CRect rcFace(m_rcPreview);
    rcFace.DeflateRect(5, 5);
    CPicture* pCropped = m_FaceCustom.GetCroppedPicture();
    if (m_FaceCustom.GetSafeHwnd() != NULL && m_FaceCustom.IsWindowVisible() && pCropped->IsValid()) {
        pCropped->Draw(dc.GetSafeHdc(), rcFace.left, rcFace.top, rcFace.Width(), rcFace.Height());
    } else if (m_nChosenIndex >= 0) {
        if (IUserFaceRes* pFaces = g_ServiceUnits.m_UserFaceModule.GetInterface())
            pFaces->DrawFaceInRect(WORD(m_nChosenIndex), 0, &dc, &rcFace);
    }
}

void CCustomFace::OnSize(UINT nType, int cx, int cy)
{
    CTabDlg::OnSize(nType, cx, cy);
    CRgn region;
    region.CreateRoundRectRgn(0, 0, cx + 1, cy + 1, 4, 4);
    SetWindowRgn(HRGN(region.Detach()), TRUE);
    const CRect& a = m_rcHosted;
    if (m_pScrollWnd != NULL && m_pScrollWnd->GetSafeHwnd() != NULL)
        m_pScrollWnd->MoveWindow(a.left + 1, a.top + 25, a.Width() - 2, a.Height() - 28);
    if (m_FaceCustom.GetSafeHwnd() != NULL)
        m_FaceCustom.MoveWindow(a.left + 6, a.top + 31, a.Width() - 16, a.Height() - 40);
}

void CCustomFace::OnLoadPicture()
{
    if (m_FaceCustom.GetSafeHwnd() != NULL)
        m_FaceCustom.LoadPictureFile();
}

HBRUSH CCustomFace::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    int nID = pWnd != NULL ? pWnd->GetDlgCtrlID() : 0;
    if (nID >= IDC_FACE_TITLE && nID <= IDC_FACE_PREVIEW_LABEL) {
        if (nID <= IDC_FACE_CHOOSE)
            pDC->SetTextColor(kTitleColour);
        pDC->SetBkMode(TRANSPARENT);
        return HBRUSH(::GetStockObject(NULL_BRUSH));
    }
    return CTabDlg::OnCtlColor(pDC, pWnd, nCtlColor);
}

LRESULT CCustomFace::OnFacePicked(WPARAM wParam, LPARAM)
{
    RegisterForSubmit();
    m_nChosenIndex = int(wParam);
    InvalidateRect(&m_rcPreview, TRUE);
    return 0;
}

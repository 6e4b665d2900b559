#include "PopupWnd.h"

#include "HallLinks.h"
#include "HttpDownLoad.h"
#include "core/GlobalUnits.h"

#include <tinyxml.h>

namespace
{

const UINT WM_POPUP_PICTURE = WM_USER + 3038;
const COLORREF kTextColour = RGB(10, 51, 53);
const COLORREF kHoverColour = RGB(255, 0, 0);

// What one download needs; the worker owns it.
struct tagPictureJob
{
    CString strUrl;
    CString strFile;
    HWND hNotify;
    int nNotice;
};

DWORD WINAPI PictureWorker(LPVOID pParam)
{
    tagPictureJob* pJob = static_cast<tagPictureJob*>(pParam);
    CString strTemp = pJob->strFile + ".tmp";
    BOOL bDone = FALSE;
    {
        CHttpDownLoad download;
        if (download.DownloadToFile(pJob->strUrl, strTemp) && ::GetFileAttributes(strTemp) != INVALID_FILE_ATTRIBUTES) {
            DWORD dwAttributes = ::GetFileAttributes(pJob->strFile);
            if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY))
                ::SetFileAttributes(pJob->strFile, dwAttributes & ~FILE_ATTRIBUTE_READONLY);
            bDone = ::MoveFileEx(strTemp, pJob->strFile, MOVEFILE_REPLACE_EXISTING);
        }
    }
    ::PostMessage(pJob->hNotify, WM_POPUP_PICTURE, (WPARAM)pJob->nNotice, bDone);
    delete pJob;
    return 0;
}

CString ElementText(const TiXmlElement* pElement)
{
    const char* pszText = pElement != NULL ? pElement->GetText() : NULL;
    return pszText != NULL ? CString(pszText) : CString();
}

bool IsPlainFile(LPCTSTR pszPath)
{
    DWORD dw = ::GetFileAttributes(pszPath);
    return dw != INVALID_FILE_ATTRIBUTES && (dw & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

bool ParsePopupNotice(LPCSTR pszText, tagPopupNotice& notice)
{
    notice = tagPopupNotice();
    notice.nKind = 0;
    notice.cbImageType = 0;
    if (pszText == NULL || pszText[0] == '\0')
        return false;
    TiXmlDocument document;
    document.Parse(pszText, NULL, TIXML_ENCODING_LEGACY);
    const TiXmlElement* pRoot = document.Error() ? NULL : document.RootElement();
    if (pRoot == NULL || strcmp(pRoot->Value(), "content") != 0) {
        notice.nKind = 2;
        notice.strText = pszText;
        return true;
    }
    int nType = 0;
    if (pRoot->QueryIntAttribute("type", &nType) == TIXML_WRONG_TYPE)
        return false;
    if (nType < 0 || nType > 2)
        return false;
    notice.nKind = nType + 1;
    bool bAny = false;
    if (nType != 0) {
        for (const char* pszName : {"text", "title"}) {
            const TiXmlElement* pElement = pRoot->FirstChildElement(pszName);
            if (pElement == NULL)
                continue;
            bAny = true;
            (strcmp(pszName, "text") == 0 ? notice.strText : notice.strTitle) = ElementText(pElement);
        }
    }
    if (const TiXmlElement* pLink = pRoot->FirstChildElement("link")) {
        bAny = true;
        notice.strLink = ElementText(pLink);
    }
    if (nType != 1) {
        const TiXmlElement* pImage = pRoot->FirstChildElement("image");
        int nImageType = 0;
        if (pImage != NULL && pImage->QueryIntAttribute("type", &nImageType) == TIXML_SUCCESS &&
            (nImageType == 1 || nImageType == 2)) {
            bAny = true;
            notice.cbImageType = (BYTE)nImageType;
            notice.strImage = ElementText(pImage);
        }
    }
    return bAny;
}

// ------------------------------------------------------------------ CPopupWnd

BEGIN_MESSAGE_MAP(CPopupWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(WM_POPUP_NOTIFY, OnPopupNotify)
    ON_MESSAGE(WM_POPUP_PICTURE, OnPictureDone)
END_MESSAGE_MAP()

CPopupWnd::CPopupWnd() : m_ptAnchor(-1, -1), m_size(kDefaultWidth, kDefaultHeight), m_hWorker(NULL), m_nWorkerNotice(-1)
{}

CPopupWnd::~CPopupWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    StopWorker();
    for (INT_PTR i = 0; i < m_Notices.GetSize(); ++i) {
        m_Notices[i].pNotice->RemoveAllItems();
        delete m_Notices[i].pNotice;
        delete m_Notices[i].pPicture;
    }
    m_Notices.RemoveAll();
}

BOOL CPopupWnd::Create(CWnd* pFrame)
{
    return CWnd::Create(NULL, NULL, WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), pFrame, 0);
}

int CPopupWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The program folder as the global units hold it; the process's
    // current folder is left alone.
    m_strResFolder = CString(g_GlobalUnits.GetWorkDirectory()) + "res\\addin\\popupmsg\\";
    m_Back.Load(m_strResFolder + "popupback.bmp");
    m_Close.Load(m_strResFolder + "close.png");
    m_Lookup.Load(m_strResFolder + "lookup.png");
    if (m_Back.IsValid())
        m_size = CSize((int)m_Back.GetWidth(), (int)m_Back.GetHeight());
    return 0;
}

void CPopupWnd::OnDestroy()
{
    StopWorker();
    CWnd::OnDestroy();
}

void CPopupWnd::StopWorker()
{
    m_Waiting.clear();
    if (m_hWorker == NULL)
        return;
    // A download that does not end in time is left to finish on its own:
    // it owns what it touches and only posts to this window.
    ::WaitForSingleObject(m_hWorker, kWorkerWait);
    ::CloseHandle(m_hWorker);
    m_hWorker = NULL;
    m_nWorkerNotice = -1;
}

void CPopupWnd::ShowPopup(LPCSTR pszText)
{
    tagPopupNotice parsed;
    if (GetSafeHwnd() == NULL || !ParsePopupNotice(pszText, parsed))
        return;
    CVKPopupControl* pNotice = new CVKPopupControl(FALSE);
    pNotice->m_nKind = parsed.nKind;
    pNotice->m_strText = parsed.strText;
    pNotice->m_strTitle = parsed.strTitle;
    pNotice->m_strLink = parsed.strLink;
    pNotice->m_cbPicture = parsed.cbImageType;
    if (parsed.cbImageType == 2)
        pNotice->m_strPicturePath = CString(g_GlobalUnits.GetWorkDirectory()) + parsed.strImage;
    else if (parsed.cbImageType == 1)
        pNotice->m_strPictureUrl = parsed.strImage;

    tagNoticeEntry entry = {pNotice, new CPicture, false};
    const int nID = (int)m_Notices.GetSize();
    pNotice->m_nNoticeID = nID;
    const bool bDownload =
        (parsed.nKind == 1 || parsed.nKind == 3) && parsed.cbImageType == 1 && !parsed.strImage.IsEmpty();
    if (bDownload) {
        char szTemp[MAX_PATH] = "";
        ::GetTempPath(MAX_PATH, szTemp);
        pNotice->m_strPicturePath.Format("%s%u_%d.jpg", szTemp, (unsigned)::GetTickCount(), nID);
        // Timer ids start at 1: 0 is no timer.
        SetTimer(nID + 1, kPictureCheck, NULL);
        pNotice->SetSize(m_size.cx, m_size.cy);
        Place(pNotice);
        m_Notices.Add(entry);
        m_Waiting.push_back(nID);
        StartNextDownload();
        return;
    }
    m_Notices.Add(entry);
    tagNoticeEntry& added = m_Notices[nID];
    ApplyShowSettings(pNotice);
    BuildItems(added);
    pNotice->SetSize(m_size.cx, m_size.cy);
    Place(pNotice);
    pNotice->Show(this);
}

void CPopupWnd::StartNextDownload()
{
    while (m_hWorker == NULL && !m_Waiting.empty()) {
        const int nID = m_Waiting.front();
        m_Waiting.pop_front();
        CVKPopupControl* pNotice = m_Notices[nID].pNotice;
        tagPictureJob* pJob = new tagPictureJob{pNotice->m_strPictureUrl, pNotice->m_strPicturePath, m_hWnd, nID};
        DWORD dwThread = 0;
        m_hWorker = ::CreateThread(NULL, 0, PictureWorker, pJob, 0, &dwThread);
        if (m_hWorker == NULL) {
            // No thread: this notice stays waiting, the next one may start.
            delete pJob;
            KillTimer(nID + 1);
            continue;
        }
        m_nWorkerNotice = nID;
    }
}

LRESULT CPopupWnd::OnPictureDone(WPARAM wParam, LPARAM lParam)
{
    const int nID = (int)wParam;
    if (m_hWorker != NULL && nID == m_nWorkerNotice) {
        ::WaitForSingleObject(m_hWorker, INFINITE);
        ::CloseHandle(m_hWorker);
        m_hWorker = NULL;
        m_nWorkerNotice = -1;
    }
    if (nID >= 0 && nID < m_Notices.GetSize()) {
        if (lParam)
            m_Notices[nID].bReady = true;
        else
            KillTimer(nID + 1); // the picture will not come: the notice stays unshown
    }
    StartNextDownload();
    return 0;
}

void CPopupWnd::OnTimer(UINT_PTR nIDEvent)
{
    const INT_PTR nID = (INT_PTR)nIDEvent - 1;
    if (nID < 0 || nID >= m_Notices.GetSize()) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    tagNoticeEntry& entry = m_Notices[nID];
    if (!entry.bReady)
        return;
    entry.bReady = false;
    if (!IsPlainFile(entry.pNotice->m_strPicturePath))
        return;
    KillTimer(nIDEvent);
    ApplyShowSettings(entry.pNotice);
    BuildItems(entry);
    entry.pNotice->Show(this);
}

void CPopupWnd::ApplyShowSettings(CVKPopupControl* pNotice)
{
    pNotice->SetTransparency(255);
    pNotice->SetDraggable(FALSE);
    pNotice->SetAnimateTime(250);
    pNotice->SetAnimation(CVKPopupControl::ANIMATE_FADE);
    pNotice->SetShowTime(25000);
}

void CPopupWnd::BuildItems(tagNoticeEntry& entry)
{
    CVKPopupControl* pNotice = entry.pNotice;
    if (!m_Back.IsValid())
        return;
    const int W = m_size.cx, H = m_size.cy;
    const bool bLink = !pNotice->m_strLink.IsEmpty();
    pNotice->RemoveAllItems();
    pNotice->SetBackground(&m_Back);

    auto addButton = [&](CPicture& strip, int nID, int x, int yFromBottom) {
        if (!strip.IsValid())
            return;
        const int w = (int)strip.GetWidth() / 4, h = (int)strip.GetHeight();
        CVKPopupItem* pItem = pNotice->AddItem(new CVKPopupItem);
        pItem->m_nID = nID;
        pItem->m_bButton = TRUE;
        pItem->m_rcItem.SetRect(x - w, yFromBottom < 0 ? 1 : H - h - yFromBottom, x, 0);
        pItem->SetPicture(&strip);
    };
    addButton(m_Close, ID_CLOSE, W - 4, -1);
    addButton(m_Lookup, ID_LOOKUP, W - 8, 10);

    auto addPicture = [&](int x, int y, bool bCentred) {
        entry.pPicture->Load(pNotice->m_strPicturePath);
        CVKPopupItem* pItem = pNotice->AddItem(new CVKPopupItem);
        pItem->m_nID = ID_PICTURE;
        pItem->m_bLink = bLink;
        const int w = entry.pPicture->IsValid() ? (int)entry.pPicture->GetWidth() : 0;
        pItem->m_rcItem.SetRect(bCentred ? (W - w) / 2 : x, y, bCentred ? (W - w) / 2 : x, y);
        pItem->SetPicture(entry.pPicture); // an unreadable picture leaves the item empty
    };
    auto addText = [&](int nID, const CRect& rc, const CString& strText, UINT nAlign, BOOL bBold) {
        CVKPopupItem* pItem = pNotice->AddItem(new CVKPopupItem);
        pItem->m_nID = nID;
        pItem->m_bLink = bLink;
        pItem->m_bBold = bBold;
        pItem->m_bAlignDraw = TRUE;
        pItem->m_nAlign = nAlign;
        pItem->m_crNormal = kTextColour;
        pItem->m_crHover = bLink ? kHoverColour : (COLORREF)-1;
        pItem->m_rcItem = rc;
        pItem->SetText(strText);
        // The body wraps inside the notice.
        if (pItem->m_rcItem.bottom > H - 15 && nID == ID_BODY)
            pItem->m_rcItem.bottom = H - 15;
        return pItem;
    };
    const UINT kTitleAlign = DT_CENTER | DT_VCENTER;
    const UINT kBodyAlign = DT_WORDBREAK | DT_WORD_ELLIPSIS;
    int y = 31;
    switch (pNotice->m_nKind) {
    case 1: addPicture(0, 21, true); break;
    case 2:
        if (!pNotice->m_strTitle.IsEmpty())
            y += addText(ID_TITLE, CRect(0, y, W, y + 16), pNotice->m_strTitle, kTitleAlign, TRUE)->m_rcItem.Height() +
                 10;
        addText(ID_BODY, CRect(15, y, W - 10, H - 15), pNotice->m_strText, kBodyAlign, FALSE);
        break;
    case 3:
        addPicture(21, 29, false);
        if (!pNotice->m_strTitle.IsEmpty())
            y += addText(ID_TITLE, CRect(107, y, W - 15, y + 16), pNotice->m_strTitle, kTitleAlign, TRUE)
                     ->m_rcItem.Height() +
                 10;
        addText(ID_BODY, CRect(107, y, W - 15, H - 15), pNotice->m_strText, kBodyAlign, FALSE);
        break;
    }
    if (pNotice->GetSafeHwnd() != NULL)
        pNotice->Invalidate(FALSE);
}

void CPopupWnd::Place(CVKPopupControl* pNotice)
{
    if (m_ptAnchor != CPoint(-1, -1))
        pNotice->SetFixedAnchor(m_ptAnchor);
    CPoint ptAnchor = pNotice->GetAnchorPoint();
    const CSize size = pNotice->GetSize();
    // Above every notice on screen that the new one would cover.
    for (bool bMoved = true; bMoved;) {
        bMoved = false;
        CRect rcNew(ptAnchor.x - size.cx, ptAnchor.y - size.cy, ptAnchor.x, ptAnchor.y);
        for (INT_PTR i = 0; i < m_Notices.GetSize(); ++i) {
            CVKPopupControl* pOther = m_Notices[i].pNotice;
            if (pOther == pNotice || pOther->GetSafeHwnd() == NULL)
                continue;
            CPoint ptOther = pOther->GetAnchorPoint();
            CRect rcOther(ptOther - pOther->GetSize(), ptOther);
            CRect rcCommon;
            if (rcCommon.IntersectRect(&rcNew, &rcOther)) {
                ptAnchor.y = rcOther.top;
                bMoved = true;
                break;
            }
        }
    }
    pNotice->SetFixedAnchor(ptAnchor);
}

LRESULT CPopupWnd::OnPopupNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam == POPUP_NOTIFY_MOVED) {
        m_ptAnchor = reinterpret_cast<CVKPopupControl*>(lParam)->GetAnchorPoint();
        return 0;
    }
    if (wParam != POPUP_NOTIFY_CLICK)
        return 0;
    CVKPopupItem* pItem = reinterpret_cast<CVKPopupItem*>(lParam);
    CVKPopupControl* pNotice = pItem->m_pOwner;
    if (pNotice == NULL)
        return 0;
    if (pItem->m_nID == ID_CLOSE) {
        pNotice->Close();
        return 0;
    }
    if (pItem->m_nID >= ID_PICTURE && pItem->m_nID <= ID_LOOKUP && !pNotice->m_strLink.IsEmpty())
        OpenLink(pNotice->m_strLink);
    return 0;
}

void CPopupWnd::OpenLink(const CString& strLink)
{
    if (strLink.Find("tavrel://") >= 0) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SendMessage(WM_HALL_LINK_COMMAND, (WPARAM)(LPCSTR)strLink, 0);
        return;
    }
    // Only web addresses: a notice must not start local programs.
    if (CHallLinks::IsWebAddress(strLink))
        OpenUrlInBrowser(strLink, SW_SHOWNORMAL);
}

#include "Twain.h"

#include <string.h>

namespace
{

void SetText(TW_STR32& field, const char* pszText)
{
    memset(field, 0, sizeof(field));
    strncpy(field, pszText, sizeof(field) - 2);
}

} // namespace

CTwain::CTwain()
    : m_hModule(NULL), m_pEntry(NULL), m_wReturnCode(TWRC_SUCCESS), m_hMessageWnd(NULL), m_bSourceSelected(FALSE),
      m_bManagerOpen(FALSE), m_bSourceOpen(FALSE), m_bSourceEnabled(FALSE), m_bModalUI(TRUE), m_nImageCount(-1)
{
    memset(&m_AppIdentity, 0, sizeof(m_AppIdentity));
    memset(&m_SourceIdentity, 0, sizeof(m_SourceIdentity));
    memset(&m_Status, 0, sizeof(m_Status));
}

CTwain::~CTwain()
{
    StopLink();
}

void CTwain::FillAppIdentity(TW_IDENTITY& identity)
{
    identity.Id = 0;
    identity.Version.MajorNum = 3;
    identity.Version.MinorNum = 5;
    identity.Version.Language = 13;
    identity.Version.Country = 1;
    SetText(identity.Version.Info, "3.5");
    identity.ProtocolMajor = 1;
    identity.ProtocolMinor = 8;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    SetText(identity.Manufacturer, "ORPEL");
    SetText(identity.ProductFamily, "Generic");
    SetText(identity.ProductName, "Twain Test");
}

BOOL CTwain::StartLink(HWND hWnd)
{
    if (m_hModule != NULL)
        return TRUE;
    memset(&m_AppIdentity, 0, sizeof(m_AppIdentity));
    if (!::IsWindow(hWnd))
        return FALSE;
    m_hModule = ::LoadLibraryA("TWAIN_32.DLL");
    if (m_hModule != NULL) {
        m_pEntry =
            reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void*>(::GetProcAddress(m_hModule, MAKEINTRESOURCEA(1))));
        if (m_pEntry == NULL) {
            ::FreeLibrary(m_hModule);
            m_hModule = NULL;
        }
    }
    if (m_hModule == NULL)
        return FALSE;
    FillAppIdentity(m_AppIdentity);
    m_hMessageWnd = hWnd;
    HWND hParent = hWnd;
    m_bManagerOpen = CallSourceManager(&m_AppIdentity, NULL, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &hParent);
    return TRUE;
}

void CTwain::StopLink()
{
    if (m_hModule == NULL)
        return;
    CloseManager();
    ::FreeLibrary(m_hModule);
    m_hModule = NULL;
    m_pEntry = NULL;
}

BOOL CTwain::CallSourceManager(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                               TW_MEMREF pData)
{
    if (m_hModule == NULL || m_pEntry == NULL) {
        m_wReturnCode = TWRC_FAILURE;
        return FALSE;
    }
    m_wReturnCode = m_pEntry(pOrigin, pDest, DG, DAT, MSG, pData);
    if (m_wReturnCode != TWRC_SUCCESS)
        m_pEntry(pOrigin, pDest, DG_CONTROL, DAT_STATUS, MSG_GET, &m_Status);
    return m_wReturnCode == TWRC_SUCCESS;
}

BOOL CTwain::ChooseSource()
{
    memset(&m_SourceIdentity, 0, sizeof(m_SourceIdentity));
    if (!m_bSourceSelected)
        CallSourceManager(&m_AppIdentity, NULL, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &m_SourceIdentity);
    if (CallSourceManager(&m_AppIdentity, NULL, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &m_SourceIdentity))
        m_bSourceSelected = TRUE;
    return m_wReturnCode == TWRC_SUCCESS;
}

BOOL CTwain::OpenDataSource(TW_IDENTITY* pIdentity)
{
    if (pIdentity != NULL)
        m_SourceIdentity = *pIdentity;
    if (m_bManagerOpen) {
        if (!m_bSourceSelected)
            CallSourceManager(&m_AppIdentity, NULL, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &m_SourceIdentity);
        m_bSourceOpen =
            CallSourceManager(&m_AppIdentity, NULL, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &m_SourceIdentity);
    }
    return m_bSourceOpen;
}

BOOL CTwain::EnableDataSource(BOOL bShowUI)
{
    if (!m_bSourceOpen)
        return FALSE;
    TW_USERINTERFACE ui;
    memset(&ui, 0, sizeof(ui));
    ui.ShowUI = TW_BOOL(bShowUI);
    ui.ModalUI = TW_BOOL(m_bModalUI);
    ui.hParent = m_hMessageWnd;
    m_bSourceEnabled =
        CallSourceManager(&m_AppIdentity, &m_SourceIdentity, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui);
    return m_bSourceEnabled;
}

int CTwain::AskTransfer(TW_IMAGEINFO&)
{
    return 0;
}

void CTwain::DisableDataSource()
{
    if (!m_bSourceEnabled)
        return;
    TW_USERINTERFACE ui;
    memset(&ui, 0, sizeof(ui));
    ui.hParent = m_hMessageWnd;
    CallSourceManager(&m_AppIdentity, &m_SourceIdentity, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui);
    m_bSourceEnabled = FALSE;
}

BOOL CTwain::MayCloseSource()
{
    return TRUE;
}

BOOL CTwain::FilterMessage(MSG* pMsg)
{
    if (!m_bSourceEnabled || m_pEntry == NULL)
        return FALSE;
    TW_EVENT event;
    event.pEvent = pMsg;
    event.TWMessage = MSG_NULL;
    // Asked for every message: no status query on a refusal.
    m_wReturnCode = m_pEntry(&m_AppIdentity, &m_SourceIdentity, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
    const TW_UINT16 wReturnCode = m_wReturnCode;
    switch (event.TWMessage) {
    case MSG_XFERREADY: RunTransfers(); break;
    case MSG_CLOSEDSREQ:
        if (MayCloseSource())
            CloseDataSource();
        break;
    default: break;
    }
    return wReturnCode == TWRC_DSEVENT;
}

BOOL CTwain::ReadImageInfo(TW_IMAGEINFO& info)
{
    memset(&info, 0, sizeof(info));
    return CallSourceManager(&m_AppIdentity, &m_SourceIdentity, DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info);
}

BOOL CTwain::TransferNativeImage(HANDLE& hBitmap)
{
    hBitmap = NULL;
    CallSourceManager(&m_AppIdentity, &m_SourceIdentity, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &hBitmap);
    return m_wReturnCode == TWRC_XFERDONE;
}

BOOL CTwain::EndOneTransfer()
{
    TW_PENDINGXFERS pending;
    memset(&pending, 0, sizeof(pending));
    CallSourceManager(&m_AppIdentity, &m_SourceIdentity, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    return pending.Count != 0;
}

void CTwain::CancelTransfers()
{
    TW_PENDINGXFERS pending;
    memset(&pending, 0, sizeof(pending));
    CallSourceManager(&m_AppIdentity, &m_SourceIdentity, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
}

void CTwain::CloseDataSource()
{
    DisableDataSource();
    if (m_bSourceOpen) {
        CallSourceManager(&m_AppIdentity, NULL, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &m_SourceIdentity);
        m_bSourceOpen = FALSE;
    }
}

void CTwain::CloseManager()
{
    CloseDataSource();
    if (m_bManagerOpen) {
        HWND hParent = m_hMessageWnd;
        CallSourceManager(&m_AppIdentity, NULL, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &hParent);
        m_bManagerOpen = FALSE;
    }
}

void CTwain::RunTransfers()
{
    bool bGoingOn = true;
    while (bGoingOn) {
        TW_IMAGEINFO info;
        // A source that refuses the information has nothing more to give.
        if (!ReadImageInfo(info)) {
            CancelTransfers();
            break;
        }
        switch (AskTransfer(info)) {
        case 0: {
            HANDLE hBitmap = NULL;
            if (TransferNativeImage(hBitmap)) {
                TakeImage(hBitmap, info);
                bGoingOn = EndOneTransfer() != FALSE;
            } else {
                CancelTransfers();
                bGoingOn = false;
            }
            if (hBitmap != NULL)
                ::GlobalFree(hBitmap);
            break;
        }
        case 1: bGoingOn = EndOneTransfer() != FALSE; break;
        default:
            CancelTransfers();
            bGoingOn = false;
            break;
        }
    }
}

// The link to image sources (scanners, cameras) through the source manager
// library "TWAIN_32.DLL". A window class derives from it, hands its window
// to StartLink and routes its messages through FilterMessage while a source
// is enabled; TakeImage receives each transferred picture.
#pragma once

#include <windows.h>

#include "TwainTypes.h"

class CTwain
{
public:
    CTwain();
    virtual ~CTwain();

    virtual void FillAppIdentity(TW_IDENTITY& identity);
    virtual BOOL ChooseSource();
    virtual BOOL OpenDataSource(TW_IDENTITY* pIdentity = NULL);
    // 0 transfer this image, 1 skip it, 2 cancel all.
    virtual int AskTransfer(TW_IMAGEINFO& info);
    virtual void DisableDataSource();
    virtual BOOL MayCloseSource();
    virtual void TakeImage(HANDLE hBitmap, TW_IMAGEINFO& info) = 0;

    // Loads the manager library and opens it for hWnd; FALSE without a
    // window, the library or its entry.
    BOOL StartLink(HWND hWnd);
    void StopLink();
    BOOL CallSourceManager(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                           TW_MEMREF pData);
    // TRUE when the enabled source claimed the message.
    BOOL FilterMessage(MSG* pMsg);
    BOOL EnableDataSource(BOOL bShowUI);
    BOOL ReadImageInfo(TW_IMAGEINFO& info);
    BOOL TransferNativeImage(HANDLE& hBitmap);
    BOOL EndOneTransfer();
    void CancelTransfers();
    void CloseDataSource();
    void CloseManager();
    void RunTransfers();

    BOOL IsLinked() const { return m_hModule != NULL; }
    BOOL IsSourceSelected() const { return m_bSourceSelected; }
    BOOL IsManagerOpen() const { return m_bManagerOpen; }
    BOOL IsSourceOpen() const { return m_bSourceOpen; }
    BOOL IsSourceEnabled() const { return m_bSourceEnabled; }
    TW_UINT16 GetReturnCode() const { return m_wReturnCode; }
    const TW_STATUS& GetStatus() const { return m_Status; }
    const TW_IDENTITY& GetAppIdentity() const { return m_AppIdentity; }
    const TW_IDENTITY& GetSourceIdentity() const { return m_SourceIdentity; }

protected:
    HMODULE m_hModule;
    DSMENTRYPROC m_pEntry;
    TW_IDENTITY m_AppIdentity;
    TW_IDENTITY m_SourceIdentity;
    TW_STATUS m_Status;
    TW_UINT16 m_wReturnCode;
    HWND m_hMessageWnd;
    BOOL m_bSourceSelected;
    BOOL m_bManagerOpen;
    BOOL m_bSourceOpen;
    BOOL m_bSourceEnabled;
    BOOL m_bModalUI;
    int m_nImageCount;

private:
    CTwain(const CTwain&);
    CTwain& operator=(const CTwain&);
};

// The stand-in source manager: answers the protocol for one source that
// plays the test's script and records every call.
#include "TwainStandIn.h"

#include <string.h>

#include <mutex>
#include <vector>

#include "TwainTypes.h"

namespace
{

std::mutex g_Lock;
tagStandInScript g_Script = {1, 64, 48, FALSE, FALSE, FALSE, 0};
int g_nInfoGiven = 0;
std::vector<tagStandInCall> g_Calls;
int g_nPending = 0;
TW_UINT16 g_wCondition = 0;

HANDLE MakeDib(int nWidth, int nHeight)
{
    const DWORD dwStride = DWORD((nWidth * 3 + 3) & ~3);
    const SIZE_T nSize = sizeof(BITMAPINFOHEADER) + SIZE_T(dwStride) * nHeight;
    HGLOBAL hDib = ::GlobalAlloc(GHND, nSize);
    if (hDib == NULL)
        return NULL;
    BYTE* p = static_cast<BYTE*>(::GlobalLock(hDib));
    BITMAPINFOHEADER* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(p);
    pHeader->biSize = sizeof(BITMAPINFOHEADER);
    pHeader->biWidth = nWidth;
    pHeader->biHeight = nHeight;
    pHeader->biPlanes = 1;
    pHeader->biBitCount = 24;
    pHeader->biCompression = BI_RGB;
    pHeader->biSizeImage = dwStride * nHeight;
    BYTE* pBits = p + sizeof(BITMAPINFOHEADER);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) {
            BYTE* px = pBits + y * dwStride + x * 3;
            px[0] = 0x30; // blue
            px[1] = 0x80; // green
            px[2] = 0xC0; // red
        }
    ::GlobalUnlock(hDib);
    return hDib;
}

TW_UINT16 Answer(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 wMsg, TW_MEMREF pData)
{
    if (DG == DG_CONTROL && DAT == DAT_STATUS && wMsg == MSG_GET) {
        if (pData == NULL)
            return TWRC_FAILURE;
        TW_STATUS* pStatus = static_cast<TW_STATUS*>(pData);
        pStatus->ConditionCode = g_wCondition;
        pStatus->Reserved = 0;
        return TWRC_SUCCESS;
    }
    if (DG == DG_CONTROL && DAT == DAT_PARENT) {
        if (wMsg == MSG_OPENDSM)
            return g_Script.bRefuseOpenManager ? TWRC_FAILURE : TWRC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (DG == DG_CONTROL && DAT == DAT_IDENTITY) {
        TW_IDENTITY* pIdentity = static_cast<TW_IDENTITY*>(pData);
        if (wMsg == MSG_USERSELECT && g_Script.bCancelSelect)
            return TWRC_CANCEL;
        if ((wMsg == MSG_GETDEFAULT || wMsg == MSG_USERSELECT) && pIdentity != NULL) {
            memset(pIdentity, 0, sizeof(*pIdentity));
            pIdentity->Id = 7;
            strcpy(pIdentity->ProductName, "Stand-in Source");
        }
        if (wMsg == MSG_OPENDS)
            g_nPending = 0;
        return TWRC_SUCCESS;
    }
    if (DG == DG_CONTROL && DAT == DAT_USERINTERFACE)
        return TWRC_SUCCESS;
    if (DG == DG_CONTROL && DAT == DAT_EVENT && wMsg == MSG_PROCESSEVENT) {
        TW_EVENT* pEvent = static_cast<TW_EVENT*>(pData);
        const MSG* pMsg = static_cast<const MSG*>(pEvent->pEvent);
        pEvent->TWMessage = MSG_NULL;
        if (pMsg != NULL && pMsg->message == WM_STANDIN_XFERREADY) {
            g_nPending = g_Script.nImages;
            pEvent->TWMessage = MSG_XFERREADY;
            return TWRC_DSEVENT;
        }
        if (pMsg != NULL && pMsg->message == WM_STANDIN_CLOSEREQ) {
            pEvent->TWMessage = MSG_CLOSEDSREQ;
            return TWRC_DSEVENT;
        }
        return TWRC_NOTDSEVENT;
    }
    if (DG == DG_IMAGE && DAT == DAT_IMAGEINFO && wMsg == MSG_GET) {
        // Nothing pending, or the scripted limit reached: the source refuses.
        if (g_nPending <= 0 || (g_Script.nInfoAnswers > 0 && g_nInfoGiven >= g_Script.nInfoAnswers)) {
            g_wCondition = 4; // sequence error
            return TWRC_FAILURE;
        }
        ++g_nInfoGiven;
        TW_IMAGEINFO* pInfo = static_cast<TW_IMAGEINFO*>(pData);
        memset(pInfo, 0, sizeof(*pInfo));
        pInfo->ImageWidth = g_Script.nWidth;
        pInfo->ImageLength = g_Script.nHeight;
        pInfo->SamplesPerPixel = 3;
        pInfo->BitsPerPixel = 24;
        return TWRC_SUCCESS;
    }
    if (DG == DG_IMAGE && DAT == DAT_IMAGENATIVEXFER && wMsg == MSG_GET) {
        if (g_Script.bFailTransfer || g_nPending <= 0)
            return TWRC_FAILURE;
        *static_cast<HANDLE*>(pData) = MakeDib(g_Script.nWidth, g_Script.nHeight);
        return TWRC_XFERDONE;
    }
    if (DG == DG_CONTROL && DAT == DAT_PENDINGXFERS) {
        TW_PENDINGXFERS* pPending = static_cast<TW_PENDINGXFERS*>(pData);
        if (wMsg == MSG_ENDXFER && g_nPending > 0)
            --g_nPending;
        if (wMsg == MSG_RESET)
            g_nPending = 0;
        pPending->Count = TW_UINT16(g_nPending);
        return TWRC_SUCCESS;
    }
    g_wCondition = 9; // bad protocol
    return TWRC_FAILURE;
}

} // namespace

extern "C" TW_UINT16 WINAPI DSM_Entry(TW_IDENTITY* pOrigin, TW_IDENTITY*, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 wMsg,
                                      TW_MEMREF pData)
{
    std::lock_guard<std::mutex> lock(g_Lock);
    TW_UINT16 wResult = pOrigin == NULL ? TWRC_FAILURE : Answer(DG, DAT, wMsg, pData);
    g_Calls.push_back({DWORD(DG), DAT, wMsg, wResult});
    return wResult;
}

extern "C" __declspec(dllexport) void __cdecl StandInScript(const tagStandInScript* pScript)
{
    std::lock_guard<std::mutex> lock(g_Lock);
    g_Script = *pScript;
    g_Calls.clear();
    g_nPending = 0;
    g_nInfoGiven = 0;
    g_wCondition = 0;
}

extern "C" __declspec(dllexport) int __cdecl StandInCallCount()
{
    std::lock_guard<std::mutex> lock(g_Lock);
    return int(g_Calls.size());
}

extern "C" __declspec(dllexport) BOOL __cdecl StandInGetCall(int nIndex, tagStandInCall* pCall)
{
    std::lock_guard<std::mutex> lock(g_Lock);
    if (nIndex < 0 || size_t(nIndex) >= g_Calls.size())
        return FALSE;
    *pCall = g_Calls[size_t(nIndex)];
    return TRUE;
}

// CCmdTarget: message-map look-up and command dispatch.
#include "AfxImpl.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CUserException, CException)

void AfxThrowUserException()
{
    throw new CUserException;
}

CCmdTarget::CCmdTarget() {}

CCmdTarget::~CCmdTarget() {}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP s_map = {nullptr, &s_entries[0]};
    return &s_map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage) const
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn != nullptr; ++pEntry) {
            if (pEntry->pnMessage != nullptr) {
                if (*pEntry->pnMessage == nMessage && nMessage != 0)
                    return pEntry;
            } else if (pEntry->nMessage == nMessage && pEntry->nCode == 0 && pEntry->nID == 0 &&
                       pEntry->nMessage != WM_COMMAND && pEntry->nMessage != WM_NOTIFY) {
                return pEntry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if ((UINT)nCode == CN_UPDATE_COMMAND_UI)
        return FALSE;
    // nCode carries the message in its high word (WM_NOTIFY, reflected forms).
    UINT nMsg = HIWORD((UINT)nCode);
    UINT nNotify = LOWORD((UINT)nCode);
    if (nMsg == 0)
        nMsg = WM_COMMAND;

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->pfn != nullptr; ++pEntry) {
            if (pEntry->pnMessage != nullptr || pEntry->nMessage != nMsg || pEntry->nCode != nNotify)
                continue;
            if (nID < pEntry->nID || nID > pEntry->nLastID)
                continue;
            if (pHandlerInfo != nullptr) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = pEntry;
                return TRUE;
            }
            AFX_MSGCALL call = {nMsg, 0, 0, nID, pExtra, 0};
            return pEntry->pfn(this, call);
        }
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor()
{
    ::SetCursor(::LoadCursor(NULL, IDC_WAIT));
}

void CCmdTarget::EndWaitCursor()
{
    ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
}

void CCmdTarget::RestoreWaitCursor()
{
    ::SetCursor(::LoadCursor(NULL, IDC_WAIT));
}

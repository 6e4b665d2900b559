// Thread and process state, the handle maps and the global accessors.
#include "AfxImpl.h"

#include <afxcmn.h>
#include <afxdllx.h>

#include <string.h>

// ------------------------------------------------------------------ thread state

static void WINAPI AfxFreeThreadState(void* pv);

static DWORD AfxThreadStateIndex()
{
    static const DWORD s_index = ::FlsAlloc(AfxFreeThreadState);
    return s_index;
}

static void AfxDeleteTemps(AFX_THREAD_STATE* pState);

static void WINAPI AfxFreeThreadState(void* pv)
{
    AFX_THREAD_STATE* pState = static_cast<AFX_THREAD_STATE*>(pv);
    if (pState == nullptr)
        return;
    AfxTermToolTips(pState);
    AfxDeleteTemps(pState);
    if (pState->m_hHookCbt != nullptr)
        ::UnhookWindowsHookEx(pState->m_hHookCbt);
    delete pState;
}

AFX_THREAD_STATE* AfxGetThreadState()
{
    DWORD index = AfxThreadStateIndex();
    AFX_THREAD_STATE* pState = static_cast<AFX_THREAD_STATE*>(::FlsGetValue(index));
    if (pState == nullptr) {
        pState = new AFX_THREAD_STATE;
        ::FlsSetValue(index, pState);
    }
    return pState;
}

void AfxTermThreadState()
{
    DWORD index = AfxThreadStateIndex();
    AFX_THREAD_STATE* pState = static_cast<AFX_THREAD_STATE*>(::FlsGetValue(index));
    if (pState == nullptr)
        return;
    ::FlsSetValue(index, nullptr);
    AfxFreeThreadState(pState);
}

// ------------------------------------------------------------------ handle maps

CObject* CAfxHandleMap::LookupPermanent(void* h)
{
    if (h == nullptr)
        return nullptr;
    AcquireSRWLockShared(&m_lock);
    auto it = m_permanent.find(h);
    CObject* p = it == m_permanent.end() ? nullptr : it->second;
    ReleaseSRWLockShared(&m_lock);
    return p;
}

CObject* CAfxHandleMap::LookupTemporary(void* h)
{
    if (h == nullptr)
        return nullptr;
    auto& temp = AfxGetThreadState()->m_temp[m_kind];
    auto it = temp.find(h);
    return it == temp.end() ? nullptr : it->second;
}

CObject* CAfxHandleMap::FromHandle(void* h)
{
    if (h == nullptr)
        return nullptr;
    if (CObject* p = LookupPermanent(h))
        return p;
    auto& temp = AfxGetThreadState()->m_temp[m_kind];
    auto it = temp.find(h);
    if (it != temp.end())
        return it->second;
    CObject* p = m_pfnNew(h);
    temp[h] = p;
    return p;
}

void CAfxHandleMap::SetPermanent(void* h, CObject* p)
{
    AcquireSRWLockExclusive(&m_lock);
    m_permanent[h] = p;
    ReleaseSRWLockExclusive(&m_lock);
}

void CAfxHandleMap::RemoveHandle(void* h, CObject* p)
{
    AcquireSRWLockExclusive(&m_lock);
    auto it = m_permanent.find(h);
    if (it != m_permanent.end() && it->second == p)
        m_permanent.erase(it);
    ReleaseSRWLockExclusive(&m_lock);
    // An object may also sit in this thread's temporary map (a temporary
    // object that was later attached elsewhere): that one stays a temporary.
}

void CAfxHandleMap::DeleteTemp(AFX_THREAD_STATE* pState)
{
    auto& temp = pState->m_temp[m_kind];
    std::unordered_map<void*, CObject*> doomed;
    doomed.swap(temp);
    for (auto& kv : doomed) {
        m_pfnClear(kv.second);
        delete kv.second;
    }
}

static CObject* NewTempWnd(void* h)
{
    CWnd* p = new CWnd;
    p->m_hWnd = (HWND)h;
    return p;
}
static void ClearTempWnd(CObject* p)
{
    static_cast<CWnd*>(p)->m_hWnd = NULL;
}

static CObject* NewTempDC(void* h)
{
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = (HDC)h;
    return p;
}
static void ClearTempDC(CObject* p)
{
    static_cast<CDC*>(p)->m_hDC = NULL;
    static_cast<CDC*>(p)->m_hAttribDC = NULL;
}

// A temporary GDI object is of the class of the handle's kind, so the
// FromHandle of CPen, CRgn ... hands out a real object of that class.
static CObject* NewTempGdiObject(void* h)
{
    CGdiObject* p;
    switch (::GetObjectType((HGDIOBJ)h)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: p = new CPen; break;
    case OBJ_BRUSH: p = new CBrush; break;
    case OBJ_FONT: p = new CFont; break;
    case OBJ_BITMAP: p = new CBitmap; break;
    case OBJ_PAL: p = new CPalette; break;
    case OBJ_REGION: p = new CRgn; break;
    default: p = new CGdiObject; break;
    }
    p->m_hObject = (HGDIOBJ)h;
    return p;
}
static void ClearTempGdiObject(CObject* p)
{
    static_cast<CGdiObject*>(p)->m_hObject = NULL;
}

static CObject* NewTempMenu(void* h)
{
    CMenu* p = new CMenu;
    p->m_hMenu = (HMENU)h;
    return p;
}
static void ClearTempMenu(CObject* p)
{
    static_cast<CMenu*>(p)->m_hMenu = NULL;
}

static CObject* NewTempImageList(void* h)
{
    CImageList* p = new CImageList;
    p->m_hImageList = (HIMAGELIST)h;
    return p;
}
static void ClearTempImageList(CObject* p)
{
    static_cast<CImageList*>(p)->m_hImageList = NULL;
}

CAfxHandleMap* AfxMapHWND()
{
    static CAfxHandleMap* const s_pMap = new CAfxHandleMap(afxMapHWND, NewTempWnd, ClearTempWnd);
    return s_pMap;
}
CAfxHandleMap* AfxMapHDC()
{
    static CAfxHandleMap* const s_pMap = new CAfxHandleMap(afxMapHDC, NewTempDC, ClearTempDC);
    return s_pMap;
}
CAfxHandleMap* AfxMapHGDIOBJ()
{
    static CAfxHandleMap* const s_pMap = new CAfxHandleMap(afxMapHGDIOBJ, NewTempGdiObject, ClearTempGdiObject);
    return s_pMap;
}
CAfxHandleMap* AfxMapHMENU()
{
    static CAfxHandleMap* const s_pMap = new CAfxHandleMap(afxMapHMENU, NewTempMenu, ClearTempMenu);
    return s_pMap;
}
CAfxHandleMap* AfxMapHIMAGELIST()
{
    static CAfxHandleMap* const s_pMap = new CAfxHandleMap(afxMapHIMAGELIST, NewTempImageList, ClearTempImageList);
    return s_pMap;
}

// The maps are never destroyed: windows and objects of other modules may
// still detach from them while the process ends.
static void AfxDeleteTemps(AFX_THREAD_STATE* pState)
{
    CAfxHandleMap* maps[] = {AfxMapHWND(), AfxMapHDC(), AfxMapHGDIOBJ(), AfxMapHMENU(), AfxMapHIMAGELIST()};
    for (CAfxHandleMap* pMap : maps)
        pMap->DeleteTemp(pState);
}

void AFXAPI AfxLockTempMaps()
{
    ++AfxGetThreadState()->m_nTempMapLock;
}

BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_nTempMapLock != 0 && --pState->m_nTempMapLock == 0 && bDeleteTemps)
        AfxDeleteTemps(pState);
    return pState->m_nTempMapLock != 0;
}

void PASCAL CWnd::DeleteTempMap()
{
    AfxMapHWND()->DeleteTemp(AfxGetThreadState());
}
void PASCAL CDC::DeleteTempMap()
{
    AfxMapHDC()->DeleteTemp(AfxGetThreadState());
}
void PASCAL CGdiObject::DeleteTempMap()
{
    AfxMapHGDIOBJ()->DeleteTemp(AfxGetThreadState());
}
void PASCAL CMenu::DeleteTempMap()
{
    AfxMapHMENU()->DeleteTemp(AfxGetThreadState());
}
void PASCAL CImageList::DeleteTempMap()
{
    AfxMapHIMAGELIST()->DeleteTemp(AfxGetThreadState());
}

// ------------------------------------------------------------------ process state

AFX_MODULE_STATE* AfxGetModuleState()
{
    static AFX_MODULE_STATE s_state;
    return &s_state;
}

HINSTANCE AfxGetLibraryHandle()
{
    HMODULE hModule = NULL;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&AfxGetLibraryHandle), &hModule);
    return hModule;
}

CWinApp* AFXAPI AfxGetApp()
{
    return AfxGetModuleState()->m_pCurrentWinApp;
}

CWinThread* AFXAPI AfxGetThread()
{
    return AfxGetThreadState()->m_pCurrentWinThread;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL) {
        if (CWnd* pWnd = pThread->GetMainWnd())
            return pWnd;
    }
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL ? pApp->m_pMainWnd : NULL;
}

HINSTANCE AFXAPI AfxGetInstanceHandle()
{
    HINSTANCE h = AfxGetModuleState()->m_hCurrentInstanceHandle;
    return h != NULL ? h : ::GetModuleHandle(NULL);
}

HINSTANCE AFXAPI AfxGetResourceHandle()
{
    HINSTANCE h = AfxGetModuleState()->m_hCurrentResourceHandle;
    return h != NULL ? h : AfxGetInstanceHandle();
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    HINSTANCE hResource = AfxGetResourceHandle();
    if (::FindResource(hResource, lpszName, lpszType) != NULL)
        return hResource;
    // Then the extension libraries, in the order they attached.
    if (HINSTANCE hExtension = AfxFindExtensionResourceHandle(lpszName, lpszType))
        return hExtension;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (hInstance != hResource && ::FindResource(hInstance, lpszName, lpszType) != NULL)
        return hInstance;
    return hResource;
}

// Without an application the program's file title names it.
static char s_szExeTitle[MAX_PATH];

static BOOL CALLBACK AfxInitExeTitle(PINIT_ONCE, PVOID, PVOID*)
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    const char* pszName = szPath;
    for (const char* p = szPath; *p; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            pszName = p + 1;
    }
    lstrcpynA(s_szExeTitle, pszName, MAX_PATH);
    char* pszDot = strrchr(s_szExeTitle, '.');
    if (pszDot != NULL)
        *pszDot = '\0';
    return TRUE;
}

LPCTSTR AFXAPI AfxGetAppName()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pszAppName != NULL)
        return pApp->m_pszAppName;
    static INIT_ONCE s_once = INIT_ONCE_STATIC_INIT;
    ::InitOnceExecuteOnce(&s_once, AfxInitExeTitle, NULL, NULL);
    return s_szExeTitle;
}

// ------------------------------------------------------------------ the modal responder

static SRWLOCK g_responderLock = SRWLOCK_INIT;
static AFX_MODAL_RESPONDER* g_pResponder = nullptr;

AFX_MODAL_RESPONDER AFXAPI AfxSetModalResponder(AFX_MODAL_RESPONDER responder)
{
    AFX_MODAL_RESPONDER previous;
    AFX_MODAL_RESPONDER* pNew = responder ? new AFX_MODAL_RESPONDER(std::move(responder)) : nullptr;
    AcquireSRWLockExclusive(&g_responderLock);
    AFX_MODAL_RESPONDER* pOld = g_pResponder;
    g_pResponder = pNew;
    ReleaseSRWLockExclusive(&g_responderLock);
    if (pOld != nullptr) {
        previous = std::move(*pOld);
        delete pOld;
    }
    return previous;
}

BOOL AFXAPI AfxHasModalResponder()
{
    AcquireSRWLockShared(&g_responderLock);
    BOOL bHas = g_pResponder != nullptr;
    ReleaseSRWLockShared(&g_responderLock);
    return bHas;
}

BOOL AFXAPI AfxModalRespond(AFX_MODAL_REQUEST& request, INT_PTR& nResult)
{
    // A copy, so the responder may run (and replace itself) without the lock.
    AFX_MODAL_RESPONDER responder;
    AcquireSRWLockShared(&g_responderLock);
    if (g_pResponder != nullptr)
        responder = *g_pResponder;
    ReleaseSRWLockShared(&g_responderLock);
    if (!responder)
        return FALSE;
    return responder(request, nResult);
}

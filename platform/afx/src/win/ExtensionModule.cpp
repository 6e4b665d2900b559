#include <afxwin.h>
#include <afxdllx.h>

namespace
{

// The chain is shared by every library of the process. Libraries attach and
// detach under the loader lock, but look-ups may come from any thread.
SRWLOCK g_ChainLock = SRWLOCK_INIT;
CDynLinkLibrary* g_pFirstDLL = NULL;

bool HoldsResource(HMODULE module, LPCSTR name, LPCSTR type)
{
    return module != NULL && ::FindResourceA(module, name, type) != NULL;
}

} // namespace

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule)
{
    if (state.bInitialized)
        return TRUE;
    if (hModule == NULL)
        return FALSE;
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = TRUE;
    return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll)
{
    UNUSED_ALWAYS(bAll);
    if (!state.bInitialized)
        return;

    // Unlink under the lock, delete outside it (the destructor takes it too).
    CDynLinkLibrary* removed = NULL;
    ::AcquireSRWLockExclusive(&g_ChainLock);
    for (CDynLinkLibrary** link = &g_pFirstDLL; *link != NULL;) {
        CDynLinkLibrary* library = *link;
        if (library->m_hModule == state.hModule) {
            *link = library->m_pNextDLL;
            library->m_pNextDLL = removed;
            removed = library;
        } else {
            link = &library->m_pNextDLL;
        }
    }
    ::ReleaseSRWLockExclusive(&g_ChainLock);

    while (removed != NULL) {
        CDynLinkLibrary* next = removed->m_pNextDLL;
        removed->m_pNextDLL = NULL;
        delete removed;
        removed = next;
    }
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem), m_pNextDLL(NULL)
{
    AddToChain();
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE), m_pNextDLL(NULL)
{
    AddToChain();
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    // A record deleted directly (not through AfxTermExtensionModule) leaves the chain here.
    ::AcquireSRWLockExclusive(&g_ChainLock);
    for (CDynLinkLibrary** link = &g_pFirstDLL; *link != NULL; link = &(*link)->m_pNextDLL) {
        if (*link == this) {
            *link = m_pNextDLL;
            break;
        }
    }
    ::ReleaseSRWLockExclusive(&g_ChainLock);
}

void CDynLinkLibrary::AddToChain()
{
    ::AcquireSRWLockExclusive(&g_ChainLock);
    CDynLinkLibrary** link = &g_pFirstDLL;
    while (*link != NULL)
        link = &(*link)->m_pNextDLL;
    *link = this;
    ::ReleaseSRWLockExclusive(&g_ChainLock);
}

HINSTANCE AFXAPI AfxFindExtensionResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    HINSTANCE found = NULL;
    ::AcquireSRWLockShared(&g_ChainLock);
    for (CDynLinkLibrary* library = g_pFirstDLL; library != NULL; library = library->m_pNextDLL) {
        if (HoldsResource(library->m_hResource, lpszName, lpszType)) {
            found = library->m_hResource;
            break;
        }
    }
    ::ReleaseSRWLockShared(&g_ChainLock);
    return found;
}

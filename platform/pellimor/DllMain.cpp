// The socket module's export: callers load Pellimor.dll by file name and ask
// DllGetClassObject for the client socket by class id and interface id.
#include "ClientSocket.h"

#include <new>

static HINSTANCE g_hInstance = NULL;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hInstance = hInstance;
        DisableThreadLibraryCalls(hInstance);
    } else if (dwReason == DLL_PROCESS_DETACH && lpReserved == NULL) {
        CClientSocket::UnregisterWindowClass(g_hInstance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    if (out == NULL)
        return E_POINTER;
    *out = NULL;
    if (!IsEqualGUID(clsid, CLSID_ClientSocket))
        return CLASS_E_CLASSNOTAVAILABLE;
    CClientSocket* pSocket = new (std::nothrow) CClientSocket;
    if (pSocket == NULL)
        return E_OUTOFMEMORY;
    // The first reference keeps the object while it is checked.
    pSocket->AddRef();
    HRESULT hr = pSocket->Create() ? pSocket->QueryInterface(iid, out) : E_FAIL;
    pSocket->Release();
    return hr;
}

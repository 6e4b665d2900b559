// The socket module's export: callers load Pellimor.dll by file name and ask
// DllGetClassObject for the client socket by class id and interface id.
#include "ClientSocket.h"
#include "ModuleFactory.h"

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

namespace
{

// The hidden window and Winsock come with the object; without them there is none.
const tagModuleClass g_ModuleClasses[] = {
    {&CLSID_ClientSocket, &CreateModuleObject<CClientSocket, &CClientSocket::Create>},
};

} // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    return GetModuleClassObject(g_ModuleClasses, clsid, iid, out);
}

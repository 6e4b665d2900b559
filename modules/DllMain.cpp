// Brindle is an extension library of the class library: its resources join
// the class library's resource search chain while it is loaded.
#include <afxwin.h>
#include <afxdllx.h>

static AFX_EXTENSION_MODULE BrindleDLL = {FALSE, NULL, NULL};

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved)
{
    UNREFERENCED_PARAMETER(lpReserved);
    if (dwReason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(BrindleDLL, hInstance))
            return FALSE;
        new CDynLinkLibrary(BrindleDLL);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(BrindleDLL);
    }
    return TRUE;
}

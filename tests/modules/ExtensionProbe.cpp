// A minimal extension library for the resource-chain tests.
#include <afxwin.h>
#include <afxdllx.h>

static AFX_EXTENSION_MODULE ProbeDLL = {FALSE, NULL, NULL};

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        if (!AfxInitExtensionModule(ProbeDLL, hInstance))
            return FALSE;
        new CDynLinkLibrary(ProbeDLL);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        AfxTermExtensionModule(ProbeDLL);
    }
    return TRUE;
}

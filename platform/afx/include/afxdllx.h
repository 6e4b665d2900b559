// Extension libraries: a library that uses the class library from the
// process's one copy of it and whose resources join the resource search
// chain while it is loaded.
//
//   static AFX_EXTENSION_MODULE MyDLL = { FALSE, NULL, NULL };
//
//   BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
//   {
//       if (dwReason == DLL_PROCESS_ATTACH) {
//           if (!AfxInitExtensionModule(MyDLL, hInstance))
//               return FALSE;
//           new CDynLinkLibrary(MyDLL);
//       } else if (dwReason == DLL_PROCESS_DETACH) {
//           AfxTermExtensionModule(MyDLL);
//       }
//       return TRUE;
//   }
#pragma once

#include <afxwin.h>

struct AFX_EXTENSION_MODULE
{
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

// Records the library's module handle; false for a null handle.
BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Deletes the library's records of the resource chain. bAll is accepted for
// compatibility; every record of the library goes either way.
void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// One library in the resource search chain. Made with new while the library
// attaches; AfxTermExtensionModule deletes it.
class CDynLinkLibrary : public CObject
{
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
    ~CDynLinkLibrary() override;

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
    CDynLinkLibrary* m_pNextDLL;

private:
    void AddToChain();
};

// The first extension library, in the order they attached, whose resources
// hold the named resource; null when none does. AfxFindResourceHandle asks it
// after the application's own resource handle.
HINSTANCE AFXAPI AfxFindExtensionResourceHandle(LPCSTR lpszName, LPCSTR lpszType);

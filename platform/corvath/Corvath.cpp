// The COM server of Corvath.dll: one class, created through its class
// factory, registered under HKCR\CLSID by regsvr32.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <new>

#include "CorvathPicture.h"

LONG g_lCorvathObjects = 0;

namespace
{

HINSTANCE g_hInstance = NULL;
LONG g_lLocks = 0;

const char kClassKey[] = "CLSID\\{06ADA938-0FB0-4BC0-B19B-0A38AB17F182}";

class CCorvathFactory final : public IClassFactory
{
public:
    STDMETHOD(QueryInterface)(REFIID iid, void** out) override
    {
        if (out == NULL)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    // The factory is static: it lives as long as the library.
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }

    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** out) override
    {
        if (out == NULL)
            return E_POINTER;
        *out = NULL;
        if (outer != NULL)
            return CLASS_E_NOAGGREGATION;
        CCorvathPicture* picture = new (std::nothrow) CCorvathPicture;
        if (picture == NULL)
            return E_OUTOFMEMORY;
        HRESULT hr = picture->QueryInterface(iid, out);
        picture->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL lock) override
    {
        if (lock)
            ::InterlockedIncrement(&g_lLocks);
        else
            ::InterlockedDecrement(&g_lLocks);
        return S_OK;
    }
};

CCorvathFactory g_Factory;

bool SetKeyValue(const char* key, const char* name, const char* value)
{
    HKEY hKey = NULL;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key, 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return false;
    LONG result = ::RegSetValueExA(hKey, name, 0, REG_SZ, (const BYTE*)value, DWORD(lstrlenA(value) + 1));
    ::RegCloseKey(hKey);
    return result == ERROR_SUCCESS;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hInstance = hInstance;
        ::DisableThreadLibraryCalls(hInstance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    if (out == NULL)
        return E_POINTER;
    *out = NULL;
    if (!IsEqualCLSID(clsid, CLSID_Corvath))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_Factory.QueryInterface(iid, out);
}

STDAPI DllCanUnloadNow()
{
    return g_lCorvathObjects == 0 && g_lLocks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer()
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(g_hInstance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return SELFREG_E_CLASS;
    char serverKey[sizeof(kClassKey) + 32];
    wsprintfA(serverKey, "%s\\InprocServer32", kClassKey);
    if (!SetKeyValue(kClassKey, NULL, "Corvath animated picture") || !SetKeyValue(serverKey, NULL, path) ||
        !SetKeyValue(serverKey, "ThreadingModel", "Apartment"))
        return SELFREG_E_CLASS;
    return S_OK;
}

STDAPI DllUnregisterServer()
{
    LONG result = ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kClassKey);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

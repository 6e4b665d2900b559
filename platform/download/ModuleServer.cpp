// The one export: callers load the library by name and ask for the download
// service by class id and interface id; there is no class factory.
#include <new>

#include "DownLoadService.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    if (out == NULL)
        return E_POINTER;
    *out = NULL;
    if (!IsEqualGUID(clsid, CLSID_DownLoadService))
        return CLASS_E_CLASSNOTAVAILABLE;
    CDownLoadService* object = new (std::nothrow) CDownLoadService;
    if (object == NULL)
        return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(iid, out);
    if (FAILED(hr))
        delete object;
    return hr;
}

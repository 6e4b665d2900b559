// The one export: callers load the library by name and ask for the companion
// module by class id and interface id; there is no class factory.
#include <new>

#include "Gellbrook.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    if (out == NULL)
        return E_POINTER;
    *out = NULL;
    if (!IsEqualGUID(clsid, CLSID_Gellbrook))
        return CLASS_E_CLASSNOTAVAILABLE;
    CGellbrook* object = new (std::nothrow) CGellbrook;
    if (object == NULL)
        return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(iid, out);
    if (FAILED(hr))
        delete object;
    return hr;
}

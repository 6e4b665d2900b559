// The body of a module library's DllGetClassObject. There is no class factory
// and no registration: callers load the library by file name and ask for an
// object by class id and interface id; each library lists what it serves.
//
//   const tagModuleClass g_Classes[] = {{&CLSID_Foo, &CreateModuleObject<CFoo>}};
//   STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
//   {
//       return GetModuleClassObject(g_Classes, clsid, iid, out);
//   }
#pragma once

#include <stddef.h>

#include "IUnknownEx.h"

typedef HRESULT (*ModuleCreateFn)(REFGUID iid, void** out);

struct tagModuleClass
{
    const GUID* pClassId;
    ModuleCreateFn pfnCreate; // null: not served yet
};

// A new T under the wanted interface. Init, when given, finishes the object
// before it is handed out; an object that fails it, or does not answer the
// interface id, is gone before this returns.
template <class T, bool (T::*Init)() = nullptr> HRESULT CreateModuleObject(REFGUID iid, void** out)
{
    *out = NULL;
    T* object;
    try {
        object = new T;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    // Our own reference keeps the object alive while it is checked.
    object->AddRef();
    HRESULT hr = E_FAIL;
    if constexpr (Init != nullptr) {
        if ((object->*Init)())
            hr = object->QueryInterface(iid, out);
    } else {
        hr = object->QueryInterface(iid, out);
    }
    object->Release();
    return hr;
}

// What *out holds after a class id that is not served: Brindle's callers
// are promised it stays as it was; the other libraries clear it.
enum class ModuleClassMiss
{
    ClearsOut,
    KeepsOut,
};

// The first entry with the class id decides.
template <size_t N>
HRESULT GetModuleClassObject(const tagModuleClass (&classes)[N], REFCLSID clsid, REFIID iid, void** out,
                             ModuleClassMiss miss = ModuleClassMiss::ClearsOut)
{
    if (out == NULL)
        return E_POINTER;
    if (miss == ModuleClassMiss::ClearsOut)
        *out = NULL;
    for (const tagModuleClass& entry : classes) {
        if (!IsEqualGUID(clsid, *entry.pClassId))
            continue;
        if (entry.pfnCreate == NULL)
            break;
        return entry.pfnCreate(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

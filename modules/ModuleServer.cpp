// The exports through which Tavrel and Quillon create Brindle's module
// objects. There is no class factory and no registration: callers load the
// library by file name and call DllGetClassObject with a class id and an
// interface id.
#include <new>

#include "CustomFace.h"
#include "GameRankManager.h"
#include "IEmotionDlg.h"
#include "IMessageProxy.h"
#include "RegionManager.h"
#include "UserFaceRes.h"

namespace
{

typedef HRESULT (*ModuleCreateFn)(REFGUID iid, void** out);

// The caller gets the object's own QueryInterface answer. An object that does
// not answer the interface id is deleted at once, without Release.
template <class T> HRESULT CreateModuleObject(REFGUID iid, void** out)
{
    T* object;
    try {
        object = new T;
    } catch (...) {
        *out = NULL;
        return E_OUTOFMEMORY;
    }
    HRESULT hr = object->QueryInterface(iid, out);
    if (FAILED(hr))
        delete object;
    return hr;
}

struct tagModuleClass
{
    const GUID* pClassId;
    ModuleCreateFn pfnCreate; // null: not served yet
};

// Tested in this order; the first match decides.
const tagModuleClass g_ModuleClasses[] = {
    {&CLSID_MessageProxy, NULL},
    {&CLSID_EmotionDlg, NULL},
    {&CLSID_GameRankManager, &CreateModuleObject<CGameRankManager>},
    {&CLSID_UserFaceRes, &CreateModuleObject<CUserFaceRes>},
    {&CLSID_RegionManager, &CreateModuleObject<CRegionManager>},
    {&CLSID_CustomFace, &CreateModuleObject<CCustomFace>},
};

} // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    if (out == NULL)
        return E_POINTER;
    for (const tagModuleClass& entry : g_ModuleClasses) {
        if (!IsEqualGUID(clsid, *entry.pClassId))
            continue;
        if (entry.pfnCreate == NULL)
            break;
        return entry.pfnCreate(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

// Live objects are not counted: every holder releases its object before it
// frees the library.
STDAPI DllCanUnloadNow()
{
    return S_OK;
}

STDAPI DllRegisterServer()
{
    return E_FAIL;
}

STDAPI DllUnregisterServer()
{
    return E_FAIL;
}

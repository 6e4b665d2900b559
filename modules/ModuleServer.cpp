// The exports through which Tavrel and Quillon create Brindle's module
// objects. There is no class factory and no registration: callers load the
// library by file name and call DllGetClassObject with a class id and an
// interface id.
#include "CustomFace.h"
#include "EmotionDlg.h"
#include "GameRankManager.h"
#include "IEmotionDlg.h"
#include "IMessageProxy.h"
#include "MessageProxy.h"
#include "ModuleFactory.h"
#include "RegionManager.h"
#include "UserFaceRes.h"

namespace
{

// Tested in this order; the first match decides.
const tagModuleClass g_ModuleClasses[] = {
    {&CLSID_MessageProxy, &CreateModuleObject<CMessageProxy>},
    {&CLSID_EmotionDlg, &CreateModuleObject<CEmotionDlg>},
    {&CLSID_GameRankManager, &CreateModuleObject<CGameRankManager>},
    {&CLSID_UserFaceRes, &CreateModuleObject<CUserFaceRes>},
    {&CLSID_RegionManager, &CreateModuleObject<CRegionManager>},
    {&CLSID_CustomFace, &CreateModuleObject<CCustomFace>},
};

} // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    return GetModuleClassObject(g_ModuleClasses, clsid, iid, out, ModuleClassMiss::KeepsOut);
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

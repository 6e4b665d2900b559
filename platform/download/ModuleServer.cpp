// The one export: callers load the library by name and ask for the download service
// by class id and interface id; there is no class factory.
#include "DownLoadService.h"
#include "ModuleFactory.h"

namespace
{

const tagModuleClass g_ModuleClasses[] = {
    {&CLSID_DownLoadService, &CreateModuleObject<CDownLoadService>},
};

} // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    return GetModuleClassObject(g_ModuleClasses, clsid, iid, out);
}

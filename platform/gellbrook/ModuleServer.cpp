// The one export: callers load the library by name and ask for the companion module
// by class id and interface id; there is no class factory.
#include "Gellbrook.h"
#include "ModuleFactory.h"

namespace
{

const tagModuleClass g_ModuleClasses[] = {
    {&CLSID_Gellbrook, &CreateModuleObject<CGellbrook>},
};

} // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    return GetModuleClassObject(g_ModuleClasses, clsid, iid, out);
}

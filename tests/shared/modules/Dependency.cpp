// Lies only in bin\modsub, beside tm_module_sub.dll, which cannot load
// without it.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI TestDependencyValue()
{
    return 42;
}

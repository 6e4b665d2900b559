// A library that loads but has no creation export.
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI SomethingElse()
{
    return 0;
}

// Fixtures of the module library tests: a temporary folder, files in it, and
// module objects made through the module server linked into the test.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "IUnknownEx.h"
#include "TempFolder.h"

void WriteFile(const std::string& path, const std::string& bytes);
// A solid picture of that colour, saved as PNG.
void WritePng(const std::string& path, int width, int height, COLORREF colour);

struct ModuleRelease
{
    void operator()(IUnknownEx* object) const { object->Release(); }
};

template <class I> using ModulePtr = std::unique_ptr<I, ModuleRelease>;

// The module of that class id under that interface id, made by the module
// server; null when it gives none.
template <class I> ModulePtr<I> CreateModule(REFGUID clsid, REFGUID iid)
{
    void* object = NULL;
    if (FAILED(DllGetClassObject(clsid, iid, &object)))
        return ModulePtr<I>();
    return ModulePtr<I>(static_cast<I*>(object));
}

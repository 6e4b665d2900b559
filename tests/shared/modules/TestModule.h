// The module served by the test libraries tm_module.dll and
// modsub\tm_module_sub.dll (the same source; the second one also needs
// tm_dep.dll, which lies only beside it).
#pragma once

#include "IUnknownEx.h"

TAVREL_GUID(IID_ITestObject, "0B8E51A4-3C77-4E3A-9A51-6C2F6D0E7A11");

// Creates a counted test object.
TAVREL_GUID(CLSID_TestObject, "5F1C2E33-8D4B-4B9E-A0C7-2E6A9B31D402");
// Answers TM_FAILURE_RESULT without an object.
TAVREL_GUID(CLSID_TestFailure, "5F1C2E33-8D4B-4B9E-A0C7-2E6A9B31D403");
// Answers S_FALSE without an object.
TAVREL_GUID(CLSID_TestNoObject, "5F1C2E33-8D4B-4B9E-A0C7-2E6A9B31D404");
// Throws a C++ exception out of the export.
TAVREL_GUID(CLSID_TestThrows, "5F1C2E33-8D4B-4B9E-A0C7-2E6A9B31D405");

const HRESULT TM_FAILURE_RESULT = E_ACCESSDENIED;

struct ITestObject : IUnknownEx
{
    // 1 from tm_module.dll; the dependency's value from tm_module_sub.dll.
    virtual int GetValue() = 0;
};

struct TestModuleCounters
{
    LONG live;    // objects alive now
    LONG created; // objects ever created
    LONG peak;    // most objects alive at one time
};

// Export "TestModuleGetCounters" of both libraries.
typedef void(WINAPI* TestModuleGetCountersProc)(TestModuleCounters* out);

// Export "TestModuleLoadFolder": the current folder while the library was
// being attached.
typedef const char*(WINAPI* TestModuleLoadFolderProc)();

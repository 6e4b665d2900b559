#include "TestModule.h"

#ifdef TM_WITH_DEPENDENCY
extern "C" __declspec(dllimport) int WINAPI TestDependencyValue();
#endif

namespace
{

TestModuleCounters g_counters = {};

class CTestObject : public ITestObject
{
public:
    CTestObject()
    {
        ++g_counters.created;
        if (++g_counters.live > g_counters.peak)
            g_counters.peak = g_counters.live;
    }
    virtual ~CTestObject() { --g_counters.live; }

    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        ULONG refs = --m_refs;
        if (refs == 0)
            delete this;
        return refs;
    }
    HRESULT QueryInterface(REFGUID iid, void** out) override
    {
        if (iid == IID_ITestObject || iid == IID_IUnknownEx) {
            *out = static_cast<ITestObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    int GetValue() override
    {
#ifdef TM_WITH_DEPENDENCY
        return TestDependencyValue();
#else
        return 1;
#endif
    }

private:
    ULONG m_refs = 0;
};

} // namespace

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out)
{
    if (clsid == CLSID_TestFailure)
        return TM_FAILURE_RESULT;
    if (clsid == CLSID_TestNoObject)
        return S_FALSE;
    if (clsid == CLSID_TestThrows)
        throw 42;
    if (clsid != CLSID_TestObject)
        return CLASS_E_CLASSNOTAVAILABLE;

    CTestObject* object = new CTestObject;
    HRESULT hr = object->QueryInterface(iid, out);
    if (FAILED(hr))
        delete object;
    return hr;
}

extern "C" void WINAPI TestModuleGetCounters(TestModuleCounters* out)
{
    *out = g_counters;
}

namespace
{
char g_loadFolder[MAX_PATH];
}

// The current folder while the loader attached the library.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        GetCurrentDirectoryA(MAX_PATH, g_loadFolder);
    return TRUE;
}

extern "C" const char* WINAPI TestModuleLoadFolder()
{
    return g_loadFolder;
}

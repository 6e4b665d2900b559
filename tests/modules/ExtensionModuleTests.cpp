// The resource search chain of extension libraries.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <afxdllx.h>

#include "ExtensionProbeIds.h"

namespace
{

HINSTANCE FindInChain(int id)
{
    return AfxFindExtensionResourceHandle(MAKEINTRESOURCE(id), RT_RCDATA);
}

HINSTANCE Find(int id)
{
    return AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_RCDATA);
}

std::string Text(HINSTANCE module, int id)
{
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCE(id), RT_RCDATA);
    if (resource == NULL)
        return "(none)";
    return static_cast<const char*>(LockResource(LoadResource(module, resource)));
}

TEST(ExtensionModule, LoadedLibraryJoinsTheChainUntilItIsFreed)
{
    EXPECT_EQ(FindInChain(IDR_PROBE_ONLY), nullptr); // not loaded yet

    HMODULE probe = LoadLibraryA("AfxExtProbe.dll");
    ASSERT_NE(probe, nullptr);
    struct Case
    {
        int id;
        HINSTANCE found;
        const char* text;
    };
    const Case cases[] = {
        {IDR_PROBE_ONLY, probe, "probe only"},
        {IDR_PROBE_SHARED, probe, "probe"},
        {9999, NULL, "(none)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HINSTANCE found = FindInChain(c.id);
        EXPECT_EQ(found, c.found);
        if (found != NULL) {
            EXPECT_EQ(Text(found, c.id), c.text);
        }
    }

    FreeLibrary(probe);
    EXPECT_EQ(FindInChain(IDR_PROBE_ONLY), nullptr);
}

// The application's own resources go before any extension library's.
TEST(ExtensionModule, ApplicationResourcesFirstAndResourceHandleRoundTrip)
{
    HMODULE probe = LoadLibraryA("AfxExtProbe.dll");
    ASSERT_NE(probe, nullptr);
    HINSTANCE application = AfxGetResourceHandle();
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(Text(Find(IDR_PROBE_SHARED), IDR_PROBE_SHARED), "application");

    AfxSetResourceHandle(probe);
    EXPECT_EQ(AfxGetResourceHandle(), probe);
    EXPECT_EQ(Find(IDR_PROBE_SHARED), probe);

    AfxSetResourceHandle(application);
    EXPECT_EQ(AfxGetResourceHandle(), application);
    EXPECT_EQ(Find(IDR_PROBE_SHARED), application);
    FreeLibrary(probe);
}

TEST(ExtensionModule, TermRemovesEveryRecordOfTheModule)
{
    HMODULE data = LoadLibraryExA("AfxExtProbe.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(data, nullptr);

    AFX_EXTENSION_MODULE state = {FALSE, NULL, NULL};
    EXPECT_FALSE(AfxInitExtensionModule(state, NULL));
    ASSERT_TRUE(AfxInitExtensionModule(state, data));
    new CDynLinkLibrary(state);
    new CDynLinkLibrary(state);
    EXPECT_EQ(FindInChain(IDR_PROBE_ONLY), data);

    AfxTermExtensionModule(state);
    EXPECT_FALSE(state.bInitialized);
    EXPECT_EQ(FindInChain(IDR_PROBE_ONLY), nullptr);

    // A record deleted on its own leaves the chain too.
    CDynLinkLibrary* record = new CDynLinkLibrary(data, data);
    EXPECT_EQ(FindInChain(IDR_PROBE_ONLY), data);
    delete record;
    EXPECT_EQ(FindInChain(IDR_PROBE_ONLY), nullptr);
    FreeLibrary(data);
}

} // namespace

// Brindle.dll loaded from the program folder by the hall's module holders.
#include <gtest/gtest.h>

#include <string.h>

#include "ICustomFaceRes.h"
#include "IEmotionDlg.h"
#include "IGameRankManager.h"
#include "IMessageProxy.h"
#include "IRegionManager.h"
#include "IUserFaceRes.h"
#include "ModuleTestSupport.h"

namespace
{

TEST(BrindleLibrary, HoldersCreateEachServedModule)
{
    CUserFaceResHelper faces;
    CGameRankManagerHelper ranks;
    CRegionManagerHelper regions;
    CCustomFaceHelper customFaces;
    CMessageProxyHelper proxy;
    CEmotionDlgHelper emotions;
    ASSERT_TRUE(faces.CreateInstance()) << faces.GetErrorDescribe();
    ASSERT_TRUE(proxy.CreateInstance()) << proxy.GetErrorDescribe();
    ASSERT_TRUE(emotions.CreateInstance()) << emotions.GetErrorDescribe();
    ASSERT_TRUE(ranks.CreateInstance()) << ranks.GetErrorDescribe();
    ASSERT_TRUE(regions.CreateInstance()) << regions.GetErrorDescribe();
    ASSERT_TRUE(customFaces.CreateInstance()) << customFaces.GetErrorDescribe();

    EXPECT_EQ(faces.GetInterface()->GetFaceCount(), 0);
    EXPECT_EQ(ranks.GetInterface()->GetRank(0), nullptr);
    EXPECT_EQ(regions.GetInterface()->GetProvinceCount(), 0);
    EXPECT_EQ(customFaces.GetInterface()->GetFaceCount(), 0); // no database open yet
    EXPECT_FALSE(proxy.GetInterface()->IsAttached());
    EXPECT_EQ(emotions.GetInterface()->GetSafeHwnd(), nullptr);

    // The derived face interface is reached from the one the holder holds.
    void* out = NULL;
    ASSERT_EQ(faces.GetInterface()->QueryInterface(IID_IUserFaceRes1, &out), S_OK);
    IUserFaceRes1* faces1 = static_cast<IUserFaceRes1*>(out);
    char path[MAX_PATH];
    faces.GetInterface()->LoadFaces("C:\\faces\\");
    EXPECT_STREQ(faces1->GetFacePath(0, 1, path), "C:\\faces\\1-2.png");
    EXPECT_EQ(faces1->Release(), 1u);

    EXPECT_TRUE(faces.CloseInstance());
    EXPECT_FALSE(faces.HasInterface());
}

// The library attaches and detaches cleanly again and again (its record in the
// class library's resource chain comes and goes with it).
TEST(BrindleLibrary, CreatedAgainAfterTheLibraryWasFreed)
{
    CRegionManagerHelper regions;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(regions.CreateInstance()) << regions.GetErrorDescribe();
        EXPECT_TRUE(regions.CloseInstance());
        EXPECT_EQ(GetModuleHandleA("Brindle.dll"), nullptr);
    }
}

TEST(BrindleLibrary, ExportsByPlainName)
{
    typedef HRESULT(WINAPI * GetClassObjectProc)(REFGUID, REFGUID, void**);
    typedef HRESULT(WINAPI * NoArgumentProc)();

    HMODULE library = LoadLibraryA("Brindle.dll");
    ASSERT_NE(library, nullptr);
    auto export_ = [library](const char* name) { return reinterpret_cast<void*>(GetProcAddress(library, name)); };
    auto getClassObject = reinterpret_cast<GetClassObjectProc>(export_("DllGetClassObject"));
    auto canUnloadNow = reinterpret_cast<NoArgumentProc>(export_("DllCanUnloadNow"));
    auto registerServer = reinterpret_cast<NoArgumentProc>(export_("DllRegisterServer"));
    auto unregisterServer = reinterpret_cast<NoArgumentProc>(export_("DllUnregisterServer"));
    ASSERT_NE(getClassObject, nullptr);
    ASSERT_NE(canUnloadNow, nullptr);
    ASSERT_NE(registerServer, nullptr);
    ASSERT_NE(unregisterServer, nullptr);

    EXPECT_EQ(canUnloadNow(), S_OK);
    EXPECT_EQ(registerServer(), E_FAIL);
    EXPECT_EQ(unregisterServer(), E_FAIL);

    void* out = &library;
    EXPECT_EQ(getClassObject(IID_IRegionManager, IID_IUnknownEx, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, &library);
    EXPECT_EQ(getClassObject(CLSID_GameRankManager, IID_IRegionManager, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    ASSERT_EQ(getClassObject(CLSID_GameRankManager, IID_IUnknownEx, &out), S_OK);
    EXPECT_EQ(static_cast<IUnknownEx*>(out)->Release(), 0u);

    FreeLibrary(library);
}

// The page codec's key calls by the plain names callers look up; the 32-bit
// library also keeps the stdcall-decorated names for callers linked to them.
TEST(BrindleLibrary, ExportsTheKeyCalls)
{
    typedef int(WINAPI * KeyProc)(void* db, const char* passPhrase, int length);
    HMODULE library = LoadLibraryA("Brindle.dll");
    ASSERT_NE(library, nullptr);
    const char* const names[] = {
        "sqlite3_key_codec",
        "sqlite3_rekey_codec",
#if defined(__i386__)
        "_sqlite3_key_codec@12",
        "_sqlite3_rekey_codec@12"
#endif
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        auto key = reinterpret_cast<KeyProc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key(NULL, "5@8#1&R!T^M?", 12), 21); // SQLITE_MISUSE without a connection
    }
    FreeLibrary(library);
}

} // namespace

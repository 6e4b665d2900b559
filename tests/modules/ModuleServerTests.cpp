// The module server as the hall reaches it: class id and interface id in,
// the object's own QueryInterface answer out.
#include <gtest/gtest.h>

#include <olectl.h>

#include <vector>

#include "AllocationCounter.h"
#include "ICustomFaceRes.h"
#include "IEmotionDlg.h"
#include "IGameRankManager.h"
#include "IMessageProxy.h"
#include "IRegionManager.h"
#include "IUserFaceRes.h"
#include "ModuleTestSupport.h"

namespace
{

TAVREL_GUID(CLSID_Unknown, "0C1D2E3F-4A5B-4C6D-8E9F-A0B1C2D3E4F5");

struct ServedCase
{
    const char* name;
    const GUID* clsid;
    const GUID* iid;
};

const ServedCase kServed[] = {
    {"message proxy/base", &CLSID_MessageProxy, &IID_IMessageProxy},
    {"message proxy/derived", &CLSID_MessageProxy, &IID_IMessageProxy2},
    {"message proxy/unknown", &CLSID_MessageProxy, &IID_IUnknownEx},
    {"emotion picker/base", &CLSID_EmotionDlg, &IID_IEmotionDlg},
    {"emotion picker/derived", &CLSID_EmotionDlg, &IID_IEmotionDlg2},
    {"emotion picker/unknown", &CLSID_EmotionDlg, &IID_IUnknownEx},
    {"rank/base", &CLSID_GameRankManager, &IID_IGameRankManager},
    {"rank/unknown", &CLSID_GameRankManager, &IID_IUnknownEx},
    {"face/base", &CLSID_UserFaceRes, &IID_IUserFaceRes},
    {"face/derived", &CLSID_UserFaceRes, &IID_IUserFaceRes1},
    {"face/unknown", &CLSID_UserFaceRes, &IID_IUnknownEx},
    {"region/base", &CLSID_RegionManager, &IID_IRegionManager},
    {"region/unknown", &CLSID_RegionManager, &IID_IUnknownEx},
    {"custom face/base", &CLSID_CustomFace, &IID_ICustomFaceRes},
    {"custom face/unknown", &CLSID_CustomFace, &IID_IUnknownEx},
};

TEST(ModuleServer, ServedClassGivesOneReferenceAndLastReleaseDeletes)
{
    for (const ServedCase& c : kServed) {
        SCOPED_TRACE(c.name);
        long before = LiveAllocations();
        void* out = NULL;
        ASSERT_EQ(DllGetClassObject(*c.clsid, *c.iid, &out), S_OK);
        ASSERT_NE(out, nullptr);
        EXPECT_GT(LiveAllocations(), before);

        IUnknownEx* object = static_cast<IUnknownEx*>(out);
        EXPECT_EQ(object->AddRef(), 2u); // the count started at 0
        EXPECT_EQ(object->Release(), 1u);
        EXPECT_EQ(object->Release(), 0u);
        EXPECT_EQ(LiveAllocations(), before);
    }
}

// One table serves base and derived interfaces, so every answered id gives the
// same pointer.
TEST(ModuleServer, AnsweredInterfaceIdsShareOnePointer)
{
    struct Case
    {
        const GUID* clsid;
        std::vector<const GUID*> iids;
    };
    const Case cases[] = {
        {&CLSID_MessageProxy, {&IID_IMessageProxy, &IID_IMessageProxy2, &IID_IUnknownEx}},
        {&CLSID_EmotionDlg, {&IID_IEmotionDlg, &IID_IEmotionDlg2, &IID_IUnknownEx}},
        {&CLSID_GameRankManager, {&IID_IGameRankManager, &IID_IUnknownEx}},
        {&CLSID_UserFaceRes, {&IID_IUserFaceRes, &IID_IUserFaceRes1, &IID_IUnknownEx}},
        {&CLSID_RegionManager, {&IID_IRegionManager, &IID_IUnknownEx}},
        {&CLSID_CustomFace, {&IID_ICustomFaceRes, &IID_IUnknownEx}},
    };
    for (const Case& c : cases) {
        ModulePtr<IUnknownEx> object = CreateModule<IUnknownEx>(*c.clsid, IID_IUnknownEx);
        ASSERT_TRUE(object);
        for (const GUID* iid : c.iids) {
            void* out = NULL;
            ASSERT_EQ(object->QueryInterface(*iid, &out), S_OK);
            EXPECT_EQ(out, object.get());
            EXPECT_EQ(object->Release(), 1u);
        }
    }
}

TEST(ModuleServer, ClassIdsNotServedLeaveTheOutPointerUntouched)
{
    const ServedCase cases[] = {
        {"unknown class", &CLSID_Unknown, &IID_IUnknownEx},
        {"interface id as class id", &IID_IRegionManager, &IID_IRegionManager},
    };
    for (const ServedCase& c : cases) {
        SCOPED_TRACE(c.name);
        long before = LiveAllocations();
        void* out = &before;
        EXPECT_EQ(DllGetClassObject(*c.clsid, *c.iid, &out), CLASS_E_CLASSNOTAVAILABLE);
        EXPECT_EQ(out, &before);
        EXPECT_EQ(LiveAllocations(), before);
    }
}

TEST(ModuleServer, UnansweredInterfaceIdGivesNullAndNoLiveObject)
{
    const ServedCase cases[] = {
        {"message proxy as picker", &CLSID_MessageProxy, &IID_IEmotionDlg},
        {"picker as message proxy", &CLSID_EmotionDlg, &IID_IMessageProxy},
        {"rank as region", &CLSID_GameRankManager, &IID_IRegionManager},
        {"face as rank", &CLSID_UserFaceRes, &IID_IGameRankManager},
        {"region as face", &CLSID_RegionManager, &IID_IUserFaceRes1},
        {"region as unknown id", &CLSID_RegionManager, &CLSID_Unknown},
        {"custom face as region", &CLSID_CustomFace, &IID_IRegionManager},
    };
    for (const ServedCase& c : cases) {
        SCOPED_TRACE(c.name);
        long before = LiveAllocations();
        void* out = &before;
        EXPECT_EQ(DllGetClassObject(*c.clsid, *c.iid, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(LiveAllocations(), before);
    }
}

TEST(ModuleServer, QueryInterfaceForAnotherModuleKeepsTheCount)
{
    ModulePtr<IRegionManager> region = CreateModule<IRegionManager>(CLSID_RegionManager, IID_IRegionManager);
    ASSERT_TRUE(region);
    void* out = region.get();
    EXPECT_EQ(region->QueryInterface(IID_IGameRankManager, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(region->AddRef(), 2u);
    EXPECT_EQ(region->Release(), 1u);
}

TEST(ModuleServer, FailedAllocationAndNullOutPointer)
{
    long before = LiveAllocations();
    void* out = &before;
    FailNextAllocation();
    EXPECT_EQ(DllGetClassObject(CLSID_RegionManager, IID_IRegionManager, &out), E_OUTOFMEMORY);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(LiveAllocations(), before);

    EXPECT_EQ(DllGetClassObject(CLSID_RegionManager, IID_IRegionManager, NULL), E_POINTER);
    EXPECT_EQ(LiveAllocations(), before);
}

TEST(ModuleServer, OtherExportsGiveFixedAnswers)
{
    ModulePtr<IUnknownEx> live = CreateModule<IUnknownEx>(CLSID_UserFaceRes, IID_IUnknownEx);
    ASSERT_TRUE(live);
    EXPECT_EQ(DllCanUnloadNow(), S_OK); // live objects are not counted
    EXPECT_EQ(DllRegisterServer(), E_FAIL);
    EXPECT_EQ(DllUnregisterServer(), E_FAIL);
}

} // namespace

// A player's own face, from the custom-face manager of the hall's frame,
// before the numbered system face.
#include <gtest/gtest.h>

#include "CustomFaceManagerWnd.h"
#include "GlobalUnits.h"
#include "HallWindows.h"
#include "TableTestSupport.h"
#include "TableView.h"

using namespace tabletest;

namespace
{
const COLORREF kCustomFace = RGB(222, 111, 33);

// Holds one user's face under one sign and paints it in its colour.
class FaceCacheStub : public ICustomFaceRes
{
public:
    FaceCacheStub(DWORD userId, const char* sign) : m_userId(userId)
    {
        memset(&m_item, 0, sizeof(m_item));
        lstrcpynA(m_item.szSign, sign, sizeof(m_item.szSign));
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }
    bool OpenDatabase(const char*) override { return true; }
    bool HasFace(DWORD userId) override { return userId == m_userId; }
    int GetFaceCount() override { return 1; }
    DWORD GetFaceUserIdAt(int) override { return m_userId; }
    bool DrawFace(DWORD, CDC*, int, int) override { return false; }
    bool DrawFaceInRect(DWORD userId, CDC* pDC, const RECT* rect) override
    {
        if (userId != m_userId)
            return false;
        pDC->FillSolidRect(rect, kCustomFace);
        return true;
    }
    tagCustomFaceItem* GetFaceItem(DWORD userId) override { return userId == m_userId ? &m_item : NULL; }
    UINT GetFaceData(DWORD, BYTE*, UINT) override { return 0; }
    CPicture* GetFaceImage(DWORD) override { return NULL; }
    bool PutFace(DWORD, const char*, const BYTE*, UINT) override { return false; }
    tagCustomFaceItem* LoadFace(DWORD) override { return NULL; }
    int DeleteFace(DWORD) override { return 0; }

private:
    DWORD m_userId;
    tagCustomFaceItem m_item;
};

class StubFaceManager : public CCustomFaceManagerWnd
{
public:
    explicit StubFaceManager(ICustomFaceRes* cache) : m_cache(cache) {}

protected:
    ICustomFaceRes* CreateFaceCache() override { return m_cache; }

private:
    ICustomFaceRes* m_cache;
};

class FrameStub : public IHallFrameWnd
{
public:
    explicit FrameStub(CCustomFaceManagerWnd* manager) : m_manager(manager) {}
    CCustomFaceManagerWnd* GetCustomFaceManager() override { return m_manager; }
    void ShowItemShop(int) override {}
    void EnterRoomById(int) override {}

private:
    CCustomFaceManagerWnd* m_manager;
};

class TableFaceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
        ASSERT_TRUE(LoadPictureModules(skin.Folder()));
        manager.OpenUserCache();
        previous = CHallWindows::InstallFrame(&frame);
        view->AddRef();
        view->InitTableView(0, 4, &owner);
    }
    void TearDown() override
    {
        CHallWindows::InstallFrame(previous);
        view->Release();
    }

    SkinFolder skin;
    CTableResource resource;
    FaceCacheStub cache{5, "own.png"};
    StubFaceManager manager{&cache};
    FrameStub frame{&manager};
    IHallFrameWnd* previous = nullptr;
    OwnerDouble owner;
    CTableView* view = new CTableView;
    CMemoryCanvas canvas{kTableWidth, kTableHeight};
};

TEST_F(TableFaceTest, OwnFaceUnderItsSignComesFirst)
{
    struct Case
    {
        DWORD userId;
        const char* sign;
        COLORREF top; // the chair's first row: only the own face starts there
        COLORREF inside;
    };
    const Case cases[] = {{5, "own.png", kCustomFace, kCustomFace},
                          {5, "older.png", kChairColour, kFace},
                          {6, "own.png", kChairColour, kFace}};
    const RECT& chair = kChairRects[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.userId << c.sign);
        auto user = MakeUser(c.userId, "a", 0, 1, 0, USER_STATUS_SIT, c.sign);
        view->SetUserItem(0, user.get());
        canvas.Fill(RGB(1, 2, 3));
        view->DrawTableView(canvas.DC(), &resource, true);
        EXPECT_EQ(c.top, canvas.At(chair.left + 10, chair.top));
        EXPECT_EQ(c.inside, canvas.At(chair.left + 10, chair.top + 10));
        EXPECT_EQ(kChairColour, canvas.At(chair.left + 36, chair.top + 10));
        view->SetUserItem(0, nullptr);
    }
}
} // namespace

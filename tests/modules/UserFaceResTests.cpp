// The system face pictures on small face folders.
#include <gtest/gtest.h>

#include "MemoryCanvas.h"

#include <afxwin.h>

#include "IUserFaceRes.h"
#include "ModuleTestSupport.h"

namespace
{

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kFirst = RGB(0, 200, 0);
const COLORREF kSecond = RGB(0, 0, 200);
const COLORREF kDefault = RGB(200, 0, 0);

class UserFaceResTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_faces = CreateModule<IUserFaceRes>(CLSID_UserFaceRes, IID_IUserFaceRes);
        ASSERT_TRUE(m_faces);
        void* out = NULL;
        ASSERT_EQ(m_faces->QueryInterface(IID_IUserFaceRes1, &out), S_OK);
        m_faces1.reset(static_cast<IUserFaceRes1*>(out));
    }

    // Faces 1 and 3 complete, face 2 without its second picture.
    std::string FaceFolder(bool withDefault)
    {
        std::string folder = m_folder.SubFolder(withDefault ? "Face" : "FaceNoDefault");
        WritePng(folder + "\\1-1.png", 8, 8, kFirst);
        WritePng(folder + "\\1-2.png", 8, 8, kSecond);
        WritePng(folder + "\\2-1.png", 8, 8, kFirst);
        WritePng(folder + "\\3-1.png", 8, 8, kFirst);
        WritePng(folder + "\\3-2.png", 8, 8, kSecond);
        if (withDefault)
            WritePng(folder + "\\default.png", 8, 8, kDefault);
        return folder;
    }

    CTempFolder m_folder;
    ModulePtr<IUserFaceRes> m_faces;
    ModulePtr<IUserFaceRes1> m_faces1;
};

TEST_F(UserFaceResTest, PairsLoadUntilTheFirstIncompletePair)
{
    ASSERT_TRUE(m_faces->LoadFaces((FaceFolder(true) + "\\").c_str()));
    EXPECT_EQ(m_faces->GetFaceCount(), 1);

    ASSERT_TRUE(m_faces->LoadFaces(m_folder.SubFolder("Empty").c_str()));
    EXPECT_EQ(m_faces->GetFaceCount(), 0);
}

TEST_F(UserFaceResTest, DrawByKindAndIndex)
{
    struct Case
    {
        const char* name;
        bool withDefault;
        WORD index;
        int kind;
        COLORREF centre;
    };
    const Case cases[] = {
        {"first picture", true, 0, 0, kFirst},
        {"second picture", true, 0, 1, kSecond},
        {"default picture", true, 0, 2, kDefault},
        {"default for a negative kind", true, 0, -1, kDefault},
        {"index equal to the count", true, 1, 0, kWhite},
        {"default of an index beyond the count", true, 1, 2, kWhite},
        {"no default picture", false, 0, 2, kWhite},
    };
    std::string withDefault = FaceFolder(true);
    std::string withoutDefault = FaceFolder(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_faces->LoadFaces((c.withDefault ? withDefault : withoutDefault).c_str()));

        CMemoryCanvas canvas(64, 64, kWhite);
        m_faces->DrawFace(c.index, c.kind, canvas.DC(), 4, 4, 24, 24);
        EXPECT_EQ(canvas.At(16, 16), c.centre);
        EXPECT_EQ(canvas.At(40, 40), kWhite);

        CRect rect(30, 30, 62, 62);
        m_faces->DrawFaceInRect(c.index, c.kind, canvas.DC(), &rect);
        EXPECT_EQ(canvas.At(46, 46), c.centre);
        EXPECT_EQ(canvas.At(28, 46), kWhite);
    }
}

TEST_F(UserFaceResTest, BitmapOwnedByTheCaller)
{
    ASSERT_TRUE(m_faces->LoadFaces(FaceFolder(false).c_str()));
    HBITMAP bitmap = m_faces->GetFaceBitmap(0, 1);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info = {};
    ASSERT_EQ(GetObject(bitmap, sizeof(info), &info), int(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 8);
    EXPECT_EQ(info.bmHeight, 8);
    EXPECT_TRUE(DeleteObject(bitmap));

    EXPECT_EQ(m_faces->GetFaceBitmap(1, 0), nullptr);
    EXPECT_EQ(m_faces->GetFaceBitmap(0, 2), nullptr); // no default.png
}

TEST_F(UserFaceResTest, FacePathOfEachKind)
{
    ASSERT_TRUE(m_faces->LoadFaces("C:\\Game\\Face\\"));
    struct Case
    {
        WORD index;
        int kind;
        const char* path;
    };
    const Case cases[] = {
        {4, 0, "C:\\Game\\Face\\5-1.png"},     {4, 1, "C:\\Game\\Face\\5-2.png"},
        {0, 0, "C:\\Game\\Face\\1-1.png"},     {65534, 1, "C:\\Game\\Face\\65535-2.png"},
        {0, 2, "C:\\Game\\Face\\default.png"}, {7, -1, "C:\\Game\\Face\\default.png"},
    };
    for (const Case& c : cases) {
        char path[MAX_PATH] = "";
        EXPECT_EQ(m_faces1->GetFacePath(c.index, c.kind, path), path);
        EXPECT_STREQ(path, c.path);
    }
}

TEST_F(UserFaceResTest, FacePathNeverWritesBeyondMaxPath)
{
    // A folder that does not fit is refused rather than cut to another folder.
    std::string longFolder = "C:\\" + std::string(300, 'a');
    EXPECT_FALSE(m_faces->LoadFaces(longFolder.c_str()));
    ASSERT_TRUE(m_faces->LoadFaces(("C:\\" + std::string(250, 'a')).c_str()));
    char path[MAX_PATH + 16];
    memset(path, 'x', sizeof(path));
    m_faces1->GetFacePath(0, 0, path);
    EXPECT_LT(strlen(path), size_t(MAX_PATH));
    EXPECT_EQ(path[MAX_PATH], 'x');
}

} // namespace

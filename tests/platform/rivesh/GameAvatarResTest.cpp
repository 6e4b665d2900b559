// The player-picture module Rivesh.dll, loaded as the hall loads it.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <stdio.h>

#include <string>

#include "IGameAvatarRes.h"

namespace
{

TAVREL_GUID(kOtherInterface, "0A0B0C0D-0000-4000-8000-000000000001");

// A solid 4 x 4 picture as a 24-bit BMP (the module detects the format).
std::string SolidBitmap(BYTE red, BYTE green, BYTE blue)
{
    std::string pixels;
    for (int i = 0; i < 16; ++i) {
        pixels += (char)blue;
        pixels += (char)green;
        pixels += (char)red;
    }
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + (DWORD)pixels.size();
    info.biSize = sizeof(info);
    info.biWidth = 4;
    info.biHeight = 4;
    info.biPlanes = 1;
    info.biBitCount = 24;
    return std::string(reinterpret_cast<const char*>(&file), sizeof(file)) +
           std::string(reinterpret_cast<const char*>(&info), sizeof(info)) + pixels;
}

class GameAvatarRes : public testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        folder = std::string(temp) + "tavrel-avatars-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), NULL);
        Write("42.png", SolidBitmap(255, 0, 0));
        Write("default2.png", SolidBitmap(0, 0, 255));
        ASSERT_TRUE(holder.CreateInstance()) << holder.GetErrorDescribe();
        avatars = holder.GetInterface();

        screen.Attach(::GetDC(NULL));
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, 40, 40);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 40, 40, RGB(0, 255, 0));
    }
    void TearDown() override
    {
        dc.SelectObject(old);
        ::ReleaseDC(NULL, screen.Detach());
        for (const char* name : {"42.png", "default2.png"})
            DeleteFileA((folder + name).c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void Write(const char* name, const std::string& bytes)
    {
        FILE* file = fopen((folder + name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }

    std::string folder;
    CGameAvatarResHelper holder;
    IGameAvatarRes* avatars = NULL;
    CDC screen, dc;
    CBitmap bitmap;
    CBitmap* old = NULL;
};

TEST_F(GameAvatarRes, PicturesOfUsersAndDefaultsAreDrawnIntoTheirBox)
{
    ASSERT_TRUE(avatars->LoadAvatars(folder.c_str()));
    EXPECT_TRUE(avatars->HasAvatar(42));
    EXPECT_FALSE(avatars->HasAvatar(43));

    EXPECT_TRUE(avatars->DrawAvatar(42, &dc, 10, 10, 20, 20));
    EXPECT_EQ(dc.GetPixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(0, 255, 0)); // outside the box
    EXPECT_EQ(dc.GetPixel(32, 32), RGB(0, 255, 0));

    EXPECT_FALSE(avatars->DrawAvatar(43, &dc, 0, 0, 40, 40));
    EXPECT_TRUE(avatars->DrawDefaultAvatar(2, &dc, 0, 0, 8, 8));
    EXPECT_EQ(dc.GetPixel(4, 4), RGB(0, 0, 255));
    EXPECT_FALSE(avatars->DrawDefaultAvatar(1, &dc, 0, 0, 8, 8));
    EXPECT_FALSE(avatars->DrawAvatar(42, NULL, 0, 0, 8, 8));
}

TEST_F(GameAvatarRes, WithoutItsFolderTheModuleHasNoPictures)
{
    EXPECT_FALSE(avatars->LoadAvatars((folder + "missing\\").c_str()));
    EXPECT_FALSE(avatars->HasAvatar(42));
    EXPECT_FALSE(avatars->DrawAvatar(42, &dc, 0, 0, 8, 8));
    // A folder named without its trailing backslash works the same.
    std::string bare = folder.substr(0, folder.size() - 1);
    EXPECT_TRUE(avatars->LoadAvatars(bare.c_str()));
    EXPECT_TRUE(avatars->HasAvatar(42));
}

TEST(GameAvatarResServer, AnswersOnlyItsClassAndInterface)
{
    HMODULE module = LoadLibraryA("Rivesh.dll");
    ASSERT_NE(module, nullptr);
    typedef HRESULT(WINAPI * Create)(REFGUID, REFGUID, void**);
    Create create = reinterpret_cast<Create>(reinterpret_cast<void (*)()>(GetProcAddress(module, "DllGetClassObject")));
    ASSERT_NE(create, nullptr);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(create(IID_IGameAvatarRes, IID_IGameAvatarRes, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(create(CLSID_GameAvatarRes, kOtherInterface, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(create(CLSID_GameAvatarRes, IID_IUnknownEx, &object), S_OK);
    EXPECT_EQ(static_cast<IUnknownEx*>(object)->Release(), 0u);
    FreeLibrary(module);
}

} // namespace

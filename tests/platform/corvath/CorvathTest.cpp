// The animated-picture object, made through the class factory of the library
// in the program folder.
#include <gtest/gtest.h>

#include "Corvath.h"
#include "GifWriter.h"
#include "MessagePump.h"
#include "TempFolder.h"

namespace
{

typedef HRESULT(WINAPI* GetClassObjectProc)(REFCLSID, REFIID, void**);

class CorvathTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(::OleInitialize(NULL)));
        m_hLibrary = ::LoadLibraryA("Corvath.dll");
        ASSERT_NE(m_hLibrary, nullptr);
        auto getClassObject = reinterpret_cast<GetClassObjectProc>(
            reinterpret_cast<void*>(::GetProcAddress(m_hLibrary, "DllGetClassObject")));
        ASSERT_NE(getClassObject, nullptr);
        IClassFactory* factory = NULL;
        ASSERT_EQ(getClassObject(CLSID_Corvath, IID_IClassFactory, (void**)&factory), S_OK);
        ASSERT_EQ(factory->CreateInstance(NULL, IID_ICorvathPicture, (void**)&m_pPicture), S_OK);
        factory->Release();
    }
    void TearDown() override
    {
        if (m_pPicture != NULL)
            m_pPicture->Release();
        ::OleUninitialize();
    }

    // The colour at the middle of the frame the data object offers.
    COLORREF FrameColour()
    {
        IDataObject* data = NULL;
        if (m_pPicture->QueryInterface(IID_IDataObject, (void**)&data) != S_OK)
            return CLR_INVALID;
        FORMATETC format = {CF_BITMAP, NULL, DVASPECT_CONTENT, -1, TYMED_GDI};
        STGMEDIUM medium = {};
        HRESULT hr = data->GetData(&format, &medium);
        data->Release();
        if (hr != S_OK)
            return CLR_INVALID;
        HDC dc = ::CreateCompatibleDC(NULL);
        HGDIOBJ old = ::SelectObject(dc, medium.hBitmap);
        COLORREF colour = ::GetPixel(dc, 2, 2);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::ReleaseStgMedium(&medium);
        return colour;
    }

    HMODULE m_hLibrary = NULL;
    ICorvathPicture* m_pPicture = NULL;
    CTempFolder m_Folder{"corvath"};
};

TEST_F(CorvathTest, ShowsTheFramesOfTheFileInTurn)
{
    std::string path = m_Folder.Write("two.gif", skintest::SolidGif(5, 4, {RGB(255, 0, 0), RGB(0, 0, 255)}, 60));
    EXPECT_EQ(FrameColour(), CLR_INVALID); // nothing on show yet
    ASSERT_EQ(m_pPicture->ShowFile(path.c_str()), S_OK);
    char file[MAX_PATH];
    EXPECT_EQ(m_pPicture->GetFile(file, sizeof(file)), S_OK);
    EXPECT_EQ(path, file);

    LONG current = -1, count = 0;
    ASSERT_EQ(m_pPicture->GetFrameInfo(&current, &count), S_OK);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(FrameColour(), RGB(255, 0, 0));

    IOleObject* object = NULL;
    ASSERT_EQ(m_pPicture->QueryInterface(IID_IOleObject, (void**)&object), S_OK);
    SIZEL size = {};
    EXPECT_EQ(object->GetExtent(DVASPECT_CONTENT, &size), S_OK);
    EXPECT_EQ(size.cx, MulDiv(5, 2540, 96));
    CLSID clsid = {};
    EXPECT_EQ(object->GetUserClassID(&clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Corvath));
    object->Release();

    // The frame timer moves the picture on.
    EXPECT_TRUE(PumpUntil([&] {
        m_pPicture->GetFrameInfo(&current, &count);
        return current == 1;
    }));
    EXPECT_EQ(FrameColour(), RGB(0, 0, 255));
}

TEST_F(CorvathTest, FileThatDoesNotLoadIsRefused)
{
    EXPECT_EQ(m_pPicture->ShowFile(m_Folder.File("missing.gif").c_str()), E_FAIL);
    EXPECT_EQ(m_pPicture->ShowFile(NULL), E_INVALIDARG);
    m_Folder.Write("bad.gif", std::string("GIF89a"));
    EXPECT_EQ(m_pPicture->ShowFile(m_Folder.File("bad.gif").c_str()), E_FAIL);
    char file[4] = "x";
    EXPECT_EQ(m_pPicture->GetFile(file, sizeof(file)), S_FALSE);
    EXPECT_STREQ(file, "");
}

} // namespace

// The class library's base types are the SDK's own: afx.h may come before
// <windows.h> (this file) or after it (core_geometry_test.cpp).
#include <afx.h>
#ifdef _WIN32
#include <windows.h>
#include <afxgeom.h>
#endif
#include <gtest/gtest.h>

#include <type_traits>

#ifdef _WIN32
static_assert(std::is_base_of<RECT, CRect>::value && std::is_same<LPRECT, tagRECT*>::value, "CRect is the SDK's RECT");
static_assert(std::is_same<DWORD, unsigned long>::value && std::is_same<LONG, long>::value, "SDK widths");
static_assert(std::is_same<LPCTSTR, const char*>::value && std::is_same<TCHAR, char>::value, "multibyte");
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*), "pointer-sized");

TEST(CoreIncludeOrder, AfxFirstThenWindows)
{
    CRect r;
    EXPECT_TRUE(::SetRect(&r, 1, 2, 3, 4));
    EXPECT_EQ(r.Width(), 2);
    CPoint pt(5, 6);
    POINT* pp = &pt;
    EXPECT_EQ(pp->y, 6);
    EXPECT_EQ(CFile::hFileNull, INVALID_HANDLE_VALUE);
    EXPECT_EQ(MAX_PATH, 260);
    EXPECT_EQ(CString(_T("x")) + TEXT("y"), "xy");
}

// Where <windows.h> renames a member (GetFileTitle -> GetFileTitleA), the
// call still reaches the one definition.
TEST(CoreIncludeOrder, MacroRenamedMembers)
{
    CMemFile f;
    f.SetFilePath("C:\\dir\\name.ext");
    EXPECT_EQ(f.GetFileTitle(), "name");
}
#else
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4 && sizeof(ULONG) == 4 && sizeof(UINT) == 4, "Windows widths");
static_assert(sizeof(WORD) == 2 && sizeof(LONGLONG) == 8 && sizeof(DWORD_PTR) == sizeof(void*), "Windows widths");
#endif

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"

namespace
{

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

std::string ClassOf(HWND hWnd)
{
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

struct ControlCase
{
    int id;
    const char* className;
    DWORD styleBits; // all of them must be set
    bool visible;
};

// The dialogs subclass these controls by id and read their styles (the
// port edit takes digits only, the password edits hide their text).
void CheckTemplate(UINT nID, const std::vector<ControlCase>& cases)
{
    HWND hDlg = ::CreateDialogParamA(::GetModuleHandle(NULL), MAKEINTRESOURCEA(nID), NULL, QuietProc, 0);
    ASSERT_NE(nullptr, hDlg) << nID;
    for (const ControlCase& c : cases) {
        HWND hCtrl = ::GetDlgItem(hDlg, c.id);
        ASSERT_NE(nullptr, hCtrl) << nID << "/" << c.id;
        EXPECT_STRCASEEQ(c.className, ClassOf(hCtrl).c_str()) << c.id;
        const DWORD style = (DWORD)::GetWindowLongA(hCtrl, GWL_STYLE);
        EXPECT_EQ(c.styleBits, style & c.styleBits) << c.id;
        EXPECT_EQ(c.visible, (style & WS_VISIBLE) != 0) << c.id;
    }
    ::DestroyWindow(hDlg);
}

TEST(HallResources, LogonTemplate)
{
    CheckTemplate(IDD_LOGON, {
                                 {1, "Button", 0, true},
                                 {4, "Button", 0, false},
                                 {1000, "Static", 0, true},
                                 {1001, "Static", 0, false},
                                 {1002, "ComboBox", CBS_DROPDOWN, true},
                                 {1003, "ComboBox", CBS_DROPDOWN, true},
                                 {1022, "ComboBox", CBS_DROPDOWN, false},
                                 {1010, "ComboBox", CBS_DROPDOWNLIST, true},
                                 {1005, "Static", SS_NOTIFY, false},
                                 {1009, "Button", BS_AUTOCHECKBOX, true},
                                 {1019, "Button", BS_AUTOCHECKBOX, true},
                                 {1012, "Edit", ES_NUMBER, true},
                                 {1014, "Edit", ES_PASSWORD, true},
                                 {1020, "Button", BS_GROUPBOX, true},
                                 {1023, "Static", 0, false},
                                 {1024, "Static", SS_NOTIFY, true},
                                 {1099, "Static", 0, true},
                             });
}

TEST(HallResources, FormTemplates)
{
    CheckTemplate(IDD_REGISTER, {
                                    {1049, "Edit", 0, true},
                                    {1052, "Edit", ES_PASSWORD, true},
                                    {1053, "Edit", ES_PASSWORD, true},
                                    {1056, "Edit", 0, true},
                                    {1067, "Button", BS_AUTORADIOBUTTON, true},
                                    {1071, "Button", 0, true},
                                    {1066, "Button", 0, true},
                                });
    CheckTemplate(IDD_PREFECT_SELF_INFO, {
                                             {1099, "Edit", 0, true},
                                             {1226, "Edit", ES_NUMBER, true},
                                             {1227, "Edit", ES_NUMBER, true},
                                             {1238, "ComboBox", 0, true},
                                             {1075, "ComboBox", 0, true},
                                             {1086, "Button", BS_GROUPBOX, false},
                                         });
    CheckTemplate(IDD_REGISTER_WEB, {{1103, "Static", 0, true}});
}

// The logon's version report reads the program's fixed file version.
TEST(HallResources, VersionAndIcon)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(::GetFileVersionInfoA(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* pInfo = nullptr;
    UINT len = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", (void**)&pInfo, &len));
    EXPECT_EQ(MAKELONG(0, 1), pInfo->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), pInfo->dwFileVersionLS);

    HICON hIcon = (HICON)::LoadImageA(::GetModuleHandle(NULL), MAKEINTRESOURCEA(IDI_HALL), IMAGE_ICON, 16, 16, 0);
    EXPECT_NE(nullptr, hIcon);
    if (hIcon != nullptr)
        ::DestroyIcon(hIcon);
}

} // namespace

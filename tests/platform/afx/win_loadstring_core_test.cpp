// CString::LoadString called from a source that sees only the portable core,
// where winuser.h's LoadString macro never renamed the member.
#include <afx.h>
#include <gtest/gtest.h>

#include "win_test_res.h"

TEST(CStringLoadString, WithoutWindowsHeader)
{
    CString str;
    EXPECT_TRUE(str.LoadString(IDS_TEST_GREETING));
    EXPECT_STREQ((LPCTSTR)str, "你好，世界");
    EXPECT_FALSE(str.LoadString(4000));
}

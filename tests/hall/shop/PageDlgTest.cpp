// Amounts as typed and shown, and the money panel's page.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "AmountText.h"
#include "MessagePump.h"
#include "PageDlg.h"

namespace
{

TEST(AmountText, OneRuleSetForEveryTypedAmount)
{
    struct
    {
        const char* text;
        int state;
        LONGLONG amount;
    } cases[] = {
        {"", AMOUNT_VALID, 0},
        {"1,000", AMOUNT_VALID, 1000},
        {"4294967295", AMOUNT_VALID, 4294967295LL},
        {"0000000000000000005", AMOUNT_VALID, 5},
        {"4294967296", AMOUNT_OUT_OF_RANGE, 0},
        {"1234567890123456789", AMOUNT_OUT_OF_RANGE, 0},
        {"99999999999999999999999999", AMOUNT_OUT_OF_RANGE, 0}, // never wraps
        {"abc", AMOUNT_NOT_A_NUMBER, 0},
        {"12a", AMOUNT_NOT_A_NUMBER, 0},
        {"-5", AMOUNT_NOT_A_NUMBER, 0},
        {" 5", AMOUNT_NOT_A_NUMBER, 0},
        {"\xA3\xB1\xA3\xB2", AMOUNT_NOT_A_NUMBER, 0}, // full-width "12"
        {"5\xD6\xD0", AMOUNT_NOT_A_NUMBER, 0},
        {"99999999999x", AMOUNT_NOT_A_NUMBER, 0},
    };
    for (const auto& c : cases) {
        LONGLONG amount = -7;
        EXPECT_EQ(ReadAmountText(c.text, amount), c.state) << c.text;
        EXPECT_EQ(amount, c.amount) << c.text;
    }

    struct
    {
        LONGLONG amount;
        const char* text;
    } shown[] = {
        {0, ""}, {5, "5"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}, {4294967295LL, "4,294,967,295"}};
    for (const auto& c : shown)
        EXPECT_STREQ(FormatAmountText(c.amount), c.text) << c.amount;
}

// The panel: hears the page's commands first, and Enter and Escape.
class CPanelDouble : public CWnd
{
public:
    int quick = 0;
    int ok = 0;
    int cancel = 0;

protected:
    afx_msg void OnQuick() { ++quick; }
    afx_msg void OnOkCommand() { ++ok; }
    afx_msg void OnCancelCommand() { ++cancel; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPanelDouble, CWnd)
    ON_BN_CLICKED(1091, OnQuick)
    ON_COMMAND(IDOK, OnOkCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

class PageDlg : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(panel.CreateEx(0, "STATIC", "panel", WS_POPUP, CRect(0, 0, 400, 200), NULL, 0));
    }
    void TearDown() override { panel.DestroyWindow(); }
    CPanelDouble panel;
};

TEST_F(PageDlg, EachKindKeepsItsFieldAndBox)
{
    struct
    {
        int kind;
        UINT field;
        UINT box; // 0: none
    } cases[] = {{PAGE_KIND_DEPOSIT, 1248, 1249},
                 {PAGE_KIND_WITHDRAW, 1245, 1247},
                 {PAGE_KIND_EGGS_TO_BEANS, 1102, 0},
                 {PAGE_KIND_BEANS_TO_EGGS, 1245, 0}};
    for (const auto& c : cases) {
        CPageDlg page(c.kind, "确认", "tab");
        ASSERT_TRUE(page.CreatePage(&panel)) << c.kind;
        EXPECT_EQ(page.GetAmountField().GetDlgCtrlID(), (int)c.field) << c.kind;
        int fields = 0;
        for (UINT id : {1248u, 1245u, 1102u})
            fields += page.GetDlgItem(id) != NULL;
        EXPECT_EQ(fields, 1) << c.kind;
        int boxes = 0;
        for (UINT id : {1247u, 1249u})
            boxes += page.GetDlgItem(id) != NULL;
        EXPECT_EQ(boxes, c.box != 0 ? 1 : 0) << c.kind;
        if (c.box != 0) {
            EXPECT_NE(page.GetDlgItem(c.box), nullptr) << c.kind;
        }
    }
}

TEST_F(PageDlg, TypingAndTheAmountShown)
{
    CPageDlg page(PAGE_KIND_DEPOSIT, "确认存入", "存入");
    ASSERT_TRUE(page.CreatePage(&panel));
    CPageDlgEdit& field = page.GetAmountField();
    for (char c : std::string("12a,-3\xA3"))
        field.SendMessage(WM_CHAR, (BYTE)c, 0);
    CString text;
    field.GetWindowText(text);
    EXPECT_STREQ(text, "123");
    field.SendMessage(WM_CHAR, VK_BACK, 0);
    field.GetWindowText(text);
    EXPECT_STREQ(text, "12");

    CString last;
    field.SetWindowText("1234567");
    EXPECT_EQ(ReformatAmountField(field, last), AMOUNT_VALID);
    field.GetWindowText(text);
    EXPECT_STREQ(text, "1,234,567");
    EXPECT_EQ(GetAmount(&page, 1248), 1234567);

    // Pasted text that is no amount stays as it was put, and reads as such.
    field.SetWindowText("\xA3\xB1\xA3\xB0");
    EXPECT_EQ(ReformatAmountField(field, last), AMOUNT_NOT_A_NUMBER);
    EXPECT_EQ(GetAmount(&page, 1248), AMOUNT_TEXT_INVALID);
    field.SetWindowText("4,294,967,296");
    EXPECT_EQ(GetAmount(&page, 1248), AMOUNT_TEXT_TOO_LARGE);
    field.SetWindowText("");
    EXPECT_EQ(GetAmount(&page, 1248), 0);
}

TEST_F(PageDlg, ThePanelHearsCommandsEnterAndEscape)
{
    CPageDlg page(PAGE_KIND_WITHDRAW, "确认取出", "取出");
    ASSERT_TRUE(page.CreatePage(&panel));
    page.SendMessage(WM_COMMAND, MAKEWPARAM(1091, BN_CLICKED), (LPARAM)page.GetDlgItem(1091)->GetSafeHwnd());
    EXPECT_EQ(panel.quick, 1);
    page.SendMessage(WM_COMMAND, IDOK);
    page.SendMessage(WM_COMMAND, IDCANCEL);
    ASSERT_TRUE(PumpUntil([&] { return panel.ok == 1 && panel.cancel == 1; }));
    EXPECT_TRUE(page.IsWindow());
}

} // namespace

// The room's modal dialogs, driven through the modal responder: the
// create-table settings they fill, the password prompts' texts and limits,
// and the sit-limit options with what they store.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "AfxModalScript.h"
#include "DialogDriving.h"
#include "CreateTableDlg.h"
#include "GameOption.h"
#include "GameRoom.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "OptionDlg.h"
#include "RoomBankStoragePassDlg.h"
#include "RoomOption.h"
#include "RoomPassDlg.h"
#include "TableView.h"
#include "TempFolder.h"
#include "TestWait.h"
#include "resource.h"

namespace
{

void Tick(CWnd* pDialog, UINT nID)
{
    pDialog->CheckDlgButton(nID, BST_CHECKED);
    Click(pDialog, nID);
}

// The control, or the edit of an editable combo box, has the focus.
bool HasFocus(CWnd* pDialog, UINT nID)
{
    HWND hControl = pDialog->GetDlgItem(nID)->GetSafeHwnd();
    HWND hFocus = ::GetFocus();
    return hFocus != NULL && (hFocus == hControl || ::IsChild(hControl, hFocus));
}

// Boxes the script recorded, in order.
// Runs the dialog; body fills it and presses what it wants. The answer is
// the dialog's result (IDCANCEL when it was left open).
INT_PTR RunDialog(CModalScript& script, CDialog& dialog, std::function<void(CDialog&)> body)
{
    script.ThenDialog([body](AFX_MODAL_REQUEST& r) {
        body(*static_cast<CDialog*>(r.pWnd));
        return INT_PTR(IDCANCEL);
    });
    return dialog.DoModal();
}

// ---------------------------------------------------------------- create table

class CreateTableDlgTest : public testing::Test
{
protected:
    CModalScript m_Script;
    CTableOption m_Option;
};

TEST_F(CreateTableDlgTest, OkFillsOnlyTheCheckedSettings)
{
    struct Case
    {
        const char* name;
        std::function<void(CDialog&)> fill;
        std::function<void(tagTableOptionRecord&)> expect;
    };
    const Case cases[] = {
        {"name only: the first entry", [](CDialog&) {},
         [](tagTableOptionRecord& r) { strcpy(r.m_szText, "幸苦好几年，输回解放前"); }},
        {"every setting",
         [](CDialog& d) {
             d.SetDlgItemText(IDC_CREATE_NAME, "my table");
             Tick(&d, IDC_CREATE_PASS_CHECK);
             d.SetDlgItemText(IDC_CREATE_PASS, "pw");
             Tick(&d, IDC_CREATE_ROUNDS_CHECK);
             d.SendDlgItemMessage(IDC_CREATE_ROUNDS, CB_SETCURSEL, 1, 0);
             Tick(&d, IDC_CREATE_MULTIPLE_CHECK);
             d.SendDlgItemMessage(IDC_CREATE_MULTIPLE, CB_SETCURSEL, 3, 0);
             Tick(&d, IDC_CREATE_SCORE_CHECK);
             d.SetDlgItemText(IDC_CREATE_SCORE, "70000");
             Tick(&d, IDC_CREATE_FLEE_CHECK);
             d.SetDlgItemText(IDC_CREATE_FLEE, "30");
             Tick(&d, IDC_CREATE_IP_CHECK);
             d.SendDlgItemMessage(IDC_CREATE_IP, CB_SETCURSEL, 0, 0);
         },
         [](tagTableOptionRecord& r) {
             strcpy(r.m_szText, "my table");
             r.m_cbPassword = 1;
             strcpy(r.m_szPassword, "pw");
             r.m_wValue1 = 10;
             r.m_cbValue1 = 20;
             r.m_cbValue2 = 1;
             r.m_dwValue = 70000;
             r.m_cbValue3 = 1;
             r.m_wValue2 = 30;
             r.m_cbIPLimit = 1;
             r.m_cbIPLength = 3;
         }},
        {"a rate beyond its field keeps the largest",
         [](CDialog& d) {
             Tick(&d, IDC_CREATE_FLEE_CHECK);
             d.SetDlgItemText(IDC_CREATE_FLEE, "70000");
         },
         [](tagTableOptionRecord& r) {
             strcpy(r.m_szText, "幸苦好几年，输回解放前");
             r.m_cbValue3 = 1;
             r.m_wValue2 = 0xFFFF;
         }},
        {"a value typed without its box counts for nothing",
         [](CDialog& d) { d.SetDlgItemText(IDC_CREATE_SCORE, "99"); },
         [](tagTableOptionRecord& r) { strcpy(r.m_szText, "幸苦好几年，输回解放前"); }},
        {"long texts are cut to the record",
         [](CDialog& d) {
             d.SetDlgItemText(IDC_CREATE_NAME, std::string(40, 'n').c_str());
             Tick(&d, IDC_CREATE_PASS_CHECK);
             d.SetDlgItemText(IDC_CREATE_PASS, std::string(50, 'p').c_str());
         },
         [](tagTableOptionRecord& r) {
             memset(r.m_szText, 'n', 31);
             r.m_cbPassword = 1;
             memset(r.m_szPassword, 'p', 32);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Option.InitOption();
        CTableOption expected;
        c.expect(expected.Record());
        CCreateTableDlg dialog(&m_Option, 0);
        EXPECT_EQ(IDOK, RunDialog(m_Script, dialog, [&](CDialog& d) {
                      c.fill(d);
                      Click(&d, IDOK);
                  }));
        const tagTableOptionRecord& got = m_Option.Record();
        EXPECT_EQ(0xFFFF, got.m_wTableID);
        EXPECT_STREQ(expected.m_szText, got.m_szText);
        EXPECT_EQ(expected.m_wValue1, got.m_wValue1);
        EXPECT_EQ(expected.m_cbValue1, got.m_cbValue1);
        EXPECT_EQ(expected.m_cbValue2, got.m_cbValue2);
        EXPECT_EQ(expected.m_dwValue, got.m_dwValue);
        EXPECT_EQ(expected.m_cbValue3, got.m_cbValue3);
        EXPECT_EQ(expected.m_wValue2, got.m_wValue2);
        EXPECT_EQ(expected.m_cbIPLimit, got.m_cbIPLimit);
        EXPECT_EQ(expected.m_cbIPLength, got.m_cbIPLength);
        EXPECT_EQ(expected.m_cbPassword, got.m_cbPassword);
        EXPECT_STREQ(expected.m_szPassword, got.m_szPassword);
    }
    EXPECT_TRUE(Boxes(m_Script).empty());
}

// The record's bytes where the room reads them.
TEST_F(CreateTableDlgTest, TheRecordHoldsItsFieldsAtTheirOffsets)
{
    CCreateTableDlg dialog(&m_Option, 0);
    ASSERT_EQ(IDOK, RunDialog(m_Script, dialog, [](CDialog& d) {
                  d.SetDlgItemText(IDC_CREATE_NAME, "T");
                  Tick(&d, IDC_CREATE_SCORE_CHECK);
                  d.SetDlgItemText(IDC_CREATE_SCORE, "305419896"); // 0x12345678
                  Tick(&d, IDC_CREATE_PASS_CHECK);
                  d.SetDlgItemText(IDC_CREATE_PASS, "k");
                  Click(&d, IDOK);
              }));
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&m_Option.Record());
    const BYTE head[] = {0xFF, 0xFF, 'T', 0};
    EXPECT_EQ(0, memcmp(head, bytes, sizeof(head)));
    const BYTE rounds[] = {1, 0, 1, 1}; // rounds 1, multiple 1, score limit on
    EXPECT_EQ(0, memcmp(rounds, bytes + 34, sizeof(rounds)));
    const BYTE score[] = {0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(0, memcmp(score, bytes + 40, sizeof(score)));
    const BYTE password[] = {1, 'k', 0};
    EXPECT_EQ(0, memcmp(password, bytes + 50, sizeof(password)));
}

TEST_F(CreateTableDlgTest, MissingInputKeepsTheDialogOpen)
{
    struct Case
    {
        const char* name;
        std::function<void(CDialog&)> fill;
        const char* box;
        UINT nFocus;
    };
    const Case cases[] = {
        {"empty name", [](CDialog& d) { d.SetDlgItemText(IDC_CREATE_NAME, ""); }, "请输入创建桌子名称！",
         IDC_CREATE_NAME},
        {"locked without a password", [](CDialog& d) { Tick(&d, IDC_CREATE_PASS_CHECK); }, "请填写桌子密码！",
         IDC_CREATE_PASS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Option.InitOption();
        const size_t nBefore = Boxes(m_Script).size();
        bool bOpen = false;
        m_Script.AnswerBox(IDOK);
        CCreateTableDlg dialog(&m_Option, 0);
        EXPECT_EQ(IDCANCEL, RunDialog(m_Script, dialog, [&](CDialog& d) {
                      c.fill(d);
                      Click(&d, IDOK);
                      bOpen = d.GetSafeHwnd() != NULL && d.ContinueModal();
                      EXPECT_TRUE(HasFocus(&d, c.nFocus));
                  }));
        EXPECT_TRUE(bOpen);
        std::vector<std::string> boxes = Boxes(m_Script);
        ASSERT_EQ(nBefore + 1, boxes.size());
        EXPECT_EQ(c.box, boxes.back());
        EXPECT_EQ('\0', m_Option.m_szText[0]);
    }
}

TEST_F(CreateTableDlgTest, RuleFlagsLockTheirBoxesAndNameTheHint)
{
    struct Case
    {
        DWORD dwRule;
        bool bRounds, bMultiple;
        const char* hint;
    };
    const Case cases[] = {{0, true, true, "暂无提示信息！"},
                          {CREATE_TABLE_NO_ROUNDS, false, true, "本房间不允许设置房间局数！"},
                          {CREATE_TABLE_NO_MULTIPLE, true, false, "本房间不允许设置倍数！"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwRule);
        m_Option.InitOption();
        CCreateTableDlg dialog(&m_Option, c.dwRule);
        EXPECT_EQ(c.hint, std::string(dialog.GetHintText()));
        EXPECT_EQ(IDOK, RunDialog(m_Script, dialog, [&](CDialog& d) {
                      EXPECT_EQ(c.bRounds, Enabled(&d, IDC_CREATE_ROUNDS_CHECK));
                      EXPECT_EQ(c.bMultiple, Enabled(&d, IDC_CREATE_MULTIPLE_CHECK));
                      EXPECT_FALSE(Enabled(&d, IDC_CREATE_ROUNDS));
                      Click(&d, IDOK);
                  }));
        EXPECT_EQ(1, m_Option.m_wValue1);
        EXPECT_EQ(1, m_Option.m_cbValue1);
    }
}

TEST_F(CreateTableDlgTest, CheckBoxesSwitchTheirInputsAndCancelChangesNothing)
{
    CCreateTableDlg dialog(&m_Option, 0);
    EXPECT_EQ(IDCANCEL, RunDialog(m_Script, dialog, [](CDialog& d) {
                  EXPECT_FALSE(Enabled(&d, IDC_CREATE_FLEE));
                  Tick(&d, IDC_CREATE_FLEE_CHECK);
                  EXPECT_TRUE(Enabled(&d, IDC_CREATE_FLEE));
                  d.CheckDlgButton(IDC_CREATE_FLEE_CHECK, BST_UNCHECKED);
                  Click(&d, IDC_CREATE_FLEE_CHECK);
                  EXPECT_FALSE(Enabled(&d, IDC_CREATE_FLEE));
                  d.SetDlgItemText(IDC_CREATE_NAME, "x");
                  Click(&d, IDCANCEL);
              }));
    EXPECT_EQ('\0', m_Option.m_szText[0]);
}

TEST_F(CreateTableDlgTest, WithoutSettingsOkSimplyCloses)
{
    CCreateTableDlg dialog(NULL, 0);
    EXPECT_EQ(IDOK, RunDialog(m_Script, dialog, [](CDialog& d) {
                  d.SetDlgItemText(IDC_CREATE_NAME, "");
                  Click(&d, IDOK);
              }));
    EXPECT_TRUE(Boxes(m_Script).empty());
}

// ---------------------------------------------------------------- passwords

TEST(PasswordDlgTest, EachPromptShowsItsTextsAndRefusesAnEmptyPassword)
{
    struct Case
    {
        std::function<CDialog*()> make;
        std::function<CString(CDialog*)> password;
        const char* title;
        const char* prompt;
        const char* empty;
    };
    const Case cases[] = {
        {[] { return new CRoomPassDlg; }, [](CDialog* p) { return static_cast<CRoomPassDlg*>(p)->m_strPassword; },
         "设置房间密码", "该房间已加密，请输入密码", "请您输入房间密码！"},
        {[] { return new CTablePassDlg; }, [](CDialog* p) { return static_cast<CTablePassDlg*>(p)->m_strPassword; },
         "桌子密码", "该桌子已被锁定，请输入密码", "请您输入桌子密码！"},
        {[] { return new CRoomBankStoragePassDlg; },
         [](CDialog* p) { return static_cast<CRoomBankStoragePassDlg*>(p)->m_strPassword; }, "保险箱密码",
         "请输入您的保险箱密码！", "请您输入保险箱密码！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        CModalScript script;
        script.AnswerBox(IDOK);
        CDialog* pDialog = c.make();
        EXPECT_EQ(IDOK, RunDialog(script, *pDialog, [&](CDialog& d) {
                      CString strTitle;
                      d.GetWindowText(strTitle);
                      EXPECT_EQ(c.title, std::string(strTitle));
                      EXPECT_EQ(c.prompt, std::string(ItemText(&d, IDC_PASS_TEXT)));
                      // A record keeps 32 characters.
                      EXPECT_EQ(32, (int)d.SendDlgItemMessage(IDC_PASS_EDIT, EM_GETLIMITTEXT, 0, 0));
                      Click(&d, IDOK);
                      EXPECT_TRUE(d.ContinueModal());
                      d.SetDlgItemText(IDC_PASS_EDIT, "secret");
                      Click(&d, IDOK);
                  }));
        EXPECT_EQ("secret", std::string(c.password(pDialog)));
        EXPECT_EQ(std::vector<std::string>{c.empty}, Boxes(script));
        delete pDialog;
    }
}

TEST(PasswordDlgTest, TheSafeBoxPromptFocusesItsEditOnItsTimer)
{
    CModalScript script;
    CRoomBankStoragePassDlg dialog;
    RunDialog(script, dialog, [](CDialog& d) {
        HWND hEdit = d.GetDlgItem(IDC_PASS_EDIT)->GetSafeHwnd();
        EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == hEdit; }));
    });
}

// ---------------------------------------------------------------- options

// Records the boss key's registration instead of asking the system.
class RecordingOptionDlg : public COptionDlg
{
public:
    using COptionDlg::COptionDlg;
    std::vector<WORD> m_Registered;

protected:
    bool RegisterBossKey(WORD wHotKey) override
    {
        m_Registered.push_back(wHotKey);
        return true;
    }
};

class OptionDlgTest : public testing::Test
{
protected:
    OptionDlgTest() : m_Room(71), m_GameOption(5, NULL), m_RoomOption(71, &m_Room)
    {
        m_strSavedFolder = g_GlobalOption.GetConfigDirectory();
        g_GlobalOption.SetConfigDirectory(m_Folder.Folder());
        AllowPassword(true);
        m_lSavedLevel = g_GlobalUnits.GetGlobalUserData()->lLevel;
        m_wSavedKey = g_GlobalOption.m_wBossHotKey;
        m_GameOption.m_lMaxScore = 1000;
        m_GameOption.m_lLessScore = -300;
        m_GameOption.m_wWinRate = 4567;
    }
    ~OptionDlgTest() override
    {
        g_GlobalOption.SetConfigDirectory(m_strSavedFolder);
        g_GlobalUnits.GetGlobalUserData()->lLevel = m_lSavedLevel;
        g_GlobalOption.m_wBossHotKey = m_wSavedKey;
    }

    void AllowPassword(bool bAllow)
    {
        m_Folder.Write("dynamic\\DynaItemCfg.ini", bAllow ? "[AllowPassLockTable]\r\nRoom0=9\r\nRoom1=71\r\n"
                                                          : "[AllowPassLockTable]\r\nRoom0=9\r\n");
    }

    // Runs the dialog: body fills it, then OK is pressed; nFocus, when not
    // 0, is where the focus must be afterwards.
    INT_PTR RunOk(RecordingOptionDlg& dialog, std::function<void(CDialog&)> body, UINT nFocus = 0)
    {
        return RunDialog(m_Script, dialog, [&](CDialog& d) {
            body(d);
            Click(&d, IDOK);
            if (nFocus != 0) {
                EXPECT_TRUE(HasFocus(&d, nFocus));
            }
        });
    }

    CTempFolder m_Folder;
    CString m_strSavedFolder;
    LONG m_lSavedLevel;
    WORD m_wSavedKey;
    CModalScript m_Script;
    CGameRoom m_Room;
    CGameOption m_GameOption;
    CRoomOption m_RoomOption;
};

TEST(OptionRateTest, RatesAreHundredthsWithinAHundredPercent)
{
    const struct
    {
        const char* text;
        WORD wRate;
    } cases[] = {{"12.345", 1234}, {"12.34", 1234}, {"0.01", 1}, {"45.67", 4567}, {"99.99", 9999},
                 {"100", 10000},   {"150", 10000},  {"-5", 0},   {"", 0},         {"99999999999", 10000}};
    for (const auto& c : cases)
        EXPECT_EQ(c.wRate, COptionDlg::ParseRate(c.text)) << c.text;
}

TEST_F(OptionDlgTest, OkStoresTheBlockIntoEveryTarget)
{
    RecordingOptionDlg dialog(&m_GameOption, &m_RoomOption);
    EXPECT_EQ(IDOK, RunOk(dialog, [](CDialog& d) {
                  EXPECT_EQ("45.67", std::string(ItemText(&d, IDC_OPTION_WIN)));
                  EXPECT_EQ("-300", std::string(ItemText(&d, IDC_OPTION_SCORE_MIN)));
                  Tick(&d, IDC_OPTION_WIN_CHECK);
                  d.SetDlgItemText(IDC_OPTION_WIN, "12.345");
                  Tick(&d, IDC_OPTION_FLEE_CHECK);
                  d.SetDlgItemText(IDC_OPTION_FLEE, "150");
                  Tick(&d, IDC_OPTION_DELAY_CHECK);
                  d.SetDlgItemText(IDC_OPTION_DELAY, "300");
                  Tick(&d, IDC_OPTION_SCORE_CHECK);
                  d.SetDlgItemText(IDC_OPTION_SCORE_MIN, "-50");
                  d.SetDlgItemText(IDC_OPTION_SCORE_MAX, "800");
                  Tick(&d, IDC_OPTION_SAME_IP);
                  Tick(&d, IDC_OPTION_CALL);
                  Tick(&d, IDC_OPTION_PASS_CHECK);
                  d.SetDlgItemText(IDC_OPTION_PASS, "lock");
                  d.SendDlgItemMessage(IDC_OPTION_BOSS_KEY, HKM_SETHOTKEY, MAKEWORD('Q', HOTKEYF_ALT), 0);
              }));
    EXPECT_TRUE(m_GameOption.m_bLimitWin);
    EXPECT_EQ(1234, m_GameOption.m_wWinRate);
    EXPECT_TRUE(m_GameOption.m_bLimitFlee);
    EXPECT_EQ(10000, m_GameOption.m_wFleeRate);
    EXPECT_TRUE(m_GameOption.m_bLimitDelay);
    EXPECT_EQ(300, m_GameOption.m_wNetDelay);
    EXPECT_TRUE(m_GameOption.m_bLimitScore);
    EXPECT_EQ(-50, m_GameOption.m_lLessScore);
    EXPECT_EQ(800, m_GameOption.m_lMaxScore);
    EXPECT_TRUE(m_GameOption.m_bLimitCall);
    EXPECT_FALSE(m_GameOption.m_bLimitInvite);
    EXPECT_TRUE(g_GlobalOption.m_bLimitSameIP);
    EXPECT_EQ(1, m_RoomOption.m_cbPassFlag);
    EXPECT_EQ("lock", std::string(m_RoomOption.m_strTablePass));
    const WORD wKey = MAKEWORD('Q', HOTKEYF_ALT);
    EXPECT_EQ(wKey, g_GlobalOption.m_wBossHotKey);
    EXPECT_EQ(std::vector<WORD>{wKey}, dialog.m_Registered);
}

TEST_F(OptionDlgTest, RefusedInputKeepsTheDialogOpenAndTheOptions)
{
    struct Case
    {
        const char* name;
        std::function<void(CDialog&)> fill;
        const char* box;
        UINT nFocus;
    };
    const Case cases[] = {
        {"score range 100 to 100",
         [](CDialog& d) {
             Tick(&d, IDC_OPTION_SCORE_CHECK);
             d.SetDlgItemText(IDC_OPTION_SCORE_MIN, "100");
             d.SetDlgItemText(IDC_OPTION_SCORE_MAX, "100");
         },
         "积分限制范围参数不正确，请正确设置积分限制范围！", IDC_OPTION_SCORE_MAX},
        {"table password on without one",
         [](CDialog& d) {
             Tick(&d, IDC_OPTION_PASS_CHECK);
             d.SetDlgItemText(IDC_OPTION_PASS, "");
         },
         "桌子携带密码没有设置，请输入设置桌子携带密码！", IDC_OPTION_PASS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Script.AnswerBox(IDOK);
        const size_t nBefore = Boxes(m_Script).size();
        RecordingOptionDlg dialog(&m_GameOption, &m_RoomOption);
        EXPECT_EQ(IDCANCEL, RunOk(
                                dialog,
                                [&](CDialog& d) {
                                    d.SetDlgItemText(IDC_OPTION_WIN, "1");
                                    c.fill(d);
                                },
                                c.nFocus));
        std::vector<std::string> boxes = Boxes(m_Script);
        ASSERT_EQ(nBefore + 1, boxes.size());
        EXPECT_EQ(c.box, boxes.back());
        EXPECT_EQ(4567, m_GameOption.m_wWinRate);
        EXPECT_TRUE(dialog.m_Registered.empty());
    }
}

TEST_F(OptionDlgTest, TheTablePasswordFollowsTheRoomAndTheUser)
{
    struct Case
    {
        const char* name;
        bool bAllowed;
        LONG lLevel;
        bool bEnabled;
    };
    const Case cases[] = {{"allowed", true, 3, true},
                          {"not allowed in this room", false, 3, false},
                          {"a guest", true, GUEST_USER_LEVEL, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AllowPassword(c.bAllowed);
        g_GlobalUnits.GetGlobalUserData()->lLevel = c.lLevel;
        m_RoomOption.m_cbPassFlag = 1;
        m_RoomOption.m_strTablePass = "old";
        RecordingOptionDlg dialog(&m_GameOption, &m_RoomOption);
        EXPECT_EQ(IDOK, RunOk(dialog, [&](CDialog& d) {
                      EXPECT_EQ(c.bEnabled, Enabled(&d, IDC_OPTION_PASS_CHECK));
                      EXPECT_EQ(c.bEnabled, Enabled(&d, IDC_OPTION_PASS));
                  }));
        // Where no password is allowed the flag is cleared.
        EXPECT_EQ(c.bAllowed ? 1 : 0, m_RoomOption.m_cbPassFlag);
    }
}

TEST_F(OptionDlgTest, CurrencyRoomsShowZeroAndKeepTheStoredMinimum)
{
    struct Case
    {
        BYTE cbKind;
        const char* label;
        const char* typed; // null: left as shown
        LONG lStored;
    };
    const Case cases[] = {{ROOM_KIND_GAME_COIN, "金蛋范围", NULL, -300},
                          {ROOM_KIND_SECOND_CURRENCY, "金豆范围", NULL, -300},
                          {ROOM_KIND_GAME_COIN, "金蛋范围", "25", 25},
                          {0, "积分范围：", NULL, -300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        m_Room.SetRoomKind(c.cbKind);
        m_GameOption.m_lLessScore = -300;
        RecordingOptionDlg dialog(&m_GameOption, &m_RoomOption);
        EXPECT_EQ(IDOK, RunOk(dialog, [&](CDialog& d) {
                      EXPECT_EQ(c.label, std::string(ItemText(&d, IDC_OPTION_SCORE_CHECK)));
                      if (c.cbKind != 0) {
                          EXPECT_EQ("0", std::string(ItemText(&d, IDC_OPTION_SCORE_MIN)));
                      }
                      if (c.typed != NULL)
                          d.SetDlgItemText(IDC_OPTION_SCORE_MIN, c.typed);
                  }));
        EXPECT_EQ(c.lStored, m_GameOption.m_lLessScore);
    }
}

TEST_F(OptionDlgTest, ADelayBeyondItsFieldKeepsTheLargest)
{
    RecordingOptionDlg dialog(&m_GameOption, &m_RoomOption);
    EXPECT_EQ(IDOK, RunOk(dialog, [](CDialog& d) { d.SetDlgItemText(IDC_OPTION_DELAY, "70000"); }));
    EXPECT_EQ(0xFFFF, m_GameOption.m_wNetDelay);
}

TEST_F(OptionDlgTest, CancelChangesNothing)
{
    RecordingOptionDlg dialog(&m_GameOption, &m_RoomOption);
    EXPECT_EQ(IDCANCEL, RunDialog(m_Script, dialog, [](CDialog& d) {
                  d.SetDlgItemText(IDC_OPTION_WIN, "1");
                  Click(&d, IDCANCEL);
              }));
    EXPECT_EQ(4567, m_GameOption.m_wWinRate);
    EXPECT_TRUE(dialog.m_Registered.empty());
}

} // namespace

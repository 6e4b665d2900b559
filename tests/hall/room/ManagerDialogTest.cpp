// The administrator's dialogs as modeless windows: the pop-up markup they
// compose, the rights they offer, and the target that may have left.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>
#include <vector>

#include "AfxModalScript.h"
#include "ClipboardText.h"
#include "DialogDriving.h"
#include "HallApp.h"
#include "ManagerMessage.h"
#include "ManagerPopupMessage.h"
#include "ManagerSendWarning.h"
#include "ManagerServer.h"
#include "ManagerUserRight.h"
#include "UserManager.h"
#include "resource.h"

namespace
{

// Records what the composer hands to the hall's notice window.
class PopupApp : public IHallApp
{
public:
    CClientDataCenter* GetClientDataCenter() override { return NULL; }
    bool IsLoggedOn() override { return true; }
    void RestoreMainWindow() override {}
    void LogonAgain() override {}
    bool ShowUrlInPlaza(LPCSTR, BYTE, int) override { return false; }
    void ShowPopupMessage(LPCSTR pszText) override { m_Shown.push_back(pszText); }
    std::vector<std::string> m_Shown;
};

// ---------------------------------------------------------------- pop-up message

class PopupMessageTest : public testing::Test
{
protected:
    PopupMessageTest() { m_pPrevious = CHallApp::Install(&m_App); }
    ~PopupMessageTest() override
    {
        CHallApp::Install(m_pPrevious);
        if (m_Dialog.GetSafeHwnd() != NULL)
            m_Dialog.DestroyWindow();
    }
    void Fill(int nType, const char* title, const char* picture, const char* link, const char* text)
    {
        m_Dialog.SendDlgItemMessage(IDC_MANAGER_KIND, CB_SETCURSEL, nType, 0);
        m_Dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MANAGER_KIND, CBN_SELCHANGE),
                             (LPARAM)m_Dialog.GetDlgItem(IDC_MANAGER_KIND)->GetSafeHwnd());
        m_Dialog.SetDlgItemText(IDC_MANAGER_TITLE, title);
        m_Dialog.SetDlgItemText(IDC_MANAGER_PICTURE, picture);
        m_Dialog.SetDlgItemText(IDC_MANAGER_LINK, link);
        m_Dialog.SetDlgItemText(IDC_MANAGER_TEXT, text);
    }

    CModalScript m_Script;
    PopupApp m_App;
    IHallApp* m_pPrevious;
    CManagerPopupMessage m_Dialog;
};

TEST_F(PopupMessageTest, EachTypeBuildsItsMarkup)
{
    ASSERT_TRUE(m_Dialog.Create(IDD_MANAGER_POPUP, NULL));
    CString strTitle;
    m_Dialog.GetWindowText(strTitle);
    EXPECT_EQ("弹窗消息：", std::string(strTitle));
    const struct
    {
        int nType;
        const char *title, *picture, *link, *text;
        const char* markup;
    } cases[] = {
        {0, "T", "", "http://l", "hello",
         "<content type=\"1\"><title>T</title><link>http://l</link><text>hello</text></content>"},
        {0, "", "", "", "hello", "<content type=\"1\"><text>hello</text></content>"},
        {1, "T", "http://p.png", "", "hi",
         "<content type=\"2\"><title>T</title><image type=\"1\">http://p.png</image><text>hi</text></content>"},
        {2, "", "http://p.png", "", "", "<content type=\"0\"><image type=\"1\">http://p.png</image></content>"},
        {0, "a<b", "", "http://x?a=1&b=2", "1 < 2 & 3",
         "<content type=\"1\"><title>a&lt;b</title><link>http://x?a=1&amp;b=2</link><text>1 &lt; 2 &amp; 3</text>"
         "</content>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.markup);
        Fill(c.nType, c.title, c.picture, c.link, c.text);
        Click(&m_Dialog, IDOK);
        EXPECT_EQ(c.markup, std::string(m_Dialog.m_strMessage));
        EXPECT_NE(nullptr, m_Dialog.GetSafeHwnd());
    }
    EXPECT_TRUE(Boxes(m_Script).empty());
    EXPECT_TRUE(m_App.m_Shown.empty());
}

TEST_F(PopupMessageTest, TheTypeSwitchesItsFields)
{
    ASSERT_TRUE(m_Dialog.Create(IDD_MANAGER_POPUP, NULL));
    EXPECT_FALSE(Enabled(&m_Dialog, IDC_MANAGER_PICTURE));
    const struct
    {
        int nType;
        bool bTitle, bPicture, bText;
    } cases[] = {{1, true, true, true}, {2, false, true, false}, {0, true, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nType);
        Fill(c.nType, "", "", "", "");
        EXPECT_EQ(c.bTitle, Enabled(&m_Dialog, IDC_MANAGER_TITLE));
        EXPECT_EQ(c.bPicture, Enabled(&m_Dialog, IDC_MANAGER_PICTURE));
        EXPECT_EQ(c.bText, Enabled(&m_Dialog, IDC_MANAGER_TEXT));
        EXPECT_TRUE(Enabled(&m_Dialog, IDC_MANAGER_LINK));
    }
}

TEST_F(PopupMessageTest, MissingFieldsAreAskedForAndNothingIsPreviewed)
{
    ASSERT_TRUE(m_Dialog.Create(IDD_MANAGER_POPUP, NULL));
    const struct
    {
        int nType;
        const char *picture, *text;
        const char* box;
    } cases[] = {{0, "", "", "弹窗消息不能为空，请写入弹窗消息内容！"},
                 {1, "http://p", "", "弹窗消息不能为空，请写入弹窗消息内容！"},
                 {1, "", "t", "图片链接不能为空，请填入图片链接地址！"},
                 {2, "", "t", "图片链接不能为空，请填入图片链接地址！"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        m_Dialog.m_strMessage = "before";
        m_Script.AnswerBox(IDOK);
        const size_t nBefore = Boxes(m_Script).size();
        Fill(c.nType, "", c.picture, "", c.text);
        Click(&m_Dialog, IDC_MANAGER_PREVIEW);
        std::vector<std::string> boxes = Boxes(m_Script);
        ASSERT_EQ(nBefore + 1, boxes.size());
        EXPECT_EQ(c.box, boxes.back());
        EXPECT_EQ(UINT(MB_ICONQUESTION), m_Script.Recorded().back().nType & MB_ICONMASK);
        EXPECT_EQ("before", std::string(m_Dialog.m_strMessage));
    }
    EXPECT_TRUE(m_App.m_Shown.empty());
}

TEST_F(PopupMessageTest, PreviewHandsTheMarkupToTheNoticeWindow)
{
    ASSERT_TRUE(m_Dialog.Create(IDD_MANAGER_POPUP, NULL));
    Fill(2, "", "http://p", "", "");
    Click(&m_Dialog, IDC_MANAGER_PREVIEW);
    EXPECT_EQ(std::vector<std::string>{"<content type=\"0\"><image type=\"1\">http://p</image></content>"},
              m_App.m_Shown);
    Click(&m_Dialog, IDCANCEL);
    EXPECT_EQ(nullptr, m_Dialog.GetSafeHwnd());
}

// ---------------------------------------------------------------- rights

class ManagerTargetTest : public testing::Test
{
protected:
    ManagerTargetTest()
    {
        tagUserData data;
        memset(&data, 0, sizeof(data));
        data.dwUserID = 7;
        strcpy(data.szName, "seven");
        m_pUser = m_Users.ActiveUserItem(data);
    }

    CModalScript m_Script;
    CUserManager m_Users;
    CUserItem* m_pUser;
};

TEST_F(ManagerTargetTest, RightsShowTheUsersAndEnableTheMasters)
{
    const struct
    {
        DWORD dwRight, dwMaster;
        UINT nID;
        bool bChecked, bEnabled;
    } cases[] = {
        {0x08, 0x08, IDC_RIGHT_HALL_CHAT, true, true}, {0x10, 0, IDC_RIGHT_GAME_CHAT, true, false},
        {0, 0x04, IDC_RIGHT_WHISPER, false, true},     {0x02, 0x1F, IDC_RIGHT_LOOK_ON, true, true},
        {0x1E, 0x1E, IDC_RIGHT_PLAY, false, false},    {0, 0x1000, IDC_RIGHT_BIND_ACCOUNT, false, true},
        {0, 0x800, IDC_RIGHT_BIND_GAME, false, true},  {0, 0x800, IDC_RIGHT_BIND_ACCOUNT, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nID);
        CManagerUserRight dialog;
        dialog.m_dwTargetUserID = 7;
        dialog.m_pTargetUserItem = m_pUser;
        dialog.m_pUserManager = &m_Users;
        dialog.m_dwUserRight = c.dwRight;
        dialog.m_dwMasterRight = c.dwMaster;
        ASSERT_TRUE(dialog.Create(IDD_MANAGER_RIGHT, NULL));
        EXPECT_EQ("seven", std::string(ItemText(&dialog, IDC_MANAGER_USER_NAME)));
        EXPECT_EQ(c.bChecked, dialog.IsDlgButtonChecked(c.nID) == BST_CHECKED);
        EXPECT_EQ(c.bEnabled, Enabled(&dialog, c.nID));
        EXPECT_EQ(c.dwMaster != 0, Enabled(&dialog, IDOK));
        dialog.DestroyWindow();
    }
}

TEST_F(ManagerTargetTest, RightsOfADepartedUserAreRefused)
{
    CManagerUserRight dialog;
    dialog.m_dwTargetUserID = 7;
    dialog.m_pTargetUserItem = m_pUser;
    dialog.m_pUserManager = &m_Users;
    dialog.m_dwMasterRight = 0x1F;
    ASSERT_TRUE(dialog.Create(IDD_MANAGER_RIGHT, NULL));
    m_Users.DeleteUserItem(7); // the kept item is gone with it
    m_Script.AnswerBox(IDOK);
    Click(&dialog, IDOK);
    EXPECT_EQ(std::vector<std::string>{"目标用户已经离开了游戏房间，用户权限设置失败！"}, Boxes(m_Script));
    ASSERT_NE(nullptr, dialog.GetSafeHwnd());

    // Back in the room under a new item: found again by id.
    tagUserData data;
    memset(&data, 0, sizeof(data));
    data.dwUserID = 7;
    m_Users.ActiveUserItem(data);
    Click(&dialog, IDOK);
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
}

// ---------------------------------------------------------------- warning

TEST_F(ManagerTargetTest, AWarningToADepartedUserStaysInTheEdit)
{
    ASSERT_TRUE(SetClipboardText("untouched"));
    CManagerSendWarning dialog;
    dialog.m_dwTargetUserID = 7;
    dialog.m_pTargetUserItem = m_pUser;
    dialog.m_pUserManager = &m_Users;
    ASSERT_TRUE(dialog.Create(IDD_MANAGER_WARNING, NULL));
    EXPECT_EQ("seven", std::string(ItemText(&dialog, IDC_MANAGER_USER_NAME)));
    EXPECT_EQ("7", std::string(ItemText(&dialog, IDC_MANAGER_USER_ID)));
    dialog.SetDlgItemText(IDC_MANAGER_TEXT, "stop it");
    m_Users.DeleteUserItem(7);
    m_Script.AnswerBox(IDOK);
    Click(&dialog, IDOK);
    EXPECT_EQ(std::vector<std::string>{"目标用户已经离开了游戏房间，无法向此用户发送警告通知！"}, Boxes(m_Script));
    EXPECT_EQ("stop it", std::string(ItemText(&dialog, IDC_MANAGER_TEXT)));
    EXPECT_EQ("untouched", ClipboardText());
    dialog.DestroyWindow();
}

TEST_F(ManagerTargetTest, AWarningGoesToTheClipboardAndEmptiesTheEdit)
{
    CManagerSendWarning dialog;
    dialog.m_dwTargetUserID = 7;
    dialog.m_pUserManager = &m_Users;
    ASSERT_TRUE(dialog.Create(IDD_MANAGER_WARNING, NULL));
    dialog.SetDlgItemText(IDC_MANAGER_TEXT, "stop it");
    m_Script.AnswerBox(IDOK);
    Click(&dialog, IDC_MANAGER_PREVIEW);
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_EQ("警告预览：", std::string(m_Script.At(0).strCaption));
    EXPECT_EQ("stop it", std::string(m_Script.At(0).strText));
    Click(&dialog, IDOK);
    EXPECT_EQ("stop it", ClipboardText());
    EXPECT_EQ("", std::string(ItemText(&dialog, IDC_MANAGER_TEXT)));
    EXPECT_EQ(1u, m_Script.Count());
    Click(&dialog, IDCANCEL);
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
}

// ---------------------------------------------------------------- system message

TEST(ManagerMessageTest, SendNeedsATextAndAKind)
{
    CModalScript script;
    ASSERT_TRUE(SetClipboardText("untouched"));
    CManagerMessage dialog;
    ASSERT_TRUE(dialog.Create(IDD_MANAGER_MESSAGE, NULL));
    const struct
    {
        const char* text;
        bool bRoom, bGame;
        const char* box;     // or null
        const char* clipped; // what the clipboard holds after
    } cases[] = {
        {"", true, false, "系统消息不能为空，请写入系统消息内容！", "untouched"},
        {"notice", false, false, "发送失败，请选择系统消息的类型！", "untouched"},
        {"notice", false, true, NULL, "notice"},
        {"again", true, false, NULL, "again"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        dialog.SetDlgItemText(IDC_MANAGER_TEXT, c.text);
        dialog.CheckDlgButton(IDC_MANAGER_ROOM_MSG, c.bRoom ? BST_CHECKED : BST_UNCHECKED);
        dialog.CheckDlgButton(IDC_MANAGER_GAME_MSG, c.bGame ? BST_CHECKED : BST_UNCHECKED);
        const size_t nBefore = Boxes(script).size();
        if (c.box != NULL)
            script.AnswerBox(IDOK);
        Click(&dialog, IDOK);
        std::vector<std::string> boxes = Boxes(script);
        ASSERT_EQ(nBefore + (c.box != NULL ? 1 : 0), boxes.size());
        if (c.box != NULL) {
            EXPECT_EQ(c.box, boxes.back());
        }
        EXPECT_EQ(c.clipped, ClipboardText());
        EXPECT_EQ(c.box != NULL ? c.text : "", std::string(ItemText(&dialog, IDC_MANAGER_TEXT)));
    }
    EXPECT_EQ(0, script.Unexpected());
    dialog.DestroyWindow();
}

// ---------------------------------------------------------------- room management

TEST(ManagerServerTest, OkDoesNothingAndCancelDestroysTheWindow)
{
    CManagerServer dialog;
    ASSERT_TRUE(dialog.Create(IDD_MANAGER_SERVER, NULL));
    EXPECT_EQ("禁止“进入游戏”", std::string(ItemText(&dialog, IDC_SERVER_FIRST + 5)));
    Click(&dialog, IDOK);
    EXPECT_NE(nullptr, dialog.GetSafeHwnd());
    Click(&dialog, IDCANCEL);
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    // The object makes its window again for the next use.
    ASSERT_TRUE(dialog.Create(IDD_MANAGER_SERVER, NULL));
    dialog.DestroyWindow();
}

} // namespace

// The custom game list run modally over the game list view's tree: what it
// lists, and what OK and Cancel leave in the user's configuration.
#include "HallViewsTestSupport.h" // Winsock before the system headers

#include <AfxModalScript.h>

#include "GameListManagerDlg.h"
#include "GameListView.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"

class GameListManagerTest : public GameTreeTest
{
protected:
    void SetUp() override
    {
        GameTreeTest::SetUp();
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 7;
        g_GlobalOption.ClearGameLists();
        m_View.SetClientDataCenter(m_pDataCenter);
        ASSERT_TRUE(m_View.Create(NULL, NULL, WS_CHILD, CRect(0, 0, 300, 400), CWnd::FromHandle(m_hHost), 1005));
        m_View.InitGameList();
        // Games 10, 11 and 12 in the tree; 13 is not.
        SendTree({TreeLink(1, 0, 1, 1), TreeLink(2, 1, 2, 10), TreeLink(3, 1, 2, 11), TreeLink(4, 1, 2, 12)});
    }
    void TearDown() override
    {
        m_View.DestroyWindow();
        g_GlobalOption.ClearGameLists();
        GameTreeTest::TearDown();
    }
    void Store(const std::string& keys)
    {
        m_Folder.Write("config\\Users\\7\\Config.ini", "[SelfGames]\r\n" + keys);
        g_GlobalOption.ClearGameLists();
        g_GlobalOption.LoadSelfGames();
    }
    // "13,10" for the stored keys from SelfGame0 on.
    std::string Stored()
    {
        const std::string file = m_Folder.Path() + "config\\Users\\7\\Config.ini";
        std::string ids;
        for (int i = 0;; i++) {
            const std::string key = "SelfGame" + std::to_string(i);
            const UINT id = GetPrivateProfileIntA("SelfGames", key.c_str(), 0, file.c_str());
            if (id == 0)
                return ids;
            ids += (ids.empty() ? "" : ",") + std::to_string(id);
        }
    }
    static std::vector<DWORD> Ids(CGameListListCtrl& list)
    {
        std::vector<DWORD> ids;
        for (int i = 0; i < list.GetItemCount(); i++)
            ids.push_back(list.GetGame(i)->GetId());
        return ids;
    }
    // Runs the dialog; the action works on it, then the button ends it.
    void Run(std::function<void(CGameListManagerDlg&)> action, UINT button)
    {
        CModalScript script;
        script.Then([&](AFX_MODAL_REQUEST& r) {
            CGameListManagerDlg& dlg = *static_cast<CGameListManagerDlg*>(r.pWnd);
            action(dlg);
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            return INT_PTR(button == CGameListManagerDlg::IDC_OK ? IDOK : IDCANCEL);
        });
        CGameListManagerDlg dlg(&m_View);
        dlg.DoModal();
        EXPECT_EQ(0, script.Unexpected());
    }

    CGameListView m_View;
};

TEST_F(GameListManagerTest, ListsTheTreeGamesAndSavesTheChoice)
{
    Store("SelfGame0=13\r\nSelfGame1=11\r\n");
    Run(
        [&](CGameListManagerDlg& dlg) {
            EXPECT_EQ((std::vector<DWORD>{10, 11, 12}), Ids(dlg.GetAllList()));
            EXPECT_EQ((std::vector<DWORD>{11}), Ids(dlg.GetSelfList())) << "13 is not in the tree";
            EXPECT_FALSE(dlg.GetDlgItem(CGameListManagerDlg::IDC_ADD)->IsWindowEnabled());
            EXPECT_FALSE(dlg.GetDlgItem(CGameListManagerDlg::IDC_REMOVE)->IsWindowEnabled());
            LVITEM item = {LVIF_IMAGE, 1};
            dlg.GetAllList().GetItem(&item);
            EXPECT_EQ(3, item.iImage) << "a game without program";
            item.iItem = 0;
            dlg.GetAllList().GetItem(&item);
            EXPECT_GT(item.iImage, 0) << "the program's own icon";

            CGame* landlord = Tree()->FindGame(10);
            EXPECT_TRUE(dlg.GetSelfList().AddGame(landlord));
            EXPECT_FALSE(dlg.GetSelfList().AddGame(landlord)) << "listed once";
            EXPECT_TRUE(dlg.GetSelfList().RemoveGame(Tree()->FindGame(11)));
            EXPECT_EQ((std::vector<DWORD>{10}), Ids(dlg.GetSelfList()));
        },
        CGameListManagerDlg::IDC_OK);
    EXPECT_EQ("13,10", Stored()) << "the stored game absent from the tree survives";
}

TEST_F(GameListManagerTest, OkWithAnEmptyListRemovesEveryKey)
{
    Store("SelfGame0=11\r\nSelfGame1=12\r\n");
    Run(
        [&](CGameListManagerDlg& dlg) {
            dlg.GetSelfList().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(CGameListManagerDlg::IDC_REMOVE, BN_CLICKED), 0);
            EXPECT_EQ(0, dlg.GetSelfList().GetItemCount());
        },
        CGameListManagerDlg::IDC_OK);
    EXPECT_EQ("", Stored());
    EXPECT_EQ(0, g_GlobalOption.GetSelfGameCount());
}

TEST_F(GameListManagerTest, CancelDropsWhatWasNotSaved)
{
    Store("SelfGame0=11\r\n");
    CGameListListCtrl* self = NULL;
    std::vector<DWORD> afterCancel;
    CModalScript script;
    script.Then([&](AFX_MODAL_REQUEST& r) {
        CGameListManagerDlg& dlg = *static_cast<CGameListManagerDlg*>(r.pWnd);
        self = &dlg.GetSelfList();
        dlg.GetAllList().SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(CGameListManagerDlg::IDC_ADD, BN_CLICKED), 0);
        EXPECT_EQ((std::vector<DWORD>{11, 10}), Ids(*self));
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(CGameListManagerDlg::IDC_CANCEL, BN_CLICKED), 0);
        afterCancel = Ids(*self);
        return INT_PTR(IDCANCEL);
    });
    CGameListManagerDlg dlg(&m_View);
    dlg.DoModal();
    EXPECT_EQ((std::vector<DWORD>{11}), afterCancel);
    EXPECT_EQ("11", Stored());
    EXPECT_EQ(1, g_GlobalOption.GetSelfGameCount());
}

// The buy dialog under the modal responder, buying through the real hall
// data centre from the scripted hall server.
#include <winsock2.h>

#include "AfxModalScript.h"
#include "BuyDlg.h"
#include "DataCenterTestSupport.h"
#include "GlobalUnits.h"
#include "ItemShop.h"
#include "ShopTestSupport.h"

#include <gtest/gtest.h>

namespace
{

class BuyDialog : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        GetItemShop()->SetDataCenter(m_pDataCenter);
        GetItemShop()->SetOwnItems(&owned);
        item.SetItemId(7);
        item.SetName("喇叭");
        item.SetPrice(30);
        item.SetQuantityItem(1);
    }
    void TearDown() override
    {
        CItemShop* pShop = GetItemShop();
        if (pShop->GetSafeHwnd() != NULL)
            pShop->DestroyWindow();
        pShop->SetOwnItems(NULL);
        pShop->SetDataCenter(NULL);
        DataCenterTest::TearDown();
    }
    // Runs the dialog; the responder clicks those buttons in turn.
    INT_PTR Run(CModalScript& script, BYTE cbUseMode, std::vector<UINT> clicks, std::vector<INT_PTR> answers = {})
    {
        CBuyDlg dlg;
        dlg.SetItem(NULL, &item, cbUseMode != 0);
        dlg.SetUseMode(cbUseMode);
        QueueClicks(script, clicks);
        for (INT_PTR nAnswer : answers)
            script.Answer(nAnswer);
        return dlg.DoModal();
    }
    // The next dialog gets those button clicks and runs on.
    static void QueueClicks(CModalScript& script, std::vector<UINT> clicks)
    {
        script.Then([clicks](AFX_MODAL_REQUEST& r) {
            for (UINT nID : clicks)
                r.pWnd->PostMessage(WM_COMMAND, nID);
            return CModalScript::keepRunning;
        });
    }
    // The next box shows for real; its OK button's caption is kept and the
    // box answered OK.
    static void QueueLiveOkBox(CModalScript& script, CString& strOkCaption)
    {
        script.AnswerBox(CModalScript::keepRunning).ThenDialog([&strOkCaption](AFX_MODAL_REQUEST& r) {
            CWnd* pOK = r.pWnd->GetDlgItem(IDOK);
            if (pOK != NULL)
                pOK->GetWindowText(strOkCaption);
            return (INT_PTR)IDOK;
        });
    }
    // The item ids of the buy requests the server has after one more, made
    // here as a marker.
    std::vector<DWORD> BuyRequestsWithMarker()
    {
        size_t n = m_Server.GetRequests(HALL_MAIN_USER_VALUE, HALL_SUB_USER_VALUE_BUY).size();
        EXPECT_TRUE(m_pDataCenter->BuyItem(99, 1));
        std::vector<DWORD> ids;
        for (const tagServerFrame& f : WaitRequests(HALL_MAIN_USER_VALUE, HALL_SUB_USER_VALUE_BUY, n + 1)) {
            EXPECT_EQ(f.Body.size(), 6u);
            DWORD dwId = 0;
            memcpy(&dwId, f.Body.data(), sizeof(dwId));
            ids.push_back(dwId);
        }
        return ids;
    }

    CItemCfg item;
    COwnItemList owned;
};

TEST_F(BuyDialog, DisconnectedHallEndsCancelled)
{
    CModalScript script;
    INT_PTR nResult = Run(script, 0, {1004}, {IDOK});
    EXPECT_EQ(nResult, IDCANCEL);
    ASSERT_EQ(script.Count(), 2u);
    EXPECT_EQ(Text(script.At(1).strText), "大厅连接断开，请重新连接！");
    EXPECT_EQ(script.Unexpected(), 0);
}

// The refusal boxes are answered with "确  定", not with the use caption.
TEST_F(BuyDialog, RefusalBoxesConfirmWithOk)
{
    struct
    {
        const char* name;
        bool connected;
        const char* text;
    } cases[] = {
        {"disconnected", false, "大厅连接断开，请重新连接！"},
        {"guest", true, "游客不能购买道具，请注册后再购买！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.connected) {
            ListenToAll();
            ConnectToServer();
            g_GlobalUnits.GetGlobalUserData()->lLevel = GUEST_USER_LEVEL;
        }
        CModalScript script;
        QueueClicks(script, {1004});
        CString strOk;
        QueueLiveOkBox(script, strOk);
        CBuyDlg dlg;
        dlg.SetItem(NULL, &item, false);
        dlg.SetUseMode(0);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        ASSERT_EQ(script.Count(), 3u);
        EXPECT_EQ(Text(script.At(1).strText), c.text);
        EXPECT_EQ(Text(strOk), "确  定");
        EXPECT_EQ(script.Unexpected(), 0);
    }
    g_GlobalUnits.GetGlobalUserData()->lLevel = 0;
    EXPECT_EQ(BuyRequestsWithMarker(), std::vector<DWORD>{99});
}

TEST_F(BuyDialog, BuyingSendsOnePieceOnceEvenOnADoubleClick)
{
    ListenToAll();
    ConnectToServer();
    CModalScript script;
    EXPECT_EQ(Run(script, 0, {1004, 1004}), IDOK);
    EXPECT_EQ(script.Count(), 1u);
    std::vector<DWORD> ids = BuyRequestsWithMarker();
    EXPECT_EQ(ids, (std::vector<DWORD>{7, 99}));
    std::vector<tagServerFrame> frames = m_Server.GetRequests(HALL_MAIN_USER_VALUE, HALL_SUB_USER_VALUE_BUY);
    EXPECT_EQ(frames[0].Body, CWireBytes().U32(7).U16(1).Vector());
}

TEST_F(BuyDialog, AGuestGetsABoxAndNothingIsSent)
{
    ListenToAll();
    ConnectToServer();
    g_GlobalUnits.GetGlobalUserData()->lLevel = GUEST_USER_LEVEL;
    CModalScript script;
    script.Then([](AFX_MODAL_REQUEST& r) {
        r.pWnd->PostMessage(WM_COMMAND, 1004);
        return CModalScript::keepRunning;
    });
    script.Answer(IDOK);
    CBuyDlg dlg;
    dlg.SetItem(NULL, &item, false);
    dlg.SetUseMode(0);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(script.Count(), 2u);
    g_GlobalUnits.GetGlobalUserData()->lLevel = 0;
    EXPECT_EQ(BuyRequestsWithMarker(), std::vector<DWORD>{99});
}

TEST_F(BuyDialog, UsingAnOwnedPiece)
{
    ListenToAll();
    ConnectToServer();
    struct
    {
        const char* name;
        WORD count;
        INT_PTR answer; // to the question; 0 when none is asked
        INT_PTR result;
        bool shopShown;
    } cases[] = {
        {"owned", 2, 0, IDOK, false},
        {"none, to the shop", 0, IDYES, IDCANCEL, true},
        {"none, stay", 0, IDNO, IDCANCEL, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        owned.RemoveAll();
        owned.Add({7, c.count, 0});
        CModalScript script;
        CBuyDlg dlg;
        dlg.SetItem(NULL, &item, true);
        dlg.SetUseMode(1);
        dlg.SetOwnCount(c.count);
        // Use, then cancel: the cancel only counts when the dialog stayed.
        script.Then([](AFX_MODAL_REQUEST& r) {
            r.pWnd->PostMessage(WM_COMMAND, 1006);
            r.pWnd->PostMessage(WM_COMMAND, 1005);
            return CModalScript::keepRunning;
        });
        if (c.answer != 0)
            script.Answer(c.answer);
        EXPECT_EQ(dlg.DoModal(), c.result);
        ASSERT_EQ(script.Count(), c.answer != 0 ? 2u : 1u);
        if (c.answer != 0) {
            EXPECT_EQ(Text(script.At(1).strText), "您没有该道具是否到商城购买？");
            EXPECT_EQ(script.At(1).nType & MB_TYPEMASK, (UINT)MB_YESNO);
        }
        CItemShop* pShop = GetItemShop();
        EXPECT_EQ(pShop->GetSafeHwnd() != NULL && pShop->IsWindowVisible(), c.shopShown);
        if (pShop->GetSafeHwnd() != NULL)
            pShop->DestroyWindow();
    }
    EXPECT_EQ(m_Server.GetRequests(HALL_MAIN_USER_VALUE, HALL_SUB_USER_VALUE_BUY).size(), 0u);
}

TEST_F(BuyDialog, OwnedRowTexts)
{
    const LONGLONG now = 1700000000; // 2023-11-14 in every time zone
    CBuyDlg::s_Now = [now] { return now; };
    struct
    {
        bool showOwned;
        bool counted;
        LONGLONG value;
        const char* row;
    } cases[] = {
        {true, true, 0, "现有数量：0(已使用完)"},
        {true, true, 3, "现有数量：3"},
        {true, true, -1, ""},
        {false, true, 0, ""}, // the count is ignored without the owned display
        {true, false, now, "期    限：2023.11.%d"},
        {true, false, now - 1, "期    限：2023.11.%d(已过期)"},
    };
    time_t t = (time_t)now;
    int nDay = localtime(&t)->tm_mday;
    for (const auto& c : cases) {
        CBuyDlg dlg;
        dlg.SetItem(NULL, &item, c.showOwned);
        if (c.counted)
            dlg.SetOwnCount((int)c.value);
        else
            dlg.SetExpiry(c.value);
        CString expected;
        expected.Format(c.row, nDay);
        EXPECT_EQ(Text(dlg.GetOwnedRow()), Text(expected)) << c.row;
    }
    CBuyDlg::s_Now = [] { return (LONGLONG)::time(NULL); };
}

} // namespace

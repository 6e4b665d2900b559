#include "E2eTest.h"

#include <commctrl.h>
#include <string.h>

#include "HallProtocol.h"
#include "RoomProtocol.h"
#include "TestWait.h"

using namespace e2e;

namespace
{
// The room window's table view (tool bar strip over the grid); the chat
// input shares its id.
const int kTableViewId = 1005;
} // namespace

std::vector<std::string> E2eTest::LogonAccounts()
{
    std::vector<std::string> accounts;
    for (const tagServerFrame& frame : m_World.GetHallServer().GetFrames()) {
        if (frame.wMainCmdID != HALL_MAIN_USER || frame.wSubCmdID != HALL_SUB_USER_LOGON_BY_ACCOUNT)
            continue;
        // The account leads the body in the archive's short string form.
        const std::vector<BYTE>& body = frame.Body;
        if (body.empty() || body[0] == 0xFF || body.size() < 1u + body[0])
            accounts.push_back("<bad>");
        else
            accounts.push_back(std::string((const char*)body.data() + 1, body[0]));
    }
    return accounts;
}

void E2eTest::StartAndLogOn(HallProcess& hall, HWND& hFrame, HWND& hTree)
{
    hFrame = hTree = NULL;
    ASSERT_TRUE(hall.Start()) << hall.Failure();
    HWND hDialog = hall.WaitLogonDialog();
    ASSERT_NE((HWND)NULL, hDialog);
    HallProcess::LogOn(hDialog, demohall::kAccount, demohall::kPassword);
    hFrame = hall.WaitFrame();
    ASSERT_NE((HWND)NULL, hFrame);
    hTree = hall.WaitChild(
        hFrame, [](HWND hWnd) { return ClassOf(hWnd) == WC_TREEVIEWA && SendMessageA(hWnd, TVM_GETCOUNT, 0, 0) > 0; });
    ASSERT_NE((HWND)NULL, hTree);
}

std::vector<tagServerFrame> E2eTest::Requests(CFrameServer& server, WORD wMainCmdID, WORD wSubCmdID)
{
    std::vector<tagServerFrame> found;
    for (const tagServerFrame& frame : server.GetFrames())
        if (frame.wMainCmdID == wMainCmdID && frame.wSubCmdID == wSubCmdID)
            found.push_back(frame);
    return found;
}

bool E2eTest::WaitRequests(CFrameServer& server, WORD wMainCmdID, WORD wSubCmdID, size_t nCount)
{
    return PumpUntil([&] { return Requests(server, wMainCmdID, wSubCmdID).size() >= nCount; }, kWait);
}

std::string E2eTest::DescribeRequests(CFrameServer& server)
{
    std::string text = "the server saw:";
    for (const tagServerFrame& frame : server.GetFrames())
        text += " " + std::to_string(frame.wMainCmdID) + "/" + std::to_string(frame.wSubCmdID);
    return text + "\n";
}

void E2eTest::DoubleClickRoom(HallProcess& hall, HWND hTree, const demodata::tagRoom& room)
{
    ASSERT_TRUE(hall.DoubleClickTreeItem(hTree, room.pszName)) << room.pszName;
}

void E2eTest::EnterFromTree(HallProcess& hall, HWND hFrame, HWND hTree, const demodata::tagRoom& room, HWND& hTableView)
{
    hTableView = NULL;
    ASSERT_NO_FATAL_FAILURE(DoubleClickRoom(hall, hTree, room));
    CFrameServer* pServer = m_World.GetRoomServer(room.dwID);
    ASSERT_NE(nullptr, pServer);
    ASSERT_TRUE(WaitRequests(*pServer, ROOM_MAIN_ROOM, ROOM_SUB_LOGON)) << "the room was not entered\n"
                                                                        << hall.DescribeWindows();
    const std::string nickName = demodata::Accounts()[0].pszNickName;
    const bool bListed = PumpUntil([&] { return ListsShow(hall, hFrame, nickName); }, kWait);
    ASSERT_TRUE(bListed) << "the player is not listed in the room\n" << DescribeRequests(*pServer);
    hTableView = FindTableView(hFrame);
    ASSERT_NE((HWND)NULL, hTableView);
}

bool E2eTest::ListsShow(HallProcess& hall, HWND hFrame, const std::string& nickName)
{
    for (HWND hList : FindChildren(hFrame, [](HWND h) { return ClassOf(h) == WC_LISTVIEWA && IsWindowVisible(h); }))
        for (const std::string& row : hall.ListRows(hList))
            if (row.find(nickName) != std::string::npos)
                return true;
    return false;
}

std::string E2eTest::ChatText(HWND hFrame)
{
    std::string text;
    for (HWND h : FindChildren(hFrame, [](HWND h) { return ClassOf(h).find("RichEdit") != std::string::npos; }))
        text += TextOf(h) + "\n";
    return text;
}

HWND E2eTest::FindTableView(HWND hFrame)
{
    return FindChild(hFrame, [](HWND h) {
        return GetDlgCtrlID(h) == kTableViewId && ClassOf(h) != "ComboBox" && IsWindowVisible(h);
    });
}

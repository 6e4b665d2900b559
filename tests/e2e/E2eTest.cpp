#include "E2eTest.h"

#include <commctrl.h>
#include <string.h>

#include "HallProtocol.h"
#include "TestWait.h"

using namespace e2e;

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
    ASSERT_TRUE(hall.Start());
    HWND hDialog = hall.WaitLogonDialog();
    ASSERT_NE((HWND)NULL, hDialog);
    HallProcess::LogOn(hDialog, demohall::kAccount, demohall::kPassword);
    hFrame = hall.WaitFrame();
    ASSERT_NE((HWND)NULL, hFrame);
    hTree = hall.WaitChild(
        hFrame, [](HWND hWnd) { return ClassOf(hWnd) == WC_TREEVIEWA && SendMessageA(hWnd, TVM_GETCOUNT, 0, 0) > 0; });
    ASSERT_NE((HWND)NULL, hTree);
}

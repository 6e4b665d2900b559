// Fixture of the chat bar tests: a room view entered on the scripted room
// server, the bar in a host window, its owner a recording double.
#pragma once

// The room view support first: it brings Winsock before Windows.
#include "RoomViewTestSupport.h"

#include "ChatBar.h"

#include <functional>
#include <string>
#include <vector>

// A text of that many Chinese characters (two bytes each).
inline std::string Chinese(int nChars)
{
    std::string text;
    for (int i = 0; i < nChars; ++i)
        text += "汉";
    return text;
}

// The side panel as the bars see it.
class CChatOwnerDouble : public IChatBarOwner
{
public:
    CWnd* GetPanelWindow() override { return pPanel; }
    CWnd* GetChatDisplay() override { return pDisplay; }
    CRoomViewItem* GetRoomView() override { return pView; }
    CChatBar* GetChatBar() override { return pBar; }
    bool IsChatInputEnabled() override { return bEnabled; }
    DWORD GetLastSendTime() override { return dwLast; }
    void SetLastSendTime(DWORD dwTickCount) override { dwLast = dwTickCount; }

    CWnd* pPanel = nullptr;
    CWnd* pDisplay = nullptr;
    CRoomViewItem* pView = nullptr;
    CChatBar* pBar = nullptr;
    bool bEnabled = true;
    DWORD dwLast = 0;
};

class ChatBarTest : public RoomViewTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The tick count and local time every window of the process reads.
    static void SetNow(DWORD dwTickCount, const CTime& timeNow = CTime(2024, 1, 1, 12, 0, 0));
    // The view entered (state 5) and the bar made for it.
    void MakeBar();
    // The permission list of the dynamic configuration; null: no file.
    void WriteChatRooms(const char* pszList);
    std::vector<tagRoomChatRequest> ChatRequests();
    void SettleRequests();
    // The chat display's last line and the colour of its last character.
    std::string LastLine();
    COLORREF LastLineColour();

    CWnd m_Host;
    CChatOwnerDouble m_Owner;
    CChatBar m_Bar;
};

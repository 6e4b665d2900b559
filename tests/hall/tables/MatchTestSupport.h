// Fixtures of the match room tests: a program folder with the match skin of
// known colours and sizes, and a room window double that records what the
// match view asks of it.
#pragma once

#include <winsock2.h>

#include <afxcmn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HallMsgBox.h"
#include "MatchRoomHost.h"
#include "SkinTestSupport.h"
#include "UserItem.h"

namespace matchtest
{
const COLORREF kTile = RGB(20, 40, 60);
const COLORREF kAtlas = RGB(90, 90, 90);
const COLORREF kMagenta = RGB(255, 0, 255);
// Digit d of Num.png is drawn in this colour (cells 10 x 20).
COLORREF DigitColour(int d);
const int kDigitWidth = 10;
const int kDigitHeight = 20;

// A PNG file of the pixels.
void WritePng(const CTempFolder& folder, const std::string& name, const skintest::Pixels& pixels);

// "Res\gameroom\MatchViewItem\" of a program folder that becomes the
// global units' work directory while the object lives.
class MatchSkin
{
public:
    MatchSkin();
    ~MatchSkin();
    std::string MatchFile(const std::string& name) const;
    // The atlas, its layout (every cut 8 x 8 unless changed) and the files.
    void WriteAll();
    void WriteLayout(const std::string& overrides = "");
    void WriteUrls(const std::string& lines);
    void Remove(const std::string& name);
    const skintest::TempFolder& Folder() const { return m_folder; }

private:
    skintest::TempFolder m_folder;
};

// A list window of the class library standing in for the ranking list.
class ListDouble : public IMatchRankList
{
public:
    bool CreateList(CWnd* pParent, DWORD dwStyle, UINT nID) override;
    CWnd* GetListWnd() override { return &list; }
    void InitMatchList(int nWidth, int nHeight) override { initSize = CSize(nWidth, nHeight); }
    void RemoveUnrankedUsers() override { ++unrankedRemovals; }
    int GetRowCount() override { return int(rows.size()); }
    CUserItem* GetRowUser(int nRow) override
    {
        return nRow >= 0 && nRow < int(rows.size()) ? rows[size_t(nRow)] : NULL;
    }

    CListCtrl list;
    DWORD createdStyle = 0;
    CSize initSize;
    int unrankedRemovals = 0;
    std::vector<CUserItem*> rows;
};

struct PageDouble : ICycleMatchPage
{
    void Navigate(LPCSTR pszUrl) override { urls.push_back(pszUrl); }
    void MoveWindow(int x, int y, int cx, int cy) override { rect.SetRect(x, y, x + cx, y + cy); }
    void ShowWindow(int nCmdShow) override { shown = nCmdShow; }
    std::vector<std::string> urls;
    CRect rect;
    int shown = -1;
};

class RoomDouble : public IMatchRoomHost
{
public:
    struct Box
    {
        std::string text;
        UINT style;
        int timeout;
        std::string yesCaption;
    };

    RoomDouble();
    ~RoomDouble() override;
    CGameRoom* GetGameRoom() override { return room; }
    CUserItem* GetSelfUserItem() override { return self; }
    void RequestJoinMatch() override { requests.push_back("join"); }
    void RequestQuitMatch() override { requests.push_back("quit"); }
    void SendTextToGameClient(DWORD dwId, LPCSTR pszText) override
    {
        gameTexts.push_back(std::to_string(dwId) + ":" + pszText);
    }
    int ShowSkinMessageBox(LPCSTR pszText, UINT nStyle, const MsgBoxParams* pParams) override;
    IMatchRankList* GetMatchList() override { return &list; }
    ICycleMatchPage* CreateMatchPage(CWnd*) override
    {
        pages.push_back(new PageDouble);
        return pages.back();
    }

    CGameRoom* room = NULL;
    CUserItem* self = NULL;
    ListDouble list;
    std::vector<PageDouble*> pages;
    std::vector<std::string> requests;
    std::vector<std::string> gameTexts;
    std::vector<Box> boxes;
    std::vector<int> answers; // taken in order; IDNO when none is left
};
} // namespace matchtest

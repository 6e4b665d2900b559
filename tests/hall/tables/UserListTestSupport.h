// Fixtures of the user list tests: the list pictures in a program folder, a
// parent that reflects notifications like the room's side panel, a sink that
// records what the list reports, friends in the companion module.
#pragma once

#include <afxwin.h>

#include "SkinTestSupport.h"
#include "UserItem.h"
#include "UserListView.h"

#include <memory>
#include <string>
#include <vector>

namespace usertest
{
const DWORD kOwnUserId = 4100000007u;

// Colours of the list pictures: one per image (status images repeat every
// six). The image lists hold 16-bit colour: compare with a tolerance.
COLORREF StatusImageColour(int nImage);
COLORREF MemberImageColour(int nImage);
COLORREF IdentityImageColour(int nImage);

// Writes Res\ListImage\ with images of the colours above under the folder.
void WriteListImages(const skintest::TempFolder& folder);

// A parent window of the ordinary kind: notifications go back to the child.
class ReflectingParent : public CWnd
{
public:
    BOOL CreateParent(int cx, int cy);
};

class SinkDouble : public IUserListSink
{
public:
    struct Call
    {
        std::string name;
        int row;
        bool same;
    };
    std::vector<Call> calls;
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID iid, void** out) override;
    // The row of a click is the list view's: the item of its NMITEMACTIVATE.
    void OnUserListDblClick(NMHDR* p, LRESULT*) override { calls.push_back({"dblclick", RowOf(p), false}); }
    void OnUserListRClick(NMHDR* p, LRESULT*) override { calls.push_back({"rclick", RowOf(p), false}); }
    void OnUserListClick(NMHDR* p, LRESULT*) override { calls.push_back({"click", RowOf(p), false}); }
    void OnUserListMouseMove(int row, bool same) override { calls.push_back({"move", row, same}); }
    void OnUserListKillFocus() override { calls.push_back({"killfocus", -1, false}); }

private:
    static int RowOf(const NMHDR* p) { return p != NULL ? ((const NMITEMACTIVATE*)p)->iItem : -2; }
};

// The companion module loaded for the own user, with the given friends;
// unloaded and its files removed at the end.
class Friends
{
public:
    explicit Friends(const std::vector<DWORD>& friendIds);
    ~Friends();
    bool Loaded() const { return m_loaded; }
    void Set(DWORD userId, bool isFriend);

private:
    bool m_loaded = false;
};

struct UserSpec
{
    DWORD id;
    const char* nick;
    LONG level;
    DWORD identity;
    BYTE status;
    LONG score;
};
std::unique_ptr<CUserItem> MakeListUser(const UserSpec& spec);

// A room of users from a fixed seed: the own user, friends (their ids in
// friendIds), members, referees first in order, hidden users; scores and
// game counters spread widely.
struct Room
{
    std::vector<std::unique_ptr<CUserItem>> users;
    std::vector<DWORD> friendIds;
    int hidden = 0;
};
Room MakeRoom(int nUsers, unsigned seed);
// The data kinds of a room's usual columns.
std::vector<tagColumnItem> UsualColumns();
} // namespace usertest

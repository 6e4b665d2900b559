#include "UserListTestSupport.h"

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "IGellbrook.h"

namespace usertest
{
// Far apart, so each stays told apart after the image lists' 16-bit colour.
COLORREF StatusImageColour(int nImage)
{
    return RGB(20, 30 + 40 * (nImage % 6), 200);
}

COLORREF MemberImageColour(int nImage)
{
    return RGB(200, 20, 30 + 30 * (nImage % 7));
}

COLORREF IdentityImageColour(int nImage)
{
    return RGB(30 + 50 * (nImage % 4), 200, 20);
}

namespace
{
skintest::Pixels Strip(int nImages, int nWidth, int nHeight, COLORREF (*colour)(int))
{
    skintest::Pixels pixels(nImages * nWidth, nHeight, RGB(255, 0, 255));
    // A magenta frame around each image shows the mask at work.
    for (int i = 0; i < nImages; ++i)
        pixels.Fill(i * nWidth + 1, 1, nWidth - 2, nHeight - 2, colour(i));
    return pixels;
}

COLORREF CompanionColour(int)
{
    return RGB(1, 1, 1);
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}
} // namespace

void WriteListImages(const skintest::TempFolder& folder)
{
    folder.WriteBmp("Res\\ListImage\\USER_STATUS.bmp", Strip(78, 16, 16, StatusImageColour));
    folder.WriteBmp("Res\\ListImage\\USER_RATE.bmp", Strip(7, 21, 16, MemberImageColour));
    folder.WriteBmp("Res\\ListImage\\USER_LIST_IDENTIFY.bmp", Strip(4, 17, 15, IdentityImageColour));
    folder.WriteBmp("Res\\ListImage\\USER_COMPANION.bmp", Strip(1, 16, 16, CompanionColour));
}

BOOL ReflectingParent::CreateParent(int cx, int cy)
{
    return CreateEx(0, NULL, "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, cx, cy, NULL, NULL);
}

HRESULT SinkDouble::QueryInterface(REFGUID iid, void** out)
{
    if (IsEqualGUID(iid, IID_IUserListSink)) {
        *out = static_cast<IUserListSink*>(this);
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

Friends::Friends(const std::vector<DWORD>& friendIds)
{
    if (!g_GlobalUnits.m_GellbrookHelper.CreateInstance())
        return;
    IGellbrook* companions = g_GlobalUnits.m_GellbrookHelper.GetInterface();
    if (companions == NULL || !companions->LoadCompanion(kOwnUserId))
        return;
    m_loaded = true;
    for (DWORD id : friendIds)
        Set(id, true);
}

void Friends::Set(DWORD userId, bool isFriend)
{
    tagCompanionItem item = {};
    item.dwUserID = userId;
    item.dwCompanion = isFriend ? COMPANION_FRIEND : COMPANION_NONE;
    g_GlobalOption.CallCompanionUpdate(&item);
}

Friends::~Friends()
{
    g_GlobalUnits.m_GellbrookHelper.CloseInstance();
    char bin[MAX_PATH];
    GetModuleFileNameA(NULL, bin, MAX_PATH);
    *strrchr(bin, '\\') = '\0';
    char id[16];
    wsprintfA(id, "%lu", (unsigned long)kOwnUserId);
    RemoveTree(std::string(bin) + "\\config\\Users\\" + id);
    RemoveDirectoryA((std::string(bin) + "\\config\\Users").c_str());
    RemoveDirectoryA((std::string(bin) + "\\config").c_str());
}

std::unique_ptr<CUserItem> MakeListUser(const UserSpec& spec)
{
    tagUserData data = {};
    data.dwUserID = spec.id;
    lstrcpynA(data.szNickName, spec.nick, sizeof(data.szNickName));
    data.dwRank = (DWORD)spec.level;
    data.dwKey112 = spec.identity;
    data.cbUserStatus = spec.status;
    data.dwScore[0] = (DWORD)spec.score;
    data.wTableID = INVALID_TABLE;
    data.wChairID = INVALID_CHAIR;
    return std::unique_ptr<CUserItem>(new CUserItem(data));
}

Room MakeRoom(int nUsers, unsigned seed)
{
    Room room;
    unsigned state = seed;
    auto next = [&state](unsigned range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    for (int i = 0; i < nUsers; ++i) {
        char nick[32];
        wsprintfA(nick, "玩家%05u", next(100000));
        UserSpec spec = {100000u + (DWORD)i, nick, 0, 0, (BYTE)(1 + next(6)), (LONG)next(200000) - 50000};
        if (i == nUsers / 2)
            spec.id = kOwnUserId;
        const unsigned kind = next(100);
        if (kind < 5)
            spec.level = 1 + (LONG)next(6);
        else if (kind < 6)
            spec.level = 256;
        else if (kind < 7)
            spec.identity = 14;
        else if (kind < 9)
            spec.identity = 1 + next(13);
        std::unique_ptr<CUserItem> user = MakeListUser(spec);
        for (int c = 1; c <= 4; ++c)
            user->GetUserData()->dwScore[c] = next(5000);
        if (spec.level == 256 && spec.id != kOwnUserId)
            ++room.hidden;
        if (next(50) == 0 && spec.id != kOwnUserId)
            room.friendIds.push_back(spec.id);
        room.users.push_back(std::move(user));
    }
    return room;
}

std::vector<tagColumnItem> UsualColumns()
{
    const struct
    {
        WORD kind;
        WORD width;
        const char* title;
    } columns[] = {{2, 90, "昵称"},   {1, 60, "ID"},     {212, 60, "积分"}, {101, 40, "桌号"},
                   {213, 50, "总局"}, {205, 60, "胜率"}, {208, 60, "逃率"}, {203, 40, "逃跑"}};
    std::vector<tagColumnItem> items;
    for (const auto& c : columns) {
        tagColumnItem item = {};
        item.wColumnWidth = c.width;
        item.wDataDescribe = c.kind;
        lstrcpynA(item.szColumnName, c.title, sizeof(item.szColumnName));
        items.push_back(item);
    }
    return items;
}
} // namespace usertest

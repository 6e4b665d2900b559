// A room of 5,000 users (fixed seed, friends, members, hidden users) into a
// user list with a room's usual columns by InsertUserItem, then Resort and
// UpdateWindow; the baseline puts the same rows' texts (made beforehand)
// into a plain report list of the same size and columns, sorts it by one key
// and updates it. Best of several rounds each; prints both and the ratio.
// Run by hand: user_list_bench [rounds].
#include <afxwin.h>

#include <stdio.h>
#include <stdlib.h>

#include "GlobalUnits.h"
#include "UserListTestSupport.h"

#include <vector>

using namespace usertest;

namespace
{
const int kUsers = 5000;
const CRect kListRect(0, 0, 580, 380);

double NowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

struct BareRows
{
    std::vector<std::vector<CString>> texts;
    std::vector<LONG> scores;
};

int CALLBACK CompareScore(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const std::vector<LONG>& scores = *reinterpret_cast<const std::vector<LONG>*>(lParamSort);
    const LONG a = scores[(size_t)lParam1], b = scores[(size_t)lParam2];
    return a < b ? 1 : (a > b ? -1 : 0);
}

double TimeView(const Room& room, const std::vector<tagColumnItem>& columns, SinkDouble& sink, BareRows* rows)
{
    ReflectingParent parent;
    parent.CreateParent(600, 400);
    CUserListView list;
    list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED, kListRect, &parent, 1001);
    list.LoadImageLists(&sink);
    list.SetColumnDescribe(columns.data(), (WORD)columns.size());
    const double start = NowMs();
    for (const auto& user : room.users)
        list.InsertUserItem(user.get(), true);
    list.Resort();
    list.UpdateWindow();
    const double elapsed = NowMs() - start;
    if (rows != NULL) {
        // The same rows' texts, for the baseline.
        for (const auto& user : room.users) {
            if ((LONG)user->GetUserData()->dwRank == 256 && user->GetUserID() != kOwnUserId)
                continue;
            std::vector<CString> texts;
            for (WORD c = 0; c < columns.size(); ++c)
                texts.push_back(list.GetItemText(user.get(), c, true));
            rows->texts.push_back(texts);
            rows->scores.push_back((LONG)user->GetUserData()->dwScore[0]);
        }
    }
    if (list.GetItemCount() != kUsers - room.hidden)
        printf("wrong row count %d\n", list.GetItemCount());
    parent.DestroyWindow();
    return elapsed;
}

double TimeBare(const BareRows& rows, const std::vector<tagColumnItem>& columns)
{
    ReflectingParent parent;
    parent.CreateParent(600, 400);
    CListCtrl list;
    list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, kListRect, &parent, 1001);
    const int icons[3] = {35, 25, 25};
    int nColumn = 0;
    for (int width : icons)
        list.InsertColumn(nColumn++, "", LVCFMT_CENTER, width);
    for (const tagColumnItem& item : columns)
        list.InsertColumn(nColumn++, item.szColumnName, LVCFMT_CENTER, item.wColumnWidth);
    const double start = NowMs();
    for (size_t i = 0; i < rows.texts.size(); ++i) {
        const int row = list.InsertItem(LVIF_TEXT | LVIF_PARAM, (int)i, "", 0, 0, 0, (LPARAM)i);
        for (size_t c = 0; c < rows.texts[i].size(); ++c)
            list.SetItemText(row, (int)c + 3, rows.texts[i][c]);
    }
    list.SortItems(CompareScore, (DWORD_PTR)&rows.scores);
    list.UpdateWindow();
    const double elapsed = NowMs() - start;
    parent.DestroyWindow();
    return elapsed;
}
} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? atoi(argv[1]) : 3;
    skintest::TempFolder folder;
    g_GlobalUnits.SetWorkDirectory(folder.Folder());
    g_GlobalUnits.GetGlobalUserData()->dwUserID = kOwnUserId;
    WriteListImages(folder);

    Room room = MakeRoom(kUsers, 29);
    Friends friends(room.friendIds);
    if (!friends.Loaded())
        printf("companion module not loaded: no friends\n");
    std::vector<tagColumnItem> columns = UsualColumns();
    SinkDouble sink;

    BareRows rows;
    double view = 1e30, bare = 1e30;
    for (int round = 0; round < (rounds > 0 ? rounds : 1); ++round) {
        const double v = TimeView(room, columns, sink, rows.texts.empty() ? &rows : NULL);
        const double b = TimeBare(rows, columns);
        view = v < view ? v : view;
        bare = b < bare ? b : bare;
        printf("round %d: view %.1f ms, bare %.1f ms\n", round + 1, v, b);
    }
    g_GlobalUnits.SetWorkDirectory("");
    printf("%d users: view %.1f ms, bare list %.1f ms\n", kUsers, view, bare);
    printf("ratio view/bare: %.2f (goal 2.0 or below)\n", view / bare);
    return 0;
}

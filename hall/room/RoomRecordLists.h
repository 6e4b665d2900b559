// The two lists of room records a room keeps for its game client: the
// room's items and the game records, each kept once per id.
#pragma once

#include "RoomRecords.h"

class CRoomRecordLists
{
public:
    typedef CArray<tagRoomItemRecord, const tagRoomItemRecord&> CItemArray;
    typedef CArray<tagRoomGameRecord, const tagRoomGameRecord&> CGameRecordArray;

    void SetItem(const tagRoomItemRecord& item) { Replace(m_Items, item, item.dwItemID); }
    void SetGameRecord(const tagRoomGameRecord& record) { Replace(m_GameRecords, record, record.dwID); }
    const CItemArray& GetItems() const { return m_Items; }
    const CGameRecordArray& GetGameRecords() const { return m_GameRecords; }

private:
    template <class T> static void Replace(CArray<T, const T&>& list, const T& record, DWORD dwID)
    {
        for (INT_PTR i = 0; i < list.GetSize(); ++i) {
            if (IdOf(list[i]) == dwID) {
                list[i] = record;
                return;
            }
        }
        list.Add(record);
    }
    static DWORD IdOf(const tagRoomItemRecord& item) { return item.dwItemID; }
    static DWORD IdOf(const tagRoomGameRecord& record) { return record.dwID; }

    CItemArray m_Items;
    CGameRecordArray m_GameRecords;
};

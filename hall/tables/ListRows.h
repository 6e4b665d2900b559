// Row and column chores the room's report lists share.
#pragma once

#include <afxcmn.h>

// The row whose item data is the pointer; -1 when none.
inline int FindRowByData(const CListCtrl& list, const void* pData)
{
    LVFINDINFO find = {};
    find.flags = LVFI_PARAM;
    find.lParam = (LPARAM)pData;
    return list.FindItem(&find);
}

// Removes every column, before a new column table goes in.
inline void DeleteAllColumns(CListCtrl& list)
{
    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    while (pHeader != NULL && pHeader->GetItemCount() > 0)
        list.DeleteColumn(0);
}

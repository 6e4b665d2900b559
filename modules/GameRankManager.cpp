#include "GameRankManager.h"

#include <stdlib.h>

#include <algorithm>

#include "IniSection.h"
#include "TextUnit.h"

CGameRankManager::CGameRankManager() {}

CGameRankManager::~CGameRankManager() {}

HRESULT CGameRankManager::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IGameRankManager) || IsEqualGUID(iid, IID_IUnknownEx))
        return Answer(static_cast<IGameRankManager*>(this), out);
    *out = NULL;
    return E_NOINTERFACE;
}

void CGameRankManager::LoadConfig(const char* dir)
{
    m_Ranks.RemoveAll();
    if (dir == NULL)
        return;

    CString folder(dir);
    folder.TrimRight('\\');
    CString file;
    file.Format("%s\\%s", (LPCSTR)folder, "Rank.ini");

    CStringArray lines;
    ReadIniSection(file, "Rank", lines);
    for (INT_PTR i = 0; i < lines.GetSize(); ++i) {
        CString title, score;
        if (!SplitIniLine(lines[i], title, score))
            continue;
        tagRankItem item = {};
        TextCopyField(item.szName, title);
        item.lScore = atol(score);
        m_Ranks.Add(item);
    }

    tagRankItem* first = m_Ranks.GetData();
    std::sort(first, first + m_Ranks.GetSize(),
              [](const tagRankItem& a, const tagRankItem& b) { return a.lScore > b.lScore; });
}

const tagRankItem* CGameRankManager::GetRank(long score)
{
    INT_PTR count = m_Ranks.GetSize();
    if (count == 0)
        return NULL;
    for (INT_PTR i = 0; i < count; ++i) {
        if (m_Ranks[i].lScore <= score)
            return &m_Ranks[i];
    }
    return &m_Ranks[count - 1];
}

#include "GameTreeManager.h"

#include "GlobalUnits.h"
#include "IniFile.h"
#include "PathName.h"
#include "TextUnit.h"

namespace
{

// Lists of rooms run to thousands: their nodes come in larger blocks.
const INT_PTR kRoomBlockSize = 64;

} // namespace

CGameTreeManager::CGameTreeManager()
    : m_GameCategories(10), m_Games(10), m_GameStations(10), m_GameRooms(kRoomBlockSize), m_GameWebs(10),
      m_WebGames(10), m_WebGameServers(10), m_dwTotalOnline(0)
{}

CGameTreeManager::~CGameTreeManager()
{
    ClearAll();
}

void CGameTreeManager::ClearAll()
{
    ClearGameCategories();
    ClearGames();
    ClearGameStations();
    ClearGameRooms();
    ClearGameWebs();
    ClearWebGames();
    ClearWebGameServers();
}

CGame* CGameTreeManager::GetGameAt(INT_PTR index) const
{
    if (index < 0 || index >= m_Games.GetCount())
        return NULL;
    return m_Games.GetAt(m_Games.FindIndex(index));
}

void CGameTreeManager::ComputeTotalOnline()
{
    DWORD total = 0;
    for (POSITION pos = m_GameRooms.GetHeadPosition(); pos != NULL;)
        total += m_GameRooms.GetNext(pos)->GetOnlineCount();
    m_dwTotalOnline = total;
}

namespace
{

// The program folder without its trailing backslash.
CString ProgramFolder()
{
    CString folder(g_GlobalUnits.GetWorkDirectory());
    if (folder.Right(1) == "\\")
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}

} // namespace

CString CGameTreeManager::GetGameFolder(DWORD gameId) const
{
    CGame* game = FindGame(gameId);
    // The folder name comes from the server: one plain name below ours.
    if (game == NULL || !IsPlainPathName(game->GetFolderName()))
        return CString();
    CString path;
    path.Format("%s\\%s", (LPCSTR)ProgramFolder(), (LPCSTR)game->GetFolderName());
    return path;
}

bool CGameTreeManager::IsNameInsideFolder(LPCSTR name)
{
    if (name == NULL || name[0] == '\0')
        return false;
    // Every piece between separators is one plain name: none climbs, names a
    // drive or a device, and none is empty (a leading separator).
    const size_t length = strlen(name);
    size_t start = 0;
    for (size_t pos = 0;; pos += TextCharSize(name, length, pos)) {
        bool end = pos == length;
        if (end || name[pos] == '\\' || name[pos] == '/') {
            if (!IsPlainPathName(CString(name + start, int(pos - start))))
                return false;
            if (end)
                return true;
            start = pos + 1;
        }
    }
}

CString CGameTreeManager::GetGameExePath(DWORD gameId) const
{
    CString folder = GetGameFolder(gameId);
    if (folder.IsEmpty())
        return CString();
    CString iniPath;
    iniPath.Format("%s\\CONFIG.INI", (LPCSTR)folder);
    CIniFile ini(iniPath);
    CString exeName;
    ini.GetString("Public", "ExeName", exeName, "");
    if (exeName.IsEmpty() || !IsNameInsideFolder(exeName))
        return CString();
    CString path;
    path.Format("%s\\%s", (LPCSTR)folder, (LPCSTR)exeName);
    return path;
}

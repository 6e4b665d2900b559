// The options store's view of the configuration files: addresses, experience
// levels, banners, the competition entry, version records and the small
// per-game and per-room lookups.
#include "GlobalOption.h"

#include <stdlib.h>
#include <string.h>
#include <tinyxml.h>

#include <algorithm>

#include "GameTreeItem.h"
#include "GameTreeManager.h"
#include "GlobalUnits.h"
#include "IniFile.h"
#include "TextUnit.h"
#include "IniReader.h"
#include "PathName.h"

namespace
{

void CopyField(char* dest, size_t size, LPCSTR text)
{
    TextCopyField(dest, size, text);
}

// A file name from a downloaded configuration names a file in our folder:
// kept only when it is one plain name that fits whole, else left empty.
template <size_t N> void CopyFileName(char (&field)[N], LPCSTR name)
{
    if (!IsPlainPathName(name) || !TextCopyPath(field, name))
        field[0] = '\0';
}

bool IsFile(const CString& path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString ReadText(const CIniFile& ini, LPCSTR section, LPCSTR key, LPCSTR defaultValue = "")
{
    CString value;
    ini.GetString(section, key, value, defaultValue);
    return value;
}

} // namespace

DWORD CGlobalOption::ParseVersion(LPCSTR text)
{
    if (text == NULL)
        return 0;
    return (DWORD)strtoul(text, NULL, strpbrk(text, "xX") != NULL ? 16 : 10);
}

// ------------------------------------------------------------------ Urls.ini

void CGlobalOption::LoadUrls()
{
    CIniFile ini(ConfigFile("Urls.ini"));
    CString current = m_strHallWeb;
    m_strHallWeb = ReadText(ini, "hallurl", "hallweb", current);
    m_strAdUrl = ReadText(ini, "hallurl", "adurl");
    m_strLoginUrl = ReadText(ini, "loginurl", "url");
    m_strCloseUrl = ReadText(ini, "closeurl", "url");
    m_strGameHelpUrl = ReadText(ini, "GameHelpURL", "url");
    m_strRegisterUrl = ReadText(ini, "loginurl", "regurl");
    m_strRegisterHelpUrl = ReadText(ini, "RegisterHelp", "url");
    m_strFindPasswordUrl = ReadText(ini, "FindPassword", "url");
    m_strBulletinUrl = ReadText(ini, "Bulletin", "url");
    m_strQuillonUrl = ReadText(ini, "Quillon", "url");
    m_strDynaCfgUrl = ReadText(ini, "DynaCfg", "url");
    m_strDownloadUrl = ReadText(ini, "downurl", "url");
    m_strPrepaidPage = ReadText(ini, "Prepaid", "urlpage");
    m_PrepaidUrls.RemoveAll();
    for (int i = 0; i < kPrepaidUrls; ++i) {
        CString key;
        key.Format("suburl%d", i);
        CString value = ReadText(ini, "Prepaid", key);
        if (value.IsEmpty())
            break;
        m_PrepaidUrls.Add(value);
    }
    m_strSelfDownloadUrl = ReadText(ini, "downurl", "selfurl");
    m_strPlazaCycleUrl = ReadText(ini, "HallNewUrl", "PlazaCycleUrl");
    m_strLogonCycleUrl = ReadText(ini, "HallNewUrl", "LogonCycleUrl");
    m_strVipUrl = ReadText(ini, "HallNewUrl", "VipUrl");

    // A beta list, when present, replaces only the update addresses.
    CString betaFile = ConfigFile("BetaUrls.ini");
    CIniFile updateIni(IsFile(betaFile) ? betaFile : ConfigFile("Urls.ini"));
    for (int i = 0; i < kUpdateUrls; ++i)
        m_strUpdateUrls[i].Empty();
    for (int i = 0; i < kUpdateUrls; ++i) {
        CString key;
        key.Format("url%d", i);
        m_strUpdateUrls[i] = ReadText(updateIni, "Update", key);
        if (m_strUpdateUrls[i].IsEmpty())
            break;
    }

    for (int n = 1; n <= kHallButtons; ++n) {
        CString section;
        section.Format("HallButton%d", n);
        m_strHallButtons[n - 1] = ReadText(ini, section, "action");
    }
    for (int n = 1; n <= kOtherActions; ++n) {
        CString section;
        section.Format("Other%d", n);
        m_strOtherActions[n - 1] = ReadText(ini, section, "action");
    }
}

CString CGlobalOption::GetHallButtonAction(int index) const
{
    return index >= 0 && index < kHallButtons ? m_strHallButtons[index] : CString();
}

CString CGlobalOption::GetOtherAction(int index) const
{
    return index >= 0 && index < kOtherActions ? m_strOtherActions[index] : CString();
}

CString CGlobalOption::GetUpdateUrl(int index) const
{
    return index >= 0 && index < kUpdateUrls ? m_strUpdateUrls[index] : CString();
}

CString CGlobalOption::GetPrepaidUrl(int index) const
{
    return index >= 0 && index < m_PrepaidUrls.GetSize() ? m_PrepaidUrls[index] : CString();
}

// ------------------------------------------------------------------ experience, banners, competition

bool CGlobalOption::LoadExperience(LPCSTR path)
{
    CIniFile ini(path);
    m_ExperienceLevels.RemoveAll();
    int count = ini.GetInt("Experience", "ExpCount", 0);
    if (count > kMaxExperienceLevels)
        count = kMaxExperienceLevels;
    for (int n = 1; n <= count; ++n) {
        CString key;
        key.Format("level%d", n);
        DWORD level = (DWORD)ini.GetInt("Experience", key, 0);
        if (level != 0)
            m_ExperienceLevels.Add(level);
    }
    DWORD* levels = m_ExperienceLevels.GetData();
    std::sort(levels, levels + m_ExperienceLevels.GetSize());
    return true;
}

void CGlobalOption::LoadBanner(tagBannerConfig& banner, LPCSTR folder, LPCSTR file)
{
    CString path = g_GlobalUnits.GetResourceDirectory();
    // Each level of the folder is made when missing.
    for (LPCSTR p = folder; *p != '\0'; ++p) {
        path += *p;
        if (*p == '\\')
            CreateDirectoryA(path, NULL);
    }
    path += file;

    TiXmlDocument document;
    if (!document.LoadFile(path))
        return;
    TiXmlElement* root = document.RootElement();
    if (root == NULL)
        return;
    if (TiXmlElement* element = root->FirstChildElement("Version"))
        banner.dwVersion = (DWORD)strtoul(element->GetText() != NULL ? element->GetText() : "0", NULL, 10);
    if (TiXmlElement* element = root->FirstChildElement("Begin"))
        banner.tmBegin = ParseDateTime(element->GetText());
    if (TiXmlElement* element = root->FirstChildElement("End"))
        banner.tmEnd = ParseDateTime(element->GetText());
    if (TiXmlElement* element = root->FirstChildElement("Filename"))
        CopyFileName(banner.szFileName, element->GetText());
    if (TiXmlElement* element = root->FirstChildElement("URL")) {
        if (element->GetText() != NULL && element->GetText()[0] != '\0')
            CopyField(banner.szUrl, sizeof(banner.szUrl), element->GetText());
    }
}

void CGlobalOption::LoadBannerConfig()
{
    LoadBanner(m_LogonBanner, "Logon\\ADBanner\\", "bannercfg.xml");
    LoadBanner(m_CloseBanner, "Close\\ADBanner\\", "closebannercfg.xml");
}

void CGlobalOption::ReadCompetitionConfig()
{
    memset(&m_CompetitionConfig, 0, sizeof(m_CompetitionConfig));
    CString path;
    path.Format("%sCompetiteEntry\\Competite.ini", g_GlobalUnits.GetResourceDirectory());
    CIniFile ini(path);
    m_CompetitionConfig.dwVersion = (DWORD)ini.GetInt("Competite", "version", 0);
    CopyFileName(m_CompetitionConfig.szFileName, ReadText(ini, "Competite", "filename"));
}

// ------------------------------------------------------------------ version records

void CGlobalOption::ReadVersionRecord(tagGameVersionInfo& info, const CIniSection* section)
{
    auto value = [section](const char* key) -> std::string {
        const CIniEntry* entry = section->FindKey(key);
        return entry != NULL ? entry->GetValue() : std::string();
    };
    CopyField(info.szName, sizeof(info.szName), value("name").c_str());
    info.dwVersion = ParseVersion(value("version").c_str());
    info.dwUpdateVersion = ParseVersion(value("updateversion").c_str());
    info.wType = (WORD)atoi(value("type").c_str());
    for (int i = 0; i < 10; ++i) {
        std::string url = value(("url" + std::to_string(i)).c_str());
        if (url.empty())
            break;
        CopyField(info.szDownloadUrls[i], sizeof(info.szDownloadUrls[i]), url.c_str());
    }
    for (int i = 0; i < 10; ++i) {
        std::string url = value(("updateurl" + std::to_string(i)).c_str());
        if (url.empty())
            break;
        CopyField(info.szUpdateUrls[i], sizeof(info.szUpdateUrls[i]), url.c_str());
    }
}

void CGlobalOption::ReadHallDownloadInfo(std::istream& stream)
{
    CIniReader reader;
    reader.Load(stream);

    for (const auto& item : reader.GetSections()) {
        const std::string& name = item.first;
        tagGameVersionInfo* info = new tagGameVersionInfo;
        memset(info, 0, sizeof(*info));
        if (name == "HallDownload")
            info->dwID = 1;
        else
            info->dwID = name.size() > 4 ? (DWORD)strtoul(name.c_str() + 4, NULL, 10) : 0;
        ReadVersionRecord(*info, item.second);

        // The newest record of an id wins; the one it replaces stays alive
        // for whoever still holds it.
        CSingleLock lock(&m_VersionLock, TRUE);
        bool replaced = false;
        for (INT_PTR i = 0; i < m_VersionInfos.GetSize(); ++i) {
            if (m_VersionInfos[i]->dwID == info->dwID) {
                m_RetiredVersionInfos.Add(m_VersionInfos[i]);
                m_VersionInfos[i] = info;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            m_VersionInfos.Add(info);
    }

    CString folder;
    folder.Format("%sconfig", g_GlobalUnits.GetWorkDirectory());
    CreateDirectoryA(folder, NULL);
    folder += "\\dynamic";
    CreateDirectoryA(folder, NULL);
    CString path = folder + "\\update.ini";
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_NORMAL) {
        SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
        if (GetFileAttributesA(path) != FILE_ATTRIBUTE_NORMAL)
            DeleteFileA(path);
    }
    reader.SaveToFile(path);
}

const tagGameVersionInfo* CGlobalOption::FindGameVersionInfo(DWORD id)
{
    CSingleLock lock(&m_VersionLock, TRUE);
    for (INT_PTR i = 0; i < m_VersionInfos.GetSize(); ++i) {
        if (m_VersionInfos[i]->dwID == id)
            return m_VersionInfos[i];
    }
    return NULL;
}

void CGlobalOption::GetGameUpdateUrls(DWORD installedVersion, UrlList& urls, const tagGameVersionInfo* info)
{
    memset(urls, 0, sizeof(urls));
    if (info == NULL)
        return;
    int n = 0;
    if (installedVersion == info->dwUpdateVersion) {
        for (int i = 0; i < 10 && n < 10 && info->szUpdateUrls[i][0] != '\0'; ++i)
            CopyField(urls[n++], sizeof(urls[0]), info->szUpdateUrls[i]);
    }
    for (int i = 0; i < 10 && n < 10 && info->szDownloadUrls[i][0] != '\0'; ++i)
        CopyField(urls[n++], sizeof(urls[0]), info->szDownloadUrls[i]);
}

void CGlobalOption::ReadGameUpdateInfo(DWORD installedVersion, WORD gameId, UrlList& urls)
{
    CIniFile ini(ConfigFile("Dynamic\\Update.ini"));
    CString section;
    section.Format("Game%d", (int)gameId);
    tagGameVersionInfo* info = new tagGameVersionInfo;
    memset(info, 0, sizeof(*info));
    info->dwID = gameId;
    info->dwVersion = ParseVersion(ReadText(ini, section, "version", "0"));
    info->dwUpdateVersion = ParseVersion(ReadText(ini, section, "updateversion", "0"));
    for (int i = 0; i < 10; ++i) {
        CString key;
        key.Format("url%d", i);
        CString url = ReadText(ini, section, key);
        if (url.IsEmpty())
            break;
        CopyField(info->szDownloadUrls[i], sizeof(info->szDownloadUrls[i]), url);
    }
    for (int i = 0; i < 10; ++i) {
        CString key;
        key.Format("updateurl%d", i);
        CString url = ReadText(ini, section, key);
        if (url.IsEmpty())
            break;
        CopyField(info->szUpdateUrls[i], sizeof(info->szUpdateUrls[i]), url);
    }
    GetGameUpdateUrls(installedVersion, urls, info);
    delete info;
}

DWORD CGlobalOption::ReadGameUpdateVersion(WORD gameId)
{
    CString section;
    section.Format("Game%ld", (long)gameId);
    return ParseVersion(ReadText(CIniFile(ConfigFile("Dynamic\\Update.ini")), section, "Version", "0"));
}

// ------------------------------------------------------------------ per game and per room

CString CGlobalOption::GameConfigFile(CGame* game)
{
    if (game == NULL || !IsPlainPathName(game->GetFolderName()))
        return CString();
    CString path;
    path.Format("%s%s\\config.ini", g_GlobalUnits.GetWorkDirectory(), (LPCSTR)game->GetFolderName());
    return path;
}

bool CGlobalOption::ReadGameHundredFlag(CGame* game)
{
    CString path = GameConfigFile(game);
    return !path.IsEmpty() && CIniFile(path).GetInt("Public", "Hundred", 0) == 1;
}

const tagGameExeInfo* CGlobalOption::ReadGameExeVersion(CGame* game)
{
    if (game == NULL)
        return NULL;
    memset(&m_GameExeInfo, 0, sizeof(m_GameExeInfo));
    CString path = GameConfigFile(game);
    if (!path.IsEmpty()) {
        CIniFile ini(path);
        CopyField(m_GameExeInfo.szExeName, sizeof(m_GameExeInfo.szExeName), ReadText(ini, "Public", "ExeName"));
        m_GameExeInfo.dwVersion = ParseVersion(ReadText(ini, "Public", "Version", "0"));
    }
    return &m_GameExeInfo;
}

bool CGlobalOption::IsPassLockTableAllowed(DWORD roomId)
{
    CIniFile ini(DynamicConfigFile());
    for (int i = 0;; ++i) {
        CString key;
        key.Format("Room%d", i);
        int value = ini.GetInt("AllowPassLockTable", key, 0);
        if (value < 1)
            return false;
        if ((DWORD)value == roomId)
            return true;
    }
}

DWORD CGlobalOption::ReadListVersions(WORD kind)
{
    switch (kind) {
    case 0: return (DWORD)CIniFile(ConfigFile("ServerList.ini")).GetInt("Server", "version", 0);
    case 1: return (DWORD)CIniFile(ConfigFile("ServiceServerList.ini")).GetInt("ServiceServer", "version", 0);
    case 2: return (DWORD)CIniFile(ConfigFile("Urls.ini")).GetInt("Urls", "version", 0);
    default: return 0;
    }
}

#include "FileUpdate.h"

#include "FileInMem.h"
#include "FileInfo.h"
#include "IniFile.h"
#include "UpdateTuning.h"
#include "ZipPack.h"
#include "PathName.h"
#include "TextUnit.h"
#include "ZipPathUtil.h"

#include <tinyxml.h>

#include <stdlib.h>
#include <string.h>

#include <new>
#include <vector>

IFileUpdateHost* CFileUpdate::s_pDefaultHost = NULL;

namespace
{
const LPCSTR kHallCaption = "Varnok棋牌游戏中心";

// A version as stored: hexadecimal when written with an "x", else decimal.
DWORD ParseVersionText(const CString& strText)
{
    return (DWORD)strtoul(strText, NULL, strText.Find('x') >= 0 ? 16 : 10);
}

// Copies a text into a fixed field; a text that does not fit is left out
// (a cut address would name something else).
bool CopyFitting(CHAR* pszField, size_t nSize, LPCSTR pszText)
{
    size_t nLength = strlen(pszText);
    if (nLength >= nSize)
        return false;
    memcpy(pszField, pszText, nLength + 1);
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

CFileUpdate::CFileUpdate() : m_hOwnerWnd(NULL), m_pFileInMem(NULL), m_pHost(NULL), m_bTaskStarted(false) {}

CFileUpdate::CFileUpdate(IFileUpdateHost* pHost)
    : m_hOwnerWnd(NULL), m_pFileInMem(NULL), m_pHost(pHost), m_bTaskStarted(false)
{}

CFileUpdate::~CFileUpdate()
{
    DetachNotifyWindow();
    std::vector<CUpdateTask*> tasks;
    for (INT_PTR i = 0; i < m_TaskList.GetSize(); i++)
        tasks.push_back(m_TaskList[i]);
    if (m_pFileInMem != NULL)
        tasks.push_back(m_pFileInMem);
    m_TaskList.RemoveAll();
    m_pFileInMem = NULL;
    // All at once and bounded: a task stuck in a transfer must not hold the
    // interface thread.
    if (!tasks.empty())
        CUpdateTask::StopTasks(tasks.data(), (int)tasks.size(), g_UpdateTuning.dwStopWait);
}

void CFileUpdate::SetDefaultHost(IFileUpdateHost* pHost)
{
    s_pDefaultHost = pHost;
}

IFileUpdateHost* CFileUpdate::Host() const
{
    return m_pHost != NULL ? m_pHost : s_pDefaultHost;
}

bool CFileUpdate::StartFileTask(LPCSTR pszUrl, LPCSTR pszLocalPath, LPCSTR pszTempPath, HWND hNotifyWnd, DWORD dwKind,
                                DWORD dwVersion)
{
    ReapFinishedTasks();
    CFileInfo* pTask = NULL;
    try {
        pTask = new CFileInfo(this, hNotifyWnd, dwKind);
    } catch (CException* pException) {
        pException->Delete();
        return false;
    } catch (std::bad_alloc&) {
        return false;
    }
    if (!pTask->SetTarget(pszUrl, pszLocalPath, pszTempPath, dwVersion)) {
        delete pTask;
        return false;
    }
    m_TaskList.Add(pTask);
    return pTask->StartThead();
}

bool CFileUpdate::WaitTasksEnded(DWORD dwTimeout) const
{
    DWORD dwStart = GetTickCount();
    for (INT_PTR i = 0; i < m_TaskList.GetSize(); i++) {
        DWORD dwElapsed = GetTickCount() - dwStart;
        if (!m_TaskList[i]->WaitEnded(dwElapsed < dwTimeout ? dwTimeout - dwElapsed : 0))
            return false;
    }
    return true;
}

void CFileUpdate::ReapFinishedTasks()
{
    for (INT_PTR i = m_TaskList.GetSize() - 1; i >= 0; i--) {
        if (m_TaskList[i]->HasEnded()) {
            delete m_TaskList[i];
            m_TaskList.RemoveAt(i);
        }
    }
}

bool CFileUpdate::DownloadFile(LPCSTR pszUrl, LPCSTR pszLocalPath, CWnd* pNotifyWnd)
{
    if (pszUrl == NULL || pszLocalPath == NULL)
        return false;
    CString strTemp;
    strTemp.Format("%s.temp", pszLocalPath);
    return StartFileTask(pszUrl, pszLocalPath, strTemp, pNotifyWnd->GetSafeHwnd(), UPDATE_KIND_FILE, 0);
}

bool CFileUpdate::UpdateFile(LPCSTR url, LPCSTR localFile, CWnd* pNotifyWnd, int kind)
{
    m_hOwnerWnd = pNotifyWnd->GetSafeHwnd();
    if (url == NULL || localFile == NULL || *localFile == '\0' || Host() == NULL)
        return false;

    DWORD dwVersion = (DWORD)ReadPublicVersion(localFile);
    CString strVersion;
    strVersion.Format("%u", (unsigned)dwVersion);
    CString strUrl = url;
    strUrl.Replace("<version>", strVersion);

    CString strLocal, strTemp;
    if (kind == UPDATE_KIND_COMPETITION || kind == UPDATE_KIND_WORD_FILTER) {
        strLocal = localFile;
        strTemp.Format("%s.temp", localFile);
    } else {
        // A name, never a path: it must stay in the dynamic folder.
        if (!CZipPathUtil::IsContainedPath(localFile))
            return false;
        strLocal = GetDynamicFilePath(localFile);
        strTemp = GetDynamicFilePath(CString(localFile) + ".temp");
    }
    if (!StartFileTask(strUrl, strLocal, strTemp, m_hOwnerWnd, (DWORD)kind, dwVersion))
        return false;
    m_bTaskStarted = true;
    return true;
}

bool CFileUpdate::DownloadZipToMemory(LPCSTR url, CWnd* pNotifyWnd, int kind)
{
    if (m_pFileInMem != NULL) {
        CUpdateTask* pOld = m_pFileInMem;
        m_pFileInMem = NULL;
        CUpdateTask::StopTasks(&pOld, 1, g_UpdateTuning.dwStopWait);
    }
    m_hOwnerWnd = pNotifyWnd->GetSafeHwnd();
    if (Host() == NULL)
        return false;

    CFileInMem* pTask = new (std::nothrow) CFileInMem(this, Host(), m_hOwnerWnd, (DWORD)kind);
    if (pTask == NULL)
        return false;
    if (!pTask->SetUrl(url)) {
        delete pTask;
        return false;
    }
    m_pFileInMem = pTask;
    if (!pTask->StartThead())
        return false;
    m_bTaskStarted = true;
    return true;
}

void CFileUpdate::DetachNotifyWindow()
{
    m_hOwnerWnd = NULL;
    for (INT_PTR i = 0; i < m_TaskList.GetSize(); i++)
        m_TaskList[i]->DetachNotifyWindow();
    // The in-memory task too: its window may be going away as well.
    if (m_pFileInMem != NULL)
        m_pFileInMem->DetachNotifyWindow();
}

bool CFileUpdate::ExtractZipFile(LPCSTR pszPath)
{
    if (pszPath == NULL || CZipPathUtil::FileExists(pszPath) != 1)
        return false;
    CString strDrive, strDir;
    CZipPathUtil::SplitPath(pszPath, &strDrive, &strDir, NULL, NULL);
    CString strFolder = strDrive + strDir;

    bool bComplete = true;
    CZipPack pack;
    try {
        if (!pack.OpenArchive(pszPath, CZipPack::zipOpenReadOnly))
            return false;
        for (int i = 0; i < pack.EntryCount(); i++) {
            CZipEntryHeader header;
            if (!pack.CopyEntryHeader(header, i))
                continue;
            CString strName = header.EntryName();
            CString strTitle, strExt;
            CZipPathUtil::SplitPath(strName, NULL, NULL, &strTitle, &strExt);
            if ((strTitle + strExt).CompareNoCase("Thumbs.db") == 0)
                continue;
            // A name that would leave the folder is refused; the rest go on.
            CString strInner = CZipPathUtil::WithoutTrailingSeparator(strName);
            if (!CZipPathUtil::IsContainedPath(strInner)) {
                bComplete = false;
                continue;
            }
            if (!pack.ExtractEntry(i, strFolder, true, NULL, NULL, NULL, 65535))
                bComplete = false;
        }
        pack.CloseArchive();
    } catch (CException* pException) {
        // A damaged archive, or a file that cannot be created: the archive
        // is closed so that the next update can replace it.
        pException->Delete();
        pack.CloseArchive(true);
        return false;
    }
    return bComplete;
}

COLORREF CFileUpdate::ParseBulletinColor(LPCSTR pszText)
{
    if (pszText == NULL)
        return RGB(0, 0, 0);
    CString strDigits = pszText;
    strDigits.Remove('#');
    if (strDigits.GetLength() != 6)
        return RGB(0, 0, 0);
    int nParts[3];
    for (int i = 0; i < 3; i++) {
        int nHigh = HexDigit(strDigits[i * 2]);
        int nLow = HexDigit(strDigits[i * 2 + 1]);
        if (nHigh < 0 || nLow < 0)
            return RGB(0, 0, 0);
        nParts[i] = nHigh * 16 + nLow;
    }
    return RGB(nParts[0], nParts[1], nParts[2]);
}

void CFileUpdate::LoadBulletin()
{
    IFileUpdateHost* pHost = Host();
    if (pHost == NULL)
        return;
    CString strPath = GetDynamicFilePath("Bulletin.xml");
    TiXmlDocument document;
    if (!document.LoadFile(strPath))
        return;
    TiXmlElement* pList = document.FirstChildElement("BulletinList");
    if (pList == NULL)
        return;

    CArray<tagBulletinItem, const tagBulletinItem&> items;
    for (TiXmlElement* pItem = pList->FirstChildElement("Item"); pItem != NULL;
         pItem = pItem->NextSiblingElement("Item")) {
        tagBulletinItem item;
        memset(&item, 0, sizeof(item));
        item.crColor = ParseBulletinColor(pItem->Attribute("color"));
        const char* pszText = pItem->GetText();
        TextCopyField(item.szText, sizeof(item.szText), pszText != NULL ? pszText : "");
        items.Add(item);
    }
    // Replaced, not appended: every refresh reads the whole file again.
    pHost->SetBulletinList(items);
}

bool CFileUpdate::ReadHallDownloadFile(tagHallDownloadInfo& info)
{
    CIniFile ini(GetDynamicFilePath("Update.ini"));
    CString strValue;
    ini.GetString("HallDownload", "version", strValue, "0");
    info.dwVersion = ParseVersionText(strValue);
    ini.GetString("HallDownload", "updateversion", strValue, "0");
    info.dwUpdateVersion = ParseVersionText(strValue);
    ini.GetString("HallDownload", "name", strValue, "");
    TextCopyField(info.szName, sizeof(info.szName), strValue);

    struct
    {
        LPCSTR pszKey;
        CHAR (*pszList)[HALL_URL_SIZE];
    } lists[] = {{"url", info.szDownloadUrl}, {"updateurl", info.szUpdateUrl}};
    for (auto& list : lists) {
        int nCount = 0;
        for (int i = 0; nCount < HALL_URL_COUNT; i++) {
            CString strKey;
            strKey.Format("%s%d", list.pszKey, i);
            ini.GetString("HallDownload", strKey, strValue, "");
            if (strValue.IsEmpty())
                break;
            if (CopyFitting(list.pszList[nCount], HALL_URL_SIZE, strValue))
                nCount++;
        }
    }
    return true;
}

DWORD CFileUpdate::ReadInstalledHallVersion()
{
    CIniFile ini(Host()->GetConfigDirectory() + "\\Original\\version.ini");
    CString strValue;
    ini.GetString("version", "version", strValue, "0");
    return ParseVersionText(strValue);
}

void CFileUpdate::BuildHallUrlList(const tagHallDownloadInfo& info, DWORD dwInstalledVersion,
                                   CHAR (&szUrls)[HALL_URL_COUNT][HALL_URL_SIZE])
{
    memset(szUrls, 0, sizeof(szUrls));
    int nCount = 0;
    // The short update applies only to the installed a.b.c it was made for.
    if ((dwInstalledVersion >> 8) == (info.dwUpdateVersion >> 8)) {
        for (int i = 0; i < HALL_URL_COUNT && info.szUpdateUrl[i][0] != '\0'; i++)
            TextCopyField(szUrls[nCount++], HALL_URL_SIZE, info.szUpdateUrl[i]);
    }
    for (int i = 0; i < HALL_URL_COUNT && nCount < HALL_URL_COUNT && info.szDownloadUrl[i][0] != '\0'; i++)
        TextCopyField(szUrls[nCount++], HALL_URL_SIZE, info.szDownloadUrl[i]);
}

int CFileUpdate::CheckHallUpdate()
{
    IFileUpdateHost* pHost = Host();
    if (pHost == NULL)
        return HALL_UPDATE_NONE;

    tagHallDownloadInfo info;
    memset(&info, 0, sizeof(info));
    if (!pHost->GetHallDownloadInfo(info)) {
        memset(&info, 0, sizeof(info));
        ReadHallDownloadFile(info);
    }
    // Whatever the host filled, every text ends inside its field.
    info.szName[sizeof(info.szName) - 1] = '\0';
    for (int i = 0; i < HALL_URL_COUNT; i++) {
        info.szDownloadUrl[i][HALL_URL_SIZE - 1] = '\0';
        info.szUpdateUrl[i][HALL_URL_SIZE - 1] = '\0';
    }
    if (info.dwVersion == 0)
        return HALL_UPDATE_NONE;

    DWORD dwInstalled = ReadInstalledHallVersion();
    DWORD dwRemote = info.dwVersion;
    int nFirstDiffering = -1;
    for (int nShift = 24; nShift >= 0; nShift -= 8) {
        if (((dwRemote >> nShift) & 0xFF) != ((dwInstalled >> nShift) & 0xFF)) {
            nFirstDiffering = nShift;
            break;
        }
    }
    if (nFirstDiffering < 0 || ((dwInstalled >> nFirstDiffering) & 0xFF) > ((dwRemote >> nFirstDiffering) & 0xFF))
        return HALL_UPDATE_NONE;

    // Only c or d rose: the installed hall still works.
    bool bOptional = (dwRemote >> 16) == (dwInstalled >> 16);
    CString strText;
    strText.Format(bOptional ? "大厅已经更新为 %ld.%ld.%ld.%ld 版本，你的版本还可以继续使用，现在是否下载？"
                             : "大厅已经更新为 %ld.%ld.%ld.%ld 版本，你的版本不能继续使用，现在是否下载？",
                   (long)((dwRemote >> 24) & 0xFF), (long)((dwRemote >> 16) & 0xFF), (long)((dwRemote >> 8) & 0xFF),
                   (long)(dwRemote & 0xFF));
    if (m_hOwnerWnd == NULL || !IsWindow(m_hOwnerWnd))
        return HALL_UPDATE_NO_OWNER;
    if (pHost->ShowMessageBox(m_hOwnerWnd, strText, kHallCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return bOptional ? HALL_UPDATE_NONE : HALL_UPDATE_REFUSED;

    CHAR szUrls[HALL_URL_COUNT][HALL_URL_SIZE];
    BuildHallUrlList(info, dwInstalled, szUrls);
    pHost->StartDownLoad(info.szName, 1, szUrls, dwRemote);
    return HALL_UPDATE_STARTED;
}

CString CFileUpdate::GetDynaItemCfgPath() const
{
    return Host()->GetWorkDirectory() + "config//Dynamic//DynaItemCfg.ini";
}

bool CFileUpdate::UpdateConfigFile(DWORD dwInstalledVersion, int nListKind, CWnd* pNotifyWnd)
{
    static const LPCSTR kSections[] = {"ServerList", "ServiceServerList", "Urls"};
    static const LPCSTR kFiles[] = {"ServerList.ini", "ServiceServerList.ini", "Urls.ini"};
    IFileUpdateHost* pHost = Host();
    if (pHost == NULL || nListKind < 0 || nListKind > 2)
        return false;

    CIniFile ini(GetDynaItemCfgPath());
    int nVersion = ini.GetInt(kSections[nListKind], "version", 0);
    if (nVersion <= 0 || (DWORD)nVersion <= dwInstalledVersion)
        return false;
    CString strUrl;
    ini.GetString(kSections[nListKind], "url", strUrl, "");
    CString strLocal;
    strLocal.Format("%sconfig//%s", (LPCSTR)pHost->GetWorkDirectory(), kFiles[nListKind]);
    return DownloadFile(pHost->GetDownloadUrl() + strUrl, strLocal, pNotifyWnd);
}

bool CFileUpdate::UpdateAdBanner(DWORD dwInstalledVersion, int nBannerKind, CWnd* pNotifyWnd)
{
    static const LPCSTR kSections[] = {"LogonAd", "CloseAd"};
    static const LPCSTR kFolders[] = {"Logon\\ADBanner\\", "Close\\ADBanner\\"};
    static const LPCSTR kConfigFiles[] = {"bannercfg.xml", "closebannercfg.xml"};
    IFileUpdateHost* pHost = Host();
    if (pHost == NULL || nBannerKind < 0 || nBannerKind > 1)
        return false;

    CIniFile ini(GetDynaItemCfgPath());
    int nVersion = ini.GetInt(kSections[nBannerKind], "version", 0);
    if (nVersion <= 0 || (DWORD)nVersion <= dwInstalledVersion)
        return false;
    CString strImageUrl, strConfigUrl;
    ini.GetString(kSections[nBannerKind], "bannerimgurl", strImageUrl, "");
    ini.GetString(kSections[nBannerKind], "bannercfgurl", strConfigUrl, "");

    CString strFolder = pHost->GetResourceDirectory() + kFolders[nBannerKind];
    CString strBase = pHost->GetDownloadUrl();
    bool bStarted = DownloadFile(strBase + strConfigUrl, strFolder + kConfigFiles[nBannerKind], pNotifyWnd);
    // The picture's name comes from the server: a bare file name in the folder or nothing.
    CString strImageName;
    if (!ReduceToFileName(strImageUrl, strImageName))
        return false;
    return DownloadFile(strBase + strImageUrl, strFolder + strImageName, pNotifyWnd) && bStarted;
}

bool CFileUpdate::UpdateCompetitionEntry(DWORD dwInstalledVersion, CWnd* pNotifyWnd)
{
    IFileUpdateHost* pHost = Host();
    if (pHost == NULL)
        return false;
    CIniFile ini(GetDynaItemCfgPath());
    int nVersion = ini.GetInt("CompetiteEntry", "version", 0);
    if (nVersion <= 0 || (DWORD)nVersion <= dwInstalledVersion)
        return false;
    CString strPageUrl, strImageUrl;
    ini.GetString("CompetiteEntry", "Competiteurl", strPageUrl, "");
    ini.GetString("CompetiteEntry", "Imageurl", strImageUrl, "");

    CString strFolder = pHost->GetResourceDirectory() + "CompetiteEntry\\";
    CString strBase = pHost->GetDownloadUrl();
    bool bStarted = true;
    CString strName;
    if (ReduceToFileName(strPageUrl, strName))
        bStarted = DownloadFile(strBase + strPageUrl, strFolder + strName, pNotifyWnd);
    else
        bStarted = false;
    if (!ReduceToFileName(strImageUrl, strName))
        return false;
    return UpdateFile(strBase + strImageUrl, strFolder + strName, pNotifyWnd, UPDATE_KIND_COMPETITION) && bStarted;
}

int CFileUpdate::ReadPublicVersion(LPCSTR pszName)
{
    if (Host() == NULL)
        return 0;
    if (pszName == NULL || *pszName == '\0')
        pszName = "Update.ini";
    // Only files of the dynamic folder have a version here.
    if (!CZipPathUtil::IsContainedPath(pszName))
        return 0;
    CIniFile ini(GetDynamicFilePath(pszName));
    return ini.GetInt("Public", "version", 0);
}

CString CFileUpdate::GetDynamicFilePath(LPCSTR pszName)
{
    IFileUpdateHost* pHost = Host();
    CString strFolder = (pHost != NULL ? pHost->GetConfigDirectory() : CString()) + "\\Dynamic\\";
    if (CZipPathUtil::FileExists(strFolder) != -1)
        CZipPathUtil::ForceFolder(strFolder);
    return strFolder + (pszName != NULL ? pszName : "");
}

bool CFileUpdate::ReduceToFileName(LPCSTR pszText, CString& strName)
{
    strName.Empty();
    if (pszText == NULL)
        return false;
    const size_t nLength = strlen(pszText);
    size_t nStart = 0;
    for (size_t n = 0; n < nLength; n += TextCharSize(pszText, nLength, n)) {
        if (pszText[n] == '/' || pszText[n] == '\\')
            nStart = n + 1;
    }
    CString strCandidate = pszText + nStart;
    // Neither byte is ever the second half of a double-byte character.
    int nQuery = strCandidate.FindOneOf("?#");
    if (nQuery >= 0)
        strCandidate = strCandidate.Left(nQuery);
    if (!IsPlainPathName(strCandidate))
        return false;
    strName = strCandidate;
    return true;
}

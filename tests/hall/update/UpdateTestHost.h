// A stand-in for the hall around the configuration updater: folders under a
// temporary program folder, the options store's values, and a record of what
// the updater handed over, asked or started.
#pragma once

#include <afx.h>

#include "FileUpdateHost.h"

#include <mutex>
#include <string>
#include <vector>

class CTestUpdateHost : public IFileUpdateHost
{
public:
    struct Prompt
    {
        HWND hOwner;
        std::string text;
        std::string caption;
        UINT nType;
    };
    struct Mission
    {
        std::string name;
        BYTE cbFlag;
        std::vector<std::string> urls; // up to the first empty entry
        DWORD dwVersion;
    };

    explicit CTestUpdateHost(LPCSTR pszWorkDirectory);

    CString GetWorkDirectory() override { return m_strWork; }
    CString GetResourceDirectory() override { return m_strWork + "Res\\"; }
    CString GetConfigDirectory() override { return m_strWork + "\\config"; }
    CString GetDownloadUrl() override { return m_strDownloadUrl; }
    bool GetHallDownloadInfo(tagHallDownloadInfo& info) override;
    void ReadHallDownloadInfo(std::istream& stream) override;
    void SetBulletinList(const CArray<tagBulletinItem, const tagBulletinItem&>& items) override;
    bool StartDownLoad(LPCSTR pszName, BYTE cbFlag, const CHAR (*ppszUrls)[HALL_URL_SIZE],
                       DWORD dwHallVersion) override;
    int ShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType) override;

    std::vector<std::string> HandedOver() const;

    CString m_strWork; // ends with a separator
    CString m_strDownloadUrl;
    bool m_bHasRecord = false;
    tagHallDownloadInfo m_Record = {};
    int m_nAnswer = IDYES;
    std::vector<Prompt> m_Prompts;
    std::vector<Mission> m_Missions;
    std::vector<tagBulletinItem> m_Bulletins;
    int m_nBulletinCalls = 0;

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_HandedOver; // written by the worker
};

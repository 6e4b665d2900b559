// The shop's catalogue: read from the program folder, fetched again from the
// download server when missing or stale. The shop window owns it, fetches
// through its host and hands each fetch's end back (OnFetchEnded).
//
// One fetch runs at a time; the others wait in order, each knows its own
// kind, and no file is asked for while it waits or runs. A file that fails
// is asked for at most once more per load.
#pragma once

#include <afxtempl.h>

#include <deque>

#include "ItemShopManager.h"

// Kinds of fetch, in the order a load needs them.
enum
{
    ITEM_FETCH_NONE = 0,
    ITEM_FETCH_FILE_INDEX = 1,
    ITEM_FETCH_ITEM_FILE = 2,
    ITEM_FETCH_IMAGE_INDEX = 3,
    ITEM_FETCH_IMAGE = 4
};

class IItemCatalogueHost
{
public:
    virtual ~IItemCatalogueHost() {}
    // Starts fetching url into the local path; its end comes back through
    // OnFetchEnded. False when it could not start.
    virtual bool FetchFile(LPCSTR pszUrl, LPCSTR pszLocalPath, int nKind) = 0;
    // Every item file is read: the shop makes its views.
    virtual void CreateViews() = 0;
};

class CItemCatalogue
{
public:
    explicit CItemCatalogue(IItemCatalogueHost* pHost);
    ~CItemCatalogue();

    // Empties items and files (the pictures stay) and loads from the start.
    void Reload();
    // Steps 1 to 9 of a load; false when a step stopped it.
    bool LoadCatalogue();
    // The running fetch ended (WM_USER+102: true, WM_USER+101: false).
    void OnFetchEnded(bool bSucceeded);

    CItemShopManager& GetManager() { return m_Manager; }
    const CItemFileArray& GetFiles() const { return m_Files; }
    const CImageCfgArray& GetImages() const { return m_Images; }
    const tagImageCfg* FindImageCfg(DWORD dwImageId) const;
    int GetFetchState() const { return m_nFetchState; }
    int GetPendingImages() const { return m_nPendingImages; }
    bool IsFetching() const { return m_bFetching; }
    size_t GetQueuedFetches() const { return m_Queue.size(); }

private:
    struct Fetch
    {
        CString strUrl;
        CString strLocal;
        int nKind;
    };

    bool CheckIndexVersion();
    bool LoadItemFiles();
    bool LoadImageInfo();
    void CreateViewsAndImages();
    void LoadImagePair(tagImageCfg& image);
    void FetchChangedImages();
    void ReloadImages();
    // Queues a fetch unless the file is queued, running or out of attempts.
    bool DownloadItemFile(LPCSTR pszServerPath, LPCSTR pszLocalPath, int nKind);
    void StartNextFetch();
    bool IsFetchingKind(int nKind) const;
    CString ProgramPath(LPCSTR pszRelative) const;
    void AddImage(const tagImageCfg& image);

    IItemCatalogueHost* m_pHost;
    CItemShopManager m_Manager;
    CItemFileArray m_Files;
    tagItem m_ImageIndex;
    int m_nIndexVersion;
    CImageCfgArray m_Images;
    CMap<DWORD, DWORD, int, int> m_History;
    int m_nFetchState;
    int m_nPendingImages;
    bool m_bHoldImages;
    bool m_bFetching;
    Fetch m_Running;
    std::deque<Fetch> m_Queue;
    // Attempts per local file in this load.
    CMap<CString, LPCSTR, int, int> m_Attempts;
};

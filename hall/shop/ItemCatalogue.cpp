#include "ItemCatalogue.h"

#include <string.h>

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "ItemFiles.h"
#include "TextUnit.h"

namespace
{
const int kMostAttempts = 2; // the first and one more
const char kFileIndex[] = "Items\\fileindex.xml";
} // namespace

CItemCatalogue::CItemCatalogue(IItemCatalogueHost* pHost)
    : m_pHost(pHost), m_nIndexVersion(0), m_nFetchState(ITEM_FETCH_NONE), m_nPendingImages(0), m_bHoldImages(false),
      m_bFetching(false)
{
    memset(&m_ImageIndex, 0, sizeof(m_ImageIndex));
    m_Running.nKind = ITEM_FETCH_NONE;
}

CItemCatalogue::~CItemCatalogue() {}

CString CItemCatalogue::ProgramPath(LPCSTR pszRelative) const
{
    return CString(g_GlobalUnits.GetWorkDirectory()) + pszRelative;
}

void CItemCatalogue::Reload()
{
    m_Manager.RemoveAll();
    m_Files.RemoveAll();
    m_Attempts.RemoveAll();
    LoadCatalogue();
}

bool CItemCatalogue::CheckIndexVersion()
{
    CString ini = ProgramPath("config\\Dynamic\\DynaItemCfg.ini");
    int nRequired = (int)::GetPrivateProfileIntA("Item", "fileindexVersion", 0, ini);
    if (m_nIndexVersion >= nRequired)
        return true;
    char szUrl[260] = "";
    ::GetPrivateProfileStringA("Item", "url", "", szUrl, sizeof(szUrl), ini);
    DownloadItemFile(szUrl, kFileIndex, ITEM_FETCH_FILE_INDEX);
    return false;
}

bool CItemCatalogue::LoadCatalogue()
{
    ::CreateDirectoryA(ProgramPath("Items"), NULL);
    ::CreateDirectoryA(ProgramPath("Items\\img"), NULL);

    int nVersion = 0;
    tagItem imageIndex;
    CItemFileArray files;
    if (!ReadFileIndex(ProgramPath(kFileIndex), nVersion, imageIndex, files)) {
        CheckIndexVersion();
        return false;
    }
    m_nIndexVersion = nVersion;
    if (m_nFetchState == ITEM_FETCH_NONE && !CheckIndexVersion())
        return false;
    m_ImageIndex = imageIndex;
    // A new index replaces the file list; files already read stay read.
    for (INT_PTR i = 0; i < files.GetSize(); i++) {
        for (INT_PTR j = 0; j < m_Files.GetSize(); j++) {
            if (m_Files[j].cbLoaded && strcmp(m_Files[j].szName, files[i].szName) == 0 &&
                m_Files[j].nVersion == files[i].nVersion)
                files[i].cbLoaded = 1;
        }
    }
    m_Files.RemoveAll();
    m_Files.Append(files);
    if (!LoadItemFiles())
        return false;
    CreateViewsAndImages();
    return true;
}

bool CItemCatalogue::LoadItemFiles()
{
    int nFailures = 0;
    for (INT_PTR i = 0; i < m_Files.GetSize(); i++) {
        tagItem& file = m_Files[i];
        if (file.cbLoaded)
            continue;
        int nVersion = 0;
        CArray<CItemCfg*, CItemCfg*> items;
        bool bParsed = ReadItemFile(ProgramPath(file.szName), nVersion, items);
        if (!bParsed || (nVersion < file.nVersion && m_nFetchState < ITEM_FETCH_ITEM_FILE)) {
            for (INT_PTR k = 0; k < items.GetSize(); k++)
                delete items[k];
            DownloadItemFile(file.szUrl, file.szName, ITEM_FETCH_ITEM_FILE);
            ++nFailures;
            continue;
        }
        for (INT_PTR k = 0; k < items.GetSize(); k++)
            m_Manager.AddItemCfg(items[k]->GetCategory(), items[k]);
        file.cbLoaded = 1;
    }
    return nFailures == 0;
}

void CItemCatalogue::CreateViewsAndImages()
{
    if (m_pHost != NULL)
        m_pHost->CreateViews();
    LoadImageInfo();
}

bool CItemCatalogue::LoadImageInfo()
{
    if (m_ImageIndex.szName[0] == '\0')
        return false;
    CString path = ProgramPath(m_ImageIndex.szName);
    int nVersion = 0;
    CImageCfgArray images;
    if (!ReadImageIndex(path, nVersion, images)) {
        DownloadItemFile(m_ImageIndex.szUrl, m_ImageIndex.szName, ITEM_FETCH_IMAGE_INDEX);
        return false;
    }
    if (nVersion < m_ImageIndex.nVersion && m_nFetchState < ITEM_FETCH_IMAGE_INDEX) {
        ReadImageHistory(path, m_History);
        DownloadItemFile(m_ImageIndex.szUrl, m_ImageIndex.szName, ITEM_FETCH_IMAGE_INDEX);
        return false;
    }
    for (INT_PTR i = 0; i < images.GetSize(); i++) {
        LoadImagePair(images[i]);
        AddImage(images[i]);
    }
    return true;
}

// A record of an image id already held replaces it, so a refreshed picture
// shows instead of the first one read.
void CItemCatalogue::AddImage(const tagImageCfg& image)
{
    for (INT_PTR i = 0; i < m_Images.GetSize(); i++) {
        if (m_Images[i].dwImageId == image.dwImageId) {
            m_Images[i] = image;
            return;
        }
    }
    m_Images.Add(image);
}

void CItemCatalogue::LoadImagePair(tagImageCfg& image)
{
    CString path = ProgramPath(image.szFile);
    image.Picture.Destroy();
    image.SmallPicture.Destroy();
    image.Picture.Load(path);
    CString small = path;
    small.Replace("_1", "_2");
    image.SmallPicture.Load(small);
    if (!image.Picture.IsValid() && !m_bHoldImages && m_nFetchState != ITEM_FETCH_IMAGE_INDEX)
        DownloadItemFile(image.szUrl, image.szFile, ITEM_FETCH_IMAGE);
}

void CItemCatalogue::FetchChangedImages()
{
    for (INT_PTR i = 0; i < m_Images.GetSize(); i++) {
        tagImageCfg& image = m_Images[i];
        int nOld = 0;
        if (m_History.Lookup(image.dwImageId, nOld) && nOld >= image.nVersion && image.Picture.IsValid())
            continue;
        DownloadItemFile(image.szUrl, image.szFile, ITEM_FETCH_IMAGE);
    }
}

void CItemCatalogue::ReloadImages()
{
    m_bHoldImages = true;
    for (INT_PTR i = 0; i < m_Images.GetSize(); i++) {
        tagImageCfg& image = m_Images[i];
        int nOld = 0;
        bool bStale = m_History.Lookup(image.dwImageId, nOld) && nOld < image.nVersion;
        if (!image.Picture.IsValid() || bStale)
            LoadImagePair(image);
    }
}

bool CItemCatalogue::DownloadItemFile(LPCSTR pszServerPath, LPCSTR pszLocalPath, int nKind)
{
    if (m_pHost == NULL || pszServerPath == NULL || pszServerPath[0] == '\0')
        return false;
    CString local = ProgramPath(pszLocalPath);
    if (m_bFetching && m_Running.strLocal.CompareNoCase(local) == 0)
        return false;
    for (const Fetch& queued : m_Queue) {
        if (queued.strLocal.CompareNoCase(local) == 0)
            return false;
    }
    CString key = local;
    key.MakeLower();
    int nAttempts = 0;
    m_Attempts.Lookup(key, nAttempts);
    if (nAttempts >= kMostAttempts)
        return false;
    m_Attempts.SetAt(key, nAttempts + 1);
    Fetch fetch;
    fetch.strUrl = g_GlobalOption.GetDownloadUrl() + pszServerPath;
    fetch.strLocal = local;
    fetch.nKind = nKind;
    // A picture counts as pending from its queueing to its end.
    if (nKind == ITEM_FETCH_IMAGE)
        ++m_nPendingImages;
    m_Queue.push_back(fetch);
    if (!m_bFetching)
        StartNextFetch();
    return true;
}

void CItemCatalogue::StartNextFetch()
{
    while (!m_bFetching && !m_Queue.empty()) {
        m_Running = m_Queue.front();
        m_Queue.pop_front();
        m_nFetchState = m_Running.nKind;
        m_bFetching = true;
        if (!m_pHost->FetchFile(m_Running.strUrl, m_Running.strLocal, m_Running.nKind)) {
            // Could not even start: ended as a failure.
            m_bFetching = false;
            if (m_Running.nKind == ITEM_FETCH_IMAGE && m_nPendingImages > 0)
                --m_nPendingImages;
        }
    }
}

bool CItemCatalogue::IsFetchingKind(int nKind) const
{
    if (m_bFetching && m_Running.nKind == nKind)
        return true;
    for (const Fetch& queued : m_Queue) {
        if (queued.nKind == nKind)
            return true;
    }
    return false;
}

const tagImageCfg* CItemCatalogue::FindImageCfg(DWORD dwImageId) const
{
    for (INT_PTR i = 0; i < m_Images.GetSize(); i++) {
        if (m_Images[i].dwImageId == dwImageId)
            return &m_Images.GetData()[i];
    }
    return NULL;
}

void CItemCatalogue::OnFetchEnded(bool bSucceeded)
{
    if (!m_bFetching)
        return;
    m_bFetching = false;
    const int nKind = m_Running.nKind;
    switch (nKind) {
    case ITEM_FETCH_FILE_INDEX: LoadCatalogue(); break;
    case ITEM_FETCH_ITEM_FILE:
        // Every item file read, or the last one given up, brings the views.
        if (LoadItemFiles() || (!bSucceeded && !IsFetchingKind(ITEM_FETCH_ITEM_FILE)))
            CreateViewsAndImages();
        break;
    case ITEM_FETCH_IMAGE_INDEX:
        if (LoadImageInfo())
            FetchChangedImages();
        break;
    case ITEM_FETCH_IMAGE:
        if (m_nPendingImages > 0)
            --m_nPendingImages;
        if (m_nPendingImages == 0)
            ReloadImages();
        break;
    default: break;
    }
    StartNextFetch();
}

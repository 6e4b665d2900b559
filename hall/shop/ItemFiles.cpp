#include "ItemFiles.h"

#include <stdlib.h>
#include <string.h>

#include "PathName.h"
#include "TextUnit.h"
#include "tinyxml.h"

namespace
{

int IntOf(const char* pszText)
{
    return pszText != NULL ? atoi(pszText) : 0;
}

int VersionAttribute(const TiXmlElement* pElement)
{
    const TiXmlElement* pVersion = pElement != NULL ? pElement->FirstChildElement("Version") : NULL;
    return pVersion != NULL ? IntOf(pVersion->Attribute("version")) : 0;
}

// A server path kept only when it stays below the program folder and fits.
template <size_t N> bool CopyRelativePath(char (&field)[N], const char* pszPath)
{
    field[0] = '\0';
    if (pszPath == NULL || !IsRelativePathName(pszPath))
        return false;
    return TextCopyPath(field, pszPath);
}

// One entry of the file index: "Version", "file-name", "file-url".
bool ReadFileEntry(const TiXmlElement* pEntry, tagItem& item)
{
    memset(&item, 0, sizeof(item));
    item.nVersion = VersionAttribute(pEntry);
    const TiXmlElement* pName = pEntry->FirstChildElement("file-name");
    const TiXmlElement* pUrl = pEntry->FirstChildElement("file-url");
    if (pName == NULL || pUrl == NULL)
        return false;
    return CopyRelativePath(item.szName, pName->Attribute("path")) &&
           CopyRelativePath(item.szUrl, pUrl->Attribute("url"));
}

bool LoadDocument(TiXmlDocument& document, LPCSTR pszPath)
{
    return pszPath != NULL && document.LoadFile(pszPath) && document.RootElement() != NULL;
}

// The first element named name and every following sibling element.
template <class Visit> void ForEachFrom(const TiXmlElement* pRoot, const char* pszName, Visit visit)
{
    for (const TiXmlElement* p = pRoot->FirstChildElement(pszName); p != NULL; p = p->NextSiblingElement())
        visit(p);
}

} // namespace

bool ReadFileIndex(LPCSTR pszPath, int& nVersion, tagItem& imageIndex, CItemFileArray& files)
{
    TiXmlDocument document;
    if (!LoadDocument(document, pszPath))
        return false;
    const TiXmlElement* pRoot = document.RootElement();
    nVersion = VersionAttribute(pRoot);
    memset(&imageIndex, 0, sizeof(imageIndex));
    const TiXmlElement* pImages = pRoot->FirstChildElement("imginfo");
    if (pImages != NULL)
        ReadFileEntry(pImages, imageIndex);
    ForEachFrom(pRoot, "itemindex", [&](const TiXmlElement* pEntry) {
        tagItem item;
        if (ReadFileEntry(pEntry, item))
            files.Add(item);
    });
    return true;
}

bool ReadItemFile(LPCSTR pszPath, int& nVersion, CArray<CItemCfg*, CItemCfg*>& items)
{
    TiXmlDocument document;
    if (!LoadDocument(document, pszPath))
        return false;
    const TiXmlElement* pRoot = document.RootElement();
    nVersion = VersionAttribute(pRoot);
    ForEachFrom(pRoot, "item", [&](const TiXmlElement* pEntry) {
        CItemCfg* pItem = new CItemCfg;
        // Children by position; reading stops at the first missing one.
        const TiXmlElement* p = pEntry->FirstChildElement();
        for (int nPosition = 1; p != NULL && nPosition <= 10; nPosition++, p = p->NextSiblingElement()) {
            const char* pszText = p->GetText();
            switch (nPosition) {
            case 1: pItem->SetItemId((WORD)IntOf(pszText)); break;
            case 2: pItem->SetName(pszText); break;
            case 3: pItem->SetCategory(3); break;
            case 4: pItem->SetDescription(pszText); break;
            case 5: pItem->SetFirstFlag((BYTE)(IntOf(pszText) != 0)); break;
            case 6: pItem->SetSecondFlag((BYTE)(IntOf(pszText) != 0)); break;
            case 7: pItem->SetImageId((DWORD)IntOf(pszText)); break;
            case 8: pItem->SetQuantityItem((BYTE)(IntOf(pszText) != 0)); break;
            case 9: pItem->SetPrice((DWORD)IntOf(pszText)); break;
            case 10: pItem->SetValue((DWORD)IntOf(pszText)); break;
            }
        }
        items.Add(pItem);
    });
    return true;
}

bool ReadImageIndex(LPCSTR pszPath, int& nVersion, CImageCfgArray& images)
{
    TiXmlDocument document;
    if (!LoadDocument(document, pszPath))
        return false;
    const TiXmlElement* pRoot = document.RootElement();
    nVersion = VersionAttribute(pRoot);
    ForEachFrom(pRoot, "image", [&](const TiXmlElement* pEntry) {
        tagImageCfg image;
        const TiXmlElement* p = pEntry->FirstChildElement();
        bool bPaths = true;
        for (int nPosition = 1; p != NULL && nPosition <= 4; nPosition++, p = p->NextSiblingElement()) {
            const char* pszText = p->GetText();
            switch (nPosition) {
            case 1: image.nVersion = IntOf(pszText); break;
            case 2: bPaths = CopyRelativePath(image.szFile, pszText) && bPaths; break;
            case 3: bPaths = CopyRelativePath(image.szUrl, pszText) && bPaths; break;
            case 4: image.dwImageId = (DWORD)IntOf(pszText); break;
            }
        }
        if (bPaths && image.szFile[0] != '\0')
            images.Add(image);
    });
    return true;
}

bool ReadImageHistory(LPCSTR pszPath, CMap<DWORD, DWORD, int, int>& history)
{
    TiXmlDocument document;
    if (!LoadDocument(document, pszPath))
        return false;
    ForEachFrom(document.RootElement(), "image", [&](const TiXmlElement* pEntry) {
        const TiXmlElement* pVersion = pEntry->FirstChildElement("version");
        const TiXmlElement* pId = pEntry->FirstChildElement("imageid");
        if (pVersion != NULL && pId != NULL)
            history.SetAt((DWORD)IntOf(pId->GetText()), IntOf(pVersion->GetText()));
    });
    return true;
}

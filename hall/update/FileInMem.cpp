#include "FileInMem.h"

#include "TextUnit.h"

#include "FileUpdateHost.h"
#include "HttpDownLoad.h"
#include "UpdateTuning.h"
#include "ZipPack.h"

#include <afxmemfile.h>

#include <sstream>
#include <string.h>
#include <string>
#include <vector>

namespace
{
// Every "Update.ini" of the archive; an entry that cannot be opened, or that
// is larger than a version file can be, is left out. Throws CZipError*.
void ReadUpdateIni(CZipPack& pack, std::vector<std::string>& texts)
{
    for (int i = 0; i < pack.EntryCount(); i++) {
        CZipEntryHeader header;
        if (!pack.CopyEntryHeader(header, i) || header.EntryName().CompareNoCase("Update.ini") != 0)
            continue;
        if (!pack.OpenEntry(i))
            continue;
        std::string text;
        std::vector<char> block(CFileInMem::readBlock);
        bool bTooLarge = false;
        for (;;) {
            DWORD nRead = pack.ReadEntry(block.data(), CFileInMem::readBlock);
            if (text.size() + nRead > g_UpdateTuning.dwMaxIniSize) {
                bTooLarge = true;
                break;
            }
            text.append(block.data(), nRead);
            if (nRead < CFileInMem::readBlock)
                break;
        }
        if (bTooLarge) {
            pack.CloseEntry(true);
            continue;
        }
        // Checks the CRC: a damaged entry raises.
        pack.CloseEntry();
        texts.push_back(text);
    }
}
} // namespace

CFileInMem::CFileInMem(CFileUpdate* pOwner, IFileUpdateHost* pHost, HWND hNotifyWnd, DWORD dwKind)
    : CUpdateTask(pOwner, hNotifyWnd, dwKind), m_pHost(pHost)
{
    m_szUrl[0] = '\0';
}

CFileInMem::~CFileInMem()
{
    WaitForWorker();
}

bool CFileInMem::SetUrl(LPCSTR pszUrl)
{
    return pszUrl != NULL && TextCopyPath(m_szUrl, pszUrl);
}

bool CFileInMem::OnThreadRun()
{
    bool bDone = false;
    LPARAM lError = 0;
    std::vector<std::string> texts;
    try {
        CHttpDownLoad download;
        if (download.DownloadToMemory(m_szUrl) && download.GetSize() > 0) {
            CMemFile file;
            file.Attach(download.GetData(), download.GetSize());
            CZipPack pack;
            try {
                pack.OpenFromMemory(file, CZipPack::zipOpenReadOnly);
                ReadUpdateIni(pack, texts);
                pack.CloseArchive();
            } catch (CException*) {
                pack.CloseArchive(true);
                throw;
            }
            bDone = true;
        } else {
            lError = (LPARAM)download.GetErrorCode();
        }
    } catch (CException* pException) {
        pException->Delete();
        lError = 0;
    } catch (...) {
        lError = 0;
    }

    // Under the lock, so that a task cancelled meanwhile hands nothing over.
    m_Lock.Lock();
    if (!IsCancelledLocked()) {
        if (bDone) {
            for (const std::string& text : texts) {
                std::istringstream stream(text);
                m_pHost->ReadHallDownloadInfo(stream);
            }
        }
        PostLocked(bDone ? WM_UPDATE_FINISHED : WM_UPDATE_FAILED, bDone ? 0 : lError);
    }
    m_Lock.Unlock();
    return EndRun();
}

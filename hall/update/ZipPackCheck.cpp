#include "ZipPackCheck.h"

#include <vector>

#include "ZipError.h"
#include "ZipPack.h"

bool IsWholeZipPackage(LPCTSTR lpszPath)
{
    CZipPack pack;
    try {
        if (!pack.OpenArchive(lpszPath, CZipPack::zipOpenReadOnly))
            return false;
        std::vector<char> block(64 * 1024);
        for (int i = 0; i < pack.EntryCount(); i++) {
            if (!pack.OpenEntry(i)) {
                pack.CloseArchive(true);
                return false;
            }
            while (pack.ReadEntry(block.data(), (DWORD)block.size()) == block.size()) {}
            // Compares size and CRC-32: a damaged entry raises or answers false.
            if (!pack.CloseEntry()) {
                pack.CloseArchive(true);
                return false;
            }
        }
        pack.CloseArchive();
        return true;
    } catch (CException* e) {
        e->Delete();
    }
    pack.CloseArchive(true);
    return false;
}

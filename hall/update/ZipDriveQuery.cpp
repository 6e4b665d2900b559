#include "ZipDriveQuery.h"

#include <windows.h>

namespace
{

CZipDriveQuery g_systemQuery;
CZipDriveQuery* g_pQuery = &g_systemQuery;

LPCTSTR RootOrNull(LPCTSTR lpszRoot)
{
    return (lpszRoot != NULL && *lpszRoot != '\0') ? lpszRoot : NULL;
}

} // namespace

CZipDriveQuery::~CZipDriveQuery() {}

UINT CZipDriveQuery::DriveType(LPCTSTR lpszRoot)
{
    return ::GetDriveTypeA(RootOrNull(lpszRoot));
}

BOOL CZipDriveQuery::DiskFreeSpace(LPCTSTR lpszRoot, DWORD* pSectorsPerCluster, DWORD* pBytesPerSector,
                                   DWORD* pFreeClusters)
{
    DWORD totalClusters = 0;
    return ::GetDiskFreeSpaceA(RootOrNull(lpszRoot), pSectorsPerCluster, pBytesPerSector, pFreeClusters,
                               &totalClusters);
}

BOOL CZipDriveQuery::SetLabel(LPCTSTR lpszRoot, LPCTSTR lpszLabel)
{
    return ::SetVolumeLabelA(RootOrNull(lpszRoot), lpszLabel);
}

CZipDriveQuery& CZipDriveQuery::Current()
{
    return *g_pQuery;
}

CZipDriveQuery* CZipDriveQuery::Install(CZipDriveQuery* pQuery)
{
    CZipDriveQuery* pOld = g_pQuery;
    g_pQuery = pQuery != NULL ? pQuery : &g_systemQuery;
    return pOld == &g_systemQuery ? NULL : pOld;
}

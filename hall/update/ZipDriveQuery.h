// The drive queries of the zip classes (type, free space, volume label) in
// one place, so spanning over removable disks can run against a stand-in
// drive. The system's queries are used unless another object is installed.
#pragma once

#include <afx.h>

class CZipDriveQuery
{
public:
    virtual ~CZipDriveQuery();

    // Roots are "X:\" or "\\server\share\"; empty means the current drive.
    virtual UINT DriveType(LPCTSTR lpszRoot);
    virtual BOOL DiskFreeSpace(LPCTSTR lpszRoot, DWORD* pSectorsPerCluster, DWORD* pBytesPerSector,
                               DWORD* pFreeClusters);
    virtual BOOL SetLabel(LPCTSTR lpszRoot, LPCTSTR lpszLabel);

    static CZipDriveQuery& Current();
    // Puts pQuery in place (null: the system's again); answers the one it
    // replaces, null when that was the system's.
    static CZipDriveQuery* Install(CZipDriveQuery* pQuery);
};

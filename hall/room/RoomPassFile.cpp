#include "RoomPassFile.h"

#include <stdio.h>
#include <string.h>

CString CRoomPassFile::PathOfUser(LPCSTR pszWorkDirectory, DWORD dwUserID)
{
    CString strPath;
    strPath.Format("%sconfig\\Users\\%lu\\roompass.dat", pszWorkDirectory, dwUserID);
    return strPath;
}

bool CRoomPassFile::ReadRecords(std::vector<tagRoomPassRecord>& records) const
{
    records.clear();
    FILE* pFile = fopen(m_strPath, "rb");
    if (pFile == NULL)
        return false;
    WORD wCount = 0;
    bool bRead = fread(&wCount, sizeof(wCount), 1, pFile) == 1;
    for (WORD i = 0; bRead && i < wCount; ++i) {
        tagRoomPassRecord record;
        if (fread(&record, sizeof(record), 1, pFile) != 1)
            break;
        record.szPassword[sizeof(record.szPassword) - 1] = '\0';
        records.push_back(record);
    }
    fclose(pFile);
    return bRead;
}

bool CRoomPassFile::WriteRecords(const std::vector<tagRoomPassRecord>& records) const
{
    // The folders of a user who never saved one.
    CString strFolder = m_strPath;
    for (int nPos = strFolder.Find('\\', 3); nPos >= 0; nPos = strFolder.Find('\\', nPos + 1))
        CreateDirectoryA(strFolder.Left(nPos), NULL);
    CString strTemp = m_strPath + ".new";
    FILE* pFile = fopen(strTemp, "wb");
    if (pFile == NULL)
        return false;
    WORD wCount = WORD(records.size());
    bool bWritten = fwrite(&wCount, sizeof(wCount), 1, pFile) == 1;
    if (bWritten && !records.empty())
        bWritten = fwrite(records.data(), sizeof(tagRoomPassRecord), records.size(), pFile) == records.size();
    bWritten = fclose(pFile) == 0 && bWritten;
    if (!bWritten || !MoveFileExA(strTemp, m_strPath, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(strTemp);
        return false;
    }
    return true;
}

CString CRoomPassFile::Load(DWORD dwServerID, DWORD dwUserID) const
{
    std::vector<tagRoomPassRecord> records;
    ReadRecords(records);
    for (const tagRoomPassRecord& record : records) {
        if (record.dwServerID == dwServerID && record.dwUserID == dwUserID)
            return CString(record.szPassword);
    }
    return CString();
}

bool CRoomPassFile::Save(DWORD dwServerID, DWORD dwUserID, LPCSTR pszPassword) const
{
    if (pszPassword == NULL || *pszPassword == '\0')
        return true;
    std::vector<tagRoomPassRecord> records;
    ReadRecords(records);
    bool bFound = false;
    for (tagRoomPassRecord& record : records) {
        if (record.dwServerID != dwServerID || record.dwUserID != dwUserID)
            continue;
        if (strcmp(record.szPassword, pszPassword) == 0)
            return true;
        memset(record.szPassword, 0, sizeof(record.szPassword));
        strncpy(record.szPassword, pszPassword, 33);
        record.szPassword[33] = '\0';
        bFound = true;
    }
    if (!bFound) {
        if (records.size() >= 0xFFFF)
            return false;
        tagRoomPassRecord record;
        memset(&record, 0, sizeof(record));
        record.dwServerID = dwServerID;
        record.dwUserID = dwUserID;
        strncpy(record.szPassword, pszPassword, 33);
        record.szPassword[33] = '\0';
        records.push_back(record);
    }
    return WriteRecords(records);
}

bool CRoomPassFile::Forget(DWORD dwServerID) const
{
    std::vector<tagRoomPassRecord> records;
    if (!ReadRecords(records))
        return true;
    std::vector<tagRoomPassRecord> kept;
    for (const tagRoomPassRecord& record : records) {
        if (record.dwServerID != dwServerID)
            kept.push_back(record);
    }
    return WriteRecords(kept);
}

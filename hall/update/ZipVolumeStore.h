// The storage of an archive: its file (or a caller's memory file) behind a
// write buffer, and the volumes of a spanned archive, numbered files of a
// given size or one file per removable disk.
#pragma once

#include <afx.h>

#include "ZipBuffer.h"
#include "ZipLargeFile.h"

class CMemFile;

// Asked for each disk of an archive spread over removable disks: volume
// counted from 1; code -1 a disk to read, else (writing) the bytes that must
// fit, -2 the disk already holds the archive's name, -3 its label could not
// be set, -4 the file could not be created. False gives up.
typedef bool (*DiskChangeCallback)(int iVolume, int iCode, void* pData);

class CZipVolumeStore
{
public:
    enum
    {
        spanNone = 0,        // one plain file
        spanRemovable = 1,   // one volume per removable disk
        spanNumbered = 2,    // numbered volume files
        spanDetect = 3,      // opening: decided by the drive type
        spanNumberedOpen = 4 // opening: numbered volumes
    };
    enum
    {
        maxVolumes = 999
    };
    static const BYTE m_gszSpanSignature[4];

    CZipVolumeStore();
    ~CZipVolumeStore();

    // Modes: 0 open, 1 open read-only, 2 create, 3 create spanned.
    void OpenStorage(LPCTSTR lpszPath, int iMode, int iVolumeSize);
    // Modes 0, 1 and 2 on the caller's memory file.
    void OpenStorage(CMemFile& file, int iMode);
    void CloseStorage(bool bAfterException);

    // With bWhole the piece is never split between volumes.
    void WriteData(const void* pData, DWORD uLength, bool bWhole);
    void FlushBuffer();
    void StartNextVolume(DWORD uNeeded, LPCTSTR lpszFileName = NULL);

    // Reads across volumes; anything short of uLength raises the
    // damaged-archive code. Answers the bytes read.
    DWORD ReadData(void* pData, DWORD uLength, bool bWhole);
    void SettleSpanMode(int iVolume);
    void ChangeVolume(int iVolume);

    // 0 not spanned, 1 a spanned archive being created, -1 one being read.
    int SpanState() const;
    int CurrentVolume() const { return m_iCurrentVolume; }
    ULONGLONG Position() const;
    DWORD FreeOnVolume() const;
    ULONGLONG FreeDiskSpace() const;
    CString VolumeFileName(bool bLast, LPCTSTR lpszName = NULL) const;

    bool IsOpen() const { return m_pFile != NULL; }
    CFile* GetFile() const { return m_pFile; }
    CString GetFilePath() const;
    void Seek(ULONGLONG uPosition);
    void SetDiskChangeCallback(DiskChangeCallback pCallback, void* pData);
    // Raises an internal code with the path of the file in use.
    [[noreturn]] void ThrowError(int iCode) const;

    DWORD m_uWriteBufferSize;
    void* m_pCallbackData;
    CZipLargeFile m_internalFile;
    CFile* m_pFile;
    int m_iSpanMode;
    DiskChangeCallback m_pDiskChange;
    int m_iVolumeSize;
    DWORD m_uBuffered;
    DWORD m_uVolumeRoom;
    CZipBuffer m_pWriteBuffer;
    DWORD m_uBytesOnVolume;
    bool m_bNewSpan;
    int m_iCurrentVolume;

private:
    void AppendToBuffer(const BYTE* pData, DWORD uLength);
    void CloseFile(bool bAfterException);
    DWORD ClampedFreeSpace() const;

    CZipVolumeStore(const CZipVolumeStore&) = delete;
    CZipVolumeStore& operator=(const CZipVolumeStore&) = delete;
};

// Files, folders and fixtures of the archive tests.
#pragma once

#include <afx.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "ZipPack.h"

// bin\zip_fixtures\<name>: the archives make_fixtures.py wrote at build time.
CString FixturePath(LPCSTR lpszName);


std::string ReadBytes(LPCSTR lpszPath);
void WriteBytes(LPCSTR lpszPath, const std::string& data);
bool Exists(LPCSTR lpszPath);
DWORD Crc32(const std::string& data);
// Deterministic data: random-looking or compressible.
std::string Noise(size_t size, unsigned seed);
std::string Prose(size_t size, unsigned seed);
// Bytes as lower-case hex and back.
std::string Hex(const std::string& bytes);
std::string FromHex(const std::string& hex);

// One entry of a good fixture, as manifest.txt lists it.
struct ZipManifestEntry
{
    std::string archive;
    std::string name; // stored bytes: "/" between folders
    DWORD size;
    DWORD crc;
    std::string password; // empty: none
    bool folder;
};
std::vector<ZipManifestEntry> LoadManifest();

// Reads the whole entry through OpenEntry/ReadEntry/CloseEntry.
std::string ReadWholeEntry(CZipPack& pack, int iIndex, DWORD uChunk = 4096);

// The cause of the CZipError the call raised, 0 for none, -1 for another
// exception (each is deleted).
template <class F> int ZipCause(F f)
{
    try {
        f();
    } catch (CZipError* e) {
        int cause = e->m_iCause;
        e->Delete();
        return cause;
    } catch (CException* e) {
        e->Delete();
        return -1;
    }
    return 0;
}

// bin\zip_roundtrip: archives written here are read back by
// verify_roundtrip.py; each is listed in roundtrip.txt.
CString RoundtripFolder();
struct ZipRoundtripEntry
{
    std::string name; // as the reader shows it ("\" between folders)
    std::string data;
    bool folder = false;
};
void RecordRoundtrip(LPCSTR lpszArchive, int iVolumes, LPCSTR lpszPassword,
                     const std::vector<ZipRoundtripEntry>& entries);

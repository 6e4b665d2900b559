#include "ZipTestFiles.h"

#include <windows.h>
#include <zlib.h>

#include <fstream>
#include <random>
#include <sstream>

namespace
{

CString ProgramFolder()
{
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(NULL, path, MAX_PATH);
    CString folder(path, (int)n);
    return folder.Left(folder.ReverseFind('\\'));
}

} // namespace

CString FixturePath(LPCSTR lpszName)
{
    return ProgramFolder() + "\\zip_fixtures\\" + lpszName;
}

CString RoundtripFolder()
{
    static bool cleared = false;
    CString folder = ProgramFolder() + "\\zip_roundtrip";
    if (!cleared) {
        RemoveTree(folder);
        ::CreateDirectoryA(folder, NULL);
        cleared = true;
    }
    return folder;
}

std::string ReadBytes(LPCSTR lpszPath)
{
    return ReadFileBytes(lpszPath);
}

void WriteBytes(LPCSTR lpszPath, const std::string& data)
{
    std::ofstream out(lpszPath, std::ios::binary | std::ios::trunc);
    out.write(data.data(), (std::streamsize)data.size());
}

bool Exists(LPCSTR lpszPath)
{
    return ::GetFileAttributesA(lpszPath) != INVALID_FILE_ATTRIBUTES;
}

DWORD Crc32(const std::string& data)
{
    return (DWORD)crc32(0, reinterpret_cast<const Bytef*>(data.data()), (uInt)data.size());
}

std::string Noise(size_t size, unsigned seed)
{
    std::mt19937 rnd(seed);
    std::string s(size, '\0');
    for (char& c : s)
        c = (char)(rnd() >> 24);
    return s;
}

std::string Prose(size_t size, unsigned seed)
{
    static const char* words[] = {"hall ", "room ", "table ", "update ", "archive ", "volume ", "entry "};
    std::mt19937 rnd(seed);
    std::string s;
    while (s.size() < size)
        s += words[rnd() % 7];
    s.resize(size);
    return s;
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string FromHex(const std::string& hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += (char)std::stoi(hex.substr(i, 2), nullptr, 16);
    return out;
}

std::vector<ZipManifestEntry> LoadManifest()
{
    std::vector<ZipManifestEntry> entries;
    std::ifstream in((LPCSTR)FixturePath("manifest.txt"));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        ZipManifestEntry e;
        std::string name, size, crc, password, folder;
        if (!std::getline(fields, e.archive, '\t') || !std::getline(fields, name, '\t') ||
            !std::getline(fields, size, '\t') || !std::getline(fields, crc, '\t') ||
            !std::getline(fields, password, '\t') || !std::getline(fields, folder, '\t'))
            continue;
        e.name = FromHex(name);
        e.size = (DWORD)std::stoul(size);
        e.crc = (DWORD)std::stoul(crc, nullptr, 16);
        e.password = password == "-" ? "" : password;
        e.folder = folder == "1";
        entries.push_back(e);
    }
    return entries;
}

std::string ReadWholeEntry(CZipPack& pack, int iIndex, DWORD uChunk)
{
    std::string data;
    if (!pack.OpenEntry(iIndex))
        return "<not opened>";
    std::string chunk(uChunk, '\0');
    DWORD n;
    do {
        n = pack.ReadEntry(&chunk[0], uChunk);
        data.append(chunk.data(), n);
    } while (n == uChunk);
    if (!pack.CloseEntry())
        return "<not closed>";
    return data;
}

void RecordRoundtrip(LPCSTR lpszArchive, int iVolumes, LPCSTR lpszPassword,
                     const std::vector<ZipRoundtripEntry>& entries)
{
    std::ofstream out((LPCSTR)(RoundtripFolder() + "\\roundtrip.txt"), std::ios::app);
    for (const ZipRoundtripEntry& e : entries) {
        std::string stored = e.name;
        // "\" is only a separator outside double-byte characters.
        for (size_t i = 0; i < stored.size(); i++) {
            if (::IsDBCSLeadByte((BYTE)stored[i]) && i + 1 < stored.size())
                i++;
            else if (stored[i] == '\\')
                stored[i] = '/';
        }
        out << lpszArchive << '\t' << iVolumes << '\t' << (lpszPassword && *lpszPassword ? lpszPassword : "-") << '\t'
            << Hex(stored) << '\t' << e.data.size() << '\t' << std::hex << Crc32(e.data) << std::dec << '\t'
            << (e.folder ? 1 : 0) << '\n';
    }
}

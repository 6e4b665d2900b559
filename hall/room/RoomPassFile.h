// The remembered room passwords of one logged-on user: "roompass.dat" in
// the program folder's "config\Users\<user id>\". A u16 count, then 44-byte
// records {u32 room server id, u32 user id, char[36] MD5 hex text}.
#pragma once

#include <afx.h>

#include <vector>

#pragma pack(push, 1)
struct tagRoomPassRecord
{
    DWORD dwServerID;
    DWORD dwUserID;
    char szPassword[36];
};
#pragma pack(pop)
static_assert(sizeof(tagRoomPassRecord) == 44, "room password record is 44 bytes");

class CRoomPassFile
{
public:
    explicit CRoomPassFile(LPCSTR pszPath) : m_strPath(pszPath) {}

    // The file of a user below the program folder.
    static CString PathOfUser(LPCSTR pszWorkDirectory, DWORD dwUserID);

    // The text of the first record of this room and user; empty without one
    // or without a readable file.
    CString Load(DWORD dwServerID, DWORD dwUserID) const;
    // Replaces or adds the record of this room and user. Nothing is written
    // for an empty text or a text already stored. False when the new file
    // could not be written; the old one then stays as it was.
    bool Save(DWORD dwServerID, DWORD dwUserID, LPCSTR pszPassword) const;
    // Drops every record of this room.
    bool Forget(DWORD dwServerID) const;

    // The records the file holds: a count beyond the file gives the records
    // present, a text without terminator is cut at its field.
    bool ReadRecords(std::vector<tagRoomPassRecord>& records) const;

private:
    // Through a temporary file renamed over the old one.
    bool WriteRecords(const std::vector<tagRoomPassRecord>& records) const;

    CString m_strPath;
};

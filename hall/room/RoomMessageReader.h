// Readers of the room server's message bodies. Each decodes a whole body
// into records and touches nothing else, so the room data centre changes
// nothing until a body has been read to its end. Bodies of one fixed record
// are read with UnpackRecord (RecordCodec.h) and the records of
// RoomRecords.h. Every reader answers false for a malformed body.
#pragma once

#include "RoomRecords.h"

// Server logon result → local code (0xFFFFFFFF for codes without an entry).
DWORD MapRoomLogonCode(DWORD dwServerCode);
// Result code of ROOM_SUB_S_RESULT_CODE → local code.
DWORD MapRoomResultCode(DWORD dwServerCode);
// Server status word → local status: 0 to 4 give 1 to 5, others 0; bit
// 0x100 adds USER_STATUS_FLAG.
BYTE MapUserStatus(DWORD dwStatusWord);

bool ReadRoomLogonResult(tagRoomLogonResult& result, const void* pData, UINT nDataSize);
// The invitation is a raw body {u32 user id; u16 table}, not an archive.
bool ReadRoomInvite(tagRoomInviteNotice& notice, const void* pData, UINT nDataSize);
// Loudspeaker bodies above this size are refused.
const UINT ROOM_SPEAKER_MAX_BODY = 4096;
bool ReadRoomSpeaker(tagRoomSpeakerMessage& message, const void* pData, UINT nDataSize);
// u32 count, then records {u32 id; u16; 8 bytes}.
bool ReadGameRecords(CArray<tagRoomGameRecord, const tagRoomGameRecord&>& records, const void* pData, UINT nDataSize);
bool ReadBankPasswordAnswer(tagBankPasswordAnswer& answer, const void* pData, UINT nDataSize);

// The attribute records of ROOM_SUB_S_USER_LIST (with seats) and
// ROOM_SUB_S_USER_CHANGES; a typed bit the type table does not describe
// makes the whole body malformed, since its value's length is unknown.
bool ReadUserList(CArray<tagRoomUserAttributes, const tagRoomUserAttributes&>& users, bool bWithSeats,
                  const CByteArray& AttributeTypes, const void* pData, UINT nDataSize);

// The room information; its form depends on the room's kind.
bool ReadRoomInfo(tagRoomInfo& info, BYTE cbRoomKind, const void* pData, UINT nDataSize);
// u32 count, then the items.
bool ReadItemList(CArray<tagRoomItemRecord, const tagRoomItemRecord&>& items, const void* pData, UINT nDataSize);
// u16 count, then the table entries.
bool ReadTableList(CArray<tagRoomTableEntry, const tagRoomTableEntry&>& entries, const void* pData, UINT nDataSize);
// u16 count, then one type code per attribute bit.
bool ReadAttributeTypes(CByteArray& types, const void* pData, UINT nDataSize);

// Readers of the hall server's message bodies. Each decodes (body, size)
// into records and touches nothing else, so the data centre decides what to
// store and whom to tell. Single-record bodies are read with UnpackRecord
// (RecordCodec.h) and the records of HallRecords.h.
#pragma once

#include "HallRecords.h"
#include "TeamManager.h"

// The results 0 to 6 keep their value; any other becomes -1.
LONG MapHallResult(DWORD dwResult);

// 1002/1002. False when the fields before the message are malformed; a
// malformed message alone leaves the message empty.
bool ReadLogonResult(tagLogonResult& result, const void* pData, UINT nDataSize);

// 1002/1008: u16 count, then per attribute a u32 id and its typed value. An
// id without a typed form has no value on the wire and is left out.
// 1002/1012: u16 count, then per attribute a u32 id and a counted string.
// Both keep the attributes before a malformed part and then answer false.
bool ReadTypedAttributes(CArray<tagUserAttribute, const tagUserAttribute&>& attributes, const void* pData,
                         UINT nDataSize);
bool ReadTextAttributes(CArray<tagUserAttribute, const tagUserAttribute&>& attributes, const void* pData,
                        UINT nDataSize);

// The wire form of an attribute id in 1002/1008.
enum enAttributeForm
{
    ATTRIBUTE_NONE, // no value on the wire
    ATTRIBUTE_TEXT, // archive string
    ATTRIBUTE_I32,
    ATTRIBUTE_U8,
    ATTRIBUTE_U16,
    ATTRIBUTE_U32,
};
enAttributeForm GetTypedAttributeForm(DWORD dwID);

// 1010/1001: team id, u16 member count, then each member as a u16 length and
// that many bytes. False, with no team, when any part is malformed.
bool ReadTeam(CTeamManager& team, const void* pData, UINT nDataSize);

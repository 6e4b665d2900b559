#include "QuillonRequestWriter.h"

#include <string.h>

#include "RecordCodec.h"

namespace
{

// Password, nickname and machine-identifier fields hold 32 characters.
const size_t SHORT_FIELD = 33;

// The user attributes asked for at start-up, in the server's order.
const WORD kUserInfoAttrs[] = {2, 3, 4, 5, 6, 14, 17, 7, 8, 9, 10, 11, 12, 13, 15, 18};

template <class Writer> bool WriteBody(CSafeMemFile& file, Writer write)
{
    try {
        CArchive ar(&file, CArchive::store, RECORD_ARCHIVE_BUFFER);
        write(ar);
        ar.Close();
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return file.GetDataSize() <= RECORD_MAX_BODY;
}

// A text cut to a field of nWidth bytes, as the field would keep it.
void WriteFieldText(CArchive& ar, LPCSTR pszText, size_t nWidth)
{
    char szField[128];
    CopyTextField(szField, nWidth, pszText, pszText == NULL ? 0 : strlen(pszText));
    WriteArchiveString(ar, szField, strlen(szField));
}

} // namespace

bool WriteLogonRequest(CSafeMemFile& file, DWORD dwUserID, LPCSTR pszPassword, LPCSTR pszMachineID)
{
    return WriteBody(file, [&](CArchive& ar) {
        ar << dwUserID;
        WriteFieldText(ar, pszPassword, SHORT_FIELD);
        ar << DWORD(0);
        WriteFieldText(ar, pszMachineID, SHORT_FIELD);
    });
}

bool WriteUserInfoRequest(CSafeMemFile& file)
{
    return WriteBody(file, [](CArchive& ar) {
        ar.WriteCount(sizeof(kUserInfoAttrs) / sizeof(kUserInfoAttrs[0]));
        for (WORD wAttrID : kUserInfoAttrs)
            ar << wAttrID;
    });
}

bool WriteModifyUserInfoRequest(CSafeMemFile& file, const CModifyAttrArray& attrs)
{
    return WriteBody(file, [&attrs](CArchive& ar) {
        ar.WriteCount(DWORD_PTR(attrs.GetSize()));
        for (INT_PTR i = 0; i < attrs.GetSize(); ++i) {
            ar << attrs[i].wAttrID;
            WriteArchiveString(ar, attrs[i].szValue, GetFieldLength(attrs[i].szValue, sizeof(attrs[i].szValue)));
        }
    });
}

bool WritePasswordPairRequest(CSafeMemFile& file, LPCSTR pszOld, LPCSTR pszNew)
{
    return WriteBody(file, [&](CArchive& ar) {
        WriteFieldText(ar, pszOld, SHORT_FIELD);
        WriteFieldText(ar, pszNew, SHORT_FIELD);
    });
}

bool WriteValueRequest(CSafeMemFile& file, DWORD dwValue)
{
    return WriteBody(file, [dwValue](CArchive& ar) { ar << dwValue; });
}

bool WriteWithdrawRequest(CSafeMemFile& file, LPCSTR pszPassword, DWORD dwAmount)
{
    return WriteBody(file, [&](CArchive& ar) {
        WriteFieldText(ar, pszPassword, SHORT_FIELD);
        ar << dwAmount;
    });
}

bool WriteTransferRequest(CSafeMemFile& file, DWORD dwTargetID, LPCSTR pszPassword, DWORD dwAmount)
{
    return WriteBody(file, [&](CArchive& ar) {
        ar << dwTargetID;
        WriteFieldText(ar, pszPassword, SHORT_FIELD);
        ar << dwAmount;
    });
}

bool WriteExchangeRequest(CSafeMemFile& file, WORD wDirection, LONGLONG llAmount)
{
    return WriteBody(file, [&](CArchive& ar) { ar << wDirection << llAmount; });
}

bool WriteInitBankPasswordRequest(CSafeMemFile& file, LPCSTR pszPassword)
{
    return WriteBody(file, [&](CArchive& ar) { WriteFieldText(ar, pszPassword, SHORT_FIELD); });
}

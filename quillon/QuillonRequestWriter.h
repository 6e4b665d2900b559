// Writers of the user-service server's request bodies. Each writes one body
// into a fresh memory file; false when writing fails or the body would not
// fit a packet. Texts from fixed fields are cut to the field first.
#pragma once

#include "QuillonMessageReader.h"
#include "SafeMemFile.h"

// 100/102: the password and the machine identifier as MD5 hex texts.
bool WriteLogonRequest(CSafeMemFile& file, DWORD dwUserID, LPCSTR pszPassword, LPCSTR pszMachineID);
// 200/201: the attributes the account pages show, in their fixed order.
bool WriteUserInfoRequest(CSafeMemFile& file);
// 200/203.
bool WriteModifyUserInfoRequest(CSafeMemFile& file, const CModifyAttrArray& attrs);
// 200/205 and 300/307: old and new password.
bool WritePasswordPairRequest(CSafeMemFile& file, LPCSTR pszOld, LPCSTR pszNew);
// 200/207, 303 and 503: one u32.
bool WriteValueRequest(CSafeMemFile& file, DWORD dwValue);
// 300/305: the strong-box password, then the amount.
bool WriteWithdrawRequest(CSafeMemFile& file, LPCSTR pszPassword, DWORD dwAmount);
// 300/309.
bool WriteTransferRequest(CSafeMemFile& file, DWORD dwTargetID, LPCSTR pszPassword, DWORD dwAmount);
// 300/311: direction 0 egg-to-bean, 1 bean-to-egg.
bool WriteExchangeRequest(CSafeMemFile& file, WORD wDirection, LONGLONG llAmount);
// 300/315: the new strong-box password.
bool WriteInitBankPasswordRequest(CSafeMemFile& file, LPCSTR pszPassword);

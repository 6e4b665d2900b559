// The checks the main dialog's OK applies to each pending attribute change
// before it goes to the server.
#pragma once

#include "QuillonMessageReader.h"
#include "ServiceGlobalUnits.h"

enum enModifyCheck
{
    MODIFY_KEEP,  // send it (the value may have been normalised)
    MODIFY_DROP,  // unchanged, or not the user's to change
    MODIFY_ERROR, // strMessage says why; the whole submit stops
};

// Checks attr against the record; a kept nickname is trimmed in place.
enModifyCheck CheckModifyAttr(tagModifyAttr& attr, const tagServiceUserData& record, CString& strMessage);

// The e-mail and identity-number rules on GBK text.
bool IsValidEmail(LPCSTR pszText);
bool IsValidIdentity(LPCSTR pszText);

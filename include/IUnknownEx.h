// Base of every module and sink interface. The three slots come first, in
// this order, in every interface derived from it; objects handed across
// libraries are reached only through these tables.
#pragma once

#include "GuidHelper.h"

TAVREL_GUID(IID_IUnknownEx, "92D87E91-5A5B-4A45-8CFD-382FE6B32B0B");

struct IUnknownEx
{
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // S_OK with an AddRef'ed pointer in *out, or E_NOINTERFACE with null.
    virtual HRESULT QueryInterface(REFGUID iid, void** out) = 0;
};

// Corvath.dll: the animated-picture object that chat panes embed in their
// rich edits. An in-process COM server, registered with "regsvr32 /s".
#pragma once

#include <windows.h>
#include <ole2.h>

#include "GuidHelper.h"

TAVREL_GUID(CLSID_Corvath, "06ADA938-0FB0-4BC0-B19B-0A38AB17F182");
TAVREL_GUID(IID_ICorvathPicture, "5B0E4C21-7A3D-4F6E-9C18-2D4B6A8E1F30");

// Our own face of the object, beside IOleObject, IViewObject2 and IDataObject
// (which offers the frame on show as CF_BITMAP).
struct ICorvathPicture : IUnknown
{
    // Loads every frame of the picture file and starts the animation.
    virtual HRESULT STDMETHODCALLTYPE ShowFile(LPCSTR path) = 0;
    // The file on show, terminated, cut to size; S_FALSE when none is.
    virtual HRESULT STDMETHODCALLTYPE GetFile(LPSTR buffer, UINT size) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFrameInfo(LONG* current, LONG* count) = 0;
};

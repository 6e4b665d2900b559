// Names that arrive from outside (a server, a downloaded file) and become one
// folder or file name below a folder of ours.
#pragma once

// True for a name that stays where it is put: one plain GBK name of at most
// 255 bytes, with no separator ('\', '/'), no drive or stream (':'), no ".."
// anywhere, no control character, none of < > " | ? *, no trailing dot or
// blank (the system drops them) and no device name (CON, PRN, AUX, NUL,
// CLOCK$, CONIN$, CONOUT$, COM1-9, LPT1-9, with or without an extension).
// A trail byte that happens to equal '\' or '|' is part of its character.
bool IsPlainPathName(const char* name);

// True for a path that stays below the folder it is joined to: one or more
// plain names (IsPlainPathName) joined by '\' or '/', with no drive, no
// leading separator and no empty part. A separator byte that is the trail
// byte of a character does not split the path.
bool IsRelativePathName(const char* path);

// The INI files of this process, each read and parsed once and kept while
// it stays unchanged: the system's profile functions open the file (and
// look for a registry mapping) on every key, which at start-up is dozens of
// trips to the system per file.
//
// Lookups follow the system's profile rules: lines end at either line
// break, names trimmed of blanks and compared without case, the first section of a name and the first key of a
// name win, a value trimmed, a matching pair of quotes taken off. A file
// kept is checked by its time and size on every read; one written less
// than a moment before it was read is not kept, since a second write in the
// same tick of the file clock would leave both unchanged.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class CIniCache
{
public:
    enum Answer
    {
        kFound,   // the key's text is in value
        kMissing, // no such file, section or key: the caller's default holds
        kAskSystem,
    };

    // kAskSystem for what the cache does not read itself (relative paths,
    // files with a byte-order mark, very large files, read errors).
    static Answer ReadString(LPCSTR path, LPCSTR section, LPCSTR key, std::string& value);
    // The section's key=value lines as the system lists them (comment lines
    // and lines without '=' left out, values untrimmed of quotes).
    static Answer ReadSection(LPCSTR path, LPCSTR section, std::vector<std::pair<std::string, std::string>>& lines);
    // After a write through this process: the next read parses the file again.
    static void Forget(LPCSTR path);
    // A text in a matching pair of quotes is read without them.
    static std::string Unquoted(const std::string& text);
};

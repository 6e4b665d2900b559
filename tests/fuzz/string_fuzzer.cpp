// CString operations on arbitrary bytes (lone and split double-byte
// characters included): nothing reads outside the string, and the results
// keep their basic promises.
#include <afx.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

void Check(bool ok)
{
    if (!ok)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // text | pattern: split at the first 0 byte (no 0: pattern empty).
    const uint8_t* zero = static_cast<const uint8_t*>(memchr(data, 0, size));
    size_t nText = zero ? (size_t)(zero - data) : size;
    CString text(reinterpret_cast<const char*>(data), (int)nText);
    CString pattern;
    if (zero)
        pattern = CString(reinterpret_cast<const char*>(zero + 1), (int)(size - nText - 1));
    pattern = pattern.GetString(); // up to an inner NUL; assigning from itself
    const int n = text.GetLength();
    char ch = pattern.IsEmpty() ? 'a' : pattern[0];

    int f = text.Find(ch);
    Check(f < n && (f < 0 || text[f] == ch));
    int r = text.ReverseFind(ch);
    Check(r >= f && (r < 0 || text[r] == ch));
    int s = text.Find(pattern, n / 2);
    Check(s < 0 || (s >= n / 2 && memcmp(text.GetString() + s, pattern.GetString(), pattern.GetLength()) == 0));
    Check(text.FindOneOf(pattern) < n);

    CString up = text, low = text;
    up.MakeUpper();
    low.MakeLower();
    Check(up.GetLength() == n && low.GetLength() == n && up.CompareNoCase(low) == 0);
    CString rev = text;
    rev.MakeReverse();
    rev.MakeReverse();
    Check(rev.GetLength() == n);

    CString rep = text;
    int count = rep.Replace(pattern, "xy");
    Check(count >= 0 && (count == 0 || !pattern.IsEmpty()));
    CString trimmed = text;
    trimmed.Trim(pattern);
    Check(trimmed.GetLength() <= n);
    trimmed = text;
    trimmed.Trim();
    Check(trimmed.GetLength() <= n);
    CString removed = text;
    Check(removed.Remove(ch) == n - removed.GetLength());

    int pos = 0;
    int tokens = 0;
    CString tok = text.Tokenize(pattern, pos);
    while (pos != -1) {
        Check(pos <= n + 1 && tok.GetLength() <= n);
        if (++tokens > n + 1)
            abort();
        tok = text.Tokenize(pattern, pos);
    }
    Check(text.SpanIncluding(pattern).GetLength() <= n);
    Check(text.SpanExcluding(pattern).GetLength() <= n);

    CString fmt;
    fmt.Format("%s|%d", text.GetString(), n);
    Check(fmt.GetLength() >= 2);
    return 0;
}

// Loads strings, counts, scalars and text lines from an arbitrary archive
// body; every string and count that loads must store and load back the same.
#include <afx.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{

void Check(bool ok)
{
    if (!ok)
        abort();
}

void RoundTripString(const CString& s)
{
    CMemFile mem;
    {
        CArchive out(&mem, CArchive::store);
        out << s;
    }
    mem.SeekToBegin();
    CArchive in(&mem, CArchive::load);
    CString back;
    in >> back;
    Check(back.GetLength() == s.GetLength() && back == s);
}

void RoundTripCount(DWORD_PTR n)
{
    CMemFile mem;
    {
        CArchive out(&mem, CArchive::store);
        out.WriteCount(n);
    }
    mem.SeekToBegin();
    CArchive in(&mem, CArchive::load);
    Check(in.ReadCount() == n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::vector<BYTE> body(data + 1, data + size);
    CMemFile file;
    if (!body.empty())
        file.Attach(body.data(), (UINT)body.size());
    try {
        CArchive ar(&file, CArchive::load, 16 + data[0] * 8);
        for (int step = 0; step < 64; ++step) {
            BYTE op;
            ar >> op;
            switch (op % 10) {
            case 0: {
                CString s;
                ar >> s;
                RoundTripString(s);
                break;
            }
            case 1: RoundTripCount(ar.ReadCount()); break;
            case 2: {
                BYTE v;
                ar >> v;
                break;
            }
            case 3: {
                WORD v;
                ar >> v;
                break;
            }
            case 4: {
                DWORD v;
                ar >> v;
                break;
            }
            case 5: {
                LONGLONG v;
                ar >> v;
                break;
            }
            case 6: {
                double v;
                ar >> v;
                break;
            }
            case 7: {
                bool v;
                ar >> v;
                break;
            }
            case 8: {
                CString line;
                if (!ar.ReadString(line))
                    return 0;
                Check(line.Find('\n') < 0);
                break;
            }
            case 9: {
                BYTE raw[256];
                UINT want = op;
                Check(ar.Read(raw, want) <= want);
                break;
            }
            }
        }
    } catch (CException* e) {
        Check(e->IsKindOf(RUNTIME_CLASS(CArchiveException)) != FALSE);
        e->Delete();
    }
    return 0;
}

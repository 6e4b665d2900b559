// The user-service fuzzer's checked-in seed corpus through the same reader entry.
#include "CorpusReplay.h"
#include "QuillonReaderEntry.h"

TEST(QuillonReaderCorpus, EveryReaderHasSeedsAndAllRunClean)
{
    ReplayCorpus("quillon_reader_corpus", GetQuillonReaderCount(), RunQuillonReader);
}

// Writes the seed corpus of room_reader_fuzzer from the sample bodies of the
// room server (one file per sample: the reader byte, then the body). Run it
// again after changing the readers' order; the files are checked in.
#include <stdio.h>

#include <string>

#include "RoomBodies.h"
#include "RoomReaderEntry.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_room_corpus <folder>\n");
        return 2;
    }
    for (const RoomBody::tagSample& sample : RoomBody::Samples(1001)) {
        int nReader = GetRoomReaderIndex(sample.wMainCmdID, sample.wSubCmdID);
        if (nReader < 0) {
            fprintf(stderr, "no reader for %s\n", sample.pszName);
            return 1;
        }
        std::string path = std::string(argv[1]) + "/" + sample.pszName;
        FILE* f = fopen(path.c_str(), "wb");
        if (f == NULL)
            return 1;
        fputc(nReader, f);
        fwrite(sample.Body.Data(), 1, sample.Body.Size(), f);
        fclose(f);
    }
    return 0;
}

// A second process for the shared block tests: opens the block by the name
// on its command line and copies its 24 bytes into the file named second.
#include <stdio.h>
#include <windows.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    HANDLE hMapping = OpenFileMappingA(FILE_MAP_READ, FALSE, argv[1]);
    if (hMapping == NULL)
        return 3;
    const void* pView = MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, 24);
    if (pView == NULL)
        return 4;
    FILE* f = fopen(argv[2], "wb");
    if (f == NULL)
        return 5;
    fwrite(pView, 1, 24, f);
    fclose(f);
    UnmapViewOfFile(pView);
    CloseHandle(hMapping);
    return 0;
}

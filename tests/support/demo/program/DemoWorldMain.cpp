// The demo world as a program: the demo hall server and its room servers on
// 127.0.0.1 and free ports until the process is ended.
// Usage: demo_world <ports file> [program folder]
// The ports file gets "[Demo]" with Hall=<port> and Room<id>=<port>; with a
// program folder the demo files are installed there first: the room chat's
// resources and the demo games, whose client is the stand-in game client
// beside this program.
#include <stdio.h>

#include <string>

#include "DemoWorld.h"

namespace
{

std::string OwnFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\'));
}

// Written whole under another name first, so a reader never sees half.
bool WritePorts(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".tmp";
    FILE* file = fopen(temporary.c_str(), "wb");
    if (file == NULL)
        return false;
    const bool bWritten = fwrite(text.data(), 1, text.size(), file) == text.size();
    if (fclose(file) != 0 || !bWritten)
        return false;
    return MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: demo_world <ports file> [program folder]\n");
        return 2;
    }
    if (argc > 2 && !CDemoWorld::InstallProgramFiles(argv[2], OwnFolder() + "\\gameclient.exe")) {
        fprintf(stderr, "demo world: cannot install the demo files into %s\n", argv[2]);
        return 1;
    }
    CDemoWorld world;
    if (!world.Start(false)) {
        fprintf(stderr, "demo world: cannot listen on 127.0.0.1\n");
        return 1;
    }
    if (!WritePorts(argv[1], world.PortsText())) {
        fprintf(stderr, "demo world: cannot write %s\n", argv[1]);
        return 1;
    }
    printf("demo world: hall server on 127.0.0.1:%u\n", world.GetHallPort());
    for (const demodata::tagAccount& account : demodata::Accounts())
        printf("demo world: account \"%s\", password \"%s\"\n", account.pszAccount, account.pszPassword);
    printf("demo world: the password room's password is \"%s\"\n", demodata::kRoomPassword);
    printf("demo world: the safe box's password is \"%s\"\n", demodata::kSafeBoxPassword);
    fflush(stdout);
    // Serves until its process is ended.
    for (;;)
        Sleep(INFINITE);
}

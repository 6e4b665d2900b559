// The demo hall server: listens on 127.0.0.1 and answers as CDemoHall until
// it is ended. Usage: demo_hall_server [port] [port file]; port 0 (the
// default) takes a free one, which is written to the port file when given.
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "DemoHall.h"

int main(int argc, char** argv)
{
    long port = argc > 1 ? strtol(argv[1], NULL, 10) : 0;
    if (port < 0 || port > 65535) {
        fprintf(stderr, "demo hall server: bad port %s\n", argv[1]);
        return 2;
    }
    CFrameServer server;
    server.SetKeepFrames(false);
    CDemoHall hall;
    hall.Attach(server);
    if (!server.Start("127.0.0.1", (WORD)port)) {
        fprintf(stderr, "demo hall server: cannot listen on 127.0.0.1:%ld\n", port);
        return 1;
    }
    if (argc > 2) {
        // Written whole under another name first, so a reader never sees half.
        std::string temporary = std::string(argv[2]) + ".tmp";
        FILE* file = fopen(temporary.c_str(), "w");
        if (file == NULL)
            return 1;
        fprintf(file, "%u\n", server.GetPort());
        fclose(file);
        if (!MoveFileExA(temporary.c_str(), argv[2], MOVEFILE_REPLACE_EXISTING))
            return 1;
    }
    printf("demo hall server on 127.0.0.1:%u, account \"%s\", password \"%s\"\n", server.GetPort(), demohall::kAccount,
           demohall::kPassword);
    fflush(stdout);
    // Serves until its process is ended.
    for (;;)
        Sleep(INFINITE);
}

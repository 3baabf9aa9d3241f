#include "app/drovakapp.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (!enterProgramFolder(argc > 0 ? argv[0] : nullptr)) {
        std::fprintf(stderr, "drovak: no folder with the program's files was found\n");
        return 1;
    }
    TDrovakApp app;
    return app.Run();
}

#include "app/drovakapp.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (!enterProgramFolder(argc > 0 ? argv[0] : nullptr)) {
        std::fprintf(stderr, "drovak: no folder with the program's files was found\n");
        return 1;
    }
    // Failures the window layer reports (a picture the program cannot do without) end the
    // program with their message instead of an abort.
    try {
        TDrovakApp app;
        return app.Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "drovak: %s\n", e.what());
        return 1;
    }
}

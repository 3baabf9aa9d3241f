#include "app/drovakapp.h"

int main(int argc, char** argv) {
    return runDrovak(argc > 0 ? argv[0] : nullptr);
}

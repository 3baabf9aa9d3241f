#include "app/drovakapp.h"

int main(int argc, char** argv) {
    return runDrovak(argc, argv);
}

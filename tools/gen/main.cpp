#include <cstdio>

#include "shaders.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrelo-gen DATA_DIR\n");
        return 2;
    }
    return writeShaders(argv[1]) ? 0 : 1;
}

// tavrelo-gen DATA_DIR: writes the game's data tree (images, sounds, shaders
// and the empty maps folder) under DATA_DIR. Everything is drawn and
// synthesised here from fixed seeds, so every run writes the same files.
// tavrelo-gen --icons DIR: writes the desktop icons (DIR/hicolor/...).

#include <cstdio>
#include <cstring>

#include "data_tree.h"
#include "shaders.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0) {
        DataWriter icons(argv[2]);
        writeAppIcons(icons);
        return icons.ok() ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavrelo-gen DATA_DIR | tavrelo-gen --icons DIR\n");
        return 2;
    }
    DataWriter out(argv[1]);
    for (const char* folder : {"gfx", "sounds", "shaders", "maps"}) out.makeDirectory(folder);
    if (!out.ok()) return 1;

    writeFont(out);
    writeTitles(out);
    writeWindowIcon(out);
    writeInterfaceArt(out);
    writeBackdrops(out);
    writeTextureSets(out);
    writeSounds(out);
    if (!writeShaders(out.root())) out.fail("cannot write the shaders");
    return out.ok() ? 0 : 1;
}

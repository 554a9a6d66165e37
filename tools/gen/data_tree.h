#pragma once

// The data tree the game reads, written under one root directory. Each part
// of the tree has its own writer; a failed write is remembered so the
// generator can exit with an error after trying everything.

#include <string>
#include <vector>

#include "canvas.h"

class DataWriter {
public:
    explicit DataWriter(std::string root) : root_(std::move(root)) {}

    const std::string& root() const { return root_; }
    bool ok() const { return ok_; }

    // Creates root/relative and its parents.
    void makeDirectory(const std::string& relative);
    void writePng(const Canvas& image, const std::string& relative);
    void writeBytes(const std::vector<unsigned char>& bytes, const std::string& relative);
    void fail(const std::string& what);

private:
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }
    std::string root_;
    bool ok_ = true;
};

// Images drawn for additive blending: alpha follows the brightest channel so
// the black background is also transparent under ordinary blending.
void alphaFromBrightness(Canvas& image);

void writeFont(DataWriter& out);           // gfx/font1.png
void writeTextureSets(DataWriter& out);    // gfx/<set>/...
void writeInterfaceArt(DataWriter& out);   // gui, powerups, shield, menu labels, editor icons
void writeTitles(DataWriter& out);         // gfx/titles.png
void writeBackdrops(DataWriter& out);      // space1..4, spacemenu, efx01
void writeSounds(DataWriter& out);         // sounds/*.wav
// hicolor/<N>x<N>/apps/tavrelo.png: the desktop icon at the usual sizes
// (written by `tavrelo-gen --icons DIR`, not into the data tree).
void writeAppIcons(DataWriter& out);
// gfx/icon.png: the same picture at 64 x 64, for the game's window.
void writeWindowIcon(DataWriter& out);

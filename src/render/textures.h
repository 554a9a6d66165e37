#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

// The 39 texture slots; drawing code refers to textures by slot number.
constexpr int TEXTURE_SLOT_COUNT = 39;

enum TextureSlot : int {
    TEX_BLOCK_SIDE_DEFAULT = 8,
    TEX_MENU00 = 9,
    TEX_MENU01 = 10,  // menu01..menu05 are slots 10..14
    TEX_TEX9 = 15,
    TEX_LEV03 = 16, TEX_LEV04 = 17, TEX_LEV01 = 18, TEX_LEV02 = 19,
    TEX_TEX10 = 20, TEX_TEX11 = 21,
    TEX_EFX01 = 22,
    TEX_SPACE1 = 23,
    TEX_MENU06 = 24,
    TEX_SPACEMENU = 25,
    TEX_TEX12 = 26,
    TEX_GUI = 27,
    TEX_SPACE2 = 28,
    TEX_POWERUPS = 29,
    TEX_WALL = 30,
    TEX_SHIELD = 31,
    TEX_SINGLE = 32,
    TEX_CHECKP = 33,
    TEX_SPACE3 = 34, TEX_SPACE4 = 35,
    TEX_LEV05 = 36,
    TEX_TEX13 = 37,
    TEX_LEV06 = 38  // the editor's test-drive button
};

// Where a slot's image lives: in the texture set's folder (gfx/<set>/) or in
// gfx/ itself. An animatable slot may be given as numbered frames instead.
struct TextureSlotInfo {
    const char* name;
    bool inSet;
    bool animatable;
};
extern const TextureSlotInfo TEXTURE_SLOTS[TEXTURE_SLOT_COUNT];

// Texture sets are the subfolders of gfx/, sorted by name so that the Style
// setting (an index into this list) keeps meaning the same set. Names are
// shorter than 16 characters. With no set the list holds one empty name and
// the count is 0.
constexpr int TEXTURE_SET_NAME_SIZE = 16;
extern std::vector<std::string> textureSetNames;
extern int textureSetCount;
// Lists gfx/ afresh; returns the set count.
int listTextureSets();

// (Re)loads every slot from the set chosen by Style. 0 or -1; on failure the
// previous table stays in use untouched. The backdrop pictures (space1..4,
// spacemenu) are only checked here: textureFrame uploads one when it is
// first asked for, and dropIdlePictures drops it again.
int loadTextures();
// Start-up's form of loadTextures, on an empty table: finds every slot's
// files without decoding any (0, or -1 when one is missing). Each slot is
// then decoded and uploaded when first drawn, so the first menu frame waits
// only for its own textures; loadDeferredTextures reads all the others
// right after that frame (0, or -1 when one cannot be decoded).
int findTextures();
int loadDeferredTextures();
// A picture outside the slot table (a map preview): any image the loader
// reads, converted to RGBA, linear filters. 0 when it cannot be read; the
// caller deletes the texture.
GLuint loadPictureTexture(const std::string& path);
int loadTitleTexture();  // gfx/titles.png; 0 or -1
int loadFontTexture();   // gfx/font1.png; 0 or -1
void buildSpriteTiles();
void buildCornerTables();
void releaseCornerTables();
// Called once a frame: drops the backdrop pictures not drawn for the last
// 30 frames (a screen that draws two keeps both).
void dropIdlePictures();
// Deletes every slot's GL textures and empties the table.
void releaseTextureTable();

// One GL texture id per frame (a still slot has one).
extern std::vector<GLuint> textureTable[TEXTURE_SLOT_COUNT];
// 0 for a still slot, else the number of animation frames.
extern int frameCounts[TEXTURE_SLOT_COUNT];
extern GLuint titleTexture;
extern GLuint fontTexture;
// First of the five sprite tile display lists.
extern GLuint spriteTileLists;

// Rounded corners of radius 50: a quarter circle of five 2D points and a
// quarter-sphere patch of 35 3D points: seven rings of five, ring r at
// latitude (r + 1) * pi/8 from the pole (0, 50, 0), point k of a ring at
// longitude k * pi/8 (x = 50 sin(lat) sin(lon), z = 50 sin(lat) cos(lon)).
// An octant corner uses the first four rings.
extern float cornerCircle[5][2];
extern float cornerSphere[35][3];

// The GL texture of a slot for the given animation tick: frame
// (tick / animation divisor) mod frame count for an animated slot; 0 for a
// slot that is not loaded (or a picture that could not be read).
GLuint textureFrame(int slot, int tick);
inline void bindSlot(int slot, int tick) { glBindTexture(GL_TEXTURE_2D, textureFrame(slot, tick)); }

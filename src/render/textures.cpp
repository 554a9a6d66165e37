#include "render/textures.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>
#include <GL/glu.h>
#include <dirent.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/settings.h"

const TextureSlotInfo TEXTURE_SLOTS[TEXTURE_SLOT_COUNT] = {
    {"tex0", true, true}, {"tex1", true, true}, {"tex2", true, true}, {"tex3", true, true},
    {"tex4", true, true}, {"tex5", true, true}, {"tex6", true, true}, {"tex7", true, true},
    {"tex8", true, true}, {"menu00", true, false}, {"menu01", false, false},
    {"menu02", false, false}, {"menu03", false, false}, {"menu04", false, false},
    {"menu05", false, false}, {"tex9", true, true}, {"lev03", false, false},
    {"lev04", false, false}, {"lev01", false, false}, {"lev02", false, false},
    {"tex10", true, true}, {"tex11", true, true}, {"efx01", false, false},
    {"space1", false, false}, {"menu06", false, false}, {"spacemenu", false, false},
    {"tex12", true, true}, {"gui", false, false}, {"space2", false, false},
    {"powerups", false, false}, {"wall", true, true}, {"shield", false, false},
    {"single", true, false}, {"checkp", true, true}, {"space3", false, false},
    {"space4", false, false}, {"lev05", false, false}, {"tex13", true, true},
    {"lev06", false, false},
};

std::vector<GLuint> textureTable[TEXTURE_SLOT_COUNT];
int frameCounts[TEXTURE_SLOT_COUNT] = {};
GLuint titleTexture = 0;
GLuint fontTexture = 0;
GLuint spriteTileLists = 0;
float cornerCircle[5][2] = {};
float cornerSphere[35][3] = {};
std::vector<std::string> textureSetNames{""};
int textureSetCount = 0;

namespace {

// Frame numbers are written as two digits, so a slot has at most 100 frames.
constexpr int MAX_FRAMES = 100;
constexpr float MIPMAP_LOD_BIAS = -1.5f;

std::string format(const char* pattern, const char* a, const char* b = "", int tens = 0, int units = 0) {
    char path[256];
    std::snprintf(path, sizeof path, pattern, a, b, tens, units);
    return path;
}

bool isFolder(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Any image SDL_image can read, as tightly packed 8-bit RGBA rows.
SDL_Surface* loadRgbaImage(const std::string& path) {
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (loaded == nullptr) return nullptr;
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    const Uint32 red = 0x000000ff, green = 0x0000ff00, blue = 0x00ff0000, alpha = 0xff000000;
#else
    const Uint32 red = 0xff000000, green = 0x00ff0000, blue = 0x0000ff00, alpha = 0x000000ff;
#endif
    const SDL_PixelFormat* format = loaded->format;
    if (format->BitsPerPixel == 32 && format->Rmask == red && format->Gmask == green &&
        format->Bmask == blue && format->Amask == alpha && loaded->pitch == loaded->w * 4)
        return loaded;
    // Converted by a blit: an alpha channel is copied, an image without one
    // becomes opaque, colour-keyed pixels stay transparent.
    SDL_Surface* rgba = SDL_CreateRGBSurface(0, loaded->w, loaded->h, 32, red, green, blue, alpha);
    if (rgba != nullptr) {
        SDL_FillRect(rgba, nullptr, 0);
        SDL_SetSurfaceBlendMode(loaded, SDL_BLENDMODE_NONE);
        SDL_BlitSurface(loaded, nullptr, rgba, nullptr);
    }
    SDL_FreeSurface(loaded);
    return rgba;
}

void freeImages(std::vector<SDL_Surface*>& images) {
    for (SDL_Surface* image : images) SDL_FreeSurface(image);
    images.clear();
}

GLuint createTexture() {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    return id;
}

void uploadImage(SDL_Surface* image, bool mipmaps) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    SDL_LockSurface(image);
    if (mipmaps) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, image->w, image->h, GL_RGBA, GL_UNSIGNED_BYTE, image->pixels);
        glTexEnvf(GL_TEXTURE_FILTER_CONTROL_EXT, GL_TEXTURE_LOD_BIAS_EXT, MIPMAP_LOD_BIAS);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image->w, image->h, 0, GL_RGBA, GL_UNSIGNED_BYTE, image->pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    SDL_UnlockSurface(image);
}

// The images of one slot: one for a still slot, the numbered frames
// name00, name01, ... up to the first missing file for an animated one.
// Empty when the slot cannot be loaded.
std::vector<SDL_Surface*> loadSlotImages(const TextureSlotInfo& slot, const char* set, bool& animated) {
    animated = false;
    std::vector<SDL_Surface*> images;
    const std::string still = slot.inSet ? format("gfx/%s/%s.png", set, slot.name) : format("gfx/%s.png", slot.name);
    if (SDL_Surface* image = loadRgbaImage(still)) {
        images.push_back(image);
        return images;
    }
    if (!slot.animatable) return images;
    for (int frame = 0; frame < MAX_FRAMES; ++frame) {
        SDL_Surface* image = loadRgbaImage(format("gfx/%s/%s%d%d.png", set, slot.name, frame / 10, frame % 10));
        if (image == nullptr) break;
        images.push_back(image);
    }
    animated = !images.empty();
    return images;
}

void deleteTextures(std::vector<GLuint>& ids) {
    if (!ids.empty()) glDeleteTextures(GLsizei(ids.size()), ids.data());
    ids.clear();
}

int loadSingleTexture(const char* path, GLuint& texture) {
    SDL_Surface* image = loadRgbaImage(path);
    if (image == nullptr) return -1;
    if (texture != 0) glDeleteTextures(1, &texture);
    texture = createTexture();
    uploadImage(image, false);
    SDL_FreeSurface(image);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ONE, GL_ONE);
    return 0;
}

// The decoded images (tens of megabytes) lie between the textures made from
// them: freed, they would stay resident for the whole run. Hand the free
// pages back to the system.
void releaseFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

// The backdrop pictures are the big ones (a quarter of the texture memory
// each) and a screen shows one or two of them: each is uploaded when it is
// first drawn and dropped once it has not been drawn for a while. Loading
// the textures only checks that they can be read.
constexpr int PICTURE_SLOTS[] = {TEX_SPACE1, TEX_SPACE2, TEX_SPACE3, TEX_SPACE4, TEX_SPACEMENU};
constexpr int PICTURE_IDLE_FRAMES = 30;
bool pictureFailed[TEXTURE_SLOT_COUNT] = {};
int pictureLastDrawn[TEXTURE_SLOT_COUNT] = {};
int pictureFrame = 0;

bool isPictureSlot(int slot) {
    for (int picture : PICTURE_SLOTS)
        if (slot == picture) return true;
    return false;
}

// The PNG signature and an intact IHDR chunk (its CRC over type and data)
// with a width and height: what can be told of a file without decoding it.
// Decoding the backdrop pictures only to check them took half of the
// start-up; each is decoded when first drawn.
bool looksLikePng(const std::string& path) {
    static const unsigned char SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char head[33];
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    const size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (got != sizeof head || std::memcmp(head, SIGNATURE, 8) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0)
        return false;
    auto bigEndian = [&](int at) {
        return uint32_t(head[at]) << 24 | uint32_t(head[at + 1]) << 16 | uint32_t(head[at + 2]) << 8 | head[at + 3];
    };
    uint32_t crc = 0xffffffffu;
    for (int i = 12; i < 29; ++i) {
        crc ^= head[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return bigEndian(8) == 13 && bigEndian(16) > 0 && bigEndian(20) > 0 && (crc ^ 0xffffffffu) == bigEndian(29);
}

std::string picturePath(int slot) { return format("gfx/%s.png", TEXTURE_SLOTS[slot].name); }

// Drawn over the whole window or half of it, a picture is shown about 1:1
// or magnified at any usual window size, where a mipmapped texture shows
// the same pixels: mipmaps would add a third to the largest textures.
void loadPicture(int slot) {
    SDL_Surface* image = loadRgbaImage(picturePath(slot));
    if (image == nullptr) {
        pictureFailed[slot] = true;
        return;
    }
    textureTable[slot].push_back(createTexture());
    uploadImage(image, false);
    SDL_FreeSurface(image);
    releaseFreedMemory();
}

// Start-up reads each slot when it is first drawn, and the rest right after
// the first frame: the files found for each slot not read yet.
std::vector<std::string> deferredFiles[TEXTURE_SLOT_COUNT];
bool deferredFailed = false;

// The files of one slot as loadSlotImages would read them, told by their
// headers alone.
std::vector<std::string> slotFiles(const TextureSlotInfo& slot, const char* set, bool& animated) {
    animated = false;
    const std::string still = slot.inSet ? format("gfx/%s/%s.png", set, slot.name) : format("gfx/%s.png", slot.name);
    if (looksLikePng(still)) return {still};
    std::vector<std::string> frames;
    for (int frame = 0; slot.animatable && frame < MAX_FRAMES; ++frame) {
        std::string path = format("gfx/%s/%s%d%d.png", set, slot.name, frame / 10, frame % 10);
        if (!looksLikePng(path)) break;
        frames.push_back(path);
    }
    animated = !frames.empty();
    return frames;
}

// An animation ends at its first frame that cannot be decoded, as when
// every image is decoded at once; a slot left without any fails.
void loadDeferredSlot(int slot) {
    const std::vector<std::string> files = std::move(deferredFiles[slot]);
    deferredFiles[slot].clear();
    for (const std::string& path : files) {
        SDL_Surface* image = loadRgbaImage(path);
        if (image == nullptr) break;
        textureTable[slot].push_back(createTexture());
        uploadImage(image, settings.mipmaps != 0);
        SDL_FreeSurface(image);
    }
    if (textureTable[slot].empty()) deferredFailed = true;
    if (frameCounts[slot] > 0) frameCounts[slot] = int(textureTable[slot].size());
}

void forgetDeferredFiles() {
    for (auto& files : deferredFiles) files.clear();
    deferredFailed = false;
}

}  // namespace

int listTextureSets() {
    std::vector<std::string> names;
    if (DIR* folder = opendir("gfx")) {
        while (dirent* entry = readdir(folder)) {
            const std::string name = entry->d_name;
            // Only folders count; a name that would not fit the 16-byte name
            // buffer could never be loaded, so it is left out.
            if (name.find('.') != std::string::npos || name.size() >= TEXTURE_SET_NAME_SIZE) continue;
            if (isFolder("gfx/" + name)) names.push_back(name);
        }
        closedir(folder);
    }
    std::sort(names.begin(), names.end());
    textureSetCount = int(names.size());
    if (names.empty()) names.push_back("");
    textureSetNames = names;
    return textureSetCount;
}

int loadTextures() {
    listTextureSets();
    const bool styleValid = settings.style >= 0 && settings.style < textureSetCount;
    const std::string set = textureSetNames[styleValid ? settings.style : 0];

    std::vector<SDL_Surface*> images[TEXTURE_SLOT_COUNT];
    int newFrameCounts[TEXTURE_SLOT_COUNT] = {};
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        if (isPictureSlot(slot)) {
            if (looksLikePng(picturePath(slot))) continue;
            for (auto& loaded : images) freeImages(loaded);
            return -1;
        }
        bool animated = false;
        images[slot] = loadSlotImages(TEXTURE_SLOTS[slot], set.c_str(), animated);
        if (images[slot].empty()) {
            for (auto& loaded : images) freeImages(loaded);
            return -1;
        }
        newFrameCounts[slot] = animated ? int(images[slot].size()) : 0;
    }
    forgetDeferredFiles();
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        deleteTextures(textureTable[slot]);
        pictureFailed[slot] = false;
        for (SDL_Surface* image : images[slot]) {
            textureTable[slot].push_back(createTexture());
            uploadImage(image, settings.mipmaps != 0);
        }
        freeImages(images[slot]);
        frameCounts[slot] = newFrameCounts[slot];
    }
    glEnable(GL_TEXTURE_2D);
    releaseFreedMemory();
    return 0;
}

int findTextures() {
    listTextureSets();
    const bool styleValid = settings.style >= 0 && settings.style < textureSetCount;
    const std::string set = textureSetNames[styleValid ? settings.style : 0];
    std::vector<std::string> files[TEXTURE_SLOT_COUNT];
    int newFrameCounts[TEXTURE_SLOT_COUNT] = {};
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        if (isPictureSlot(slot)) {
            if (!looksLikePng(picturePath(slot))) return -1;
            continue;
        }
        bool animated = false;
        files[slot] = slotFiles(TEXTURE_SLOTS[slot], set.c_str(), animated);
        if (files[slot].empty()) return -1;
        newFrameCounts[slot] = animated ? int(files[slot].size()) : 0;
    }
    releaseTextureTable();
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        frameCounts[slot] = newFrameCounts[slot];
        deferredFiles[slot] = std::move(files[slot]);
    }
    glEnable(GL_TEXTURE_2D);
    return 0;
}

int loadDeferredTextures() {
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot)
        if (!deferredFiles[slot].empty()) loadDeferredSlot(slot);
    releaseFreedMemory();
    const bool failed = deferredFailed;
    deferredFailed = false;
    return failed ? -1 : 0;
}

GLuint loadPictureTexture(const std::string& path) {
    SDL_Surface* image = loadRgbaImage(path);
    if (image == nullptr) return 0;
    GLuint texture = createTexture();
    uploadImage(image, false);
    SDL_FreeSurface(image);
    return texture;
}

int loadTitleTexture() { return loadSingleTexture("gfx/titles.png", titleTexture); }
int loadFontTexture() { return loadSingleTexture("gfx/font1.png", fontTexture); }

void buildSpriteTiles() {
    if (spriteTileLists == 0) spriteTileLists = glGenLists(5);
    for (int i = 0; i < 5; ++i) {
        const float left = i / 5.0f;
        glNewList(spriteTileLists + GLuint(i), GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(left, 0); glVertex2i(0, 0);
        glTexCoord2f(left, 1); glVertex2i(0, -190);
        glTexCoord2f(left + 0.2f, 1); glVertex2i(-190, -190);
        glTexCoord2f(left + 0.2f, 0); glVertex2i(-190, 0);
        glEnd();
        glEndList();
    }
}

void buildCornerTables() {
    const double step = M_PI / 8;
    for (int k = 0; k < 5; ++k) {
        cornerCircle[k][0] = float(50 * std::sin(k * step));
        cornerCircle[k][1] = float(-50 * std::cos(k * step));
    }
    for (int ring = 0; ring < 7; ++ring) {
        const double latitude = (ring + 1) * step;
        for (int k = 0; k < 5; ++k) {
            float* point = cornerSphere[ring * 5 + k];
            point[0] = float(50 * std::sin(latitude) * std::sin(k * step));
            point[1] = float(50 * std::cos(latitude));
            point[2] = float(50 * std::sin(latitude) * std::cos(k * step));
        }
    }
}

void releaseCornerTables() {
    std::memset(cornerCircle, 0, sizeof cornerCircle);
    std::memset(cornerSphere, 0, sizeof cornerSphere);
}

void dropIdlePictures() {
    ++pictureFrame;
    bool dropped = false;
    for (int slot : PICTURE_SLOTS)
        if (!textureTable[slot].empty() && pictureFrame - pictureLastDrawn[slot] > PICTURE_IDLE_FRAMES) {
            deleteTextures(textureTable[slot]);
            dropped = true;
        }
    if (dropped) releaseFreedMemory();
}

void releaseTextureTable() {
    forgetDeferredFiles();
    for (int slot = 0; slot < TEXTURE_SLOT_COUNT; ++slot) {
        deleteTextures(textureTable[slot]);
        pictureFailed[slot] = false;
        frameCounts[slot] = 0;
    }
}

GLuint textureFrame(int slot, int tick) {
    if (slot < 0 || slot >= TEXTURE_SLOT_COUNT) return 0;
    if (!deferredFiles[slot].empty()) loadDeferredSlot(slot);
    if (isPictureSlot(slot)) {
        pictureLastDrawn[slot] = pictureFrame;
        if (textureTable[slot].empty() && !pictureFailed[slot]) loadPicture(slot);
    }
    if (textureTable[slot].empty()) return 0;
    const std::vector<GLuint>& frames = textureTable[slot];
    if (frameCounts[slot] <= 0) return frames[0];
    const int divisor = settings.animDivisor > 0 ? settings.animDivisor : 1;
    const int frame = (tick < 0 ? 0 : tick / divisor) % frameCounts[slot];
    return frames[std::min<size_t>(size_t(frame), frames.size() - 1)];
}

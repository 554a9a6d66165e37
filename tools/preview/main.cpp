// tavrelo-preview: the picture the two-player map list shows beside a map,
// drawn from the level file itself so it always matches the map.
//
//   tavrelo-preview LEVEL.slv OUT.png [castle]   a plan view of the track
//   tavrelo-preview --nopic OUT.png              the picture for a map without one
//   tavrelo-preview --sheet OUT.png [--group TITLE] LEVEL.slv...
//                                                a contact sheet of many plans
//
// The plan view looks down on the track with the start at the bottom and
// forward up the picture, the player's left on the left. Long tracks are
// squeezed along their length only, so narrow roads stay readable; blocks
// are coloured by type, brighter the higher they stand, with power-up items
// as yellow dots. "castle" draws the whole mirrored arena of a castle map.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "canvas.h"
#include "contact_sheet.h"
#include "level/level_file.h"
#include "noise.h"
#include "signal_colours.h"

namespace {

constexpr int SIZE = 256;
constexpr int MARGIN = 14;

Rgba typeColour(int type) {
    switch (type) {
        case BLOCK_SPEED: return kSpeed;
        case BLOCK_SLOW: return kSlow;
        case BLOCK_LEFT:
        case BLOCK_RIGHT: return kPush;
        case BLOCK_HURT: return kHurt;
        case BLOCK_ICE: return kIce;
        case BLOCK_CRAZY: return kCrazy;
        case BLOCK_HEAL: return kHeal;
        case BLOCK_JUMP: return kJump;
        case BLOCK_GOAL: return rgb(1.0f, 1.0f, 1.0f);
        case BLOCK_NOJUMP: return rgb(0.55f, 0.35f, 0.75f);
        default: return rgb(0.45f, 0.55f, 0.7f);
    }
}

// A starry dark blue sky, the same for every picture.
Canvas sky() {
    Canvas image(SIZE, SIZE, rgb(0.02f, 0.03f, 0.08f));
    image.shade([](int, int y, Rgba) {
        const float t = float(y) / SIZE;
        return rgb(0.02f + 0.04f * t, 0.03f + 0.03f * t, 0.09f + 0.08f * t);
    });
    Random random(17);
    for (int i = 0; i < 90; ++i) {
        const int x = int(random.next() % SIZE), y = int(random.next() % SIZE);
        image.addPixel(x, y, rgb(1, 1, 1), 0.3f + float(random.next() % 60) / 100.0f);
    }
    return image;
}

struct Frame {
    double minX, maxX, minZ, maxZ, minY, maxY;
    double scaleX, scaleZ;
    int left, bottom;
    // Picture coordinates; +x is the player's left, so it runs leftward.
    double px(double x) const { return left + (maxX - x) * scaleX; }
    double py(double z) const { return SIZE - (bottom + (z - minZ) * scaleZ); }
};

Frame frameFor(const Level& level) {
    Frame f{1e18, -1e18, 1e18, -1e18, 1e18, -1e18, 1, 1, 0, 0};
    for (const Block& block : level.blocks) {
        const BlockBody& b = block.body;
        f.minX = std::min(f.minX, double(b.x) - b.width);
        f.maxX = std::max(f.maxX, double(b.x));
        f.minZ = std::min(f.minZ, double(b.z));
        f.maxZ = std::max(f.maxZ, double(b.z) + b.length);
        f.minY = std::min(f.minY, double(b.y));
        f.maxY = std::max(f.maxY, double(b.y));
    }
    const double inner = SIZE - 2 * MARGIN;
    const double width = std::max(1.0, f.maxX - f.minX), length = std::max(1.0, f.maxZ - f.minZ);
    f.scaleZ = inner / length;
    // Across, the track gets at least a fifth of the picture and at most all
    // of it: a long narrow road is widened, a square arena kept true.
    f.scaleX = std::min(inner / width, std::max(f.scaleZ, inner * 0.2 / width));
    f.left = int(MARGIN + (inner - width * f.scaleX) / 2);
    f.bottom = MARGIN;
    return f;
}

void fillRect(Canvas& image, double x0, double y0, double x1, double y1, Rgba colour) {
    const int left = std::max(0, int(std::floor(std::min(x0, x1))));
    const int right = std::min(SIZE - 1, int(std::ceil(std::max(x0, x1))) - 1);
    const int top = std::max(0, int(std::floor(std::min(y0, y1))));
    const int bottom = std::min(SIZE - 1, int(std::ceil(std::max(y0, y1))) - 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) image.blendPixel(x, y, colour, colour.a);
}

void drawBlock(Canvas& image, const Frame& f, const Block& block) {
    const BlockBody& b = block.body;
    const double x0 = f.px(b.x), x1 = f.px(double(b.x) - b.width);
    const double y0 = f.py(b.z), y1 = f.py(double(b.z) + b.length);
    const double heightRange = std::max(1.0, f.maxY - f.minY);
    const float light = 0.65f + 0.35f * float((b.y - f.minY) / heightRange);
    const Rgba colour = typeColour(block.type);
    // A moving block leaves a faint trace of where it goes.
    if (b.pointX != 0 && b.has(FLAG_MOVE)) {
        const double dx = (double(b.pointX) - b.x) * f.scaleX, dz = (double(b.pointZ) - b.z) * f.scaleZ;
        fillRect(image, x0 - dx, y0 - dz, x1 - dx, y1 - dz, rgb(colour.r, colour.g, colour.b, 0.25f));
    }
    fillRect(image, x0, y0, x1, y1, scaled(colour, 0.55f * light));
    // The rim, one pixel inside the block, in the full colour.
    fillRect(image, x0, y0, x1, std::min(y0, y1) + 1, scaled(colour, light));
    fillRect(image, x0, std::max(y0, y1) - 1, x1, y1, scaled(colour, light));
    fillRect(image, x0, y0, std::min(x0, x1) + 1, y1, scaled(colour, light));
    fillRect(image, std::max(x0, x1) - 1, y0, x1, y1, scaled(colour, light));
    if (block.type == BLOCK_GOAL) {
        // A chequered flag.
        for (int y = int(std::min(y0, y1)); y < int(std::max(y0, y1)); ++y)
            for (int x = int(std::min(x0, x1)); x < int(std::max(x0, x1)); ++x)
                if (x >= 0 && y >= 0 && x < SIZE && y < SIZE && ((x / 3 + y / 3) % 2 == 0))
                    image.blendPixel(x, y, rgb(0.1f, 0.1f, 0.1f), 0.8f);
    }
    if (b.pointX != 0 && b.has(FLAG_POWERUP)) {
        const float cx = float(f.px(b.pointX)), cy = float(f.py(b.pointY));
        image.paint([cx, cy](Vec2 p) { return std::hypot(p.x - cx, p.y - cy) - 3.5f; }, rgb(1.0f, 0.9f, 0.1f));
    }
}

// The plan view of a level file, false (and a word on standard error) when
// the file cannot be read or holds no blocks.
bool drawPlan(const std::string& levelPath, bool castle, Canvas& image) {
    Level level;
    if (readLevelFile(levelPath, level) != 0 || level.blocks.empty()) {
        std::fprintf(stderr, "tavrelo-preview: cannot read %s\n", levelPath.c_str());
        return false;
    }
    if (castle) buildCastleArena(level);
    image = sky();
    const Frame frame = frameFor(level);
    for (const Block& block : level.blocks) drawBlock(image, frame, block);
    return true;
}

int writePlan(const std::string& levelPath, const std::string& out, bool castle) {
    Canvas image(SIZE, SIZE);
    if (!drawPlan(levelPath, castle, image)) return 1;
    return image.writePng(out) ? 0 : 1;
}

// The picture for a map without one: an empty frame with a question mark
// made of track pieces.
int writeNoPicture(const std::string& out) {
    Canvas image = sky();
    const Rgba rim = rgb(0.45f, 0.55f, 0.7f);
    fillRect(image, 8, 8, SIZE - 8, 11, rim);
    fillRect(image, 8, SIZE - 11, SIZE - 8, SIZE - 8, rim);
    fillRect(image, 8, 8, 11, SIZE - 8, rim);
    fillRect(image, SIZE - 11, 8, SIZE - 8, SIZE - 8, rim);
    const Rgba piece = rgb(0.3f, 0.45f, 0.75f);
    fillRect(image, 88, 60, 168, 82, piece);
    fillRect(image, 146, 60, 168, 130, piece);
    fillRect(image, 116, 112, 168, 134, piece);
    fillRect(image, 116, 112, 138, 160, piece);
    fillRect(image, 116, 180, 138, 202, rgb(1.0f, 0.9f, 0.1f));
    return image.writePng(out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--sheet")
        return writeContactSheet(argv[2], std::vector<std::string>(argv + 3, argv + argc), drawPlan);
    if (argc == 3 && std::string(argv[1]) == "--nopic") return writeNoPicture(argv[2]);
    if (argc == 3 || (argc == 4 && std::string(argv[3]) == "castle"))
        return writePlan(argv[1], argv[2], argc == 4);
    std::fprintf(stderr,
                 "usage: tavrelo-preview LEVEL.slv OUT.png [castle] | --nopic OUT.png\n"
                 "       tavrelo-preview --sheet OUT.png [--group TITLE] LEVEL.slv...\n");
    return 2;
}

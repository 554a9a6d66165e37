// The game's icon for desktops and menus: a craft with a lit tail racing up
// a lane of floating boxes into deep space. Drawn once at 256 x 256 and
// shrunk for the smaller sizes, so every size shows the same picture.

#include <cmath>
#include <string>
#include <vector>

#include "data_tree.h"
#include "shapes.h"

namespace {

constexpr int kMaster = 256;

// The lane in perspective: box tops narrowing towards the horizon.
void drawLane(Canvas& icon) {
    const Rgba top = rgb(0.15f, 0.55f, 1.0f), side = rgb(0.05f, 0.16f, 0.38f), edge = rgb(0.55f, 0.9f, 1.0f);
    for (int box = 3; box >= 0; --box) {
        // Nearer boxes lower and wider; gaps between them for the jumps.
        const float nearY = 236 - box * 46.0f, farY = nearY - 34.0f + box * 5.0f;
        const float nearHalf = 92 - box * 19.0f, farHalf = nearHalf - 15.0f;
        const std::vector<Vec2> face = {{128 - nearHalf, nearY}, {128 + nearHalf, nearY}, {128 + farHalf, farY},
                                        {128 - farHalf, farY}};
        const std::vector<Vec2> front = {{128 - nearHalf, nearY}, {128 + nearHalf, nearY},
                                         {128 + nearHalf, nearY + 12 - box * 2.0f},
                                         {128 - nearHalf, nearY + 12 - box * 2.0f}};
        icon.paint([&](Vec2 p) { return polygonDistance(p, front); }, side);
        icon.paint([&](Vec2 p) { return polygonDistance(p, face); }, mix(top, rgb(0.02f, 0.05f, 0.15f), box * 0.18f));
        icon.paint([&](Vec2 p) { return std::fabs(polygonDistance(p, face)) - 1.2f; }, scaled(edge, 1.0f - box * 0.2f));
    }
}

// The craft seen from behind: a wedge with two fins and a hot exhaust.
void drawCraft(Canvas& icon) {
    const std::vector<Vec2> body = {{128, 108}, {180, 166}, {158, 178}, {98, 178}, {76, 166}};
    icon.glow([](Vec2 p) { return circleDistance(p, Vec2{128, 178}, 10); }, rgb(1.0f, 0.55f, 0.15f), 22, 1.2f);
    icon.paint([&](Vec2 p) { return polygonDistance(p, body); }, rgb(0.86f, 0.88f, 0.92f));
    const std::vector<Vec2> canopy = {{128, 136}, {140, 156}, {128, 164}, {116, 156}};
    icon.paint([&](Vec2 p) { return polygonDistance(p, canopy); }, rgb(0.1f, 0.25f, 0.45f));
    icon.paint([](Vec2 p) { return segmentDistance(p, Vec2{92, 170}, Vec2{164, 170}, 2.2f); }, rgb(1.0f, 0.35f, 0.2f));
    icon.paint([](Vec2 p) { return circleDistance(p, Vec2{128, 178}, 6); }, rgb(1.0f, 0.9f, 0.6f));
}

void drawStars(Canvas& icon) {
    const Vec2 stars[] = {{40, 38}, {70, 72}, {196, 30}, {220, 84}, {160, 56}, {104, 28}, {30, 110}, {232, 128}};
    for (const Vec2& star : stars)
        icon.glow([=](Vec2 p) { return circleDistance(p, star, 1.2f); }, rgb(0.8f, 0.9f, 1.0f), 4, 0.9f);
}

Canvas drawMasterIcon() {
    Canvas icon(kMaster, kMaster, rgb(0, 0, 0, 0));
    const DistanceField tile = [](Vec2 p) { return boxDistance(p, Vec2{128, 128}, Vec2{120, 120}, 36); };
    icon.shade([&](int x, int y, Rgba) {
        const float t = clamp01(y / float(kMaster));
        Rgba space = mix(rgb(0.02f, 0.02f, 0.10f), rgb(0.10f, 0.04f, 0.22f), t);
        space.a = edgeCoverage(tile(Vec2{x + 0.5f, y + 0.5f}));
        return space;
    });
    drawStars(icon);
    drawLane(icon);
    drawCraft(icon);
    // Nothing may fall outside the rounded tile.
    icon.shade([&](int x, int y, Rgba current) {
        current.a *= edgeCoverage(tile(Vec2{x + 0.5f, y + 0.5f}));
        return current;
    });
    return icon;
}

}  // namespace

void writeWindowIcon(DataWriter& out) { out.writePng(drawMasterIcon().resized(64, 64), "gfx/icon.png"); }

void writeAppIcons(DataWriter& out) {
    const Canvas master = drawMasterIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = "hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        out.makeDirectory(folder);
        out.writePng(size == kMaster ? master : master.resized(size, size), folder + "/tavrelo.png");
    }
}

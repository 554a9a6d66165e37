// Shared screen art drawn for additive blending (white or coloured light on
// black): the frame image gui.png, the power-up icons and the shield.

#include <cmath>
#include <vector>

#include "data_tree.h"
#include "icons.h"
#include "shapes.h"

namespace {

// gui.png is 256 x 64. The frame pieces are sampled at these places:
// u 0..0.25 corner (16 x 16 screen pixels), u 0.25..0.34 side border (7 pixels
// wide), u 0.51..0.74 top border (16 pixels high); v runs from the outer edge
// (0) to the inner edge (1). The scroll arrow is u 0.4..0.47, v 0.1..0.7 and
// the medal u 0.755..0.995, v 0.005..0.995.
constexpr int kGuiWidth = 256, kGuiHeight = 64;
constexpr float kCornerTexelsPerPixel = 64.0f / 16.0f;
constexpr float kSideTexelsPerPixel = (0.34f - 0.25f) * kGuiWidth / 7.0f;

// Brightness of the frame at a depth (screen pixels in from the outer edge):
// a bright line, a faint inner line and a little glow between them.
float frameProfile(float depth) {
    auto line = [depth](float centre, float width) {
        float t = (depth - centre) / width;
        return std::exp(-t * t);
    };
    float glow = depth > 0.8f && depth < 7.0f ? 0.12f * std::exp(-std::fabs(depth - 3.5f) / 1.5f) : 0.0f;
    return line(2.6f, 0.9f) + 0.45f * line(5.4f, 0.55f) + glow;
}

void drawFramePieces(Canvas& gui) {
    const Rgba white = rgb(1, 1, 1);
    // Corner: the lines turn round a centre 10.5 pixels in from both edges.
    const float turn = 10.5f;
    for (int y = 0; y < kGuiHeight; ++y)
        for (int x = 0; x < 64; ++x) {
            float px = (x + 0.5f) / kCornerTexelsPerPixel, py = (y + 0.5f) / kCornerTexelsPerPixel;
            float dx = std::max(turn - px, 0.0f), dy = std::max(turn - py, 0.0f);
            float depth = turn - std::sqrt(dx * dx + dy * dy);
            gui.addPixel(x, y, white, frameProfile(depth));
        }
    // Side border: the profile runs across u.
    int sideLeft = static_cast<int>(0.25f * kGuiWidth), sideRight = static_cast<int>(std::ceil(0.34f * kGuiWidth));
    for (int x = sideLeft; x < sideRight; ++x)
        for (int y = 0; y < kGuiHeight; ++y)
            gui.addPixel(x, y, white, frameProfile((x + 0.5f - 0.25f * kGuiWidth) / kSideTexelsPerPixel));
    // Top border: the profile runs down v.
    int topLeft = static_cast<int>(0.51f * kGuiWidth) - 1, topRight = static_cast<int>(std::ceil(0.74f * kGuiWidth)) + 1;
    for (int x = topLeft; x < topRight; ++x)
        for (int y = 0; y < kGuiHeight; ++y) gui.addPixel(x, y, white, frameProfile((y + 0.5f) / kCornerTexelsPerPixel));
}

// The arrow points up in the image; the lower list arrow is drawn with the
// texture turned over, so it points down on screen.
void drawScrollArrow(Canvas& gui) {
    float left = 0.4f * kGuiWidth, right = 0.47f * kGuiWidth, top = 0.1f * kGuiHeight, bottom = 0.7f * kGuiHeight;
    float middle = (left + right) / 2, width = right - left, height = bottom - top;
    std::vector<Vec2> head = {{middle, top + 1.5f}, {right - 1.0f, top + height * 0.55f}, {left + 1.0f, top + height * 0.55f}};
    auto shape = [=](Vec2 p) {
        float triangle = polygonDistance(p, head);
        float stem = boxDistance(p, Vec2{middle, top + height * 0.74f}, Vec2{width * 0.17f, height * 0.22f}, 1.0f);
        return unite(triangle, stem);
    };
    gui.paint(shape, rgb(1, 1, 1));
}

// A medal on a ribbon, in light greys so the screen's gold, silver or bronze
// tint gives it its metal.
void drawMedal(Canvas& gui) {
    float left = 0.755f * kGuiWidth, right = 0.995f * kGuiWidth;
    float cx = (left + right) / 2, size = right - left;
    Vec2 centre{cx, kGuiHeight * 0.64f};
    float radius = size * 0.33f;
    auto strap = [=](float side) {
        return std::vector<Vec2>{{cx + side * size * 0.34f, 1.0f}, {cx + side * size * 0.12f, 1.0f},
                                 {cx - side * size * 0.06f, centre.y - radius * 0.6f},
                                 {cx + side * size * 0.14f, centre.y - radius * 0.6f}};
    };
    std::vector<Vec2> leftStrap = strap(-1), rightStrap = strap(1);
    gui.paint([&](Vec2 p) { return polygonDistance(p, leftStrap); }, rgb(0.55f, 0.55f, 0.55f));
    gui.paint([&](Vec2 p) { return polygonDistance(p, rightStrap); }, rgb(0.45f, 0.45f, 0.45f));
    gui.glow([=](Vec2 p) { return circleDistance(p, centre, radius); }, rgb(0.3f, 0.3f, 0.3f), 3.0f);
    gui.paint([=](Vec2 p) { return circleDistance(p, centre, radius); }, rgb(1, 1, 1));
    gui.paint([=](Vec2 p) { return ringDistance(p, centre, radius * 0.78f, 1.1f); }, rgb(0.55f, 0.55f, 0.55f));
    std::vector<Vec2> star = starPoints(centre, radius * 0.55f, radius * 0.24f, 5);
    gui.paint([&](Vec2 p) { return polygonDistance(p, star); }, rgb(0.6f, 0.6f, 0.6f));
}

Canvas drawGui() {
    Canvas gui(kGuiWidth, kGuiHeight, rgb(0, 0, 0));
    drawFramePieces(gui);
    drawScrollArrow(gui);
    drawMedal(gui);
    alphaFromBrightness(gui);
    return gui;
}

// powerups.png: 4 x 2 cells, icon n at column n % 4, row n / 4, where n is
// the held power-up (0 none, 1 ice, 2 air jump, 3 wall, 4 push, 5 shield,
// 6 hurt; 7 is spare). The HUD shows a cell 0.04 W wide and 0.075 H high, so
// each icon is drawn at that shape and then fitted into its 64 x 128 cell.
Canvas drawPowerups() {
    constexpr int kCellWidth = 64, kCellHeight = 128;
    constexpr int kDrawWidth = 91;  // 128 * (0.04 * 1024) / (0.075 * 768)
    Canvas sheet(kCellWidth * 4, kCellHeight * 2, rgb(0, 0, 0));
    for (int n = 0; n < 8; ++n) {
        Canvas icon(kDrawWidth, kCellHeight, rgb(0, 0, 0));
        drawPowerupIcon(icon, n);
        sheet.blit(icon.resized(kCellWidth, kCellHeight), (n % 4) * kCellWidth, (n / 4) * kCellHeight);
    }
    alphaFromBrightness(sheet);
    return sheet;
}

// shield.png: a bubble of light seen edge-on, bright at the rim and nearly
// clear in the middle; also stretched into the push wave.
Canvas drawShield() {
    constexpr int kSize = 128;
    Canvas shield(kSize, kSize, rgb(0, 0, 0));
    Vec2 centre{kSize / 2.0f, kSize / 2.0f};
    float radius = kSize * 0.44f;
    shield.shade([&](int x, int y, Rgba) {
        float r = length(Vec2{x + 0.5f, y + 0.5f} - centre) / radius;
        if (r >= 1.0f) return rgb(0, 0, 0);
        float rim = std::pow(r, 6.0f);
        // Hexagonal cells: distance to the nearest cell edge in a skewed grid.
        float u = (x - centre.x) / 10.0f, v = (y - centre.y) / 10.0f;
        float a = std::fabs(std::fmod(std::fabs(u + v * 0.577f), 1.0f) - 0.5f);
        float b = std::fabs(std::fmod(std::fabs(v * 1.155f), 1.0f) - 0.5f);
        float c = std::fabs(std::fmod(std::fabs(u - v * 0.577f), 1.0f) - 0.5f);
        float cells = smoothstep(0.40f, 0.5f, std::max({a, b, c})) * (0.15f + 0.5f * r * r);
        float edge = clamp01((1.0f - r) * radius);  // antialiased outer rim
        float light = (0.08f + rim * 0.95f + cells) * edge;
        return rgb(0.35f * light, 0.85f * light, 1.0f * light);
    });
    alphaFromBrightness(shield);
    return shield;
}

}  // namespace

void writeInterfaceArt(DataWriter& out) {
    out.writePng(drawGui(), "gfx/gui.png");
    out.writePng(drawPowerups(), "gfx/powerups.png");
    out.writePng(drawShield(), "gfx/shield.png");
    writeMenuLabels(out);
    writeEditorIcons(out);
}

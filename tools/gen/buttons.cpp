// Opaque labelled art: the main menu's entry labels (drawn on the end faces
// of the menu blocks), the editor's buttons and the item tool sheet.

#include <cmath>
#include <string>
#include <vector>

#include "icons.h"
#include "palette.h"
#include "shapes.h"
#include "text.h"

namespace {

struct MenuLabel {
    const char* file;
    const char* text;
    Rgba colour;
};

// The entry order of the menu ring: menu01 opens time attack ... menu06 quits.
const MenuLabel kMenuLabels[] = {
    {"gfx/menu01.png", "Time Attack", rgb(0.25f, 0.55f, 1.0f)},
    {"gfx/menu02.png", "Single Player", rgb(1.0f, 0.85f, 0.2f)},
    {"gfx/menu03.png", "Multiplayer", rgb(0.2f, 0.95f, 0.95f)},
    {"gfx/menu04.png", "Options", rgb(0.7f, 0.5f, 1.0f)},
    {"gfx/menu05.png", "Editor", rgb(0.35f, 1.0f, 0.4f)},
    {"gfx/menu06.png", "Quit", rgb(1.0f, 0.3f, 0.25f)},
};

// The end face of a menu block is 1800 x 500 units; the label is 512 x 128,
// so the letters are widened by the difference in proportions.
constexpr float kLabelStretch = (500.0f / 128.0f) / (1800.0f / 512.0f);

Canvas drawMenuLabel(const Font& font, const MenuLabel& label) {
    const int width = 512, height = 128;
    Canvas image(width, height);
    image.shade([&](int, int y, Rgba) {
        float t = y / static_cast<float>(height);
        return mix(rgb(0.10f, 0.11f, 0.16f), rgb(0.03f, 0.03f, 0.05f), t);
    });
    Vec2 centre{width / 2.0f, height / 2.0f};
    auto frame = [=](Vec2 p) { return std::fabs(boxDistance(p, centre, Vec2{width / 2.0f - 9, height / 2.0f - 9}, 14)) - 2.5f; };
    image.glow(frame, scaled(label.colour, 0.4f), 7.0f);
    image.paint(frame, label.colour);

    Mask letters(width, height);
    // One letter size for every label, set by the longest.
    font.drawFitted(letters, label.text, Box{40, 47, width - 80.0f, 34}, kLabelStretch, 0.02f);
    addMask(image, letters.dilated(2).blurred(5), label.colour, 0.9f);
    fillMask(image, letters, rgb(1, 1, 1), mix(label.colour, rgb(1, 1, 1), 0.55f), 47, 81);
    return image;
}

// A dark rounded button with a light rim, as the editor's toolbar shows them.
Canvas buttonBase(int size, Rgba rim) {
    Canvas image(size, size, rgb(0, 0, 0));
    Vec2 c{size / 2.0f, size / 2.0f};
    image.paint([=](Vec2 p) { return boxDistance(p, c, Vec2{size / 2.0f - 2, size / 2.0f - 2}, 9); },
                rgb(0.10f, 0.12f, 0.17f));
    image.paint([=](Vec2 p) { return std::fabs(boxDistance(p, c, Vec2{size / 2.0f - 3, size / 2.0f - 3}, 8)) - 1.3f; }, rim);
    return image;
}

const Rgba kInk = rgb(0.92f, 0.95f, 1.0f);
const Rgba kRim = rgb(0.45f, 0.55f, 0.7f);

Canvas saveIcon() {  // a floppy disk
    Canvas icon = buttonBase(64, kRim);
    std::vector<Vec2> body = {{16, 14}, {42, 14}, {49, 21}, {49, 50}, {16, 50}};
    icon.paint([&](Vec2 p) { return polygonDistance(p, body); }, rgb(0.3f, 0.55f, 0.95f));
    icon.paint([](Vec2 p) { return boxDistance(p, Vec2{31, 20}, Vec2{9, 5}); }, kInk);
    icon.paint([](Vec2 p) { return boxDistance(p, Vec2{32.5f, 40}, Vec2{11, 7}, 1); }, rgb(0.95f, 0.95f, 0.95f));
    return icon;
}

Canvas loadIcon() {  // an open folder
    Canvas icon = buttonBase(64, kRim);
    std::vector<Vec2> back = {{13, 18}, {26, 18}, {30, 22}, {48, 22}, {48, 48}, {13, 48}};
    std::vector<Vec2> front = {{18, 29}, {53, 29}, {47, 48}, {13, 48}};
    icon.paint([&](Vec2 p) { return polygonDistance(p, back); }, rgb(0.75f, 0.6f, 0.2f));
    icon.paint([&](Vec2 p) { return polygonDistance(p, front); }, rgb(1.0f, 0.82f, 0.35f));
    return icon;
}

Canvas viewIcon() {  // an eye: switches between the top view and the 3D view
    Canvas icon = buttonBase(64, kRim);
    Vec2 c{32, 32};
    auto eye = [=](Vec2 p) { return intersect(circleDistance(p, Vec2{32, 50}, 27), circleDistance(p, Vec2{32, 14}, 27)); };
    icon.paint(eye, kInk);
    icon.paint([=](Vec2 p) { return circleDistance(p, c, 8.5f); }, rgb(0.2f, 0.5f, 0.9f));
    icon.paint([=](Vec2 p) { return circleDistance(p, c, 4); }, rgb(0.02f, 0.02f, 0.05f));
    return icon;
}

Canvas powerupToolIcon() {  // the yellow star the power-ups float as
    Canvas icon = buttonBase(64, kRim);
    std::vector<Vec2> star = starPoints(Vec2{32, 33}, 21, 9, 5);
    icon.paint([&](Vec2 p) { return polygonDistance(p, star); }, rgb(1.0f, 0.88f, 0.15f));
    return icon;
}

Canvas emptyLevelIcon() {  // a fresh sheet with a plus
    Canvas icon = buttonBase(64, kRim);
    std::vector<Vec2> sheet = {{18, 12}, {38, 12}, {47, 21}, {47, 52}, {18, 52}};
    icon.paint([&](Vec2 p) { return polygonDistance(p, sheet); }, kInk);
    icon.paint([](Vec2 p) { return polygonDistance(p, {{38, 12}, {47, 21}, {38, 21}}); }, rgb(0.6f, 0.65f, 0.75f));
    auto plus = [](Vec2 p) {
        return unite(boxDistance(p, Vec2{32.5f, 36}, Vec2{8, 2.2f}), boxDistance(p, Vec2{32.5f, 36}, Vec2{2.2f, 8}));
    };
    icon.paint(plus, rgb(0.2f, 0.7f, 0.3f));
    return icon;
}

Canvas testDriveIcon() {  // a green "play" arrow over a chequered finish line
    Canvas icon = buttonBase(64, kRim);
    icon.shade([](int x, int y, Rgba c) {
        if (x < 14 || x >= 50 || y < 44 || y >= 52) return c;
        bool light = ((x - 14) / 4 + (y - 44) / 4) % 2 == 0;
        return light ? rgb(0.95f, 0.95f, 0.95f) : rgb(0.1f, 0.1f, 0.1f);
    });
    std::vector<Vec2> arrow = {{22, 11}, {46, 25}, {22, 39}};
    icon.paint([&](Vec2 p) { return polygonDistance(p, arrow); }, rgb(0.3f, 0.9f, 0.35f));
    return icon;
}

}  // namespace

void writeMenuLabels(DataWriter& out) {
    Font font;
    if (!font.load(Font::boldSansPath)) {
        out.fail(std::string("cannot read the font ") + Font::boldSansPath);
        return;
    }
    for (const MenuLabel& label : kMenuLabels) out.writePng(drawMenuLabel(font, label), label.file);
}

void writeEditorIcons(DataWriter& out) {
    out.writePng(saveIcon(), "gfx/lev01.png");
    out.writePng(loadIcon(), "gfx/lev02.png");
    out.writePng(viewIcon(), "gfx/lev03.png");
    out.writePng(powerupToolIcon(), "gfx/lev04.png");
    out.writePng(emptyLevelIcon(), "gfx/lev05.png");
    out.writePng(testDriveIcon(), "gfx/lev06.png");
}

// Quarters, as the editor cuts them: top left the pong court, top right the
// bonus craft, bottom left the pusher craft, bottom right the checkpoint gate.
Canvas drawItemTools(const Palette& palette) {
    Canvas sheet(128, 128);
    Rgba rim = palette.accent;
    auto quarter = [&](int left, int top, const std::function<void(Canvas&)>& draw) {
        Canvas icon = buttonBase(64, rim);
        draw(icon);
        sheet.blit(icon, left, top);
    };
    quarter(0, 0, [](Canvas& icon) {  // pong: a paddle and the ball
        icon.paint([](Vec2 p) { return boxDistance(p, Vec2{32, 46}, Vec2{16, 3.5f}, 3); }, rgb(0.3f, 0.5f, 1.0f));
        icon.paint([](Vec2 p) { return circleDistance(p, Vec2{38, 22}, 7); }, rgb(1.0f, 0.55f, 0.45f));
        icon.paint([](Vec2 p) { return segmentDistance(p, Vec2{20, 14}, Vec2{31, 19}, 1.2f); }, rgb(0.6f, 0.4f, 0.4f));
    });
    quarter(64, 0, [](Canvas& icon) {  // the bonus craft's red star
        std::vector<Vec2> star = starPoints(Vec2{32, 33}, 21, 9, 6);
        icon.paint([&](Vec2 p) { return polygonDistance(p, star); }, rgb(0.9f, 0.15f, 0.15f));
    });
    quarter(0, 64, [](Canvas& icon) {  // the pusher: a craft with a push arrow
        icon.paint([](Vec2 p) { return intersect(circleDistance(p, Vec2{26, 40}, 13), -(p.y - 35)); }, kInk);
        icon.paint([](Vec2 p) { return boxDistance(p, Vec2{26, 36}, Vec2{15, 2}); }, rgb(1.0f, 0.3f, 0.3f));
        std::vector<Vec2> arrow = {{42, 20}, {54, 28}, {42, 36}};
        icon.paint([&](Vec2 p) { return unite(polygonDistance(p, arrow), boxDistance(p, Vec2{38, 28}, Vec2{6, 3})); },
                   rgb(1.0f, 0.8f, 0.2f));
    });
    quarter(64, 64, [](Canvas& icon) {  // checkpoint: two posts and a chequered banner
        icon.paint([](Vec2 p) { return unite(boxDistance(p, Vec2{16, 34}, Vec2{2.5f, 18}), boxDistance(p, Vec2{48, 34}, Vec2{2.5f, 18})); }, kInk);
        icon.shade([](int x, int y, Rgba c) {
            if (x < 19 || x >= 45 || y < 17 || y >= 29) return c;
            bool light = ((x - 19) / 4 + (y - 17) / 4) % 2 == 0;
            return light ? rgb(0.95f, 0.95f, 0.95f) : rgb(0.1f, 0.1f, 0.1f);
        });
    });
    return sheet;
}

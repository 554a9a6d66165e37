// gfx/titles.png: the title strips of the screens, one horizontal band each.
// Texture t = 0 is the first row of the file and every screen draws its band
// upright, so each band simply holds its words. Screens stretch a band onto a
// quad of their own proportions; the lettering is pre-squeezed so it looks
// right at the default 1024 x 768 window. Most strips are tinted by the
// screen, so they are drawn in white and grey; the main menu's is coloured.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "data_tree.h"
#include "text.h"

namespace {

constexpr int kSize = 1024;
constexpr float kScreenWidth = 1024, kScreenHeight = 768;

struct TitleBand {
    std::string text;
    float top, bottom;       // texture t
    float left, right;       // texture s
    float quadWidth, quadHeight;  // on screen, fractions of the window
    bool coloured;
};

// Where each screen cuts its strip.
const std::vector<TitleBand>& titleBands() {
    static const std::vector<TitleBand> bands = {
        {"TAVRELO", 0.0f, 0.13f, 0, 1, 0.8f, 0.1f, true},              // main menu
        {"TIME ATTACK", 0.14f, 0.27f, 0, 1, 0.7f, 0.09f, false},       // map selection
        {"SINGLE PLAYER", 0.27f, 0.40f, 0, 1, 0.7f, 0.09f, false},     // campaigns and levels
        {"MULTIPLAYER", 0.405f, 0.53f, 0, 1, 0.7f, 0.09f, false},      // mode selection
        {"OPTIONS", 0.54f, 0.67f, 0, 1, 0.7f, 0.09f, false},           // options
        {"NO NEW RECORD", 0.66f, 0.76f, 0, 1, 0.7f, 0.09f, false},     // level end, record kept
        {"NEW RECORD!", 0.77f, 0.84f, 0, 1, 0.7f, 0.057f, false},      // level end, record beaten
        {"CHECKPOINT", 0.93f, 1.0f, 0.5f, 0.9f, 0.3f, 0.057f, false},  // single-player banner
    };
    return bands;
}

// The rows of a band that no other band's strip reaches, so neighbouring
// strips never show a piece of each other.
void privateRows(const TitleBand& band, float& top, float& bottom) {
    top = band.top * kSize;
    bottom = band.bottom * kSize;
    for (const TitleBand& other : titleBands()) {
        if (&other == &band || other.right <= band.left || other.left >= band.right) continue;
        float otherTop = other.top * kSize, otherBottom = other.bottom * kSize;
        if (otherBottom > top && otherTop < top) top = otherBottom;
        if (otherTop < bottom && otherBottom > bottom) bottom = otherTop;
    }
    top = std::ceil(top) + 2;
    bottom = std::floor(bottom) - 2;
}

Canvas drawBand(const Font& font, const TitleBand& band, int width, int height) {
    float textureWidth = (band.right - band.left) * kSize;
    float textureHeight = (band.bottom - band.top) * kSize;
    float stretchX = (band.quadHeight * kScreenHeight / textureHeight) / (band.quadWidth * kScreenWidth / textureWidth);

    Mask letters(width, height);
    float capHeight = height * (band.coloured ? 0.66f : 0.56f);
    Box box{width * 0.04f, (height - capHeight) / 2, width * 0.92f, capHeight};
    Box line = font.drawFitted(letters, band.text, box, stretchX, 0.06f);

    // Thin rules either side of the words.
    Mask rules(width, height);
    float ruleY = line.top + line.height / 2, gap = line.height * 0.6f * stretchX;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float left = line.left - gap - x, right = x - (line.left + line.width + gap);
            float along = std::max(left, right);
            if (along < 0) continue;
            float fade = 1.0f - along / (width * 0.2f);
            float thickness = clamp01(1.6f - std::fabs(y + 0.5f - ruleY));
            rules.ref(x, y) = clamp01(fade) * thickness;
        }

    Canvas image(width, height, rgb(0, 0, 0));
    Mask halo = letters.dilated(2).blurred(std::max(2, height / 14));
    Rgba glowColour = band.coloured ? rgb(0.1f, 0.45f, 1.0f) : rgb(0.55f, 0.55f, 0.55f);
    addMask(image, halo, glowColour, 1.1f);
    addMask(image, rules.blurred(1), band.coloured ? rgb(0.4f, 0.8f, 1.0f) : rgb(0.7f, 0.7f, 0.7f), 1.0f);
    Rgba top = band.coloured ? rgb(1.0f, 1.0f, 1.0f) : rgb(1, 1, 1);
    Rgba bottom = band.coloured ? rgb(0.2f, 0.75f, 1.0f) : rgb(0.62f, 0.62f, 0.62f);
    fillMask(image, letters, top, bottom, line.top, line.top + line.height);
    if (band.coloured) {
        // A chrome horizon across the middle of the letters.
        Mask lower(width, height);
        for (int y = static_cast<int>(line.top + line.height * 0.55f); y < height; ++y)
            for (int x = 0; x < width; ++x) lower.ref(x, y) = letters.at(x, y);
        fillMask(image, lower, rgb(0.95f, 0.35f, 1.0f), rgb(0.45f, 0.15f, 0.9f), line.top + line.height * 0.55f,
                 line.top + line.height);
    }
    // Fade out towards the band's top and bottom so nothing is cut hard.
    image.shade([height](int, int y, Rgba c) {
        float edge = std::min(y + 0.5f, height - y - 0.5f) / (height * 0.12f);
        return scaled(c, smoothstep(0, 1, edge));
    });
    return image;
}

}  // namespace

void writeTitles(DataWriter& out) {
    Font font;
    if (!font.load(Font::boldSansPath)) {
        out.fail(std::string("cannot read the font ") + Font::boldSansPath);
        return;
    }
    Canvas titles(kSize, kSize, rgb(0, 0, 0));
    for (const TitleBand& band : titleBands()) {
        float top, bottom;
        privateRows(band, top, bottom);
        int left = static_cast<int>(std::ceil(band.left * kSize)) + 2;
        int right = static_cast<int>(std::floor(band.right * kSize)) - 2;
        Canvas strip = drawBand(font, band, right - left, static_cast<int>(bottom - top));
        titles.blit(strip, left, static_cast<int>(top));
    }
    alphaFromBrightness(titles);
    out.writePng(titles, "gfx/titles.png");
}

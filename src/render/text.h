#pragma once

// Screen text, text in the scene, list frames and power-up icons. Sizes are
// fractions of screenWidth x screenHeight, so they land in the same place in
// the glow image.

// Text whose first glyph's top-left corner is (x, y), y measured upward.
// Draws nothing in the glow pass.
void drawText(int x, int y, float scale, float red, float green, float blue, const char* text);

// Text standing upright at (x, y, z) facing a viewer at viewerZ. Draws
// nothing in the glow pass.
void drawWorldText(int viewerZ, int x, int y, int z, float red, float green, float blue, float scale,
                   const char* text);

// The eight-piece frame from the "gui" image; the inside is left empty.
void drawPanel(int left, int top, int width, int height, float red, float green, float blue);

// Icon 0..7 of the "powerups" image with its top-left corner at (x, y).
void drawPowerupIcon(int x, int y, int icon);

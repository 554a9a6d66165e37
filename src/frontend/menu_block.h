#pragma once

// The slab each menu entry stands on: x -900..900, y -500..0, z -5000..-3000,
// its edges plain, chamfered or rounded (bevel 50) by the Details setting.
struct MenuBlockTextures {
    int side;   // four sides' bevels, the two long sides and the bottom
    int top;
    int label;  // both end faces
};

void drawMenuBlock(const MenuBlockTextures& textures, int animationTick);

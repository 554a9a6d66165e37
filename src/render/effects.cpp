#include <GL/gl.h>

#include "core/services.h"
#include "render/objects.h"
#include "render/textures.h"
#include "render/track_rules.h"

namespace {

constexpr int JUMP_SPRITE = CRAFT_EFFECT_COUNT - 1;  // the jump fills the last entry

EffectSprite newSmokePuff(const Craft& craft, uint32_t now) {
    EffectSprite puff;
    puff.endTick = now + uint32_t(randomInt(250, 850));
    puff.x = craft.x - randomInt(-240, 80);
    puff.y = craft.ypos + randomInt(70, 120);
    puff.z = craft.z - 120;
    puff.tile = randomInt(0, 3);
    const float grey = float(randomInt(2, 10)) / 10.0f;
    puff.red = puff.green = puff.blue = grey;
    puff.scaleX = float(randomInt(0, 7)) / 10.0f + 1.0f;
    puff.scaleY = float(randomInt(0, 7)) / 10.0f + 1.0f;
    return puff;
}

EffectSprite newFlame(const Craft& craft, uint32_t now) {
    EffectSprite flame;
    flame.endTick = now + uint32_t(randomInt(100, 330));
    flame.x = craft.x - randomInt(-280, -100);
    flame.y = craft.ypos + randomInt(100, 160);
    flame.z = craft.z - 120;
    flame.tile = randomInt(0, 3);
    flame.red = flame.green = float(randomInt(20, 70)) / 100.0f;
    flame.blue = 0;
    flame.scaleX = float(randomInt(0, 7)) / 10.0f + 1.6f;
    flame.scaleY = float(randomInt(0, 7)) / 10.0f + 1.6f;
    return flame;
}

// Renews the expired sprites among the first `count`: an expired one makes
// the older ones move up a place and a fresh sprite enters at the front.
template <typename Make>
void renewTrail(Craft& craft, int count, uint32_t now, Make make) {
    for (int i = 0; i < count; ++i) {
        if (craft.effects[i].endTick >= now) continue;
        for (int j = i; j >= 1; --j) craft.effects[j] = craft.effects[j - 1];
        const float scaleZ = craft.effects[0].scaleZ;
        craft.effects[0] = make(craft, now);
        craft.effects[0].scaleZ = scaleZ;
    }
    for (int i = 0; i < count; ++i) drawSprite(craft.effects[i]);
}

}  // namespace

void drawSprite(EffectSprite sprite) {
    glColor3f(sprite.red, sprite.green, sprite.blue);
    glEnable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, textureTable[TEX_EFX01].empty() ? 0 : textureTable[TEX_EFX01][0]);
    glPushMatrix();
    glTranslatef(float(sprite.x), float(sprite.y), float(sprite.z));
    glScalef(sprite.scaleX, sprite.scaleY, sprite.scaleZ);
    const GLubyte tile = GLubyte(sprite.tile & 0xff);
    glListBase(spriteTileLists);
    glCallLists(1, GL_UNSIGNED_BYTE, &tile);
    glListBase(0);
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

void drawCraftTrail(Craft& craft, bool ignoreGround) {
    const uint32_t now = currentTicks();
    if (!ignoreGround && craft.groundType == BLOCK_NOJUMP) {
        renewTrail(craft, CRAFT_EFFECT_COUNT, now, newFlame);
        return;
    }
    const int puffs = smokePuffCount(craft.health);
    if (puffs > 0) renewTrail(craft, puffs, now, newSmokePuff);
}

void drawJumpEffect(const Craft& craft) {
    if (currentTicks() < craft.effects[JUMP_SPRITE].endTick) drawSprite(craft.effects[JUMP_SPRITE]);
}

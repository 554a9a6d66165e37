#pragma once

// The signal colours of the block types, the same in every texture set and
// in the map previews: green speeds up, red hurts, ...

#include "canvas.h"

const Rgba kSpeed = rgb(0.25f, 1.0f, 0.35f);
const Rgba kSlow = rgb(1.0f, 0.42f, 0.08f);
const Rgba kPush = rgb(1.0f, 0.8f, 0.1f);
const Rgba kHurt = rgb(1.0f, 0.12f, 0.08f);
const Rgba kIce = rgb(0.75f, 0.92f, 1.0f);
const Rgba kCrazy = rgb(0.8f, 0.3f, 1.0f);
const Rgba kHeal = rgb(0.3f, 1.0f, 0.5f);
const Rgba kJump = rgb(0.2f, 0.85f, 1.0f);

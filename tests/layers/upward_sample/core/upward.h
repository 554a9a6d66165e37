#pragma once

// An upward include the layer check must refuse.
#include "render/glow.h"

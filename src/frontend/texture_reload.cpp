#include "frontend/texture_reload.h"

// Placeholder until the texture loader is in: no sets, nothing to reload.
std::vector<std::string> listTextureSetNames() { return {}; }
void reloadTextureSet() {}

#pragma once

#include <string>
#include <vector>

// The two texture services the options screen and the console use when the
// player changes the texture set or mipmapping.

// The names of the texture sets; also refreshes the global set count.
std::vector<std::string> listTextureSetNames();

// Loads every texture again for the current Style and Mipmaps settings. A
// failed reload keeps whatever was loaded.
void reloadTextureSet();

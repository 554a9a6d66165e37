#pragma once

#include <string>

// Writes shaders/filter.frag, shaders/blurv.frag and shaders/blurh.frag under
// dataDir. Returns false when a file cannot be written.
bool writeShaders(const std::string& dataDir);

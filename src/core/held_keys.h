#pragma once

#include <vector>

// The keys the player holds down now, from their press to their real
// release, as the main loop delivered them (keyboard and the keys a pad
// stands for). A run that starts or restarts takes them over, so a key
// held across a restart, or pressed on the screen before, still drives.
void setKeyDown(int code, bool down);
bool keyIsDown(int code);
// In the order they were pressed.
const std::vector<int>& keysDown();
void releaseAllKeys();

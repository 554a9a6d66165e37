#pragma once

// The short name of an SDL key code as the options screen shows it: letters
// and digits as themselves, a few named keys, "key%d" for the rest. The text
// lives in one buffer that the next call overwrites.
const char* keyName(int keyCode);

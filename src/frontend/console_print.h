#pragma once

// Adds a line to the console's history (shown when the console is open).
void consolePrint(const char* text);

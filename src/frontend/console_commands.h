#pragma once

#include <string>
#include <vector>

// What running one console input line did. The command itself changes the
// settings and render switches in memory; the caller carries out the parts
// that need the GL context and prints the replies.
struct ConsoleCommandResult {
    std::vector<std::string> replies;
    bool wireframeChanged = false;  // polygon mode and culling must follow `wireframe`
    bool reloadTextures = false;    // the texture set changed
};

// Matches the whole input line against the command table. Anything that is
// no command answers with the help text.
ConsoleCommandResult runConsoleCommand(const std::string& input);

// The nine help lines, in the order they are printed, with the ranges the
// game takes (texset up to the last of `textureSets` sets); the meanings
// start in one column.
std::vector<std::string> consoleHelpLines(int textureSets);
constexpr std::size_t HELP_MEANING_COLUMN = 25;

// Divisor stored by "animspeed <value>": 53 minus the value, never below 1
// because the animation tick counter is divided by it.
int animationDivisorFor(long long animSpeed);

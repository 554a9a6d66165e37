#include "frontend/console_commands.h"

#include <climits>
#include <cstdlib>

#include "core/globals.h"
#include "core/settings.h"
#include "render/textures.h"

namespace {

struct SwitchCommand {
    const char* input;
    void (*apply)(ConsoleCommandResult&);
    const char* reply;
};

const SwitchCommand switchCommands[] = {
    {"wireframe on", [](ConsoleCommandResult& r) { wireframe = true; r.wireframeChanged = true; },
     "Wireframemode now on"},
    {"wireframe off", [](ConsoleCommandResult& r) { wireframe = false; r.wireframeChanged = true; },
     "Wireframemode now off"},
    {"debug off", [](ConsoleCommandResult&) { debugView = false; }, "Debugmode now off"},
    {"debug on", [](ConsoleCommandResult&) { debugView = true; }, "Debugmode now on"},
    {"speed off", [](ConsoleCommandResult&) { settings.speed = 0; }, "Speed-effect now off"},
    {"speed on", [](ConsoleCommandResult&) { settings.speed = 1; }, "Speed-effect now on"},
    {"glow off", [](ConsoleCommandResult&) { settings.glow = 0; }, "Glow effect now off"},
    {"glow on", [](ConsoleCommandResult&) { settings.glow = 1; }, "Glow effect now on"},
    {"shadows off", [](ConsoleCommandResult&) { settings.shadows = 0; }, "Shadows now off"},
    {"shadows on", [](ConsoleCommandResult&) { settings.shadows = 1; }, "Shadows now on"},
    {"details 0", [](ConsoleCommandResult&) { settings.details = 0; }, "Details are now on low"},
    {"details 1", [](ConsoleCommandResult&) { settings.details = 1; }, "Details are now on medium"},
    {"details 2", [](ConsoleCommandResult&) { settings.details = 2; }, "Details are now on high"},
    {"details 3", [](ConsoleCommandResult&) { settings.details = 3; }, "Details are now on ultra"},
};

// The number written from `offset` characters after where `word` begins,
// read like atoi (leading blanks, sign, digits; 0 when there are none). The
// offset can point past the end of a short input ("animspeed" alone): that
// reads as 0 instead of whatever lies beyond the text. Out-of-range numbers
// saturate instead of overflowing.
long long numberAfter(const std::string& input, std::size_t wordStart, std::size_t offset) {
    std::size_t start = wordStart + offset;
    if (start >= input.size()) return 0;
    long long value = std::strtoll(input.c_str() + start, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return value;
}

}  // namespace

std::vector<std::string> consoleHelpLines(int textureSets) {
    // Blanks, not tabs, line the columns up: the font has no tab stops.
    const std::string sets = "[0-" + std::to_string(textureSets > 1 ? textureSets - 1 : 0) + "]";
    const struct {
        std::string command;
        const char* meaning;
    } commands[] = {
        {"texset " + sets, "Changes the set of textures"},
        {"details [0-3]", "Changes detail settings (0 low .. 3 ultra)"},
        {"glow [on/off]", "Activates/Deactivates glow effect"},
        {"debug [on/off]", "Activates/Deactivates debug output"},
        {"wireframe [on/off]", "Activates/Deactivates wireframe mode"},
        {"speed [on/off]", "Activates/Deactivates speed-effect"},
        {"shadows [on/off]", "Activates/Deactivates shadows"},
        {"animspeed [0-50]", "Adjusts speed of animations"},
    };
    std::vector<std::string> lines = {"Available commands:"};
    for (const auto& each : commands) {
        std::string line = "   " + each.command;
        line.resize(HELP_MEANING_COLUMN, ' ');
        lines.push_back(line + each.meaning);
    }
    return lines;
}

int animationDivisorFor(long long animSpeed) {
    long long divisor = 53 - animSpeed;
    if (divisor < 1) return 1;
    if (divisor > INT_MAX) return INT_MAX;
    return static_cast<int>(divisor);
}

ConsoleCommandResult runConsoleCommand(const std::string& input) {
    ConsoleCommandResult result;
    for (const SwitchCommand& command : switchCommands) {
        if (input == command.input) {
            command.apply(result);
            result.replies.push_back(command.reply);
            return result;
        }
    }
    std::size_t at = input.find("texset");
    if (at != std::string::npos) {
        long long index = numberAfter(input, at, 6);
        // A negative index would select no set at all; like an index past
        // the end it falls back to the first set.
        if (index < 0 || index > INT_MAX) index = 0;
        settings.style = static_cast<int>(index);
        result.reloadTextures = true;
        result.replies.push_back("Changed set of textures");
        return result;
    }
    at = input.find("animspeed");
    if (at != std::string::npos) {
        settings.animDivisor = animationDivisorFor(numberAfter(input, at, 10));
        result.replies.push_back("Speed adjusted");
        return result;
    }
    result.replies = consoleHelpLines(textureSetCount);
    return result;
}

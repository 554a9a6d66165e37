// libFuzzer target: any bytes as settings.ini. Whatever the file holds, every
// setting read must lie in a range the game can use; the settings written
// back read again to the same values, and the options screen's keys keep
// them usable.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/key_table.h"
#include "core/settings.h"
#include "frontend/options_keys.h"

namespace {

class QuietOptionsHost : public OptionsHost {
public:
    void saveAndLeave() override { written = settingsFileText(settings); }
    void playSelectSound() override {}
    void reloadTextures() override {}
    std::string written;
};

void require(bool condition) {
    if (!condition) std::abort();
}

void checkUsable(const Settings& s, int textureSetCount) {
    require(s.details >= 0 && s.details <= 3);
    require(s.bloom >= 0 && s.bloom <= 16);
    require(s.bloomW >= 16 && s.bloomW <= 4096 && s.bloomH >= 16 && s.bloomH <= 4096);
    require(s.mipmaps == 0 || s.mipmaps == 1);
    require(s.windowed == 0 || s.windowed == 1);
    require(s.sounds == 0 || s.sounds == 1);
    require(s.style == 0 || (s.style > 0 && s.style < textureSetCount));
    require(s.drawDist >= 100000 && s.shadowDist >= 5000);
    require(s.animDivisor >= 2);
}

int lineCount(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

// The options screen's keys, chosen by the input's trailing bytes.
void pressOptionKeys(const uint8_t* data, size_t size, int textureSetCount) {
    static const int keys[] = {SDLK_RETURN, SDLK_ESCAPE, SDLK_UP, SDLK_DOWN, SDLK_RIGHT, SDLK_LEFT, 'a', 'k', 32, SDLK_RSHIFT};
    static const std::vector<std::string> setNames = {"classic", "neon", "space", "wood"};
    std::vector<std::string> names(setNames.begin(), setNames.begin() + textureSetCount);
    OptionsCursor cursor;
    QuietOptionsHost host;
    const size_t presses = size < 24 ? size : 24;
    for (size_t k = 0; k < presses; ++k) {
        handleOptionsKey(cursor, keys[data[size - 1 - k] % 10], textureSetCount, host);
        require(cursor.selectedItem >= 1 && cursor.selectedItem <= OPTIONS_ITEM_COUNT);
        checkUsable(settings, textureSetCount);
        for (int item = ITEM_GLOW; item <= ITEM_DETAILS; ++item) optionsValueText(item, names);
    }
    // Escape saves: the file it would write.
    if (!host.written.empty()) require(lineCount(host.written) == 41);
}

// The bytes as the open settings file (an empty input is an empty file).
void readSettingsBytes(const void* data, size_t size, int textureSetCount) {
    static char nothing[1];
    std::FILE* file = fmemopen(size ? const_cast<void*>(data) : nothing, size, "r");
    require(file != nullptr);
    readSettingsFrom(file, textureSetCount);
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int textureSetCount = size > 0 ? data[0] % 5 : 0;
    settings = defaultSettings();
    readSettingsBytes(data, size, textureSetCount);
    checkUsable(settings, textureSetCount);

    // Written back, the file keeps its 41 lines and reads to the same values.
    const std::string text = settingsFileText(settings);
    require(lineCount(text) == 41);
    const Settings first = settings;
    settings = defaultSettings();
    readSettingsBytes(text.data(), text.size(), textureSetCount);
    require(settingsFileText(settings) == text);
    require(settings.animDivisor == first.animDivisor);

    pressOptionKeys(data, size, textureSetCount);
    return 0;
}

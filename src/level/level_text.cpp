#include "level/level_text.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

const char* const TYPE_NAMES[BLOCK_TYPE_COUNT] = {
    "plain", "SPEED", "SLOW", "LEFT", "RIGHT", "HURT", "ICE", "CRAZY", "HEAL", "JUMP", "GOAL", "NOJUMP"};

struct NamedFlag {
    const char* name;
    uint32_t bit;
};
const NamedFlag FLAG_NAMES[] = {
    {"MOVE_ONCE", FLAG_MOVE_ONCE}, {"CHANGE_TYPE", FLAG_CHANGE_TYPE}, {"MOVE", FLAG_MOVE},
    {"HAS_TARGET", FLAG_HAS_TARGET}, {"TOUCH_TRIGGER", FLAG_TOUCH_TRIGGER},
    {"START_TRIGGER", FLAG_START_TRIGGER}, {"PONG", FLAG_PONG}, {"CHECKPOINT", FLAG_CHECKPOINT},
    {"PUSHER", FLAG_PUSHER}, {"BONUS", FLAG_BONUS}, {"POWERUP", FLAG_POWERUP}};

std::string upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.push_back("");
    return parts;
}

bool parseInt32(const std::string& text, int32_t& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) return false;
    value = int32_t(parsed);
    return true;
}

// One "block" line being read; errors carry the line number.
class BlockLine {
public:
    explicit BlockLine(std::string* error) : error_(error) {}

    bool parse(std::istringstream& words, Block& block) {
        std::string typeWord;
        if (!(words >> typeWord)) return fail("expected a block type after 'block'");
        if (!parseType(typeWord, block.type)) return false;
        BlockTextures textures = defaultBlockTextures(block.type);
        BlockBody& body = block.body;
        body.width = 600;
        body.height = 500;
        body.length = 600;
        body.texRepeatX = body.texRepeatY = body.texRepeatZ = 1;
        body.sideTexture = textures.side;
        body.topTexture = textures.top;
        bool havePosition = false;
        std::string word;
        while (words >> word) {
            size_t equals = word.find('=');
            if (equals == std::string::npos) return fail("expected field=value, got '" + word + "'");
            std::string key = word.substr(0, equals), value = word.substr(equals + 1);
            if (seen(key)) return fail("field '" + key + "' given twice");
            if (key == "pos") {
                havePosition = true;
                if (!triple(key, value, body.x, body.y, body.z)) return false;
            } else if (key == "size") {
                if (!triple(key, value, body.width, body.height, body.length)) return false;
            } else if (key == "repeat") {
                if (!triple(key, value, body.texRepeatX, body.texRepeatY, body.texRepeatZ)) return false;
            } else if (key == "tex") {
                if (!pair(key, value, body.sideTexture, body.topTexture)) return false;
            } else if (key == "point") {
                if (!triple(key, value, body.pointX, body.pointY, body.pointZ)) return false;
            } else if (key == "flags") {
                if (!flagList(value, body.flags)) return false;
            } else if (key == "period") {
                if (!field(key, value, MOVE_PERIOD_MASK, MOVE_PERIOD_SHIFT, body.flags)) return false;
            } else if (key == "target") {
                if (!field(key, value, TARGET_MASK, TARGET_SHIFT, body.flags)) return false;
            } else if (key == "newtype") {
                if (!field(key, value, NEW_TYPE_MASK, NEW_TYPE_SHIFT, body.flags)) return false;
            } else {
                return fail("unknown field '" + key + "'");
            }
        }
        if (!havePosition) return fail("block needs pos=x,y,z");
        return true;
    }

private:
    bool fail(const std::string& message) {
        *error_ = message;
        return false;
    }

    bool seen(const std::string& key) {
        for (const std::string& k : keys_)
            if (k == key) return true;
        keys_.push_back(key);
        return false;
    }

    bool parseType(const std::string& word, int32_t& type) {
        for (int i = 0; i < BLOCK_TYPE_COUNT; ++i)
            if (upper(word) == upper(TYPE_NAMES[i])) {
                type = i;
                return true;
            }
        if (parseInt32(word, type)) return true;
        return fail("unknown block type '" + word + "'");
    }

    bool numbers(const std::string& key, const std::string& value, std::vector<int32_t*> out) {
        std::vector<std::string> parts = split(value, ',');
        if (parts.size() != out.size())
            return fail(key + "= needs " + std::to_string(out.size()) + " comma-separated integers, got '" + value + "'");
        for (size_t i = 0; i < parts.size(); ++i)
            if (!parseInt32(parts[i], *out[i])) return fail("'" + parts[i] + "' in " + key + "= is not a 32-bit integer");
        return true;
    }
    bool triple(const std::string& key, const std::string& value, int32_t& a, int32_t& b, int32_t& c) {
        return numbers(key, value, {&a, &b, &c});
    }
    bool pair(const std::string& key, const std::string& value, int32_t& a, int32_t& b) {
        return numbers(key, value, {&a, &b});
    }

    bool flagList(const std::string& value, uint32_t& flags) {
        for (const std::string& name : split(value, ',')) {
            bool known = false;
            for (const NamedFlag& flag : FLAG_NAMES)
                if (upper(name) == flag.name) {
                    flags |= flag.bit;
                    known = true;
                }
            if (!known) return fail("unknown flag '" + name + "'");
        }
        return true;
    }

    bool field(const std::string& key, const std::string& value, uint32_t mask, int shift, uint32_t& flags) {
        int32_t number = 0;
        if (!parseInt32(value, number) || number < 0 || uint32_t(number) > mask)
            return fail(key + "= must be 0.." + std::to_string(mask) + ", got '" + value + "'");
        flags = (flags & ~(mask << shift)) | (uint32_t(number) << shift);
        return true;
    }

    std::string* error_;
    std::vector<std::string> keys_;
};

bool parseMedals(std::istringstream& words, Level& level, std::string& error) {
    std::string gold, silver, bronze, extra;
    if (!(words >> gold >> silver >> bronze) || (words >> extra) || !parseInt32(gold, level.goldTime) ||
        !parseInt32(silver, level.silverTime) || !parseInt32(bronze, level.bronzeTime)) {
        error = "medals needs three times in milliseconds: gold silver bronze";
        return false;
    }
    return true;
}

bool parseForm(std::istringstream& words, bool& old, std::string& error) {
    std::string form, extra;
    words >> form;
    if ((words >> extra) || (form != "old" && form != "current")) {
        error = "form must be 'current' or 'old'";
        return false;
    }
    old = form == "old";
    return true;
}

std::string joinedFlags(uint32_t flags) {
    std::string text;
    for (const NamedFlag& flag : FLAG_NAMES)
        if (flags & flag.bit) text += (text.empty() ? "" : ",") + std::string(flag.name);
    return text;
}

}  // namespace

std::string blockTypeName(int type) {
    if (type >= 0 && type < BLOCK_TYPE_COUNT) return TYPE_NAMES[type];
    return std::to_string(type);
}

int parseLevelText(const std::string& text, Level& level, LevelTextError* error, bool* oldForm) {
    Level parsed;
    bool old = false, sawMedals = false;
    std::istringstream lines(text);
    std::string line, message;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword)) continue;
        bool ok;
        if (keyword == "block") {
            Block block;
            ok = BlockLine(&message).parse(words, block);
            if (ok) parsed.blocks.push_back(block);
        } else if (keyword == "medals") {
            ok = parseMedals(words, parsed, message);
            sawMedals = true;
        } else if (keyword == "form") {
            ok = parseForm(words, old, message);
        } else {
            ok = false;
            message = "unknown keyword '" + keyword + "' (expected block, medals or form)";
        }
        if (!ok) {
            if (error) *error = {number, message};
            return -1;
        }
    }
    if (old && sawMedals && (parsed.goldTime || parsed.silverTime || parsed.bronzeTime)) {
        if (error) *error = {0, "an old-form level has no medal times"};
        return -1;
    }
    for (Block& block : parsed.blocks.editAll()) {
        BlockBody& body = block.body;
        body.movePeriod = (body.pointX != 0 && body.has(FLAG_MOVE)) ? movePeriodOf(body.flags) : 0;
        body.moving = body.has(FLAG_START_TRIGGER) ? -1 : 0;
    }
    level = std::move(parsed);
    if (oldForm) *oldForm = old;
    return 0;
}

std::string printLevelText(const Level& level, bool oldForm) {
    std::ostringstream out;
    if (oldForm)
        out << "form old\n";
    else
        out << "medals " << level.goldTime << ' ' << level.silverTime << ' ' << level.bronzeTime << '\n';
    for (int i = 0; i < level.blockCount(); ++i) {
        const Block& block = level.blocks[size_t(i)];
        const BlockBody& b = block.body;
        out << "block " << blockTypeName(block.type) << " pos=" << b.x << ',' << b.y << ',' << b.z
            << " size=" << b.width << ',' << b.height << ',' << b.length << " repeat=" << b.texRepeatX << ','
            << b.texRepeatY << ',' << b.texRepeatZ << " tex=" << b.sideTexture << ',' << b.topTexture
            << " point=" << b.pointX << ',' << b.pointY << ',' << b.pointZ;
        std::string flags = joinedFlags(b.flags);
        if (!flags.empty()) out << " flags=" << flags;
        if (movePeriodOf(b.flags)) out << " period=" << movePeriodOf(b.flags);
        if (targetOf(b.flags)) out << " target=" << targetOf(b.flags);
        if (newTypeOf(b.flags)) out << " newtype=" << newTypeOf(b.flags);
        out << "  # " << i << '\n';
    }
    return out.str();
}

#include "modes/single/campaign_description_file.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/byte_io.h"

namespace {

// Reads one line the way a fixed buffer of bufferSize bytes does: at most
// bufferSize - 1 characters, ending after a line break when one comes first.
class LineReader {
public:
    explicit LineReader(const std::string& text) : text_(text) {}

    std::string read(size_t bufferSize) {
        const size_t limit = bufferSize - 1;
        size_t end = position_;
        while (end < text_.size() && end - position_ < limit) {
            if (text_[end++] == '\n') break;
        }
        std::string line = text_.substr(position_, end - position_);
        position_ = end;
        return line;
    }
    void skip(int lines, size_t bufferSize) {
        for (int i = 0; i < lines; ++i) read(bufferSize);
    }

private:
    const std::string& text_;
    size_t position_ = 0;
};

std::string withoutLineBreak(std::string value, size_t kept) {
    value = value.substr(0, std::min(kept, value.size()));
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
    return value;
}

}  // namespace

CampaignDescription parseCampaignDescription(const std::string& text) {
    LineReader lines(text);
    CampaignDescription fields;
    lines.skip(1, 32);
    fields.name = withoutLineBreak(lines.read(32), 32);
    lines.skip(2, 32);
    fields.levels = withoutLineBreak(lines.read(16), 4);
    lines.skip(2, 32);
    fields.date = withoutLineBreak(lines.read(16), 16);
    lines.skip(2, 32);
    fields.author = withoutLineBreak(lines.read(16), 16);
    lines.skip(2, 32);
    fields.description = withoutLineBreak(lines.read(171), 171);
    return fields;
}

CampaignDescription readCampaignDescription(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return CampaignDescription();
    return parseCampaignDescription(std::string(bytes.begin(), bytes.end()));
}

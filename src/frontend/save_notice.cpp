#include "frontend/save_notice.h"

#include <cstdio>

#include "render/screen_pieces.h"
#include "render/text.h"

bool SaveNotice::allowsLeaving(bool saved, const std::string& path) {
    const bool told = !line_.empty();
    line_ = saved ? std::string() : "Settings could not be saved to " + path;
    if (!saved) std::fprintf(stderr, "%s\n", line_.c_str());
    return saved || told;
}

void SaveNotice::draw(double x, double y) const {
    if (!line_.empty()) drawText(pixelX(x), pixelY(y), 0.8f, 1, 0.3f, 0.3f, line_.c_str());
}

#include "shaders.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <sys/stat.h>

// The three fragment programs of the glow effect, GLSL 1.10 so the ARB
// shader-object path of any driver takes them. Each runs over a full-target
// quad whose texture coordinates (set 0) span 0..1.

namespace {

// Only the clearly bright parts glow: a soft threshold on the brightest
// channel, so coloured lights glow in their own colour and the dim backdrop
// and track sides stay dark.
const char* const filterSource =
    "#version 110\n"
    "// Selects what glows: the bright parts of the glow pass.\n"
    "uniform sampler2D tex;\n"
    "\n"
    "void main()\n"
    "{\n"
    "    vec4 colour = texture2D(tex, gl_TexCoord[0].st);\n"
    "    float brightness = max(colour.r, max(colour.g, colour.b));\n"
    "    float amount = smoothstep(0.55, 0.95, brightness);\n"
    "    gl_FragColor = vec4(colour.rgb * amount, 1.0);\n"
    "}\n";

constexpr int BLUR_RADIUS = 6;       // texels on each side
constexpr double BLUR_SIGMA = 3.0;   // texels

// A normalised Gaussian, unrolled with its weights written out: the two
// passes together spread a bright texel over a 13 x 13 neighbourhood.
std::string blurSource(const char* axisName, const char* offsetVector) {
    double weights[BLUR_RADIUS + 1];
    double total = 0.0;
    for (int i = 0; i <= BLUR_RADIUS; ++i) {
        weights[i] = std::exp(-(i * i) / (2.0 * BLUR_SIGMA * BLUR_SIGMA));
        total += i == 0 ? weights[i] : 2.0 * weights[i];
    }
    std::string text = "#version 110\n";
    text += std::string("// Gaussian blur along the ") + axisName +
            " axis; pixsize is the size of one texel in texture coordinates.\n";
    text += "uniform sampler2D blurred;\nuniform float pixsize;\n\nvoid main()\n{\n";
    text += "    vec2 centre = gl_TexCoord[0].st;\n";
    text += std::string("    vec2 offset = ") + offsetVector + ";\n";
    char line[160];
    std::snprintf(line, sizeof line, "    vec4 sum = texture2D(blurred, centre) * %.6f;\n", weights[0] / total);
    text += line;
    for (int i = 1; i <= BLUR_RADIUS; ++i) {
        std::snprintf(line, sizeof line,
                      "    sum += (texture2D(blurred, centre - offset * %d.0) + "
                      "texture2D(blurred, centre + offset * %d.0)) * %.6f;\n",
                      i, i, weights[i] / total);
        text += line;
    }
    text += "    gl_FragColor = vec4(sum.rgb, 1.0);\n}\n";
    return text;
}

bool writeText(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "Cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "Cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

bool writeShaders(const std::string& dataDir) {
    std::string directory = dataDir + "/shaders";
    mkdir(dataDir.c_str(), 0755);
    mkdir(directory.c_str(), 0755);
    return writeText(directory + "/filter.frag", filterSource) &&
           writeText(directory + "/blurv.frag", blurSource("vertical", "vec2(0.0, pixsize)")) &&
           writeText(directory + "/blurh.frag", blurSource("horizontal", "vec2(pixsize, 0.0)"));
}

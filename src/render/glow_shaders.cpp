#include <cstdio>
#include <string>
#include <vector>

#include "core/globals.h"
#include "render/glow.h"
#include "render/glow_api.h"

namespace {

struct ProgramFile {
    const char* path;
    GlowProgram* pass;
    const char* samplerName;
    bool hasPixelSize;
};

// Prints the program's info log, if the driver left one. Compile and link
// problems are only reported: the pass then draws whatever the driver gives.
void printInfoLog(GLhandleARB program) {
    GLint length = 0;
    glowGl.getProgramiv(program, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 0) return;
    std::vector<char> log(length + 1, '\0');
    glowGl.getProgramInfoLog(program, length, nullptr, log.data());
    // Some drivers report a length of one for an empty log; a blank line
    // at every start-up helps nobody.
    if (log[0] == '\0') return;
    std::printf("%s\n", log.data());
}

void buildProgram(const ProgramFile& file, const std::string& source) {
    GlowProgram& pass = *file.pass;
    pass.program = glowGl.createProgramObject();
    GLhandleARB shader = glowGl.createShaderObject(GL_FRAGMENT_SHADER_ARB);
    glowGl.attachObject(pass.program, shader);
    const GLcharARB* text = source.c_str();
    glowGl.shaderSource(shader, 1, &text, nullptr);
    glowGl.compileShader(shader);
    glowGl.linkProgram(pass.program);
    pass.samplerLocation = glowGl.getUniformLocation(pass.program, file.samplerName);
    pass.pixelSizeLocation = file.hasPixelSize ? glowGl.getUniformLocation(pass.program, "pixsize") : -1;
    glowGl.deleteObject(shader);  // the program keeps it
    printInfoLog(pass.program);
}

// The glow image scaled by the number of layers. The window holds 8 bits a
// channel, so the fragment is clamped to 1 before it is added: adding
// min(1, n t) once saturates exactly as adding t n times.
const char* const compositeSource =
    "#version 110\n"
    "uniform sampler2D tex;\n"
    "uniform float layers;\n"
    "void main()\n"
    "{\n"
    "    gl_FragColor = texture2D(tex, gl_TexCoord[0].st) * layers;\n"
    "}\n";

}  // namespace

void loadCompositeProgram() {
    CompositeProgram& composite = glowResources.composite;
    composite = CompositeProgram();
    GLhandleARB program = glowGl.createProgramObject();
    GLhandleARB shader = glowGl.createShaderObject(GL_FRAGMENT_SHADER_ARB);
    glowGl.attachObject(program, shader);
    const GLcharARB* text = compositeSource;
    glowGl.shaderSource(shader, 1, &text, nullptr);
    glowGl.compileShader(shader);
    glowGl.linkProgram(program);
    glowGl.deleteObject(shader);
    GLint linked = 0;
    glowGl.getProgramiv(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    if (!linked) {
        // The layers are then drawn one by one, as without the program.
        glowGl.deleteObject(program);
        return;
    }
    composite.program = program;
    composite.samplerLocation = glowGl.getUniformLocation(program, "tex");
    composite.layersLocation = glowGl.getUniformLocation(program, "layers");
}

bool readShaderText(const char* path, std::string& text) {
    std::FILE* file = std::fopen(path, "rt");
    if (!file) return false;
    text.clear();
    char buffer[4096];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

void loadGlowShaders() {
    GlowResources& r = glowResources;
    const ProgramFile files[] = {
        {"shaders/blurh.frag", &r.blurHorizontal, "blurred", true},
        {"shaders/blurv.frag", &r.blurVertical, "blurred", true},
        {"shaders/filter.frag", &r.filter, "tex", false},
    };
    // All three are read before anything is compiled: a missing file turns
    // the effect off instead of running a pass built from no text.
    std::string sources[3];
    for (int i = 0; i < 3; ++i) {
        if (!readShaderText(files[i].path, sources[i])) {
            std::printf("Could not read %s. Shaders are deactivated.\n", files[i].path);
            bindWindowFramebuffer();
            releaseGlowResources();
            shadersActive = false;
            return;
        }
    }
    for (int i = 0; i < 3; ++i) buildProgram(files[i], sources[i]);
    loadCompositeProgram();
}

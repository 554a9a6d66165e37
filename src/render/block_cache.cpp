#include "render/block_cache.h"

#include <GL/gl.h>

#include <cstddef>
#include <map>
#include <tuple>

namespace {

using ShapeKey = std::tuple<int, int, int, int, float, float, float>;

std::map<ShapeKey, GLuint> compiled;
bool cacheEnabled = true;
// A level holds at most a few hundred distinct shapes; a runaway editor
// session starts over rather than growing without end.
constexpr size_t MAX_COMPILED = 4096;

void emitBody(const BlockShape& shape, BlockDetail detail) {
    switch (detail) {
    case BlockDetail::Low: emitPlainBody(shape); break;
    case BlockDetail::Medium: emitChamferedBody(shape); break;
    case BlockDetail::High: emitRoundedBody(shape); break;
    }
}

}  // namespace

void drawBlockBody(const BlockShape& shape, BlockDetail detail) {
    if (!cacheEnabled) {
        emitBody(shape, detail);
        return;
    }
    const ShapeKey key{int(detail), shape.w, shape.h, shape.l, shape.rx, shape.ry, shape.rz};
    auto found = compiled.find(key);
    // A list from a context that has since been replaced is no list any
    // more: compile it again.
    if (found != compiled.end() && glIsList(found->second)) {
        glCallList(found->second);
        return;
    }
    if (found != compiled.end()) compiled.erase(found);
    if (compiled.size() >= MAX_COMPILED) clearBlockCache();
    const GLuint list = glGenLists(1);
    if (list == 0) {
        emitBody(shape, detail);
        return;
    }
    glNewList(list, GL_COMPILE_AND_EXECUTE);
    emitBody(shape, detail);
    glEndList();
    compiled.emplace(key, list);
}

void clearBlockCache() {
    for (const auto& entry : compiled) glDeleteLists(entry.second, 1);
    compiled.clear();
}

void setBlockCacheEnabled(bool enabled) {
    if (!enabled) clearBlockCache();
    cacheEnabled = enabled;
}

#include "contact_sheet.h"

#include <algorithm>
#include <cstdio>

#include "text.h"

namespace {

constexpr int COLUMNS = 6;
constexpr int CELL = 200;     // a plan's side in the sheet
constexpr int LABEL = 26;     // the name line under a plan
constexpr int GAP = 14;       // between cells and around the sheet
constexpr int HEADING = 44;   // a group's title line

const Rgba kBackground = rgb(0.012f, 0.016f, 0.035f);

struct Group {
    std::string title;
    std::vector<std::string> levels;
};

struct Cell {
    std::string path;
    std::string name;
    int x, y;
};

struct Heading {
    std::string title;
    int y;
};

struct Layout {
    int width = 0, height = 0;
    std::vector<Cell> cells;
    std::vector<Heading> headings;
};

bool parseGroups(const std::vector<std::string>& arguments, std::vector<Group>& groups) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--group") {
            if (i + 1 == arguments.size()) return false;
            groups.push_back(Group{arguments[++i], {}});
            continue;
        }
        if (groups.empty()) groups.push_back(Group{});
        groups.back().levels.push_back(arguments[i]);
    }
    groups.erase(std::remove_if(groups.begin(), groups.end(), [](const Group& g) { return g.levels.empty(); }),
                 groups.end());
    return !groups.empty();
}

// "maps/hard-camp/s-03-ramp.slv" -> "s-03-ramp".
std::string levelName(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    const size_t dot = name.find(".slv");
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// Groups follow each other down the sheet, each starting on a new row under
// its heading (an untitled group gets no heading line).
Layout layOut(const std::vector<Group>& groups) {
    Layout layout;
    layout.width = GAP + COLUMNS * (CELL + GAP);
    int y = GAP;
    for (const Group& group : groups) {
        if (!group.title.empty()) {
            layout.headings.push_back(Heading{group.title, y});
            y += HEADING;
        }
        for (size_t i = 0; i < group.levels.size(); ++i) {
            const int column = int(i % COLUMNS), row = int(i / COLUMNS);
            layout.cells.push_back(Cell{group.levels[i], levelName(group.levels[i]), GAP + column * (CELL + GAP),
                                        y + row * (CELL + LABEL + GAP)});
        }
        const int rows = int((group.levels.size() + COLUMNS - 1) / COLUMNS);
        y += rows * (CELL + LABEL + GAP);
    }
    layout.height = y;
    return layout;
}

// One line of text centred in a box of the sheet, on the sheet's background.
void drawLine(Canvas& sheet, const Font& font, const std::string& text, int left, int top, int width, int height,
              float capHeight, Rgba colour) {
    Canvas line(width, height, kBackground);
    Mask mask(width, height);
    font.drawFitted(mask, text, Box{2, (height - capHeight) / 2, float(width - 4), capHeight});
    blendMask(line, mask, colour);
    sheet.blit(line, left, top);
}

}  // namespace

int writeContactSheet(const std::string& out, const std::vector<std::string>& arguments, const PlanDrawer& drawPlan) {
    std::vector<Group> groups;
    if (!parseGroups(arguments, groups)) {
        std::fprintf(stderr, "tavrelo-preview: --sheet needs level files (and a title after each --group)\n");
        return 2;
    }
    Font font;
    if (!font.load(Font::boldSansPath)) {
        std::fprintf(stderr, "tavrelo-preview: cannot read the font %s\n", Font::boldSansPath);
        return 1;
    }
    const Layout layout = layOut(groups);
    Canvas sheet(layout.width, layout.height, kBackground);
    for (const Heading& heading : layout.headings) {
        // Headings sit at the left like a chapter title, not centred.
        Canvas line(layout.width - 2 * GAP, HEADING, kBackground);
        Mask mask(line.width(), line.height());
        const float cap = 20.0f;
        const float width = std::min(float(line.width()), font.lineWidth(heading.title) * cap / font.capHeight());
        font.drawFitted(mask, heading.title, Box{0, (HEADING - cap) / 2 - 4, width, cap});
        blendMask(line, mask, rgb(1.0f, 0.82f, 0.35f));
        sheet.blit(line, GAP, heading.y);
    }
    for (const Cell& cell : layout.cells) {
        Canvas plan(1, 1);
        if (!drawPlan(cell.path, cell.name.compare(0, 3, "ca-") == 0, plan)) return 1;
        sheet.blit(plan.resized(CELL, CELL), cell.x, cell.y);
        drawLine(sheet, font, cell.name, cell.x, cell.y + CELL, CELL, LABEL, 12.0f, rgb(0.78f, 0.84f, 0.95f));
    }
    if (!sheet.writePng(out)) {
        std::fprintf(stderr, "tavrelo-preview: cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("sheet %s %d %d\n", out.c_str(), layout.width, layout.height);
    for (const Cell& cell : layout.cells) std::printf("cell %s %d %d %d\n", cell.name.c_str(), cell.x, cell.y, CELL);
    return 0;
}

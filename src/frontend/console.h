#pragma once

#include <string>

#include "core/gamestate.h"
#include "frontend/console_line.h"

// The drop-down console over the state that opened it. It keeps its history,
// its input line and the commands typed before between openings: only the
// first enter clears them.
class Console : public Gamestate {
public:
    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;

    const std::string& input() const { return line_.text(); }

private:
    void run(const std::string& command);
    void drawBackground() const;
    void drawLines() const;

    ConsoleLine line_;
};

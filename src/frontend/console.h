#pragma once

#include <string>

#include "core/gamestate.h"

// The drop-down console over the state that opened it. It keeps its history
// and input line between openings: only the first enter clears them.
class Console : public Gamestate {
public:
    static constexpr std::size_t INPUT_CHARS = 127;

    void enter() override;
    int handleEvent(SDL_Event event, SDL_Keysym key) override;
    void draw() override;
    void update(int elapsedMs) override;

    const std::string& input() const { return input_; }

private:
    void runInput();
    void drawBackground() const;
    void drawLines() const;

    std::string input_;
};

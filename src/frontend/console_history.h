#pragma once

// The console's scroll-back: 20 lines, line 0 the newest. Kept apart from the
// console state so the print rule can be used (and tested) without a window.
class ConsoleHistory {
public:
    static constexpr int LINES = 20;
    static constexpr int LINE_CHARS = 127;

    void clear();
    // Pushes every line up by one and puts text (cut to 127 characters) at
    // line 0. The count stops at 19, the index of the oldest line kept.
    void print(const char* text);

    const char* line(int index) const { return lines_[index]; }
    int lineCount() const { return lineCount_; }

private:
    char lines_[LINES][LINE_CHARS + 1] = {};
    int lineCount_ = 0;
};

// The one history of the running program, shown by the console state.
extern ConsoleHistory consoleHistory;

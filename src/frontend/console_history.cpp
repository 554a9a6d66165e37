#include "frontend/console_history.h"

#include <cstring>

#include "frontend/console_print.h"

ConsoleHistory consoleHistory;

void ConsoleHistory::clear() {
    std::memset(lines_, 0, sizeof lines_);
    lineCount_ = 0;
}

void ConsoleHistory::print(const char* text) {
    for (int n = lineCount_; n >= 1; --n) std::memcpy(lines_[n], lines_[n - 1], sizeof lines_[n]);
    std::strncpy(lines_[0], text, LINE_CHARS);
    lines_[0][LINE_CHARS] = '\0';
    if (lineCount_ <= LINES - 2) ++lineCount_;
}

void consolePrint(const char* text) { consoleHistory.print(text); }

#include "frontend/console_line.h"

void ConsoleLine::insertText(const std::string& text) {
    for (char c : text) {
        if (text_.size() >= MAX_CHARS) return;
        if (c >= 32 && c <= 125) text_ += c;
    }
}

void ConsoleLine::backspace() {
    if (!text_.empty()) text_.pop_back();
}

void ConsoleLine::historyUp() {
    if (shown_ == 0) return;
    if (shown_ == commands_.size()) draft_ = text_;
    text_ = commands_[--shown_];
}

void ConsoleLine::historyDown() {
    if (shown_ >= commands_.size()) return;
    ++shown_;
    text_ = shown_ == commands_.size() ? draft_ : commands_[shown_];
}

std::string ConsoleLine::submit() {
    std::string command;
    command.swap(text_);
    draft_.clear();
    const bool blank = command.find_first_not_of(' ') == std::string::npos;
    if (!blank && (commands_.empty() || commands_.back() != command)) {
        commands_.push_back(command);
        if (commands_.size() > REMEMBERED_COMMANDS) commands_.erase(commands_.begin());
    }
    shown_ = commands_.size();
    return command;
}

void ConsoleLine::clear() {
    text_.clear();
    draft_.clear();
    commands_.clear();
    shown_ = 0;
}

#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The console's input line and the commands typed before it. Any source of
// typed text (key events with their characters, text-input events) feeds it
// through these calls, so the line editing does not depend on how keys
// arrive.
class ConsoleLine {
public:
    static constexpr std::size_t MAX_CHARS = 127;
    static constexpr std::size_t REMEMBERED_COMMANDS = 32;

    // Appends the characters from blank to '}' (the font's printable set
    // without '~'); others are dropped, and the line stops at 127.
    void insertText(const std::string& text);
    void backspace();
    // Up: the command before the one shown (the newest first); the line
    // being typed is kept and Down past the newest command brings it back.
    void historyUp();
    void historyDown();
    // Enter: hands the line over to run, empties it and remembers it as the
    // newest command (blank lines and a repeat of the newest are not kept).
    std::string submit();

    const std::string& text() const { return text_; }
    // Forgets the line and every remembered command.
    void clear();

private:
    std::string text_;
    std::string draft_;                 // what was typed before Up was pressed
    std::vector<std::string> commands_;  // oldest first
    std::size_t shown_ = 0;             // index into commands_; size() while typing
};

#pragma once

#include <string>

// What a screen says when a file the player changed there cannot be saved
// (a read-only or full user folder): one red line, also on standard error.
// The failed save keeps the player on the screen once, so he reads it; the
// next try goes on whether it saves or not.
class SaveNotice {
public:
    // After saving `path` (`saved` false: it failed): whether the screen may
    // go on.
    bool allowsLeaving(bool saved, const std::string& path);
    void clear() { line_.clear(); }
    const std::string& line() const { return line_; }
    // The line, when there is one, at window fractions (x, y).
    void draw(double x, double y) const;

private:
    std::string line_;
};

#pragma once

// A level's proof: the keys held in each physics step of a run that reaches
// its goal, kept beside the level as NAME.keys. A line is "<steps> <keys>",
// keys from F (forward), B (backward), L (left), R (right) and J (jump), or
// "-" for none; '#' starts a comment. The editor's test-drive writes it, the
// level check and the level tests replay it.

#include <string>
#include <vector>

struct HeldKeys {
    bool forward = false, backward = false, left = false, right = false, jump = false;
};
bool sameKeys(const HeldKeys& a, const HeldKeys& b);

// Empty when the file cannot be read or a line is malformed.
std::vector<HeldKeys> readRecording(const std::string& path);
std::vector<HeldKeys> parseRecording(const std::string& text);
// The recording as the file holds it: runs of equal keys, one line each,
// after a comment line that explains the form.
std::string recordingText(const std::vector<HeldKeys>& steps);
// Writes recordingText atomically. 0, or -1 with the old file whole.
int writeRecording(const std::string& path, const std::vector<HeldKeys>& steps);

// ".../s-01-hello.keys" for ".../s-01-hello.slv" or ".../s-01-hello.slv.txt".
std::string proofPathFor(const std::string& levelPath);

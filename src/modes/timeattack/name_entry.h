#pragma once

#include <string>

// The record holder's name as typed on the record screen: at most 16
// characters, each a printable ASCII character 32..125 ("~" and DEL are
// refused, as is anything outside ASCII).
constexpr size_t MAX_TYPED_NAME = 16;

// Appends a typed character when the rules allow it; returns whether it was
// taken. Typed text arrives as UTF-8 bytes: those of a character beyond
// ASCII are each refused.
bool appendNameCharacter(std::string& name, unsigned unicode);
// Removes the last character; false when the name is empty.
bool eraseNameCharacter(std::string& name);

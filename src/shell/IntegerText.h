#pragma once

#include <string>

// Reads an integer from the start of text as a stream extraction into an int
// does: leading white space, an optional sign, decimal digits, stopping at the
// first other character. Returns false, leaving value alone, when the text
// does not begin with a number or the number does not fit an int.
bool readInteger(const std::string& text, int& value);

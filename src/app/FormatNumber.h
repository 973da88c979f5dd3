#pragma once

#include <string>

// A number as the program shows it: rounded to a whole number, digits grouped in
// threes with the thousands separator of the user's locale (or of the named one),
// a negative one with a leading minus.
std::wstring FormatNumber(double value, const wchar_t* locale = nullptr);

// An error code as the program shows it: "0x" and at least four upper-case hex digits.
std::wstring FormatErrorCode(unsigned long code);

#pragma once

#include <string>

// A number as the program shows it: rounded to a whole number, digits grouped by
// the user's locale ("#,##0"), a negative one with a leading minus.
std::wstring FormatNumber(double value);

// "3 files (1,234,567 Bytes)".
std::wstring BuildStatusSummary(int count, double totalBytes);

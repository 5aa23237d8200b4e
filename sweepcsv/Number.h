// Number: numbers to text and text to numbers for the sweep CSV, the same
// under every locale — '.' before the decimals, whatever the C library's
// locale says (a Qt program switches it to the user's).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace travenel {

// Appends a whole number in decimal digits.
void AppendInt(std::string& out, long long v);
void AppendUInt(std::string& out, unsigned long long v);
// Appends v with `decimals` digits after a '.', rounded as printf's %.Nf
// rounds in the "C" locale.
void AppendFixed(std::string& out, double v, int decimals);
// The shortest text that reads back as v ("1e+300", "0.1", "-2").
std::string ShortestText(double v);

// Reads a whole field as a number: digits with an optional '-', a '.' and an
// exponent, or "nan"/"inf". With decimalComma a ',' is taken as the '.'
// (a spreadsheet's re-save in a German locale writes "48,76"). False when the
// field is anything else.
bool ReadNumber(std::string_view s, double& value, bool decimalComma = false);

}  // namespace travenel

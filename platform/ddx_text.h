#pragma once
// The text rules of data exchange: what counts as a number in an edit, and how numbers are shown.

#include "platform/cstring.h"

namespace platform {

// Blanks around an optional sign and decimal digits; anything else, nothing, or a value out of
// range is not a number.
bool ParseDdxInt(const char* text, int& value);
bool ParseDdxUInt(const char* text, UINT& value);
// A decimal floating-point number with optional blanks around it; not "nan" or "inf".
bool ParseDdxDouble(const char* text, double& value);

CString FormatDdxValue(int value);
CString FormatDdxValue(UINT value);
CString FormatDdxValue(double value);  // up to 15 significant digits

inline constexpr const char* kDdxIntPrompt = "Please enter an integer.";
inline constexpr const char* kDdxUIntPrompt = "Please enter a positive integer.";
inline constexpr const char* kDdxBytePrompt = "Please enter an integer between 0 and 255.";
inline constexpr const char* kDdxDoublePrompt = "Please enter a number.";

}  // namespace platform

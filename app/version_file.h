#pragma once
// The version file of the update server: its number, and how much of it is read.

#include <cstddef>
#include <string_view>

namespace update {

// This program's own number; the server's must be higher for an update to be offered.
constexpr int kOwnVersion = 31;

// The version file holds a few digits; more than this is not a version file, and neither the
// download nor the reading goes further.
constexpr std::size_t kMaxVersionFileBytes = 4096;

// The file's lines joined without their line ends ("\n" or "\r\n"), read as one decimal number
// as atoi reads it: leading blanks, an optional sign, the digits up to the first non-digit, 0
// when there are none. A number beyond the range of int stays at its end of the range.
int VersionFromText(std::string_view text);

}  // namespace update

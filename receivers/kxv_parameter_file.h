#pragma once
// The stabilizer parameter file: one "key,value" line per parameter with CR LF line ends, in
// the exchange order, offset angles in degrees. Writing it, and reading one back onto a set of
// held values. The reader takes outside input: whatever a file holds, it either yields a whole
// set of values each within its byte, or says why it yields none.

#include <array>
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

#include "receivers/kxv_parameters.h"

namespace kxv {

// The 26 held values (bus form) by exchange order k.
using Values = std::array<int, kParameterCount>;
// One mark per parameter, by exchange order k.
using Marks = std::bitset<kParameterCount>;

// A real parameter file is under 1 KiB: anything much larger is not one, and is refused before
// it is read.
inline constexpr std::size_t kMaxFileBytes = 64 * 1024;
// The longest line read: a key, a number and a few spare columns fit many times over.
inline constexpr std::size_t kMaxLineBytes = 1024;

// The factory values, as Default sets them.
Values FactoryValues();

// The whole file for `values`: 26 lines, each ended by CR LF.
std::string FormatParameterFile(const Values& values);

// Reads a parameter file line by line onto the values it starts from. Keys are compared
// exactly (the file key or the older second key); a line whose key matches none is skipped;
// a key given twice takes the later value; parameters the file does not name keep theirs.
// A number is read as the program always read it (blanks, a sign, digits up to the first other
// character), so extra columns after it do no harm. A value is held as a Read would hold the
// same byte from the receiver: unchanged, whatever setting it is. A value that no byte can
// carry (no digits at all, or a number outside 0..255, -128..127 for an angle in degrees)
// stops the reading: the file is refused as a whole.
class ParameterFileReader {
  public:
    explicit ParameterFileReader(const Values& start) : values_(start) {}

    // One line without its line end (a CR before it is dropped too). False once the file has
    // been refused; further lines are then ignored.
    bool Take(std::string_view line);
    // A whole file's text: lines end at CR, LF or CR LF, and a line longer than kMaxLineBytes
    // refuses the file. False once the file has been refused.
    bool TakeText(std::string_view text);

    bool Refused() const { return !problem_.empty(); }
    // Why the file is refused, for the user; empty when it is not.
    const std::string& Problem() const { return problem_; }
    // How many lines set a parameter.
    int Loaded() const { return loaded_; }
    // The parameters some line set.
    const Marks& Named() const { return named_; }
    const Values& values() const { return values_; }

  private:
    Values values_;
    Marks named_;
    std::string problem_;
    int line_ = 0;
    int loaded_ = 0;
};

// The number reader of the file's values: leading white space, an optional sign, then decimal
// digits up to the first other character. Digits beyond the int range saturate. False when
// there is no digit.
bool ReadLeadingNumber(std::string_view text, int& value);

}  // namespace kxv

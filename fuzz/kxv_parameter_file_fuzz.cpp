// Feeds arbitrary bytes as a stabilizer parameter file through the bounded line reader: whatever
// a file holds, the reader either refuses it with a reason or yields 26 values each within its
// byte, no line it took is longer than the bound, and a set it yields is written and read back
// unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "receivers/kxv_parameter_file.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// The longest run of bytes between line ends.
std::size_t LongestLine(std::string_view text) {
    std::size_t longest = 0;
    std::size_t run = 0;
    for (char c : text) {
        run = c == '\r' || c == '\n' ? 0 : run + 1;
        if (run > longest) longest = run;
    }
    return longest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kxv::Values start = kxv::FactoryValues();
    kxv::ParameterFileReader reader(start);
    const bool taken = reader.TakeText(text);
    Check(taken == !reader.Refused());
    if (reader.Refused()) {
        Check(!reader.Problem().empty());
        return 0;
    }
    Check(LongestLine(text) <= kxv::kMaxLineBytes);
    for (const kxv::Parameter& p : kxv::kParameters) {
        const std::size_t k = static_cast<std::size_t>(p.k);
        Check(reader.values()[k] >= 0 && reader.values()[k] <= 255);
        Check(reader.Named().test(k) || reader.values()[k] == start[k]);
    }
    kxv::ParameterFileReader again({});
    Check(again.TakeText(kxv::FormatParameterFile(reader.values())));
    Check(again.Loaded() == kxv::kParameterCount && again.values() == reader.values());
    int number = 0;
    (void)kxv::ReadLeadingNumber(text, number);
    return 0;
}

// Feeds arbitrary bytes as a stabilizer parameter file: whatever a file holds, the reader either
// refuses it with a reason or yields 26 values each within its parameter's range, and a set it
// yields is written and read back unchanged.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "receivers/kxv_parameter_file.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

bool InRange(const kxv::Parameter& p, int v) {
    switch (p.kind) {
        case kxv::Kind::kChoice:
        case kxv::Kind::kFlag:
            return v >= 0 && v <= p.hi;
        case kxv::Kind::kDirection:
            return v == kxv::kDirectionPositive || v == kxv::kDirectionReverse;
        case kxv::Kind::kGain:
            return v >= 0 && v <= kxv::kGainMax;
        case kxv::Kind::kAngle:
            return v >= kxv::kAngleZero - kxv::kAngleLimit &&
                   v <= kxv::kAngleZero + kxv::kAngleLimit;
    }
    return false;
}

// The lines of `text` as the file layer hands them over: split at LF.
kxv::ParameterFileReader Read(std::string_view text, const kxv::Values& start) {
    kxv::ParameterFileReader reader(start);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (!reader.Take(text.substr(0, end))) break;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return reader;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kxv::Values start = kxv::FactoryValues();
    const kxv::ParameterFileReader reader = Read(text, start);
    if (reader.Refused()) {
        Check(!reader.Problem().empty());
        return 0;
    }
    for (const kxv::Parameter& p : kxv::kParameters)
        Check(InRange(p, reader.values()[static_cast<std::size_t>(p.k)]));
    const kxv::ParameterFileReader again = Read(kxv::FormatParameterFile(reader.values()), {});
    Check(!again.Refused() && again.Loaded() == kxv::kParameterCount);
    Check(again.values() == reader.values());
    int number = 0;
    (void)kxv::ReadLeadingNumber(text, number);
    return 0;
}

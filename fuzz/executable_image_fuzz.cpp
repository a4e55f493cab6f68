// Feeds arbitrary downloaded bytes to the check of a new executable: it must never read outside
// the file, whatever sizes, counts and offsets its headers claim.

#include <cstddef>
#include <cstdint>
#include <span>

#include "app/executable_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const update::ImageVerdict verdict = update::CheckExecutableImage(bytes);
    // The same bytes always get the same answer: the check depends on nothing else.
    if (update::CheckExecutableImage(bytes) != verdict) __builtin_trap();
    return 0;
}

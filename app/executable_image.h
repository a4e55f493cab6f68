#pragma once
// Whether a downloaded file is a whole program that this machine can run.

#include <cstdint>
#include <span>
#include <string>

namespace update {

enum class ImageVerdict {
    kRunnable,
    kEmpty,
    kNotElf,         // a script, a page of text, an executable of another system
    kOtherPlatform,  // ELF, but for another processor, word size or byte order
    kNotAProgram,    // an object file or a core dump, or nothing to load
    kIncomplete,     // its own headers point past the end: the download was cut
};

// Checks the ELF header against this build's processor, word size and byte order, and that
// every header and loaded segment the file names lies inside it.
ImageVerdict CheckExecutableImage(std::span<const std::uint8_t> bytes);

// The same for a file; one that cannot be read counts as empty.
ImageVerdict CheckExecutableFile(const std::string& path);

}  // namespace update

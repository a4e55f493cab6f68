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
    kOtherPlatform,  // ELF, but for another processor, word size, byte order or system
    kNotAProgram,    // a shared library, an object file or a core dump, or nothing to load
    kIncomplete,     // its own headers point past the end: the download was cut
};

// Checks the ELF header against this build's processor, word size, byte order and system, that
// it is a program (a fixed-address one, or a position-independent one that names its loader),
// and that every header and loaded segment the file names lies inside it.
ImageVerdict CheckExecutableImage(std::span<const std::uint8_t> bytes);

// The same for a file, of which only the headers are read; one that cannot be read counts as
// empty.
ImageVerdict CheckExecutableFile(const std::string& path);

}  // namespace update

#include "app/executable_image.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <type_traits>

namespace update {
namespace {

constexpr bool k64 = sizeof(void*) == 8;
using Ehdr = std::conditional_t<k64, Elf64_Ehdr, Elf32_Ehdr>;
using Phdr = std::conditional_t<k64, Elf64_Phdr, Elf32_Phdr>;
using Shdr = std::conditional_t<k64, Elf64_Shdr, Elf32_Shdr>;

constexpr unsigned char kClass = k64 ? ELFCLASS64 : ELFCLASS32;
constexpr unsigned char kData =
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;

constexpr std::uint16_t kMachine =
#if defined(__x86_64__)
    EM_X86_64;
#elif defined(__i386__)
    EM_386;
#elif defined(__aarch64__)
    EM_AARCH64;
#elif defined(__arm__)
    EM_ARM;
#elif defined(__riscv)
    EM_RISCV;
#elif defined(__powerpc64__)
    EM_PPC64;
#elif defined(__s390x__)
    EM_S390;
#elif defined(__loongarch__)
    EM_LOONGARCH;
#else
#error "the update needs this processor's ELF machine number"
#endif

// The loader takes both: programs are marked GNU once they use one of its extensions.
bool IsOwnOsAbi(unsigned char abi) {
#if defined(__linux__)
    return abi == ELFOSABI_SYSV || abi == ELFOSABI_GNU;
#else
#error "the update needs this system's ELF OS ABI"
#endif
}

// offset + count * size fits in `total`, without overflow.
bool Within(std::uint64_t offset, std::uint64_t count, std::uint64_t size, std::uint64_t total) {
    if (offset > total) return false;
    if (size != 0 && count > (total - offset) / size) return false;
    return true;
}

// Reads `count` bytes at `offset` into `out`; false when the image does not hold them all.
using ReadAt = std::function<bool(std::uint64_t offset, void* out, std::size_t count)>;

// The check itself, reading only the ELF header and the program headers through `read`.
ImageVerdict Check(std::uint64_t size, const ReadAt& read) {
    if (size == 0) return ImageVerdict::kEmpty;
    unsigned char ident[EI_NIDENT];
    if (size < SELFMAG || !read(0, ident, SELFMAG) || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
        return ImageVerdict::kNotElf;
    if (size < EI_NIDENT || !read(0, ident, EI_NIDENT)) return ImageVerdict::kIncomplete;
    if (ident[EI_CLASS] != kClass || ident[EI_DATA] != kData || ident[EI_VERSION] != EV_CURRENT ||
        !IsOwnOsAbi(ident[EI_OSABI]))
        return ImageVerdict::kOtherPlatform;
    Ehdr header;
    if (size < sizeof header || !read(0, &header, sizeof header)) return ImageVerdict::kIncomplete;
    if (header.e_machine != kMachine) return ImageVerdict::kOtherPlatform;
    if (header.e_type != ET_EXEC && header.e_type != ET_DYN) return ImageVerdict::kNotAProgram;
    if (header.e_phnum == 0 || header.e_phentsize != sizeof(Phdr))
        return ImageVerdict::kNotAProgram;
    if (!Within(header.e_phoff, header.e_phnum, sizeof(Phdr), size))
        return ImageVerdict::kIncomplete;
    bool loads = false;
    bool namesLoader = false;
    for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
        Phdr segment;
        if (!read(header.e_phoff + i * sizeof(Phdr), &segment, sizeof segment))
            return ImageVerdict::kIncomplete;
        if (segment.p_type != PT_LOAD && segment.p_type != PT_INTERP) continue;
        loads = loads || segment.p_type == PT_LOAD;
        namesLoader = namesLoader || segment.p_type == PT_INTERP;
        if (!Within(segment.p_offset, 1, segment.p_filesz, size)) return ImageVerdict::kIncomplete;
    }
    if (!loads) return ImageVerdict::kNotAProgram;
    // A shared library is ET_DYN as well, but only a position-independent program names the
    // loader that starts it.
    if (header.e_type == ET_DYN && !namesLoader) return ImageVerdict::kNotAProgram;
    // The section table usually comes last, so a cut file loses it first.
    if (header.e_shoff != 0 && header.e_shnum != 0) {
        if (header.e_shentsize != sizeof(Shdr)) return ImageVerdict::kNotAProgram;
        if (!Within(header.e_shoff, header.e_shnum, sizeof(Shdr), size))
            return ImageVerdict::kIncomplete;
    }
    return ImageVerdict::kRunnable;
}

}  // namespace

ImageVerdict CheckExecutableImage(std::span<const std::uint8_t> bytes) {
    return Check(bytes.size(), [bytes](std::uint64_t offset, void* out, std::size_t count) {
        if (!Within(offset, 1, count, bytes.size())) return false;
        std::memcpy(out, bytes.data() + offset, count);
        return true;
    });
}

ImageVerdict CheckExecutableFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return ImageVerdict::kEmpty;
    const std::streamoff size = in.tellg();
    if (size < 0) return ImageVerdict::kEmpty;
    return Check(static_cast<std::uint64_t>(size),
                 [&in](std::uint64_t offset, void* out, std::size_t count) {
                     in.clear();
                     in.seekg(static_cast<std::streamoff>(offset));
                     in.read(static_cast<char*>(out), static_cast<std::streamsize>(count));
                     return in.gcount() == static_cast<std::streamsize>(count);
                 });
}

}  // namespace update

#include "app/executable_image.h"

#include <elf.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <type_traits>
#include <vector>

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

// offset + count * size fits in `total`, without overflow.
bool Within(std::uint64_t offset, std::uint64_t count, std::uint64_t size, std::uint64_t total) {
    if (offset > total) return false;
    if (size != 0 && count > (total - offset) / size) return false;
    return true;
}

template <class T>
T ReadAt(std::span<const std::uint8_t> bytes, std::uint64_t offset) {
    T value;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

}  // namespace

ImageVerdict CheckExecutableImage(std::span<const std::uint8_t> bytes) {
    const std::uint64_t size = bytes.size();
    if (size == 0) return ImageVerdict::kEmpty;
    if (size < SELFMAG || std::memcmp(bytes.data(), ELFMAG, SELFMAG) != 0)
        return ImageVerdict::kNotElf;
    if (size < EI_NIDENT) return ImageVerdict::kIncomplete;
    if (bytes[EI_CLASS] != kClass || bytes[EI_DATA] != kData || bytes[EI_VERSION] != EV_CURRENT)
        return ImageVerdict::kOtherPlatform;
    if (size < sizeof(Ehdr)) return ImageVerdict::kIncomplete;
    const auto header = ReadAt<Ehdr>(bytes, 0);
    if (header.e_machine != kMachine) return ImageVerdict::kOtherPlatform;
    if (header.e_type != ET_EXEC && header.e_type != ET_DYN) return ImageVerdict::kNotAProgram;
    if (header.e_phnum == 0 || header.e_phentsize != sizeof(Phdr))
        return ImageVerdict::kNotAProgram;
    if (!Within(header.e_phoff, header.e_phnum, sizeof(Phdr), size))
        return ImageVerdict::kIncomplete;
    bool loads = false;
    for (std::uint64_t i = 0; i < header.e_phnum; ++i) {
        const auto segment = ReadAt<Phdr>(bytes, header.e_phoff + i * sizeof(Phdr));
        if (segment.p_type != PT_LOAD) continue;
        loads = true;
        if (!Within(segment.p_offset, 1, segment.p_filesz, size)) return ImageVerdict::kIncomplete;
    }
    if (!loads) return ImageVerdict::kNotAProgram;
    // The section table usually comes last, so a cut file loses it first.
    if (header.e_shoff != 0 && header.e_shnum != 0) {
        if (header.e_shentsize != sizeof(Shdr)) return ImageVerdict::kNotAProgram;
        if (!Within(header.e_shoff, header.e_shnum, sizeof(Shdr), size))
            return ImageVerdict::kIncomplete;
    }
    return ImageVerdict::kRunnable;
}

ImageVerdict CheckExecutableFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return ImageVerdict::kEmpty;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    return CheckExecutableImage(bytes);
}

}  // namespace update

#include "platform/file_attributes.h"

#include <sys/xattr.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string>
#include <vector>

namespace platform {

namespace {

// What `get` fills: a list of names or a value, of a size that may change between the call that
// measures it and the one that takes it. Nothing on a file system that holds no attributes.
template <class Get>
std::optional<std::string> Measured(Get get) {
    for (;;) {
        const ssize_t size = get(nullptr, 0);
        if (size < 0) return errno == ENOTSUP ? std::optional<std::string>("") : std::nullopt;
        std::string bytes(static_cast<std::size_t>(size), '\0');
        const ssize_t got = get(bytes.data(), bytes.size());
        if (got < 0 && errno == ERANGE) continue;
        if (got < 0) return std::nullopt;
        bytes.resize(static_cast<std::size_t>(got));
        return bytes;
    }
}

// The names in a list of names, each ended by a zero byte.
std::vector<std::string> Names(const std::string& list) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = list.find('\0', at);
        names.push_back(list.substr(at, end - at));
        at = end == std::string::npos ? list.size() : end + 1;
    }
    return names;
}

}  // namespace

bool CopyAttributes(const char* from, int to) {
    const auto had =
        Measured([&](char* list, std::size_t size) { return ::listxattr(from, list, size); });
    const auto has =
        Measured([&](char* list, std::size_t size) { return ::flistxattr(to, list, size); });
    if (!had || !has) return false;
    const std::vector<std::string> old = Names(*had);
    // What the new file was given on its own, a folder's default ACL, is not the old file's.
    for (const std::string& name : Names(*has))
        if (std::find(old.begin(), old.end(), name) == old.end() &&
            ::fremovexattr(to, name.c_str()) != 0)
            return false;
    for (const std::string& name : old) {
        const auto value = Measured([&](char* bytes, std::size_t size) {
            return ::getxattr(from, name.c_str(), bytes, size);
        });
        if (!value || ::fsetxattr(to, name.c_str(), value->data(), value->size(), 0) != 0)
            return false;
    }
    return true;
}

}  // namespace platform

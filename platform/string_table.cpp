#include "platform/string_table.h"

#include <map>

namespace platform {
namespace {
std::map<UINT, std::string>& Table() {
    static std::map<UINT, std::string> table;
    return table;
}
}  // namespace

void RegisterString(UINT id, const char* text) {
    Table()[id] = text ? text : "";
}

std::string LookupString(UINT id) {
    auto it = Table().find(id);
    return it == Table().end() ? std::string() : it->second;
}

std::map<UINT, std::string> AllStrings() {
    return Table();
}

}  // namespace platform

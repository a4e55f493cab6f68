#pragma once
// The program's string table: texts by resource id, registered by the resources at start-up.

#include <map>
#include <string>

#include "platform/win_types.h"

namespace platform {

void RegisterString(UINT id, const char* text);
// The text of `id`, empty when there is none.
std::string LookupString(UINT id);
// Every registered text, by id.
std::map<UINT, std::string> AllStrings();

}  // namespace platform

#include "resources/templates.h"

namespace resources {

void RegisterTemplates() {}

}  // namespace resources

#include "platform/message_map.h"

namespace platform {

const MessageMapEntry* MessageMap::Find(UINT message, UINT code, int id) const {
    bool keyed = message == kWmCommand || message == kWmNotify;
    for (const MessageMap* map = this; map; map = map->base) {
        for (const MessageMapEntry& e : map->entries) {
            if (e.message != message) continue;
            if (keyed && (e.code != code || e.id != id)) continue;
            return &e;
        }
    }
    return nullptr;
}

}  // namespace platform

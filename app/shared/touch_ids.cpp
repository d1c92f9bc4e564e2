#include "touch_ids.h"

#include <set>

int32_t TouchIds::Down(uint64_t key)
{
    if (const int32_t id = Find(key))
        return id;
    std::set<int32_t> held;
    for (const auto& entry : ids_)
        held.insert(entry.second);
    int32_t id = 1;
    while (held.count(id))
        ++id;
    ids_[key] = id;
    return id;
}

int32_t TouchIds::Find(uint64_t key) const
{
    const auto found = ids_.find(key);
    return found == ids_.end() ? 0 : found->second;
}

int32_t TouchIds::Up(uint64_t key)
{
    const int32_t id = Find(key);
    ids_.erase(key);
    return id;
}

std::map<uint64_t, int32_t> TouchIds::TakeAll()
{
    std::map<uint64_t, int32_t> taken;
    taken.swap(ids_);
    return taken;
}

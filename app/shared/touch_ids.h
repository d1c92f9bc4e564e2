// Pointer ids for the fingers on a touch screen, the same on every host: a
// toolkit names each touch by a key of its own (GTK's event sequence, a
// Wayland touch id, which may be 0 and may be large); the display gets the
// smallest id from 1 that no other finger holds, for as long as the finger
// touches, so that the mouse (GR_POINTER_MOUSE, 0) is never confused with a
// finger and ids stay small.
#pragma once

#include <cstdint>
#include <map>

class TouchIds {
public:
    // A finger put down: its pointer id. A key already down (a lift the
    // toolkit never sent) keeps its id.
    int32_t Down(uint64_t key);
    // A finger moved or lifted: its pointer id, or 0 for a key that is not
    // down (a touch that began before the window had it), which the host
    // does not deliver.
    int32_t Find(uint64_t key) const;
    // A finger lifted: its id is free again. The id it had, or 0.
    int32_t Up(uint64_t key);
    // Every finger at once (a cancelled touch): the keys held with their
    // ids, all of them then free.
    std::map<uint64_t, int32_t> TakeAll();
    int Count() const { return static_cast<int>(ids_.size()); }

private:
    std::map<uint64_t, int32_t> ids_;
};

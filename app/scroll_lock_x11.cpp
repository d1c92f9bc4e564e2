#include "scroll_lock_x11.h"

#include <wx/utils.h>

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

bool indicatorLit(Display* display)
{
    static const Atom name = XInternAtom(display, "Scroll Lock", False);
    Bool on = False;
    int index = 0;
    return XkbGetNamedIndicator(display, name, &index, &on, nullptr, nullptr) && on;
}

// The core modifiers the Scroll_Lock key is bound to (xmodmap's
// "add mod3 = Scroll_Lock"); 0 when it is bound to none.
unsigned int modifiersOfTheKey(Display* display)
{
    const KeyCode key = XKeysymToKeycode(display, XK_Scroll_Lock);
    XModifierKeymap* map = key ? XGetModifierMapping(display) : nullptr;
    if (!map)
        return 0;
    unsigned int mask = 0;
    for (int modifier = 0; modifier < 8; ++modifier)
        for (int i = 0; i < map->max_keypermod; ++i)
            if (map->modifiermap[modifier * map->max_keypermod + i] == key)
                mask |= 1u << modifier;
    XFreeModifiermap(map);
    return mask;
}

}  // namespace

bool ScrollLockIsOn()
{
    Display* display = wxGetX11Display();
    if (!display)
        return false;
    if (indicatorLit(display))
        return true;
    const unsigned int mask = modifiersOfTheKey(display);
    XkbStateRec state;
    return mask != 0 && XkbGetState(display, XkbUseCoreKbd, &state) == Success && (state.locked_mods & mask) != 0;
}

// The multisampling commands: menu id, sample count and menu text.
#pragma once

#include "gr_display.h"
#include "resource_ids.h"
#include "shell_strings.h"

struct MultisamplingCommand {
    int id;
    int samples;
    const char* label;
};

inline const MultisamplingCommand kMultisamplingCommands[] = {
    {ID_MULTISAMPLING_OFF, 0, kMenuMultisamplingOff}, {ID_MULTISAMPLING_2X, 2, kMenuMultisampling2x},
    {ID_MULTISAMPLING_4X, 4, kMenuMultisampling4x},   {ID_MULTISAMPLING_8X, 8, kMenuMultisampling8x},
    {ID_MULTISAMPLING_16X, 16, kMenuMultisampling16x},
    {ID_MULTISAMPLING_EXACT, GR_EXACT_COVERAGE_SAMPLES, kMenuMultisamplingExact},
};

// The classic linear congruential generator, so that a given seed yields the
// same sequence on every platform.
#include "gr.h"

namespace {
uint32_t g_state = 1;  // the usual unseeded start
}

void grSeedRandom(uint32_t seed) { g_state = seed; }

int grRand() {
    g_state = g_state * 214013u + 2531011u;  // wraps modulo 2^32
    return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

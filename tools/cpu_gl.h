// The GL 1.1 calls the drawing library makes, carried out by the CPU
// backend: until the library hands its vertices to a backend itself, this
// stand-in (linked in place of the GL) lets the tools draw the displays
// with the CPU backend, to measure it and compare its frames.
#pragma once

#include "backends/cpu/cpu_backend.h"

cpu::CpuBackend& cpuGlBackend();

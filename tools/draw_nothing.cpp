// Preloaded into the window program by `tools/program_cpu.sh --nothing-drawn`:
// every glDrawArrays is dropped while the rest of each frame (clear, state,
// resolve, swap) runs as usual, which measures what the window's frame costs
// before the display draws anything.
#include <GL/gl.h>

extern "C" void glDrawArrays(GLenum, GLint, GLsizei) {}

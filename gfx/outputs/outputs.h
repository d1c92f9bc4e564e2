// Inside the library: what the inputs tell the outputs.
#pragma once

// An input wrote variable: an output on the same variable takes that value
// as already sent, so that a value the simulator sent is not sent back.
void outputWrittenByInput(const void* variable);

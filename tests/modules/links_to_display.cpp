// A shared module that is no display itself but links against a library
// that exports a descriptor function: looking the entry up in it finds the
// library's.
#include "gr_display.h"

extern "C" const GrDisplay* grDisplayDescriptor();

extern "C" GR_DISPLAY_EXPORTED int borrowsADisplay() { return grDisplayDescriptor() != nullptr; }

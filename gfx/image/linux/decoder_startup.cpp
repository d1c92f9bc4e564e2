#include "decoder_startup.h"

// The decoders here are plain libraries and need no start-up.
bool startImageDecoder() { return true; }

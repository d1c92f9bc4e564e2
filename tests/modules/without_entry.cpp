// A shared module that is no display: it exports no descriptor function.
extern "C" __attribute__((visibility("default"))) int notADisplay() { return 7; }

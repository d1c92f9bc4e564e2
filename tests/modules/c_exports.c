/* A display module written in C, for the check that a C module exports
   nothing but its entry. It declares the entry itself, as GR_EXPORT_DISPLAY
   does, so that the check needs nothing of the headers but a C compiler. */
int g_frame = 0;

void UpdateDisplayModel(void) { g_frame = g_frame + 1; }

__attribute__((visibility("default"))) const void* grDisplayDescriptor(void) { return 0; }

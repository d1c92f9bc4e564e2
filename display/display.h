// The entry points the generated display offers its renderer.
#pragma once

#include "model.h"

// Draws the whole display with the drawing library.
void DrawDisplay();

struct GrDisplay;

// This display's descriptor: the one the program shows unless told otherwise.
const GrDisplay& builtInDisplay();

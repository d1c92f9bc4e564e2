// Putting the three clip mechanisms into the backend and taking them out
// again. The half-plane and the rectangle share clip plane 0; plane equations are
// taken in the modelview current at the call.
#pragma once

#include "state.h"

bool validHalfPlaneSide(int side);

// Plane 0 keeps one side of a vertical (side 0, 1) or horizontal (2, 3)
// line half a pixel inside it; side must be valid.
void applyHalfPlane(int side, int value);
// Planes 0..3 keep x1 + 0.5 <= x <= x2 - 0.5, y1 + 0.5 <= y <= y2 - 0.5.
void applyRect(int x1, int y1, int x2, int y2);
// mode 0 writes ref into the stencil wherever something is drawn and draws
// nothing; any other mode draws only where the stencil equals ref.
void applyStencil(int mode, int ref);

void disableClipPlanes(int first, int last);

// Switch-offs of the current state: each touches the backend only while its
// mechanism is active, and marks it inactive.
void halfPlaneOff();
void rectOff();
void stencilOff();

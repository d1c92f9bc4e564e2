// Batched submission: consecutive draws that need the same GL state
// (texture, blending, texture coordinates, multisampling; stencil and clip
// planes are never changed under an open batch) go to the GL as one
// GL_TRIANGLES draw with a colour per vertex. Strips and fans become
// triangles in the order the GL itself splits them; where the modelview
// differs between collected draws, vertices are taken to clip coordinates
// on the processor with the same float arithmetic the GL uses, and drawn
// with identity matrices. The pixels are those of exact mode.
#pragma once

#include "backends/backend.h"
#include "gl.h"

// Collects count vertices (x, y float pairs) drawn as mode: GL_TRIANGLES,
// GL_TRIANGLE_STRIP or GL_TRIANGLE_FAN. texCoords (pairs) may be null.
void batchDraw(GLenum mode, const float* vertices, const float* texCoords, int count, const GrColor& color);

// Draws what has been collected, under the state it was collected with.
// Everything that changes GL state the batch depends on, or reads the
// framebuffer, comes after this.
void flushBatch();

// Called just before the library changes the modelview matrix.
void batchMatrixWillChange();

// The modelview matrix the GL now holds, when the library knows it (it has
// just read or loaded it), so that batching need not ask the GL.
void batchNoteModelview(const float* matrix);

// Called before the library changes stencil or clip-plane state.
void batchClipWillChange();

// Switches the colour array off again and forgets the array pointers the
// batched draws left (before other draws, at the end of a frame).
void batchRestoreArrays();

// What the batch knew of the GL's matrices and clip planes is forgotten.
void batchForgetGlState();

// Frees the batch's memory (grShutdown).
void releaseBatch();

// Largest number of vertices one batched draw carries: a draw that would
// overfill it starts the next, one bigger than it goes to the GL alone.
constexpr int kMaxBatchVertices = 1 << 18;

// The two shared scratch buffers every primitive builds its vertices in.
// They only grow (by the factor given to grInit) and are freed at grShutdown;
// contents are not kept across a growth.
#pragma once

// Largest request honoured, in pairs; beyond it a primitive draws nothing.
constexpr int kMaxScratchPairs = 1 << 24;

// True when vertexScratch holds at least n float pairs.
bool ensureVertexScratch(int n);

// True when vertexScratch holds n pairs and texCoordScratch m pairs.
bool ensureScratchPair(int n, int m);

void freeScratch();

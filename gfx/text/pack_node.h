// The rectangle packer of an atlas page: a tree of strips, columns and
// cells over the page, filled depth-first, first fit. Space once given out
// is never reclaimed.
#pragma once

struct PackNode {
    PackNode* first;   // null while the node is unsplit
    PackNode* second;  // created only when a rectangle needs it
    int x0, y0;        // low corner, in texels
    int x1, y1;        // high corner, exclusive
    unsigned char orientation;  // 0: cut into a full-width strip along y; 1: a full-height column along x
    unsigned char used;         // 1 for a cell that holds a glyph
};

struct PackSize {
    int w, h;
};

// ok is false only when a node could not be allocated (the half-built
// branch is undone); cell is null when there is no room below the node.
struct PackResult {
    bool ok;
    PackNode* cell;
};

// A new unsplit node, or null when memory is short.
PackNode* newPackNode(int x0, int y0, int x1, int y1, unsigned char orientation);

// Frees node and everything below it, children before parents.
void freePackTree(PackNode* node);

PackResult packInsert(PackNode* node, PackSize need);

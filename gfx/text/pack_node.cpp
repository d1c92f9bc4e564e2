#include "pack_node.h"

#include <new>

PackNode* newPackNode(int x0, int y0, int x1, int y1, unsigned char orientation)
{
    return new (std::nothrow) PackNode{nullptr, nullptr, x0, y0, x1, y1, orientation, 0};
}

void freePackTree(PackNode* node)
{
    if (!node)
        return;
    freePackTree(node->first);
    freePackTree(node->second);
    delete node;
}

static bool secondCanTake(const PackNode& node, PackSize need)
{
    if (node.orientation == 1)
        return need.w <= node.x1 - node.first->x1 && need.h <= node.y1 - node.y0;
    return need.w <= node.x1 - node.x0 && need.h <= node.y1 - node.first->y1;
}

// The rest of a strip beyond its first column, or the rest of an area
// beyond its first strip.
static PackNode* newSecondChild(const PackNode& node)
{
    if (node.orientation == 1)
        return newPackNode(node.first->x1, node.y0, node.x1, node.y1, 1);
    return newPackNode(node.x0, node.first->y1, node.x1, node.y1, 0);
}

static PackResult insertBelowSplit(PackNode* node, PackSize need)
{
    const PackResult inFirst = packInsert(node->first, need);
    if (!inFirst.ok || inFirst.cell)
        return inFirst;
    if (node->second)
        return packInsert(node->second, need);
    if (!secondCanTake(*node, need))
        return {true, nullptr};
    node->second = newSecondChild(*node);
    if (!node->second)
        return {false, nullptr};
    const PackResult inSecond = packInsert(node->second, need);
    if (!inSecond.ok) {
        freePackTree(node->second);
        node->second = nullptr;
    }
    return inSecond;
}

// A strip as wide as the node (orientation 0) or a column as tall as it
// (orientation 1), with the cell at its low corner.
static PackResult splitLeaf(PackNode* node, PackSize need)
{
    if (need.w > node->x1 - node->x0 || need.h > node->y1 - node->y0)
        return {true, nullptr};
    if (node->orientation == 1)
        node->first = newPackNode(node->x0, node->y0, node->x0 + need.w, node->y1, 0);
    else
        node->first = newPackNode(node->x0, node->y0, node->x1, node->y0 + need.h, 1);
    if (!node->first)
        return {false, nullptr};
    PackNode* cell = newPackNode(node->x0, node->y0, node->x0 + need.w, node->y0 + need.h, 0);
    if (!cell) {
        freePackTree(node->first);
        node->first = nullptr;
        return {false, nullptr};
    }
    cell->used = 1;
    node->first->first = cell;
    return {true, cell};
}

PackResult packInsert(PackNode* node, PackSize need)
{
    if (node->used)
        return {true, nullptr};
    if (node->first)
        return insertBelowSplit(node, need);
    return splitLeaf(node, need);
}

#pragma once

#include "files/GifPalettes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zp {

class TBitmap32;

// One node of the colour octree. Nodes live in the quantizer's pool and refer to each other by
// pool index (-1 for none).
struct TOctreeNode {
    bool IsLeaf = false;
    std::int64_t RedSum = 0;
    std::int64_t GreenSum = 0;
    std::int64_t BlueSum = 0;
    std::int64_t PixelCount = 0;
    std::array<std::int32_t, 8> Children{-1, -1, -1, -1, -1, -1, -1, -1};
    std::int32_t NextReducible = -1;
};

// Octree colour quantizer of depth 8: every colour enters the tree; whenever there are more
// leaves than MaxColors, the most recently created node of the deepest level that still has
// reducible nodes is folded into a leaf.
class TColorQuantizer {
public:
    explicit TColorQuantizer(int MaxColors);

    // One pixel, then the reductions it makes necessary.
    void AddColor(int R, int G, int B);
    // Every pixel, row by row from the top, left to right (alpha ignored). Gives the same tree
    // as AddColor pixel by pixel; runs of one colour enter at once, since only a new colour
    // can add a leaf.
    void AddBitmap(const TBitmap32& Bitmap);

    int LeafCount() const { return FLeafCount; }
    // The leaves in depth-first order (children 0 to 7), each the average of its pixels,
    // followed by black entries up to PadTo entries.
    TGifColorMap ColorTable(int PadTo) const;

private:
    static constexpr int Depth = 8;

    // Adds Count pixels of one colour; the caller reduces afterwards.
    void Insert(std::uint32_t Rgb, std::int64_t Count);
    // False when nothing is left to fold.
    bool ReduceTree();
    std::int32_t NewNode(int Level);
    void FreeNode(std::int32_t Node);
    void CollectLeaves(std::int32_t Node, TGifColorMap& Out) const;

    int FMaxColors;
    int FLeafCount = 0;
    std::vector<TOctreeNode> FNodes;
    std::vector<std::int32_t> FFree;
    std::array<std::int32_t, Depth> FReducible;
    std::int32_t FRoot = -1;

    // Exact colour -> leaf cache; an entry is valid only while no reduction has happened since
    // it was made, because a reduction is the only thing that moves a colour to another leaf.
    struct TCacheEntry {
        std::uint32_t Rgb = 0xFFFFFFFFu;
        std::uint32_t Generation = 0;
        std::int32_t Leaf = -1;
    };
    static constexpr int CacheBits = 12;
    std::vector<TCacheEntry> FCache;
    std::uint32_t FGeneration = 1;
};

} // namespace zp

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
    std::array<std::int32_t, 8> Children{-1, -1, -1, -1, -1, -1, -1, -1};
    std::int32_t NextReducible = -1;
    // The child numbers from the root, three bits a level, and the level (0 = root).
    std::uint32_t Path = 0;
    std::uint8_t Level = 0;
    bool IsLeaf = false;
    bool Alive = true;
    std::int64_t RedSum = 0;
    std::int64_t GreenSum = 0;
    std::int64_t BlueSum = 0;
    std::int64_t PixelCount = 0;
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
    std::int32_t NewNode(int Level, std::uint32_t Path);
    void CollectLeaves(std::int32_t Node, TGifColorMap& Out) const;

    int FMaxColors;
    int FLeafCount = 0;
    std::vector<TOctreeNode> FNodes;
    std::vector<std::int32_t> FFree;
    std::array<std::int32_t, Depth> FReducible;
    std::int32_t FRoot = -1;

    // Where to start walking: for the top StartLevels bits of each channel, a node on that
    // path at level StartLevels or above. Checked on use (still alive, same path), so an entry
    // left behind by a reduction or a reused node is never followed.
    static constexpr int StartLevels = 4;
    std::vector<std::int32_t> FStart;
};

} // namespace zp

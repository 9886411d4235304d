#include "files/ColorQuantizer.h"

#include "raster/Bitmap32.h"

namespace zp {

TColorQuantizer::TColorQuantizer(int MaxColors)
    : FMaxColors(MaxColors < 1 ? 1 : MaxColors), FCache(std::size_t{1} << CacheBits) {
    FReducible.fill(-1);
    FRoot = NewNode(0);
}

std::int32_t TColorQuantizer::NewNode(int Level) {
    std::int32_t Node;
    if (!FFree.empty()) {
        Node = FFree.back();
        FFree.pop_back();
        FNodes[Node] = TOctreeNode{};
    } else {
        Node = static_cast<std::int32_t>(FNodes.size());
        FNodes.emplace_back();
    }
    if (Level == Depth) {
        FNodes[Node].IsLeaf = true;
        ++FLeafCount;
    } else {
        FNodes[Node].NextReducible = FReducible[Level];
        FReducible[Level] = Node;
    }
    return Node;
}

void TColorQuantizer::FreeNode(std::int32_t Node) {
    FFree.push_back(Node);
}

void TColorQuantizer::Insert(std::uint32_t Rgb, std::int64_t Count) {
    TCacheEntry& Cached = FCache[(Rgb * 2654435761u) >> (32 - CacheBits)];
    std::int32_t Node;
    if (Cached.Rgb == Rgb && Cached.Generation == FGeneration) {
        Node = Cached.Leaf;
    } else {
        const int R = (Rgb >> 16) & 0xFF, G = (Rgb >> 8) & 0xFF, B = Rgb & 0xFF;
        Node = FRoot;
        for (int Level = 0; !FNodes[Node].IsLeaf; ++Level) {
            const int Shift = 7 - Level;
            const int Child = (((R >> Shift) & 1) << 2) | (((G >> Shift) & 1) << 1) | ((B >> Shift) & 1);
            std::int32_t Next = FNodes[Node].Children[Child];
            if (Next < 0) {
                Next = NewNode(Level + 1); // may move FNodes
                FNodes[Node].Children[Child] = Next;
            }
            Node = Next;
        }
        Cached = {Rgb, FGeneration, Node};
    }
    TOctreeNode& Leaf = FNodes[Node];
    Leaf.PixelCount += Count;
    Leaf.RedSum += static_cast<std::int64_t>((Rgb >> 16) & 0xFF) * Count;
    Leaf.GreenSum += static_cast<std::int64_t>((Rgb >> 8) & 0xFF) * Count;
    Leaf.BlueSum += static_cast<std::int64_t>(Rgb & 0xFF) * Count;
}

bool TColorQuantizer::ReduceTree() {
    int Level = Depth - 1;
    while (Level > 0 && FReducible[Level] < 0) --Level;
    const std::int32_t Node = FReducible[Level];
    if (Node < 0) return false;
    FReducible[Level] = FNodes[Node].NextReducible;

    int Children = 0;
    for (std::int32_t& Child : FNodes[Node].Children) {
        if (Child < 0) continue;
        TOctreeNode& N = FNodes[Node];
        const TOctreeNode& C = FNodes[Child];
        N.RedSum += C.RedSum;
        N.GreenSum += C.GreenSum;
        N.BlueSum += C.BlueSum;
        N.PixelCount += C.PixelCount;
        FreeNode(Child);
        Child = -1;
        ++Children;
    }
    FNodes[Node].IsLeaf = true;
    FLeafCount -= Children - 1;
    ++FGeneration;
    return true;
}

void TColorQuantizer::AddColor(int R, int G, int B) {
    Insert((static_cast<std::uint32_t>(R) << 16) | (G << 8) | B, 1);
    while (FLeafCount > FMaxColors && ReduceTree()) {}
}

void TColorQuantizer::AddBitmap(const TBitmap32& Bitmap) {
    for (int Y = 0; Y < Bitmap.Height(); ++Y) {
        const TColor32* Row = Bitmap.ScanLine(Y);
        const int W = Bitmap.Width();
        int X = 0;
        while (X < W) {
            const std::uint32_t Rgb = Row[X] & 0x00FFFFFFu;
            int End = X + 1;
            while (End < W && (Row[End] & 0x00FFFFFFu) == Rgb) ++End;
            // The first pixel may add a leaf and reduce the tree, which can move the colour to
            // an ancestor; the rest of the run then lands in that leaf and adds none.
            Insert(Rgb, 1);
            while (FLeafCount > FMaxColors && ReduceTree()) {}
            if (End - X > 1) Insert(Rgb, End - X - 1);
            X = End;
        }
    }
}

void TColorQuantizer::CollectLeaves(std::int32_t Node, TGifColorMap& Out) const {
    const TOctreeNode& N = FNodes[Node];
    if (N.IsLeaf) {
        if (N.PixelCount == 0) {
            Out.push_back({0, 0, 0});
        } else {
            Out.push_back({static_cast<std::uint8_t>(N.RedSum / N.PixelCount),
                           static_cast<std::uint8_t>(N.GreenSum / N.PixelCount),
                           static_cast<std::uint8_t>(N.BlueSum / N.PixelCount)});
        }
        return;
    }
    for (std::int32_t Child : N.Children)
        if (Child >= 0) CollectLeaves(Child, Out);
}

TGifColorMap TColorQuantizer::ColorTable(int PadTo) const {
    TGifColorMap Table;
    Table.reserve(static_cast<std::size_t>(FLeafCount > PadTo ? FLeafCount : PadTo));
    CollectLeaves(FRoot, Table);
    if (static_cast<int>(Table.size()) < PadTo) Table.resize(static_cast<std::size_t>(PadTo), TGifColor{});
    return Table;
}

} // namespace zp

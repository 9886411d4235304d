#include "files/ColorQuantizer.h"

#include "raster/Bitmap32.h"

namespace zp {

namespace {

// Spreads the four bits of V to every third bit, so that the top bits of three channels
// interleave into the child numbers of the first four levels.
constexpr std::array<std::uint32_t, 16> MakeSpread() {
    std::array<std::uint32_t, 16> T{};
    for (std::uint32_t V = 0; V < 16; ++V)
        for (int I = 0; I < 4; ++I) T[V] |= ((V >> I) & 1u) << (3 * I);
    return T;
}
constexpr std::array<std::uint32_t, 16> Spread = MakeSpread();

} // namespace

TColorQuantizer::TColorQuantizer(int MaxColors)
    : FMaxColors(MaxColors < 1 ? 1 : MaxColors), FStart(std::size_t{1} << (3 * StartLevels), -1) {
    FReducible.fill(-1);
    FRoot = NewNode(0, 0);
}

std::int32_t TColorQuantizer::NewNode(int Level, std::uint32_t Path) {
    std::int32_t Node;
    if (!FFree.empty()) {
        Node = FFree.back();
        FFree.pop_back();
        FNodes[Node] = TOctreeNode{};
    } else {
        Node = static_cast<std::int32_t>(FNodes.size());
        FNodes.emplace_back();
    }
    TOctreeNode& N = FNodes[Node];
    N.Level = static_cast<std::uint8_t>(Level);
    N.Path = Path;
    if (Level == Depth) {
        N.IsLeaf = true;
        ++FLeafCount;
    } else {
        N.NextReducible = FReducible[Level];
        FReducible[Level] = Node;
    }
    return Node;
}

void TColorQuantizer::Insert(std::uint32_t Rgb, std::int64_t Count) {
    const int R = (Rgb >> 16) & 0xFF, G = (Rgb >> 8) & 0xFF, B = Rgb & 0xFF;
    const std::uint32_t Key = (Spread[R >> 4] << 2) | (Spread[G >> 4] << 1) | Spread[B >> 4];
    std::int32_t& Start = FStart[Key];
    std::int32_t Node = FRoot;
    if (Start >= 0) {
        const TOctreeNode& S = FNodes[Start];
        if (S.Alive && S.Level <= StartLevels && S.Path == Key >> (3 * (StartLevels - S.Level))) Node = Start;
    }
    for (int Level = FNodes[Node].Level; !FNodes[Node].IsLeaf; ++Level) {
        if (Level <= StartLevels) Start = Node;
        const int Shift = 7 - Level;
        const int Child = (((R >> Shift) & 1) << 2) | (((G >> Shift) & 1) << 1) | ((B >> Shift) & 1);
        std::int32_t Next = FNodes[Node].Children[Child];
        if (Next < 0) {
            Next = NewNode(Level + 1,
                           (FNodes[Node].Path << 3) | static_cast<std::uint32_t>(Child)); // may move FNodes
            FNodes[Node].Children[Child] = Next;
        }
        Node = Next;
    }
    TOctreeNode& Leaf = FNodes[Node];
    if (Leaf.Level <= StartLevels) Start = Node;
    Leaf.PixelCount += Count;
    Leaf.RedSum += static_cast<std::int64_t>(R) * Count;
    Leaf.GreenSum += static_cast<std::int64_t>(G) * Count;
    Leaf.BlueSum += static_cast<std::int64_t>(B) * Count;
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
        FNodes[Child].Alive = false;
        FFree.push_back(Child);
        Child = -1;
        ++Children;
    }
    FNodes[Node].IsLeaf = true;
    FLeafCount -= Children - 1;
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

#include "files/AnimGif.h"
#include "files/GifImage.h"
#include "files/GifLZW.h"

#include "GifDecode.h"
#include "TestPictures.h"

#include <gtest/gtest.h>

#include <string>

namespace zp {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> Parts) {
    Bytes Out;
    for (const Bytes& P : Parts) Out.insert(Out.end(), P.begin(), P.end());
    return Out;
}

Bytes Text(const std::string& S) {
    return Bytes(S.begin(), S.end());
}

std::unique_ptr<TGIFImage> OneFrame(const TBitmap32& B, TColorReduction Reduction,
                                    TDitherMode Dither = dmNearest) {
    auto G = std::make_unique<TGIFImage>();
    G->ColorReduction = Reduction;
    G->DitherMode = Dither;
    G->Assign(B);
    return G;
}

// The image data blocks after the minimum code size byte, joined.
Bytes Unblock(const Bytes& Data, std::size_t& BlockCount, bool& AllFullButLast) {
    Bytes Out;
    BlockCount = 0;
    AllFullButLast = true;
    std::size_t P = 1;
    while (Data.at(P) != 0) {
        const std::size_t N = Data[P];
        if (BlockCount > 0 && Out.size() % 255 != 0) AllFullButLast = false;
        Out.insert(Out.end(), Data.begin() + static_cast<std::ptrdiff_t>(P + 1),
                   Data.begin() + static_cast<std::ptrdiff_t>(P + 1 + N));
        P += 1 + N;
        ++BlockCount;
    }
    EXPECT_EQ(P + 1, Data.size()) << "the terminator ends the data";
    return Out;
}

// Reads the codes as a decoder does: one more bit once the table fills the current width.
// Returns, for every clear code after the first, how many codes came since the previous one.
std::vector<int> CodesBetweenClears(const Bytes& Packed, int MinCodeSize) {
    const int Clear = 1 << MinCodeSize, End = Clear + 1;
    int Width = MinCodeSize + 1, Next = End + 1, SinceClear = -1;
    bool First = true;
    std::size_t Bit = 0;
    std::vector<int> Out;
    for (;;) {
        int Code = 0;
        for (int I = 0; I < Width; ++I, ++Bit) Code |= ((Packed.at(Bit / 8) >> (Bit % 8)) & 1) << I;
        if (Code == End) return Out;
        if (Code == Clear) {
            if (SinceClear >= 0) Out.push_back(SinceClear);
            SinceClear = 0;
            Width = MinCodeSize + 1;
            Next = End + 1;
            First = true;
            continue;
        }
        ++SinceClear;
        if (!First && Next < 4096) ++Next;
        First = false;
        if (Next == (1 << Width) && Width < 12) ++Width;
    }
}

TEST(GifStream, OneTenByTenFrameByteForByte) {
    TBitmap32 B;
    test::FillBitmap(B, 10, 10, [](int X, int Y) {
        return X < 5 ? Color32(255, 0, 0) : (Y < 5 ? Color32(0, 0, 255) : Color32(1, 2, 3));
    });
    const auto Gif = CreateAnimGif({{&B, 1000, rmNone, dmFloydSteinberg}}, 0, {}, 1);
    const Bytes S = Gif->SaveToBytes();
    const Bytes Head = Concat({Text("GIF89a"),
                               {10, 0, 10, 0, 0x11, 0, 0},
                               {0x21, 0xFF, 11},
                               Text("NETSCAPE2.0"),
                               {3, 1, 0, 0, 0},
                               {0x21, 0xF9, 4, 0, 100, 0, 0, 0},
                               {0x2C, 0, 0, 0, 0, 10, 0, 10, 0, 0x81},
                               {255, 0, 0, 0, 0, 255, 1, 2, 3, 0, 0, 0},
                               {2}});
    ASSERT_GT(S.size(), Head.size());
    EXPECT_EQ(Bytes(S.begin(), S.begin() + static_cast<std::ptrdiff_t>(Head.size())), Head);
    EXPECT_EQ(S.back(), 0x3B);
    const test::TDecodedGif D = test::DecodeGif(S);
    ASSERT_EQ(D.Images.size(), 1u);
    EXPECT_FALSE(D.HasGlobalColorMap);
    EXPECT_EQ(D.Images[0].Pixels[0], 0);
    EXPECT_EQ(D.Images[0].Pixels[5], 1);
    EXPECT_EQ(D.Images[0].Pixels[99], 2);
}

TEST(GifStream, TinyImageDataLiterally) {
    // Four equal pixels, two colours: clear 4, then 0, 6 (the string 0 0), 0 in three bits;
    // the table then reaches 8 entries, so the end code 5 takes four bits: 0x5184.
    TGIFImage G;
    G.Add(std::make_unique<TGIFSubImage>(2, 2, Bytes{0, 0, 0, 0}, TGifColorMap{{0, 0, 0}, {17, 34, 51}}));
    const Bytes Expected = Concat({Text("GIF87a"),
                                   {2, 0, 2, 0, 0x00, 0, 0},
                                   {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0x80},
                                   {0, 0, 0, 17, 34, 51},
                                   {2, 2, 0x84, 0x51, 0},
                                   {0x3B}});
    EXPECT_EQ(G.SaveToBytes(), Expected);
    EXPECT_EQ(test::DecodeGif(Expected).Images[0].Pixels, (Bytes{0, 0, 0, 0}));
}

TEST(GifStream, ColourTablesArePaddedWithBlackToAPowerOfTwo) {
    struct TCase {
        int Colors, Bits;
    };
    for (const TCase C :
         {TCase{1, 1}, TCase{2, 1}, TCase{3, 2}, TCase{5, 3}, TCase{20, 5}, TCase{129, 8}, TCase{216, 8}}) {
        TGifColorMap Map;
        for (int I = 0; I < C.Colors; ++I)
            Map.push_back({static_cast<std::uint8_t>(I), 200, static_cast<std::uint8_t>(255 - I)});
        Bytes Pixels(12);
        for (std::size_t I = 0; I < Pixels.size(); ++I)
            Pixels[I] = static_cast<std::uint8_t>(I % static_cast<std::size_t>(C.Colors));
        TGIFImage G;
        G.Add(std::make_unique<TGIFSubImage>(4, 3, Pixels, Map));
        const Bytes S = G.SaveToBytes();
        EXPECT_EQ(S[10], ((C.Bits - 1) << 4) | (C.Bits - 1)) << C.Colors;
        EXPECT_EQ(S[13 + 9], 0x80 | (C.Bits - 1)) << C.Colors;
        const std::size_t TableEnd = 13 + 10 + 3 * (std::size_t{1} << C.Bits);
        EXPECT_EQ(S[TableEnd], std::max(2, C.Bits)) << "minimum code size for " << C.Colors;
        const test::TDecodedGif D = test::DecodeGif(S);
        EXPECT_EQ(D.Images[0].ColorMap, test::PaddedColorMap(Map)) << C.Colors;
        EXPECT_EQ(D.Images[0].Pixels, Pixels) << C.Colors;
    }

    // The web palette: 216 entries written as 256, the last 40 black; no extension: 87a.
    TBitmap32 B;
    test::GradientNoisePicture(B, 20, 10, 4);
    const auto Web = OneFrame(B, rmNetscape);
    const Bytes S = Web->SaveToBytes();
    EXPECT_EQ(Bytes(S.begin(), S.begin() + 6), Text("GIF87a"));
    EXPECT_EQ(S[10], 0x77);
    EXPECT_EQ(S[13], 0x2C) << "no extension in front of the image";
    const test::TDecodedGif D = test::DecodeGif(S);
    ASSERT_EQ(D.Images[0].ColorMap.size(), 256u);
    EXPECT_EQ(D.Images[0].ColorMap[215], (TGifColor{255, 255, 255}));
    for (std::size_t I = 216; I < 256; ++I) EXPECT_EQ(D.Images[0].ColorMap[I], TGifColor{});
    EXPECT_EQ(D.Images[0].Pixels, Web->Images(0).Pixels());
}

TEST(GifStream, TableRestartsWithAClearCodeBeforeCode4095) {
    // Noise hardly repeats, so the table fills often; with four colours strings grow longer
    // and the picture must be larger.
    for (int Bits : {8, 2}) {
        test::TNoise N(static_cast<std::uint32_t>(Bits));
        const int W = Bits == 8 ? 200 : 600, H = Bits == 8 ? 150 : 500;
        Bytes Pixels(static_cast<std::size_t>(W * H));
        for (auto& P : Pixels) P = static_cast<std::uint8_t>(N.Range(0, (1 << Bits) - 1));
        TGifColorMap Map(std::size_t{1} << Bits);
        const Bytes Data =
            EncodeGifImageData(Pixels.data(), Pixels.size(), Bits, static_cast<int>(Map.size()));
        std::size_t Blocks;
        bool Full;
        const Bytes Packed = Unblock(Data, Blocks, Full);
        EXPECT_TRUE(Full) << "every block but the last holds 255 bytes";
        EXPECT_GT(Blocks, 10u);
        const int MinCodeSize = std::max(2, Bits);
        const std::vector<int> Between = CodesBetweenClears(Packed, MinCodeSize);
        ASSERT_GE(Between.size(), 3u);
        // After a clear the next code is End + 1; strings get codes up to 4094, and the code
        // written when 4095 would be next is followed by the clear.
        const int Expected = 4095 - ((1 << MinCodeSize) + 2) + 1;
        for (int Count : Between) EXPECT_EQ(Count, Expected);

        TGIFImage G;
        G.Add(std::make_unique<TGIFSubImage>(W, H, Pixels, Map));
        EXPECT_EQ(test::DecodeGif(G.SaveToBytes()).Images[0].Pixels, Pixels);
    }
}

TEST(GifStream, ExtensionsOfAnAnimation) {
    TBitmap32 A, B, C;
    test::FillBitmap(A, 10, 4, [](int X, int) { return Color32(static_cast<unsigned>(X * 20), 0, 0); });
    test::FillBitmap(B, 6, 9, [](int, int Y) { return Color32(0, static_cast<unsigned>(Y * 20), 0); });
    test::FillBitmap(C, 3, 3, [](int, int) { return Color32(0, 0, 9); });
    const auto Gif = CreateAnimGif({{&A, 1000, rmNone, dmNearest},
                                    {&B, 105, rmQuantize, dmFloydSteinberg},
                                    {&C, 9, rmMonochrome, dmStucki}},
                                   3);
    const test::TDecodedGif D = test::DecodeGif(Gif->SaveToBytes());
    // The logical screen covers the largest frame in each direction; every image sits at 0, 0.
    EXPECT_EQ(D.Width, 10);
    EXPECT_EQ(D.Height, 9);
    ASSERT_EQ(D.Images.size(), 3u);
    const int Sizes[3][2] = {{10, 4}, {6, 9}, {3, 3}};
    for (int I = 0; I < 3; ++I) {
        EXPECT_EQ(D.Images[static_cast<std::size_t>(I)].Left, 0);
        EXPECT_EQ(D.Images[static_cast<std::size_t>(I)].Top, 0);
        EXPECT_EQ(D.Images[static_cast<std::size_t>(I)].Width, Sizes[I][0]);
        EXPECT_EQ(D.Images[static_cast<std::size_t>(I)].Height, Sizes[I][1]);
    }
    // Loop count only in the first image, in front of its graphic control extension.
    EXPECT_EQ(D.Images[0].Loops(), 3);
    EXPECT_EQ(D.Images[0].Extensions.front().Function, APPLICATION_EXT_FUNC_CODE);
    EXPECT_EQ(D.Images[0].Extensions.back().Function, GRAPHICS_EXT_FUNC_CODE);
    EXPECT_EQ(D.Images[1].Loops(), -1);
    EXPECT_EQ(D.Images[1].Extensions.size(), 1u);
    EXPECT_EQ(D.Images[2].Loops(), -1);
    // Hundredths, truncated.
    EXPECT_EQ(D.Images[0].Delay(), 100);
    EXPECT_EQ(D.Images[1].Delay(), 10);
    EXPECT_EQ(D.Images[2].Delay(), 0);
    // Packed fields 0: no disposal, no user input, no transparency; transparent index 0.
    EXPECT_EQ(D.Images[1].Extensions[0].Bytes, (Bytes{0, 10, 0, 0}));
}

TEST(GifStream, AddBitmapToGifKeepsTheLow16Bits) {
    TBitmap32 B;
    test::FillBitmap(B, 2, 2, [](int, int) { return clWhite32; });
    const auto Source = OneFrame(B, rmMonochrome);
    TGIFImage G;
    EXPECT_EQ(AddBitmapToGif(G, *Source, 655370, 70000), 0);
    EXPECT_EQ(AddBitmapToGif(G, *Source, -15, 5), 1);
    const auto& Loop = dynamic_cast<const TGIFAppExtNSLoop&>(*G.Images(0).Extensions[0]);
    EXPECT_EQ(Loop.Loops, 70000 & 0xFFFF);
    EXPECT_EQ(dynamic_cast<const TGIFGraphicControlExtension&>(*G.Images(0).Extensions[1]).Delay,
              65537 & 0xFFFF);
    EXPECT_EQ(dynamic_cast<const TGIFGraphicControlExtension&>(*G.Images(1).Extensions[0]).Delay, 0xFFFF);
    EXPECT_EQ(G.Images(1).Extensions.size(), 1u);
    TGIFImage Empty;
    EXPECT_EQ(AddBitmapToGif(G, Empty, 100, 0), -1);

    // Moving the picture in gives the same image and leaves the source without it.
    const auto Moved = OneFrame(B, rmMonochrome);
    EXPECT_EQ(AddBitmapToGif(G, std::move(*Moved), 30, 5), 2);
    EXPECT_EQ(Moved->Count(), 0);
    EXPECT_EQ(G.Images(2).Pixels(), Source->Images(0).Pixels());
    EXPECT_EQ(G.Images(2).ColorMap(), Source->Images(0).ColorMap());
    EXPECT_EQ(G.Images(2).Extensions.size(), 1u);
}

TEST(GifStream, IndicesOutsideTheColourTableStopTheWriter) {
    TGIFImage G;
    G.Add(std::make_unique<TGIFSubImage>(2, 1, Bytes{0, 0}, TGifColorMap{{1, 1, 1}}));
    G.Add(std::make_unique<TGIFSubImage>(2, 1, Bytes{2, 3}, TGifColorMap(3)));
    Bytes Out{7, 7};
    try {
        G.SaveToStream(Out);
        FAIL() << "written";
    } catch (const EGIFError& E) {
        EXPECT_STREQ(E.what(), "Color not in color table");
    }
    EXPECT_EQ(Out, (Bytes{7, 7})) << "nothing written";
}

TEST(GifStream, SizesBeyondSixteenBitsAreRefused) {
    EXPECT_THROW(TGIFSubImage(70000, 1, Bytes(70000), TGifColorMap(2)), EGIFError);
    TBitmap32 B;
    B.SetSize(65536, 1);
    TGIFImage G;
    EXPECT_THROW(G.Assign(B), EGIFError);
    EXPECT_EQ(G.Count(), 0);
    TGIFImage Shifted;
    auto Image = std::make_unique<TGIFSubImage>(40000, 1, Bytes(40000), TGifColorMap(2));
    Image->Left = 30000;
    Shifted.Add(std::move(Image));
    EXPECT_THROW(Shifted.SaveToBytes(), EGIFError);
}

} // namespace
} // namespace zp

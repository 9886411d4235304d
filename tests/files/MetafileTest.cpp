#include "CodecTestSupport.h"

#include "files/FileError.h"
#include "files/Metafile.h"
#include "files/PictureFiles.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace zp {
namespace {

using namespace test;

constexpr TColor32 Clear = 0x00FFFFFFu; // nothing drawn: the white drawing, alpha 0

void Put16(TBytes& B, std::uint32_t V) {
    B.push_back(static_cast<std::uint8_t>(V));
    B.push_back(static_cast<std::uint8_t>(V >> 8));
}
void Put32(TBytes& B, std::uint32_t V) {
    Put16(B, V & 0xFFFF);
    Put16(B, V >> 16);
}
void Patch32(TBytes& B, std::size_t At, std::uint32_t V) {
    for (int I = 0; I < 4; ++I) B[At + I] = static_cast<std::uint8_t>(V >> (8 * I));
}

// An EMF written field by field. The reference device has 96 pixels to 25.4 mm, so device
// units are the picture's pixels.
class TEmf {
public:
    TEmf(std::int32_t FrameRight, std::int32_t FrameBottom) {
        for (std::uint32_t V : {1u,
                                108u,
                                0u,
                                0u,
                                0u,
                                0u,
                                0u,
                                0u,
                                static_cast<std::uint32_t>(FrameRight),
                                static_cast<std::uint32_t>(FrameBottom),
                                0x464D4520u,
                                0x10000u,
                                0u,
                                0u,
                                4u,
                                0u,
                                0u,
                                0u,
                                960u,
                                960u,
                                254u,
                                254u,
                                0u,
                                0u,
                                0u,
                                254000u,
                                254000u})
            Put32(FData, V);
    }
    TEmf& Record(std::uint32_t Type, std::initializer_list<std::uint32_t> Params) {
        Put32(FData, Type);
        Put32(FData, static_cast<std::uint32_t>(8 + 4 * Params.size()));
        for (std::uint32_t V : Params) Put32(FData, V);
        ++FRecords;
        return *this;
    }
    TEmf& Raw(const TBytes& Record) {
        FData.insert(FData.end(), Record.begin(), Record.end());
        ++FRecords;
        return *this;
    }
    TBytes Bytes() const {
        TBytes B = FData;
        Put32(B, 14), Put32(B, 20), Put32(B, 0), Put32(B, 16), Put32(B, 20);
        Patch32(B, 48, static_cast<std::uint32_t>(B.size()));
        Patch32(B, 52, FRecords + 2);
        return B;
    }

private:
    TBytes FData;
    std::uint32_t FRecords = 0;
};

// A WMF with a placeable header, records as 16-bit words.
class TWmf {
public:
    TWmf(std::int16_t Right, std::int16_t Bottom, std::uint16_t Inch) {
        Put32(FData, 0x9AC6CDD7u);
        std::uint16_t Sum = 0xCDD7 ^ 0x9AC6;
        for (std::uint16_t V : {std::uint16_t(0), std::uint16_t(0), std::uint16_t(0), std::uint16_t(Right),
                                std::uint16_t(Bottom), Inch, std::uint16_t(0), std::uint16_t(0)}) {
            Put16(FData, V);
            Sum ^= V;
        }
        Put16(FData, Sum);
        for (std::uint16_t V : {1, 9, 0x300, 0, 0, 4, 0, 0, 0}) Put16(FData, V);
    }
    TWmf& Record(std::uint16_t Function, std::initializer_list<std::int32_t> Words) {
        Put32(FData, static_cast<std::uint32_t>(3 + Words.size()));
        Put16(FData, Function);
        for (std::int32_t W : Words) Put16(FData, static_cast<std::uint16_t>(W));
        return *this;
    }
    TBytes Bytes() const {
        TBytes B = FData;
        Put32(B, 3), Put16(B, 0);
        Patch32(B, 22 + 6, static_cast<std::uint32_t>((B.size() - 22) / 2));
        return B;
    }

private:
    TBytes FData;
};

// Record numbers and values, named as in the file formats.
enum : std::uint32_t {
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETMAPMODE = 17,
    EMR_SETROP2 = 20,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_POLYGON = 3,
    EMR_POLYGON16 = 86,
    EMR_RECTANGLE = 43,
    EMR_STRETCHDIBITS = 81,
    NULL_PEN = 0x80000008,
    R2_XORPEN = 7
};

std::uint32_t FloatBits(float F) {
    return std::bit_cast<std::uint32_t>(F);
}

TEmf& SolidBrush(TEmf& E, std::uint32_t Index, std::uint32_t ColorRef) {
    return E.Record(EMR_CREATEBRUSHINDIRECT, {Index, 0, ColorRef, 0})
        .Record(EMR_SELECTOBJECT, {Index})
        .Record(EMR_SELECTOBJECT, {NULL_PEN});
}

// The pixels inside Box (left, top, right, bottom; right and bottom excluded) are Inside, all
// others Outside.
void ExpectBoxes(const TBitmap32& B, const std::vector<std::pair<std::array<int, 4>, TColor32>>& Boxes,
                 TColor32 Outside = Clear) {
    int Wrong = 0;
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X) {
            TColor32 Want = Outside;
            for (const auto& [R, C] : Boxes)
                if (X >= R[0] && X < R[2] && Y >= R[1] && Y < R[3]) Want = C;
            if (B.Pixel(X, Y) != Want && Wrong++ < 5)
                ADD_FAILURE() << "pixel " << X << "," << Y << " is " << std::hex << B.Pixel(X, Y) << ", not "
                              << Want;
        }
    EXPECT_EQ(Wrong, 0);
}

// One red rectangle in a placeable WMF: the bounding box at 96 dpi gives the size, and the
// window, where the records set one, maps onto it.
TEST(Metafiles, PlaceableWmfRectangleHasExactPixels) {
    const auto Rectangle = [](TWmf W) {
        return W
            .Record(0x02FA, {5, 0, 0, 0, 0})   // CreatePenIndirect(PS_NULL)
            .Record(0x012D, {0})               // SelectObject
            .Record(0x02FC, {0, 0x00FF, 0, 0}) // CreateBrushIndirect(solid, red)
            .Record(0x012D, {1})
            .Record(0x041B, {8, 10, 4, 2}) // Rectangle(2, 4, 10, 8)
            .Bytes();
    };
    const auto A = DecodeWMF(Rectangle(TWmf(16, 12, 96)));
    ASSERT_EQ(A->Width(), 16);
    ASSERT_EQ(A->Height(), 12);
    ExpectBoxes(*A, {{{2, 4, 10, 8}, 0xFFFF0000u}});

    // 960 units an inch, ten a pixel: the rectangle shrinks to one pixel.
    const auto B = DecodeWMF(Rectangle(TWmf(160, 120, 960)));
    ASSERT_EQ(B->Width(), 16);
    ExpectBoxes(*B, {{{0, 0, 1, 1}, 0xFFFF0000u}});

    // A window of twice the box's extent halves everything.
    TWmf Windowed(16, 12, 96);
    Windowed.Record(0x020B, {0, 0}).Record(0x020C, {24, 32});
    const auto C = DecodeWMF(Rectangle(Windowed));
    ExpectBoxes(*C, {{{1, 2, 5, 4}, 0xFFFF0000u}});
}

// The blits of a WMF that carry no bitmap (their size is the parameter count in the function's
// high byte plus three) fill their destination with the brush or a fixed colour.
TEST(Metafiles, WmfBlitsWithoutABitmapFillTheirDestination) {
    TWmf W(16, 12, 96);
    W.Record(0x02FC, {0, 0x00FF, 0, 0})                                // CreateBrushIndirect(solid, red)
        .Record(0x012D, {0})                                           // SelectObject
        .Record(0x0940, {0x0021, 0x00F0, 0, 0, 0, 4, 8, 4, 2})         // DibBitBlt(PATCOPY) 2,4 8x4
        .Record(0x0B41, {0x0062, 0x00FF, 1, 1, 0, 0, 0, 2, 3, 9, 12}); // DibStretchBlt(WHITENESS)
    const auto Picture = DecodeWMF(W.Bytes());
    ExpectBoxes(*Picture, {{{2, 4, 10, 8}, 0xFFFF0000u}, {{12, 9, 15, 11}, 0xFFFFFFFFu}});
}

// Polygons with 32- and 16-bit points, the world transform and SaveDC/RestoreDC.
TEST(Metafiles, EmfPolygonsFollowTheWorldTransformAndSavedStates) {
    TEmf E(2540, 1270);         // 25.4 mm x 12.7 mm: 96 x 48 pixels
    SolidBrush(E, 1, 0xFF0000); // blue
    E.Record(EMR_POLYGON, {0, 0, 0, 0, 4, 10, 5, 40, 5, 40, 20, 10, 20})
        .Record(EMR_SAVEDC, {})
        .Record(EMR_MODIFYWORLDTRANSFORM,
                {FloatBits(2), 0, 0, FloatBits(2), FloatBits(50), FloatBits(10), 2}) // scale 2, then move
        .Record(EMR_POLYGON16, {0, 0, 0, 0, 4, 0, 5, 5 | (5 << 16), 5 << 16})
        .Record(EMR_RESTOREDC, {0xFFFFFFFFu})
        .Record(EMR_POLYGON16,
                {0, 0, 0, 0, 4, 70 | (30 << 16), 80 | (30 << 16), 80 | (40 << 16), 70 | (40 << 16)});
    const auto B = DecodeEMF(E.Bytes());
    ASSERT_EQ(B->Width(), 96);
    ASSERT_EQ(B->Height(), 48);
    ExpectBoxes(
        *B,
        {{{10, 5, 40, 20}, 0xFF0000FFu}, {{50, 10, 60, 20}, 0xFF0000FFu}, {{70, 30, 80, 40}, 0xFF0000FFu}});
}

// Window and viewport: the anisotropic mapping stretches, the metric ones count y upwards.
TEST(Metafiles, EmfMapModes) {
    TEmf E(2540, 2540);
    SolidBrush(E, 1, 0x00FF00);
    E.Record(EMR_SETMAPMODE, {8})
        .Record(EMR_SETWINDOWORGEX, {10, 10})
        .Record(EMR_SETWINDOWEXTEX, {10, 10})
        .Record(EMR_SETVIEWPORTEXTEX, {20, 10})
        .Record(EMR_RECTANGLE, {10, 10, 15, 20}) // page (0,0)-(5,10) -> device (0,0)-(10,10)
        .Record(EMR_SETMAPMODE, {2})             // MM_LOMETRIC: 0.1 mm, y up
        .Record(EMR_SETWINDOWORGEX, {0, 0})
        .Record(EMR_RECTANGLE,
                {127, static_cast<std::uint32_t>(-127), 254, static_cast<std::uint32_t>(-254)});
    ExpectBoxes(*DecodeEMF(E.Bytes()), {{{0, 0, 10, 10}, 0xFF00FF00u}, {{48, 48, 96, 96}, 0xFF00FF00u}});
}

// Drawn once on white and once on red: an XOR pen gives yellow on white and magenta on red, so
// those pixels keep the white drawing's colour with alpha 0.
TEST(Metafiles, PixelsThatDependOnTheBackgroundAreTransparent) {
    TEmf E(2540, 1270);
    SolidBrush(E, 1, 0xFF0000);
    E.Record(EMR_RECTANGLE, {0, 0, 10, 10})
        .Record(EMR_SETROP2, {R2_XORPEN})
        .Record(EMR_RECTANGLE, {20, 0, 30, 10});
    ExpectBoxes(*DecodeEMF(E.Bytes()), {{{0, 0, 10, 10}, 0xFF0000FFu}, {{20, 0, 30, 10}, 0x00FFFF00u}});
}

// Pies run counter-clockwise from the start to the end radial unless the arc direction says
// otherwise; clip rectangles intersect and exclude, and RestoreDC brings the old clip back.
TEST(Metafiles, EmfArcDirectionAndClipping) {
    TEmf E(2540, 1270);
    SolidBrush(E, 1, 0x0000FF);
    E.Record(47, {0, 0, 40, 40, 40, 20, 20, 0}) // Pie from 3 to 12 o'clock
        .Record(57, {2})                        // SetArcDirection(clockwise)
        .Record(47, {50, 0, 90, 40, 90, 20, 70, 0})
        .Record(EMR_SAVEDC, {})
        .Record(30, {0, 44, 48, 48})  // IntersectClipRect
        .Record(29, {10, 44, 20, 48}) // ExcludeClipRect
        .Record(EMR_RECTANGLE, {0, 42, 96, 48})
        .Record(EMR_RESTOREDC, {0xFFFFFFFFu})
        .Record(EMR_RECTANGLE, {60, 44, 70, 48});
    const auto B = DecodeEMF(E.Bytes());
    const TColor32 Red = 0xFFFF0000u;
    EXPECT_EQ(B->Pixel(30, 10), Red);
    for (auto [X, Y] : {std::pair{10, 10}, {10, 30}, {30, 30}, {80, 10}})
        EXPECT_EQ(B->Pixel(X, Y), Clear) << X << "," << Y;
    for (auto [X, Y] : {std::pair{60, 10}, {60, 30}, {80, 30}})
        EXPECT_EQ(B->Pixel(X, Y), Red) << X << "," << Y;
    for (int Y = 40; Y < 48; ++Y)
        for (int X = 0; X < 96; ++X) {
            const bool Inside = Y >= 44 && ((X < 10) || (X >= 20 && X < 48) || (X >= 60 && X < 70));
            ASSERT_EQ(B->Pixel(X, Y), Inside ? Red : Clear) << X << "," << Y;
        }
}

// STRETCHDIBITS of an 8-bit palette DIB stored bottom-up and a 24-bit one stored top-down,
// both 2 x 2 stretched to 4 x 4 without smoothing.
TEST(Metafiles, EmfBitmapsKeepTheirRowOrderAndPalette) {
    const auto Dib = [](std::int32_t Height, std::uint16_t Bits, const TBytes& Palette, const TBytes& Rows) {
        TBytes Info;
        Put32(Info, 40), Put32(Info, 2), Put32(Info, static_cast<std::uint32_t>(Height)), Put16(Info, 1);
        Put16(Info, Bits), Put32(Info, 0), Put32(Info, 0), Put32(Info, 0), Put32(Info, 0);
        Put32(Info, static_cast<std::uint32_t>(Palette.size() / 4)), Put32(Info, 0);
        Info.insert(Info.end(), Palette.begin(), Palette.end());
        return std::pair{Info, Rows};
    };
    const auto Stretch = [](std::int32_t X, const std::pair<TBytes, TBytes>& D) {
        TBytes R;
        const auto Size = static_cast<std::uint32_t>(80 + D.first.size() + D.second.size());
        for (std::uint32_t V : {81u,
                                Size,
                                0u,
                                0u,
                                0u,
                                0u,
                                static_cast<std::uint32_t>(X),
                                0u,
                                0u,
                                0u,
                                2u,
                                2u,
                                80u,
                                static_cast<std::uint32_t>(D.first.size()),
                                static_cast<std::uint32_t>(80 + D.first.size()),
                                static_cast<std::uint32_t>(D.second.size()),
                                0u,
                                0x00CC0020u,
                                4u,
                                4u})
            Put32(R, V);
        R.insert(R.end(), D.first.begin(), D.first.end());
        R.insert(R.end(), D.second.begin(), D.second.end());
        return R;
    };
    // Palette: red, green, blue, black (B, G, R, 0). Bottom row first: 2 3 / 0 1 from the top.
    const auto Palette8 =
        Dib(2, 8, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 2, 3, 0, 0});
    // Top-down 24-bit: white, yellow / cyan, magenta; rows padded to 8 bytes.
    const auto True24 = Dib(-2, 24, {}, {255, 255, 255, 0, 255, 255, 0, 0, 255, 255, 0, 255, 0, 255, 0, 0});
    TEmf E(2540, 1270);
    E.Raw(Stretch(0, Palette8)).Raw(Stretch(8, True24));
    const auto B = DecodeEMF(E.Bytes());
    ExpectBoxes(*B, {{{0, 0, 2, 2}, 0xFF0000FFu},
                     {{2, 0, 4, 2}, 0xFF000000u},
                     {{0, 2, 2, 4}, 0xFFFF0000u},
                     {{2, 2, 4, 4}, 0xFF00FF00u},
                     {{8, 0, 10, 2}, 0xFFFFFFFFu},
                     {{10, 0, 12, 2}, 0xFFFFFF00u},
                     {{8, 2, 10, 4}, 0xFF00FFFFu},
                     {{10, 2, 12, 4}, 0xFFFF00FFu}});
}

std::filesystem::path MetafileFolder() {
    return std::filesystem::path(ZP_TEST_DATA_DIR) / "metafiles";
}

// Both pictures over white, each channel averaged over 3 x 3 pixels: what is left of the
// difference between anti-aliased and aliased edges is small, a missing or misplaced shape
// stays large.
std::vector<double> Blurred(int W, int H, const std::function<TColor32(int, int)>& Pixel) {
    std::vector<double> Over(static_cast<std::size_t>(W) * H * 3), Out(Over.size());
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const TColor32 C = Pixel(X, Y);
            const double A = AlphaComponent(C) / 255.0;
            const unsigned Channels[3] = {RedComponent(C), GreenComponent(C), BlueComponent(C)};
            for (int K = 0; K < 3; ++K)
                Over[(static_cast<std::size_t>(Y) * W + X) * 3 + K] = Channels[K] * A + 255 * (1 - A);
        }
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            for (int K = 0; K < 3; ++K) {
                double Sum = 0;
                int N = 0;
                for (int DY = -1; DY <= 1; ++DY)
                    for (int DX = -1; DX <= 1; ++DX) {
                        const int SX = X + DX, SY = Y + DY;
                        if (SX < 0 || SY < 0 || SX >= W || SY >= H) continue;
                        Sum += Over[(static_cast<std::size_t>(SY) * W + SX) * 3 + K];
                        ++N;
                    }
                Out[(static_cast<std::size_t>(Y) * W + X) * 3 + K] = Sum / N;
            }
    return Out;
}

// The share of pixels whose blurred colours differ by more than a third of the range.
double FarOffShare(const std::vector<double>& A, const std::vector<double>& B) {
    int Far = 0;
    for (std::size_t I = 0; I < A.size(); I += 3) {
        double D = 0;
        for (int K = 0; K < 3; ++K) D = std::max(D, std::abs(A[I + K] - B[I + K]));
        Far += D > 85;
    }
    return double(Far) / static_cast<double>(A.size() / 3);
}

// The drawings exported by Inkscape as EMF and WMF against its own PNG export of the same
// drawing at the same size (an EMF's frame is rounded up to whole millimetres). Edges differ:
// we draw without anti-aliasing, and the white/red comparison clears partly covered pixels.
TEST(Metafiles, InkscapeExportsMatchTheirPngRendering) {
    for (const char* Name : {"shapes", "text", "image"})
        for (const char* Ext : {"emf", "wmf"}) {
            const std::string File = std::string(Name) + "." + Ext;
            SCOPED_TRACE(File);
            const TLibpngImage Want = ReadPngWithLibpng(
                ReadFileBytes((MetafileFolder() / (std::string(Name) + "-" + Ext + ".png")).string()));
            ASSERT_TRUE(Want.Ok);
            const auto Got =
                LoadLayerPictureFromFile(QString::fromStdString((MetafileFolder() / File).string()));
            ASSERT_EQ(Got->Width(), Want.Width);
            ASSERT_EQ(Got->Height(), Want.Height);
            const int W = Want.Width, H = Want.Height;
            int CoverageDiffers = 0;
            for (int Y = 0; Y < H; ++Y)
                for (int X = 0; X < W; ++X)
                    CoverageDiffers += (AlphaComponent(Got->Pixel(X, Y)) == 255) !=
                                       (AlphaComponent(Want.Pixel(X, Y)) >= 128);
            const auto Ours = Blurred(W, H, [&](int X, int Y) { return Got->Pixel(X, Y); });
            const auto Theirs = Blurred(W, H, [&](int X, int Y) { return Want.Pixel(X, Y); });
            double Mean = 0;
            for (std::size_t I = 0; I < Ours.size(); ++I) Mean += std::abs(Ours[I] - Theirs[I]);
            Mean /= static_cast<double>(Ours.size());
            // Leaving out the smallest part (the word "Gif") makes 0.4 % of the pixels far
            // off, a shift by two pixels 3 %; a lost transparency changes half the coverage.
            EXPECT_LT(FarOffShare(Ours, Theirs), 0.002);
            EXPECT_LT(Mean, 5.0);
            EXPECT_LT(double(CoverageDiffers) / (W * H), 0.01);
        }
}

// Damaged files fail with a file error, never a crash, a hang or a partial picture.
TEST(Metafiles, DamagedFilesFail) {
    TEmf Good(2540, 1270);
    SolidBrush(Good, 1, 0xFF0000).Record(EMR_POLYGON, {0, 0, 0, 0, 3, 10, 5, 40, 5, 40, 20});
    const TBytes Emf = Good.Bytes();
    ASSERT_NO_THROW(DecodeEMF(Emf));
    const auto Changed = [&](std::size_t At, std::uint32_t V) {
        TBytes B = Emf;
        Patch32(B, At, V);
        return B;
    };
    const std::size_t Polygon = 108 + 24 + 12 + 12; // after the brush and the two selections
    const auto Kind = [](const TBytes& B) {
        try {
            DecodeEMF(B);
        } catch (const EFileError& E) {
            return E.Kind();
        }
        return fekRead;
    };
    EXPECT_EQ(Kind(Changed(Polygon + 24, 1000)), fekMalformed); // more points than the record holds
    EXPECT_EQ(Kind(Changed(Polygon + 4, 0)), fekMalformed);     // a record of size 0
    EXPECT_EQ(Kind(Changed(Polygon + 4, 1u << 30)), fekTruncated);
    EXPECT_EQ(Kind(Changed(40, 0x12345678)), fekMalformed);  // signature
    EXPECT_EQ(Kind(Changed(32, 0x7FFFFFFF)), fekTooLarge);   // frame of 21 km
    EXPECT_EQ(Kind(Changed(32, 0)), fekMalformed);           // zero width
    EXPECT_EQ(Kind(TEmf(2540, 1270).Bytes()), fekMalformed); // nothing drawn
    EXPECT_EQ(Kind({}), fekTruncated);
    // Cut anywhere, the file lacks its end record.
    for (std::size_t N = 0; N < Emf.size(); ++N)
        EXPECT_THROW(DecodeEMF(std::span(Emf).first(N)), EFileError) << N << " bytes";

    TWmf GoodWmf(16, 12, 96);
    GoodWmf.Record(0x02FC, {0, 0x00FF, 0, 0}).Record(0x012D, {0}).Record(0x0324, {3, 1, 1, 9, 1, 9, 9});
    const TBytes Wmf = GoodWmf.Bytes();
    ASSERT_NO_THROW(DecodeWMF(Wmf));
    TBytes Points = Wmf;
    Points[22 + 18 + 14 + 8 + 6] = 200; // polygon of 200 points in 7 words
    EXPECT_THROW(DecodeWMF(Points), EFileError);
    TBytes Empty = Wmf;
    Patch32(Empty, 22 + 18, 0);
    EXPECT_THROW(DecodeWMF(Empty), EFileError);
    for (std::size_t N = 0; N < Wmf.size(); ++N)
        EXPECT_THROW(DecodeWMF(std::span(Wmf).first(N)), EFileError) << N << " bytes";
}

// Random damage to the files from Inkscape gives a picture or a file error.
TEST(Metafiles, RandomlyDamagedFilesGiveAPictureOrAFileError) {
    TDecodeLimits Small;
    Small.MaxPixels = 1 << 22;
    TCodecNoise N(11);
    for (const char* Name : {"shapes.emf", "shapes.wmf", "text.emf", "text.wmf", "image.emf", "image.wmf"}) {
        const TBytes Original = ReadFileBytes((MetafileFolder() / Name).string());
        for (int Round = 0; Round < 300; ++Round) {
            TBytes Data = Original;
            const int Changes = 1 + static_cast<int>(N.Next() % 4);
            for (int I = 0; I < Changes; ++I) Data[N.Next() % Data.size()] = N.Byte();
            try {
                DecodeEMF(Data, Small);
            } catch (const EFileError&) {}
        }
    }
}

// The layer loader opens metafiles by extension in any case, a WMF named ".emf" by its content,
// and names the file in its errors.
TEST(Metafiles, LayerLoaderOpensMetafiles) {
    QTemporaryDir Dir;
    const auto Write = [&](const char* Name, const TBytes& Data) {
        QFile F(Dir.filePath(Name));
        EXPECT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(reinterpret_cast<const char*>(Data.data()), static_cast<qint64>(Data.size()));
        return Dir.filePath(Name);
    };
    TWmf W(16, 12, 96);
    const TBytes Wmf =
        W.Record(0x02FC, {0, 0x00FF, 0, 0}).Record(0x012D, {0}).Record(0x041B, {8, 10, 4, 2}).Bytes();
    EXPECT_EQ(LoadLayerPictureFromFile(Write("bild.WMF", Wmf))->Width(), 16);
    EXPECT_EQ(LoadLayerPictureFromFile(Write("falsch.emf", Wmf))->Pixel(5, 5), 0xFFFF0000u);
    try {
        LoadLayerPictureFromFile(Write("kaputt.emf", {1, 0, 0, 0}));
        ADD_FAILURE() << "no error";
    } catch (const EFileError& E) {
        EXPECT_NE(std::string(E.what()).find("kaputt.emf"), std::string::npos) << E.what();
    }
}

} // namespace
} // namespace zp

#include "gfx/Graphics.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zp {
namespace {

std::shared_ptr<TGPImage> Sample() {
    QImage I(4, 3, QImage::Format_ARGB32);
    for (int Y = 0; Y < 3; ++Y)
        for (int X = 0; X < 4; ++X)
            I.setPixel(X, Y, ((40 + 60 * X + Y) << 24) | (X * 50) << 16 | (Y * 90) << 8 | 7);
    I.setPixel(3, 2, 0x00FFFFFF);
    return std::make_shared<TGPImage>(I);
}

void ExpectSamePixels(const TGPImage& A, const TGPImage& B) {
    ASSERT_EQ(A.Width(), B.Width());
    ASSERT_EQ(A.Height(), B.Height());
    for (int Y = 0; Y < A.Height(); ++Y)
        for (int X = 0; X < A.Width(); ++X) ASSERT_EQ(A.Pixel(X, Y), B.Pixel(X, Y)) << X << "," << Y;
}

TEST(Image, PngStreamKeepsStraightAlphaExactly) {
    const auto Original = Sample();
    const QByteArray Png = Original->SaveToPngStream();
    ASSERT_TRUE(Png.startsWith("\x89PNG"));
    ExpectSamePixels(*Original, *TGPImage::FromStream(Png));
}

TEST(Image, LoadsFilesAndRefusesMissingOrCorruptOnes) {
    QTemporaryDir Dir;
    ASSERT_TRUE(Dir.isValid());
    const QString Good = Dir.filePath("good.png");
    {
        QFile F(Good);
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Sample()->SaveToPngStream());
    }
    ExpectSamePixels(*Sample(), *TGPImage::FromFile(Good));

    try {
        TGPImage::FromFile(Dir.filePath("missing.png"));
        FAIL() << "no error";
    } catch (const EGdipError& E) {
        EXPECT_EQ(E.Status(), FileNotFound);
    }
    QByteArray Broken = Sample()->SaveToPngStream();
    Broken.truncate(30);
    for (const QByteArray& Bad : {Broken, QByteArray("not a picture at all"), QByteArray()}) {
        try {
            TGPImage::FromStream(Bad);
            FAIL() << "no error";
        } catch (const EGdipError& E) {
            EXPECT_EQ(E.Status(), UnknownImageFormat);
        }
    }
}

// While a surface limit holds (a project is being read), a larger picture is refused before it
// is decoded; one at the limit still reads.
TEST(Image, PicturesLargerThanTheSurfaceLimitAreRefused) {
    const QByteArray Png = Sample()->SaveToPngStream();
    {
        TSurfaceLimit Limit(11);
        try {
            TGPImage::FromStream(Png);
            FAIL() << "no error";
        } catch (const EGdipError& E) {
            EXPECT_EQ(E.Status(), OutOfMemory);
        }
    }
    TSurfaceLimit Limit(12);
    ExpectSamePixels(*Sample(), *TGPImage::FromStream(Png));
}

TEST(Image, ClonesAreIndependentCopies) {
    const auto Original = Sample();
    const auto Copy = Original->Clone();
    Copy->SetPixel(0, 0, 0xFF000000);
    EXPECT_NE(Original->Pixel(0, 0), 0xFF000000u);

    const auto Part = Original->CloneArea(1, 1, 3, 2);
    EXPECT_EQ(Part->Width(), 3);
    EXPECT_EQ(Part->Pixel(0, 0), Original->Pixel(1, 1));
    EXPECT_EQ(Part->Pixel(2, 1), Original->Pixel(3, 2));
    EXPECT_THROW(Original->CloneArea(2, 0, 3, 1), EGdipError);
    EXPECT_THROW(Original->CloneArea(0, 0, 0, 1), EGdipError);
}

TEST(Image, SurfaceConversionsKeepEveryPixel) {
    TBitmap32 B;
    Sample()->AssignTo(B);
    ASSERT_EQ(B.Width(), 4);
    const auto Back = TGPImage::FromBitmap32(B);
    ExpectSamePixels(*Sample(), *Back);
    TBitmap32 Empty;
    EXPECT_THROW(TGPImage::FromBitmap32(Empty), EGdipError);
}

TEST(Image, UnscaledDrawingAtAWholePositionCopiesPixels) {
    const auto Image = Sample();
    for (TGPSmoothingMode Smoothing : {SmoothingModeAntiAlias, SmoothingModeNone}) {
        TBitmap32 B;
        B.SetSize(10, 8);
        TGPGraphics G(B);
        G.SetSmoothingMode(Smoothing);
        G.SetInterpolationMode(InterpolationModeHighQualityBicubic);
        G.DrawImage(*Image, {5, 2, 4, 3}, {0, 0, 4, 3});
        for (int Y = 0; Y < 8; ++Y)
            for (int X = 0; X < 10; ++X) {
                const bool Inside = X >= 5 && X < 9 && Y >= 2 && Y < 5;
                const TColor32 Expected = Inside ? Image->Pixel(X - 5, Y - 2) : 0u;
                ASSERT_EQ(B.Pixel(X, Y), Inside && AlphaComponent(Expected) == 0 ? 0u : Expected)
                    << X << "," << Y;
            }
    }
}

TEST(Image, AlphaScalingAttributesAndColourMatrices) {
    QImage I(3, 1, QImage::Format_ARGB32);
    I.setPixel(0, 0, 0xFF336699);
    I.setPixel(1, 0, 0x03102030);
    I.setPixel(2, 0, 0x01102030);
    const TGPImageAttributes Half = AlphaScaleImageAttributes(0.5f);
    const QImage Scaled = Half.Apply(I);
    EXPECT_EQ(Scaled.pixel(0, 0), 0x80336699u); // 127.5 rounds to even
    EXPECT_EQ(Scaled.pixel(1, 0), 0x02102030u); // 1.5 rounds to even
    EXPECT_EQ(Scaled.pixel(2, 0), 0x00102030u); // 0.5 rounds to even
    EXPECT_EQ(I.pixel(0, 0), 0xFF336699u) << "the source stays as it was";

    TGPColorMatrix Swap;
    Swap.M[0][2] = 1; // red into blue
    Swap.M[2][0] = 1; // blue into red
    Swap.M[1][1] = 1;
    Swap.M[3][3] = 1;
    Swap.M[4][1] = 0.25f; // green + a quarter
    TGPImageAttributes Attributes;
    Attributes.SetColorMatrix(Swap);
    EXPECT_EQ(Attributes.Apply(I).pixel(0, 0), 0xFF99A633u); // 102 + 63.75 rounds to 166

    TBitmap32 B;
    B.SetSize(3, 1);
    TGPGraphics G(B);
    G.DrawImage(TGPImage(I), {0, 0, 3, 1}, {0, 0, 3, 1}, &Half);
    EXPECT_EQ(B.Pixel(0, 0), 0x80336699u);
    EXPECT_EQ(B.Pixel(1, 0), 0x02102030u);
}

TEST(Image, ScaledDrawingFillsTheDestination) {
    QImage I(1, 1, QImage::Format_ARGB32);
    I.fill(0xFF00FF00);
    TBitmap32 B;
    B.SetSize(10, 10);
    TGPGraphics G(B);
    G.SetSmoothingMode(SmoothingModeAntiAlias);
    G.DrawImage(TGPImage(I), {2, 2, 6, 6}, {0, 0, 1, 1});
    EXPECT_EQ(B.Pixel(4, 4), 0xFF00FF00u);
    EXPECT_EQ(B.Pixel(2, 2), 0xFF00FF00u);
    EXPECT_EQ(B.Pixel(7, 7), 0xFF00FF00u);
    EXPECT_EQ(B.Pixel(8, 8), 0u);
    EXPECT_EQ(B.Pixel(1, 4), 0u);
}

} // namespace
} // namespace zp

#include "gfx/Image.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace zp {

namespace {

std::shared_ptr<TGPImage> Decode(QImageReader& Reader, const std::string& What) {
    Reader.setAutoTransform(false);
    // A picture may be no larger than a surface may be now (a project being read sets that from
    // its limits); its size is checked before it is decoded.
    const QSize Size = Reader.size();
    if (Size.isValid() && std::int64_t{Size.width()} * Size.height() > TSurfaceLimit::Current())
        throw EGdipError(OutOfMemory, What + ": picture larger than a surface may be");
    QImage Image = Reader.read();
    if (Image.isNull())
        throw EGdipError(UnknownImageFormat, What + ": " + Reader.errorString().toStdString());
    return std::make_shared<TGPImage>(std::move(Image));
}

} // namespace

TGPImage::TGPImage(QImage Image) : FImage(std::move(Image)) {
    if (FImage.format() != QImage::Format_ARGB32) FImage = FImage.convertToFormat(QImage::Format_ARGB32);
}

std::shared_ptr<TGPImage> TGPImage::FromFile(const QString& FileName) {
    if (!QFileInfo(FileName).isFile()) throw EGdipError(FileNotFound, FileName.toStdString());
    QImageReader Reader(FileName);
    Reader.setDecideFormatFromContent(true);
    return Decode(Reader, FileName.toStdString());
}

std::shared_ptr<TGPImage> TGPImage::FromStream(const QByteArray& Data) {
    QBuffer Buffer;
    Buffer.setData(Data);
    Buffer.open(QIODevice::ReadOnly);
    QImageReader Reader(&Buffer);
    return Decode(Reader, "image stream");
}

std::shared_ptr<TGPImage> TGPImage::FromBitmap32(const TBitmap32& Bitmap) {
    if (Bitmap.Empty()) throw EGdipError(InvalidParameter, "empty surface");
    QImage Image(Bitmap.Width(), Bitmap.Height(), QImage::Format_ARGB32);
    if (Image.isNull()) throw EGdipError(OutOfMemory, "image of the surface's size");
    for (int Y = 0; Y < Bitmap.Height(); ++Y)
        std::memcpy(Image.scanLine(Y), Bitmap.ScanLine(Y), static_cast<std::size_t>(Bitmap.Width()) * 4);
    return std::make_shared<TGPImage>(std::move(Image));
}

std::shared_ptr<TGPImage> TGPImage::Clone() const {
    return std::make_shared<TGPImage>(FImage.copy());
}

std::shared_ptr<TGPImage> TGPImage::CloneArea(int X, int Y, int W, int H) const {
    if (X < 0 || Y < 0 || W <= 0 || H <= 0 || X > Width() - W || Y > Height() - H)
        throw EGdipError(InvalidParameter, "area outside the image");
    return std::make_shared<TGPImage>(FImage.copy(X, Y, W, H));
}

TColor32 TGPImage::Pixel(int X, int Y) const {
    return reinterpret_cast<const TColor32*>(FImage.constScanLine(Y))[X];
}

void TGPImage::SetPixel(int X, int Y, TColor32 Value) {
    reinterpret_cast<TColor32*>(FImage.scanLine(Y))[X] = Value;
}

QByteArray TGPImage::SaveToPngStream() const {
    if (FImage.isNull()) throw EGdipError(InvalidParameter, "empty image");
    QByteArray Data;
    QBuffer Buffer(&Data);
    Buffer.open(QIODevice::WriteOnly);
    QImageWriter Writer(&Buffer, "png");
    if (!Writer.write(FImage))
        throw EGdipError(Win32Error, "PNG encoding: " + Writer.errorString().toStdString());
    return Data;
}

void TGPImage::AssignTo(TBitmap32& Bitmap) const {
    Bitmap.SetSize(Width(), Height());
    for (int Y = 0; Y < Height(); ++Y)
        std::memcpy(Bitmap.ScanLine(Y), FImage.constScanLine(Y), static_cast<std::size_t>(Width()) * 4);
    Bitmap.Changed();
}

TGPColorMatrix TGPColorMatrix::Identity() {
    TGPColorMatrix Result;
    for (int I = 0; I < 5; ++I) Result.M[I][I] = 1;
    return Result;
}

void TGPImageAttributes::SetColorMatrix(const TGPColorMatrix& Matrix, TGPColorMatrixFlags,
                                        TGPColorAdjustType) {
    FMatrix = Matrix;
    FHasMatrix = true;
}

void TGPImageAttributes::ClearColorMatrix() {
    FMatrix = TGPColorMatrix::Identity();
    FHasMatrix = false;
}

QImage TGPImageAttributes::Apply(const QImage& Source) const {
    if (!FHasMatrix) return Source;
    const auto& M = FMatrix.M;
    QImage Result = Source.convertToFormat(QImage::Format_ARGB32);
    Result.detach();

    bool AlphaOnly = true;
    for (int R = 0; R < 5; ++R)
        for (int C = 0; C < 5; ++C)
            if (!(R == 3 && C == 3) && M[R][C] != (R == C ? 1.0f : 0.0f)) AlphaOnly = false;

    const auto ToByte = [](double V) {
        return static_cast<unsigned>(std::nearbyint(std::clamp(V, 0.0, 255.0)));
    };
    for (int Y = 0; Y < Result.height(); ++Y) {
        auto* Line = reinterpret_cast<TColor32*>(Result.scanLine(Y));
        for (int X = 0; X < Result.width(); ++X) {
            const TColor32 P = Line[X];
            if (AlphaOnly) {
                Line[X] = SetColorAlpha(
                    P, static_cast<int>(ToByte(AlphaComponent(P) * static_cast<double>(M[3][3]))));
                continue;
            }
            const double In[5] = {RedComponent(P) / 255.0, GreenComponent(P) / 255.0,
                                  BlueComponent(P) / 255.0, AlphaComponent(P) / 255.0, 1.0};
            double Out[4];
            for (int C = 0; C < 4; ++C) {
                double S = 0;
                for (int R = 0; R < 5; ++R) S += In[R] * M[R][C];
                Out[C] = S * 255.0;
            }
            Line[X] = Color32(ToByte(Out[0]), ToByte(Out[1]), ToByte(Out[2]), ToByte(Out[3]));
        }
    }
    return Result;
}

TGPImageAttributes AlphaScaleImageAttributes(float Scale) {
    TGPColorMatrix Matrix;
    Matrix.M[0][0] = 1;
    Matrix.M[1][1] = 1;
    Matrix.M[2][2] = 1;
    Matrix.M[3][3] = Scale;
    Matrix.M[4][4] = 1;
    TGPImageAttributes Attributes;
    Attributes.SetColorMatrix(Matrix, ColorMatrixFlagsDefault, ColorAdjustTypeBitmap);
    return Attributes;
}

} // namespace zp

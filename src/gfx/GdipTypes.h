#pragma once

#include <stdexcept>
#include <string>

namespace zp {

// Values below keep the numbering of the drawing library the layers were designed against:
// they are stored in project files, so the numbers matter.

enum TGPStatus {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedGdiplusVersion = 17,
    GdiplusNotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
};

// Every failure of the drawing binding. Carries the status so callers can tell kinds apart.
class EGdipError : public std::runtime_error {
public:
    EGdipError(TGPStatus Status, const std::string& Detail);
    TGPStatus Status() const { return FStatus; }

private:
    TGPStatus FStatus;
};

const char* StatusName(TGPStatus Status);

enum TGPDashStyle {
    DashStyleSolid = 0,
    DashStyleDash = 1,
    DashStyleDot = 2,
    DashStyleDashDot = 3,
    DashStyleDashDotDot = 4,
    DashStyleCustom = 5,
};

enum TGPWrapMode {
    WrapModeTile = 0,
    WrapModeTileFlipX = 1,
    WrapModeTileFlipY = 2,
    WrapModeTileFlipXY = 3,
    WrapModeClamp = 4,
};

enum TGPLineJoin {
    LineJoinMiter = 0,
    LineJoinBevel = 1,
    LineJoinRound = 2,
    LineJoinMiterClipped = 3,
};

enum TGPFillMode {
    FillModeAlternate = 0,
    FillModeWinding = 1,
};

enum TGPMatrixOrder {
    MatrixOrderPrepend = 0,
    MatrixOrderAppend = 1,
};

enum TGPSmoothingMode {
    SmoothingModeDefault = 0,
    SmoothingModeHighSpeed = 1,
    SmoothingModeHighQuality = 2,
    SmoothingModeNone = 3,
    SmoothingModeAntiAlias = 4,
};

enum TGPInterpolationMode {
    InterpolationModeDefault = 0,
    InterpolationModeLowQuality = 1,
    InterpolationModeHighQuality = 2,
    InterpolationModeBilinear = 3,
    InterpolationModeBicubic = 4,
    InterpolationModeNearestNeighbor = 5,
    InterpolationModeHighQualityBilinear = 6,
    InterpolationModeHighQualityBicubic = 7,
};

enum TGPUnit {
    UnitWorld = 0,
    UnitDisplay = 1,
    UnitPixel = 2,
    UnitPoint = 3,
    UnitInch = 4,
    UnitDocument = 5,
    UnitMillimeter = 6,
};

// Font style bits; combine with |.
enum TGPFontStyle {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8,
};

enum TGPStringAlignment {
    StringAlignmentNear = 0,
    StringAlignmentCenter = 1,
    StringAlignmentFar = 2,
};

enum TGPColorMatrixFlags {
    ColorMatrixFlagsDefault = 0,
    ColorMatrixFlagsSkipGrays = 1,
    ColorMatrixFlagsAltGray = 2,
};

enum TGPColorAdjustType {
    ColorAdjustTypeDefault = 0,
    ColorAdjustTypeBitmap = 1,
    ColorAdjustTypeBrush = 2,
    ColorAdjustTypePen = 3,
    ColorAdjustTypeText = 4,
};

struct TGPPointF {
    float X = 0;
    float Y = 0;
    friend bool operator==(const TGPPointF&, const TGPPointF&) = default;
};

struct TGPRectF {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;
    friend bool operator==(const TGPRectF&, const TGPRectF&) = default;
};

// The resolution at which point sizes become pixels: the desktop's logical 96 dpi.
constexpr float ScreenDpi = 96.0f;

} // namespace zp

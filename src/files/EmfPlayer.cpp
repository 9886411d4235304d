#include "files/CodecSupport.h"
#include "files/MetafilePlayers.h"

#include <uemf.h>
#include <uemf_endian.h>
#include <uemf_safe.h>

#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>

namespace zp::metafile {

namespace {

using namespace codec;

constexpr const char* FormatName = "EMF";

// The record layouts of libuemf are the file's own: every field lies on its natural boundary.
static_assert(sizeof(U_EMRCREATEPEN) == 28 && sizeof(U_EMRCREATEBRUSHINDIRECT) == 24);
static_assert(sizeof(U_EMRSTRETCHDIBITS) == 80 && sizeof(U_EMRBITBLT) == 100 &&
              sizeof(U_EMRSTRETCHBLT) == 108);
static_assert(sizeof(U_EMREXTTEXTOUTW) == 56 && sizeof(U_LOGFONT) == 92 && U_SIZE_EMRHEADER_MIN == 88);

// One record; every read is checked against its size.
class TRecord {
public:
    TRecord(const std::uint8_t* Data, std::size_t Size, std::uint32_t Type)
        : FData(Data), FSize(Size), FType(Type) {}

    std::uint32_t Type() const { return FType; }
    std::size_t Size() const { return FSize; }

    template <class T> T Get(std::uint64_t At) const {
        if (At > FSize || sizeof(T) > FSize - At) Damaged();
        T Value;
        std::memcpy(&Value, FData + At, sizeof(T));
        return Value;
    }
    // A record's structure from its start; the record may be longer.
    template <class T> T As() const { return Get<T>(0); }

    std::span<const std::uint8_t> Bytes(std::uint64_t At, std::uint64_t Count) const {
        if (At > FSize || Count > FSize - At) Damaged();
        return {FData + At, static_cast<std::size_t>(Count)};
    }

    [[noreturn]] void Damaged() const {
        Malformed(FormatName, "Datensatz " + std::to_string(FType) + " verweist über sein Ende hinaus");
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::uint32_t FType;
};

QPointF Point(const U_POINTL& P) {
    return QPointF(P.x, P.y);
}

QRectF Box(const U_RECTL& R) {
    return QRectF(QPointF(R.left, R.top), QPointF(R.right, R.bottom));
}

QTransform Transform(const U_XFORM& X) {
    return QTransform(X.eM11, X.eM12, X.eM21, X.eM22, X.eDx, X.eDy);
}

QPolygonF Points(const TRecord& R, std::uint64_t At, std::uint64_t Count, bool Short) {
    const std::uint64_t Each = Short ? 4 : 8;
    if (Count > R.Size() / Each) R.Damaged();
    const auto Bytes = R.Bytes(At, Count * Each);
    QPolygonF Result;
    Result.reserve(static_cast<qsizetype>(Count));
    for (std::uint64_t I = 0; I < Count; ++I) {
        const std::uint8_t* P = Bytes.data() + I * Each;
        if (Short) {
            std::int16_t X, Y;
            std::memcpy(&X, P, 2);
            std::memcpy(&Y, P + 2, 2);
            Result << QPointF(X, Y);
        } else {
            std::int32_t X, Y;
            std::memcpy(&X, P, 4);
            std::memcpy(&Y, P + 4, 4);
            Result << QPointF(X, Y);
        }
    }
    return Result;
}

// The points of POLYBEZIER, POLYGON, POLYLINE and their ...TO and 16-bit forms.
QPolygonF PolyPoints(const TRecord& R, bool Short) {
    const auto Count = R.Get<std::uint32_t>(offsetof(U_EMRPOLYLINE, cptl));
    return Points(R, offsetof(U_EMRPOLYLINE, aptl), Count, Short);
}

// The figures of POLYPOLYGON and POLYPOLYLINE (and 16-bit).
std::vector<QPolygonF> PolyPolyPoints(const TRecord& R, bool Short) {
    const auto Polys = R.Get<std::uint32_t>(offsetof(U_EMRPOLYPOLYLINE, nPolys));
    const auto Total = R.Get<std::uint32_t>(offsetof(U_EMRPOLYPOLYLINE, cptl));
    const std::uint64_t CountsAt = offsetof(U_EMRPOLYPOLYLINE, aPolyCounts);
    if (Polys > R.Size() / 4) R.Damaged();
    const auto Counts = R.Bytes(CountsAt, std::uint64_t{Polys} * 4);
    const QPolygonF All = Points(R, CountsAt + std::uint64_t{Polys} * 4, Total, Short);
    std::vector<QPolygonF> Result;
    std::uint64_t Used = 0;
    for (std::uint32_t I = 0; I < Polys; ++I) {
        std::uint32_t N;
        std::memcpy(&N, Counts.data() + 4 * I, 4);
        if (N > Total - Used) R.Damaged();
        Result.push_back(All.mid(static_cast<qsizetype>(Used), N));
        Used += N;
    }
    return Result;
}

TDib RecordDib(const TRecord& R, std::uint32_t Usage, std::uint32_t OffBmi, std::uint32_t CbBmi,
               std::uint32_t OffBits, std::uint32_t CbBits, const TDecodeLimits& Limits) {
    if (CbBmi == 0) return {};
    const auto Info = R.Bytes(OffBmi, CbBmi);
    const auto Bits = R.Bytes(OffBits, CbBits);
    // Colour tables of palette indices need the logical palette, which we do not keep.
    if (Usage != U_DIB_RGB_COLORS) return {};
    return DecodeDib(Info, Bits, Limits);
}

TLogFont Font(const U_LOGFONT& F) {
    TLogFont Result;
    Result.Height = F.lfHeight;
    Result.Escapement = F.lfEscapement;
    Result.Weight = F.lfWeight;
    Result.Italic = F.lfItalic != 0;
    Result.Underline = F.lfUnderline != 0;
    Result.StrikeOut = F.lfStrikeOut != 0;
    std::size_t Length = 0;
    while (Length < U_LF_FACESIZE && F.lfFaceName[Length] != 0) ++Length;
    Result.Face =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(F.lfFaceName), static_cast<qsizetype>(Length));
    return Result;
}

void PlayText(const TRecord& R, TCanvas& Canvas, bool Wide) {
    const auto T = R.As<U_EMREXTTEXTOUTW>();
    const U_EMRTEXT& E = T.emrtext;
    std::uint64_t At = sizeof(U_EMREXTTEXTOUTW);
    std::optional<QRectF> Rect;
    if (!(E.fOptions & U_ETO_NO_RECT)) {
        Rect = Box(R.Get<U_RECTL>(At));
        At += sizeof(U_RECTL);
    }
    const auto OffDx = R.Get<std::uint32_t>(At);
    // Glyph indices would need the font's own glyph table.
    if (E.fOptions & U_ETO_GLYPH_INDEX) return;
    const std::uint64_t Chars = E.nChars;
    const auto Bytes = R.Bytes(E.offString, Chars * (Wide ? 2 : 1));
    // Copied, as the string need not lie on a 16-bit boundary.
    QString Text;
    if (Wide) {
        Text.resize(static_cast<qsizetype>(Chars));
        std::memcpy(Text.data(), Bytes.data(), Bytes.size());
    } else {
        Text =
            QString::fromLatin1(reinterpret_cast<const char*>(Bytes.data()), static_cast<qsizetype>(Chars));
    }
    std::vector<double> Dx;
    const std::uint64_t Step = (E.fOptions & U_ETO_PDY) ? 8 : 4;
    if (OffDx != 0 && Chars > 0) {
        const auto Spacing = R.Bytes(OffDx, Chars * Step);
        for (std::uint64_t I = 0; I < Chars; ++I) {
            std::int32_t V;
            std::memcpy(&V, Spacing.data() + I * Step, 4);
            Dx.push_back(V);
        }
    }
    Canvas.TextOut(Point(E.ptlReference), Text, Dx, E.fOptions, Rect);
}

// A blit with a source bitmap of SourceSize; without a bitmap it fills with the brush.
template <class TBlt>
void PlayBlt(const TRecord& R, const TBlt& B, QSizeF SourceSize, TCanvas& Canvas,
             const TDecodeLimits& Limits) {
    const QRectF Dest(Point(B.Dest), QSizeF(B.cDest.x, B.cDest.y));
    if (B.cbBmiSrc == 0) {
        Canvas.PatBlt(Dest, B.dwRop);
        return;
    }
    const TDib Dib = RecordDib(R, B.iUsageSrc, B.offBmiSrc, B.cbBmiSrc, B.offBitsSrc, B.cbBitsSrc, Limits);
    // The source of a blit counts its rows from the top like any device.
    Canvas.DrawBitmap(Dest, TDib{Dib.Image, false}, QRectF(Point(B.Src), SourceSize), B.dwRop);
}

void PlayBitmap(const TRecord& R, TCanvas& Canvas, const TDecodeLimits& Limits) {
    switch (R.Type()) {
    case U_EMR_BITBLT: {
        const auto B = R.As<U_EMRBITBLT>();
        PlayBlt(R, B, QSizeF(B.cDest.x, B.cDest.y), Canvas, Limits);
        return;
    }
    case U_EMR_STRETCHBLT: {
        const auto B = R.As<U_EMRSTRETCHBLT>();
        PlayBlt(R, B, QSizeF(B.cSrc.x, B.cSrc.y), Canvas, Limits);
        return;
    }
    case U_EMR_STRETCHDIBITS: {
        const auto B = R.As<U_EMRSTRETCHDIBITS>();
        const TDib Dib =
            RecordDib(R, B.iUsageSrc, B.offBmiSrc, B.cbBmiSrc, B.offBitsSrc, B.cbBitsSrc, Limits);
        Canvas.DrawBitmap(QRectF(Point(B.Dest), QSizeF(B.cDest.x, B.cDest.y)), Dib,
                          QRectF(Point(B.Src), QSizeF(B.cSrc.x, B.cSrc.y)), B.dwRop);
        return;
    }
    case U_EMR_SETDIBITSTODEVICE: {
        const auto B = R.As<U_EMRSETDIBITSTODEVICE>();
        const TDib Dib =
            RecordDib(R, B.iUsageSrc, B.offBmiSrc, B.cbBmiSrc, B.offBitsSrc, B.cbBitsSrc, Limits);
        Canvas.DrawBitmap(QRectF(Point(B.Dest), QSizeF(B.cSrc.x, B.cSrc.y)), Dib,
                          QRectF(Point(B.Src), QSizeF(B.cSrc.x, B.cSrc.y)), 0x00CC0020);
        return;
    }
    case U_EMR_ALPHABLEND: {
        const auto B = R.As<U_EMRALPHABLEND>();
        TDib Dib = RecordDib(R, B.iUsageSrc, B.offBmiSrc, B.cbBmiSrc, B.offBitsSrc, B.cbBitsSrc, Limits);
        // With AC_SRC_ALPHA the colours are premultiplied by their alpha.
        if (B.Blend.Op == U_AC_SRC_ALPHA && !Dib.Image.isNull())
            Dib.Image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        Canvas.DrawBitmap(QRectF(Point(B.Dest), QSizeF(B.cDest.x, B.cDest.y)), TDib{Dib.Image, false},
                          QRectF(Point(B.Src), QSizeF(B.cSrc.x, B.cSrc.y)), 0x00CC0020,
                          B.Blend.Global / 255.0);
        return;
    }
    default: return;
    }
}

// What a CREATE... record defines, with its table index.
std::optional<std::pair<std::uint32_t, TObject>> CreatedObject(const TRecord& R,
                                                               const TDecodeLimits& Limits) {
    switch (R.Type()) {
    case U_EMR_CREATEPEN: {
        const auto P = R.As<U_EMRCREATEPEN>();
        TLogPen Pen;
        Pen.Style = P.lopn.lopnStyle;
        Pen.Width = std::abs(static_cast<double>(P.lopn.lopnWidth.x));
        Pen.Cosmetic = Pen.Width == 0;
        Pen.Color = ColorRef(std::bit_cast<std::uint32_t>(P.lopn.lopnColor));
        return std::pair{P.ihPen, TObject(Pen)};
    }
    case U_EMR_EXTCREATEPEN: {
        const std::uint64_t Elp = offsetof(U_EMREXTCREATEPEN, elp);
        const auto Ih = R.Get<std::uint32_t>(offsetof(U_EMREXTCREATEPEN, ihPen));
        TLogPen Pen;
        Pen.Style = R.Get<std::uint32_t>(Elp + offsetof(U_EXTLOGPEN, elpPenStyle));
        Pen.Width = R.Get<std::uint32_t>(Elp + offsetof(U_EXTLOGPEN, elpWidth));
        Pen.Cosmetic = (Pen.Style & U_PS_TYPE_MASK) != U_PS_GEOMETRIC;
        const auto BrushStyle = R.Get<std::uint32_t>(Elp + offsetof(U_EXTLOGPEN, elpBrushStyle));
        Pen.Color = ColorRef(R.Get<std::uint32_t>(Elp + offsetof(U_EXTLOGPEN, elpColor)));
        if (BrushStyle == U_BS_NULL) Pen.Style = (Pen.Style & ~U_PS_STYLE_MASK) | U_PS_NULL;
        const auto Entries = R.Get<std::uint32_t>(Elp + offsetof(U_EXTLOGPEN, elpNumEntries));
        const auto Styles = R.Bytes(Elp + offsetof(U_EXTLOGPEN, elpStyleEntry), std::uint64_t{Entries} * 4);
        for (std::uint32_t I = 0; I < Entries && I < 16; ++I) {
            std::uint32_t V;
            std::memcpy(&V, Styles.data() + 4 * I, 4);
            Pen.UserDashes.push_back(V);
        }
        return std::pair{Ih, TObject(Pen)};
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto B = R.As<U_EMRCREATEBRUSHINDIRECT>();
        TLogBrush Brush;
        Brush.Style = B.lb.lbStyle;
        Brush.Color = ColorRef(std::bit_cast<std::uint32_t>(B.lb.lbColor));
        Brush.Hatch = B.lb.lbHatch;
        return std::pair{B.ihBrush, TObject(Brush)};
    }
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEDIBPATTERNBRUSHPT: {
        const auto B = R.As<U_EMRCREATEDIBPATTERNBRUSHPT>();
        TLogBrush Brush;
        Brush.Style = U_BS_DIBPATTERNPT;
        // Pattern brushes are small tiles; larger ones are not kept in the object table.
        TDecodeLimits Small = Limits;
        Small.MaxPixels = std::min<std::int64_t>(Limits.MaxPixels, 1 << 16);
        Brush.Pattern = RecordDib(R, B.iUsage, B.offBmi, B.cbBmi, B.offBits, B.cbBits, Small).Image;
        if (Brush.Pattern.isNull()) Brush.Style = U_BS_NULL;
        return std::pair{B.ihBrush, TObject(Brush)};
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        const auto Ih = R.Get<std::uint32_t>(offsetof(U_EMREXTCREATEFONTINDIRECTW, ihFont));
        return std::pair{Ih, TObject(Font(R.Get<U_LOGFONT>(offsetof(U_EMREXTCREATEFONTINDIRECTW, elfw))))};
    }
    case U_EMR_CREATEPALETTE: return std::pair{R.Get<std::uint32_t>(8), TObject(TPlaceholder{})};
    default: return std::nullopt;
    }
}

std::vector<QRectF> RegionRects(const TRecord& R) {
    const auto Bytes = R.Get<std::uint32_t>(offsetof(U_EMREXTSELECTCLIPRGN, cbRgnData));
    const std::uint64_t At = offsetof(U_EMREXTSELECTCLIPRGN, RgnData);
    std::vector<QRectF> Rects;
    if (Bytes < sizeof(U_RGNDATAHEADER)) return Rects;
    const auto Header = R.Get<U_RGNDATAHEADER>(At);
    if (std::uint64_t{Header.nCount} * sizeof(U_RECTL) > Bytes - sizeof(U_RGNDATAHEADER)) R.Damaged();
    for (std::uint32_t I = 0; I < Header.nCount; ++I) {
        const auto Rect = R.Get<U_RECTL>(At + sizeof(U_RGNDATAHEADER) + std::uint64_t{I} * sizeof(U_RECTL));
        Rects.push_back(Box(Rect));
    }
    return Rects;
}

void PlayRecord(const TRecord& R, TCanvas& Canvas, std::unordered_map<std::uint32_t, TObject>& Objects,
                const TDecodeLimits& Limits) {
    const auto Mode = [&] { return R.Get<std::uint32_t>(8); };
    const auto Pair = [&] { return R.Get<U_PAIR>(8); };
    switch (R.Type()) {
    case U_EMR_POLYBEZIER: Canvas.PolyBezier(PolyPoints(R, false)); break;
    case U_EMR_POLYGON: Canvas.Polygon(PolyPoints(R, false)); break;
    case U_EMR_POLYLINE: Canvas.Polyline(PolyPoints(R, false)); break;
    case U_EMR_POLYBEZIERTO: Canvas.PolyBezierTo(PolyPoints(R, false)); break;
    case U_EMR_POLYLINETO: Canvas.PolylineTo(PolyPoints(R, false)); break;
    case U_EMR_POLYPOLYLINE: Canvas.PolyPolyline(PolyPolyPoints(R, false)); break;
    case U_EMR_POLYPOLYGON: Canvas.PolyPolygon(PolyPolyPoints(R, false)); break;
    case U_EMR_POLYBEZIER16: Canvas.PolyBezier(PolyPoints(R, true)); break;
    case U_EMR_POLYGON16: Canvas.Polygon(PolyPoints(R, true)); break;
    case U_EMR_POLYLINE16: Canvas.Polyline(PolyPoints(R, true)); break;
    case U_EMR_POLYBEZIERTO16: Canvas.PolyBezierTo(PolyPoints(R, true)); break;
    case U_EMR_POLYLINETO16: Canvas.PolylineTo(PolyPoints(R, true)); break;
    case U_EMR_POLYPOLYLINE16: Canvas.PolyPolyline(PolyPolyPoints(R, true)); break;
    case U_EMR_POLYPOLYGON16: Canvas.PolyPolygon(PolyPolyPoints(R, true)); break;

    case U_EMR_SETWINDOWEXTEX: Canvas.SetWindowExt(QSizeF(Pair().x, Pair().y)); break;
    case U_EMR_SETWINDOWORGEX: Canvas.SetWindowOrg(QPointF(Pair().x, Pair().y)); break;
    case U_EMR_SETVIEWPORTEXTEX: Canvas.SetViewportExt(QSizeF(Pair().x, Pair().y)); break;
    case U_EMR_SETVIEWPORTORGEX: Canvas.SetViewportOrg(QPointF(Pair().x, Pair().y)); break;
    case U_EMR_SCALEVIEWPORTEXTEX:
    case U_EMR_SCALEWINDOWEXTEX: {
        const auto S = R.As<U_EMRSCALEWINDOWEXTEX>();
        if (R.Type() == U_EMR_SCALEWINDOWEXTEX)
            Canvas.ScaleWindowExt(S.xNum, S.xDenom, S.yNum, S.yDenom);
        else
            Canvas.ScaleViewportExt(S.xNum, S.xDenom, S.yNum, S.yDenom);
        break;
    }
    case U_EMR_SETMAPMODE: Canvas.SetMapMode(static_cast<int>(Mode())); break;
    case U_EMR_SETWORLDTRANSFORM:
        Canvas.SetWorldTransform(Transform(R.As<U_EMRSETWORLDTRANSFORM>().xform));
        break;
    case U_EMR_MODIFYWORLDTRANSFORM: {
        const auto M = R.As<U_EMRMODIFYWORLDTRANSFORM>();
        Canvas.ModifyWorldTransform(Transform(M.xform), M.iMode);
        break;
    }
    case U_EMR_SAVEDC: Canvas.SaveDC(); break;
    case U_EMR_RESTOREDC: Canvas.RestoreDC(R.As<U_EMRRESTOREDC>().iRelative); break;

    case U_EMR_SETBKMODE: Canvas.SetBkMode(Mode()); break;
    case U_EMR_SETPOLYFILLMODE: Canvas.SetPolyFillMode(Mode()); break;
    case U_EMR_SETROP2: Canvas.SetRop2(Mode()); break;
    case U_EMR_SETSTRETCHBLTMODE: Canvas.SetStretchMode(Mode()); break;
    case U_EMR_SETTEXTALIGN: Canvas.SetTextAlign(Mode()); break;
    case U_EMR_SETTEXTCOLOR: Canvas.SetTextColor(ColorRef(Mode())); break;
    case U_EMR_SETBKCOLOR: Canvas.SetBkColor(ColorRef(Mode())); break;
    case U_EMR_SETMITERLIMIT: Canvas.SetMiterLimit(Mode()); break;
    case U_EMR_SETARCDIRECTION: Canvas.SetArcDirection(Mode()); break;

    case U_EMR_SELECTOBJECT: {
        const std::uint32_t Index = Mode();
        if (Index & U_STOCK_OBJECT) {
            if (const auto Stock = StockObject(Index)) Canvas.Select(*Stock);
        } else if (const auto Found = Objects.find(Index); Found != Objects.end()) {
            Canvas.Select(Found->second);
        }
        break;
    }
    case U_EMR_DELETEOBJECT: Objects.erase(Mode()); break;

    case U_EMR_MOVETOEX: Canvas.MoveTo(Point(R.Get<U_POINTL>(8))); break;
    case U_EMR_LINETO: Canvas.LineTo(Point(R.Get<U_POINTL>(8))); break;
    case U_EMR_RECTANGLE: Canvas.Rectangle(Box(R.Get<U_RECTL>(8))); break;
    case U_EMR_ELLIPSE: Canvas.Ellipse(Box(R.Get<U_RECTL>(8))); break;
    case U_EMR_ROUNDRECT: {
        const auto Q = R.As<U_EMRROUNDRECT>();
        Canvas.RoundRect(Box(Q.rclBox), QSizeF(Q.szlCorner.cx, Q.szlCorner.cy));
        break;
    }
    case U_EMR_ARC:
    case U_EMR_ARCTO:
    case U_EMR_CHORD:
    case U_EMR_PIE: {
        const auto A = R.As<U_EMRARC>();
        const TArcKind Kind = R.Type() == U_EMR_ARC     ? akArc
                              : R.Type() == U_EMR_ARCTO ? akArcTo
                              : R.Type() == U_EMR_CHORD ? akChord
                                                        : akPie;
        Canvas.Arc(Kind, Box(A.rclBox), Point(A.ptlStart), Point(A.ptlEnd));
        break;
    }
    case U_EMR_ANGLEARC: {
        const auto A = R.As<U_EMRANGLEARC>();
        Canvas.AngleArc(Point(A.ptlCenter), A.nRadius, A.eStartAngle, A.eSweepAngle);
        break;
    }
    case U_EMR_SETPIXELV: {
        const auto P = R.As<U_EMRSETPIXELV>();
        Canvas.SetPixel(Point(P.ptlPixel), ColorRef(std::bit_cast<std::uint32_t>(P.crColor)));
        break;
    }

    case U_EMR_BEGINPATH: Canvas.BeginPath(); break;
    case U_EMR_ENDPATH: Canvas.EndPath(); break;
    case U_EMR_CLOSEFIGURE: Canvas.CloseFigure(); break;
    case U_EMR_FILLPATH: Canvas.FillPath(); break;
    case U_EMR_STROKEANDFILLPATH: Canvas.StrokeAndFillPath(); break;
    case U_EMR_STROKEPATH: Canvas.StrokePath(); break;
    case U_EMR_WIDENPATH: Canvas.WidenPath(); break;
    case U_EMR_ABORTPATH: Canvas.AbortPath(); break;
    case U_EMR_SELECTCLIPPATH: Canvas.SelectClipPath(Mode()); break;

    case U_EMR_INTERSECTCLIPRECT: Canvas.IntersectClipRect(Box(R.Get<U_RECTL>(8))); break;
    case U_EMR_EXCLUDECLIPRECT: Canvas.ExcludeClipRect(Box(R.Get<U_RECTL>(8))); break;
    case U_EMR_EXTSELECTCLIPRGN:
        Canvas.SelectClipRegion(RegionRects(R), R.Get<std::uint32_t>(offsetof(U_EMREXTSELECTCLIPRGN, iMode)));
        break;

    case U_EMR_EXTTEXTOUTW: PlayText(R, Canvas, true); break;
    case U_EMR_EXTTEXTOUTA: PlayText(R, Canvas, false); break;

    default:
        if (auto Created = CreatedObject(R, Limits)) {
            Objects.insert_or_assign(Created->first, std::move(Created->second));
            break;
        }
        PlayBitmap(R, Canvas, Limits);
        break;
    }
}

// libuemf checks the layout of every record type up to EXTCREATEPEN and of ALPHABLEND (69 is
// undefined); the later ones, which we do not draw, are skipped unread.
bool Checkable(std::uint32_t Type) {
    return (Type >= U_EMR_MIN && Type <= U_EMR_EXTCREATEPEN && Type != U_EMR_UNDEF69) ||
           Type == U_EMR_ALPHABLEND;
}

// The record at At: its size checked against the data (torev 1: the record is in this
// machine's byte order, little-endian as the codecs assume) and its layout by libuemf.
TRecord RecordAt(std::span<const std::uint8_t> Data, std::size_t At) {
    if (Data.size() - At < 8) Truncated(FormatName);
    const char* Start = reinterpret_cast<const char*>(Data.data() + At);
    const char* Limit = reinterpret_cast<const char*>(Data.data() + Data.size());
    std::uint32_t Size = 0, Type = 0;
    if (!U_emf_record_sizeok(Start, Limit, &Size, &Type, 1)) {
        std::memcpy(&Size, Start + 4, 4);
        if (Size > Data.size() - At) Truncated(FormatName);
        Malformed(FormatName, "Datensatzgröße " + std::to_string(Size));
    }
    if (Size < 8 || Size % 4 != 0) Malformed(FormatName, "Datensatzgröße " + std::to_string(Size));
    if (Checkable(Type) && !U_emf_record_safe(Start))
        Malformed(FormatName, "Datensatz " + std::to_string(Type) + " verweist über sein Ende hinaus");
    return TRecord(Data.data() + At, Size, Type);
}

} // namespace

bool LooksLikeEmf(std::span<const std::uint8_t> Data) {
    if (Data.size() < 44) return false;
    std::uint32_t Type, Signature;
    std::memcpy(&Type, Data.data(), 4);
    std::memcpy(&Signature, Data.data() + offsetof(U_EMRHEADER, dSignature), 4);
    return Type == U_EMR_HEADER && Signature == U_ENHMETA_SIGNATURE;
}

TSetup ReadEmfSetup(std::span<const std::uint8_t> Data) {
    if (!LooksLikeEmf(Data)) {
        if (Data.size() < 44) Truncated(FormatName);
        Malformed(FormatName, "keine EMF-Kennung");
    }
    const TRecord R = RecordAt(Data, 0);
    if (R.Size() < U_SIZE_EMRHEADER_MIN) Malformed(FormatName, "Kopf zu kurz");
    // The frame (0.01 mm) is the picture's size as its author made it; it is shown at 96 dpi
    // like a WMF. The reference device only places the records' device units on it: its
    // resolution differs between writers (screens, 1200 dpi printers).
    // Old headers end before the fields that later Windows versions added.
    U_EMRHEADER Header{};
    const std::size_t HeaderSize = std::min<std::size_t>(R.Size(), sizeof(U_EMRHEADER));
    std::memcpy(&Header, R.Bytes(0, HeaderSize).data(), HeaderSize);
    const U_RECTL& F = Header.rclFrame;
    const double FrameW = static_cast<double>(F.right) - F.left,
                 FrameH = static_cast<double>(F.bottom) - F.top;
    TSetup Setup;
    Setup.Width = std::llround(FrameW * 96 / 2540);
    Setup.Height = std::llround(FrameH * 96 / 2540);
    if (Setup.Width < 1 || Setup.Height < 1) {
        Setup.Width = Setup.Height = 0;
        return Setup;
    }
    const U_SIZEL& Dev = Header.szlDevice;
    const U_SIZEL& Mm = Header.szlMillimeters;
    double PerHmmX = 96 / 2540.0, PerHmmY = 96 / 2540.0;
    if (Dev.cx > 0 && Dev.cy > 0 && Mm.cx > 0 && Mm.cy > 0) {
        PerHmmX = Dev.cx / (Mm.cx * 100.0);
        PerHmmY = Dev.cy / (Mm.cy * 100.0);
    }
    const double Sx = Setup.Width / (FrameW * PerHmmX), Sy = Setup.Height / (FrameH * PerHmmY);
    Setup.Mapping.DeviceToPicture = QTransform(Sx, 0, 0, Sy, -F.left * PerHmmX * Sx, -F.top * PerHmmY * Sy);
    Setup.Mapping.DevicePixelsPerMm = PerHmmX * 100;
    return Setup;
}

void PlayEmf(std::span<const std::uint8_t> Data, TCanvas& Canvas, const TDecodeLimits& Limits) {
    std::unordered_map<std::uint32_t, TObject> Objects;
    std::size_t At = RecordAt(Data, 0).Size();
    // Every record is at least 8 bytes long, so the loop ends with the data.
    for (;;) {
        const TRecord R = RecordAt(Data, At);
        if (R.Type() == U_EMR_EOF) return;
        if (R.Type() == U_EMR_HEADER) Malformed(FormatName, "zweiter Kopf");
        PlayRecord(R, Canvas, Objects, Limits);
        At += R.Size();
    }
}

} // namespace zp::metafile

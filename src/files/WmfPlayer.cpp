#include "files/CodecSupport.h"
#include "files/MetafilePlayers.h"

#include <uwmf.h>

#include <cmath>
#include <cstring>
#include <string>

namespace zp::metafile {

namespace {

using namespace codec;

constexpr const char* FormatName = "WMF";
constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
// Object slots are numbered with 16 bits.
constexpr std::size_t MaxObjects = 65535;
// Pattern brushes are small tiles; larger ones are not kept in the object table.
constexpr std::int64_t MaxPatternPixels = 1 << 16;

// One record: a size in 16-bit words, the function number and its parameters. Every read is
// checked against the record's size. Offsets are in bytes from the record's start.
class TRecord {
public:
    TRecord(const std::uint8_t* Data, std::size_t Size) : FData(Data), FSize(Size) {}

    std::size_t Size() const { return FSize; }
    std::uint32_t Function() const { return U16(4); }

    std::uint32_t U16(std::uint64_t At) const {
        const auto B = Bytes(At, 2);
        return B[0] | (B[1] << 8);
    }
    double I16(std::uint64_t At) const { return static_cast<std::int16_t>(U16(At)); }
    std::uint32_t U32(std::uint64_t At) const { return U16(At) | (U16(At + 2) << 16); }
    // Two 16-bit values stored y first, as most records keep their points.
    QPointF YX(std::uint64_t At) const { return QPointF(I16(At + 2), I16(At)); }
    // Bottom, right, top, left.
    QRectF Box(std::uint64_t At) const {
        return QRectF(QPointF(I16(At + 6), I16(At + 4)), QPointF(I16(At + 2), I16(At)));
    }

    std::span<const std::uint8_t> Bytes(std::uint64_t At, std::uint64_t Count) const {
        if (At > FSize || Count > FSize - At) Damaged();
        return {FData + At, static_cast<std::size_t>(Count)};
    }
    std::span<const std::uint8_t> Rest(std::uint64_t At) const {
        return Bytes(At, At <= FSize ? FSize - At : 1);
    }

    [[noreturn]] void Damaged() const {
        Malformed(FormatName, "Datensatz " + std::to_string(FSize >= 6 ? Function() : 0) +
                                  " verweist über sein Ende hinaus");
    }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
};

// The header's length, or 0 when the data do not hold a complete one.
std::size_t HeaderLength(std::span<const std::uint8_t> Data, U_WMRPLACEABLE& Placeable, U_WMRHEADER& Header) {
    Placeable = {};
    Header = {};
    const char* Start = reinterpret_cast<const char*>(Data.data());
    const int Length = wmfheader_get(Start, Start + Data.size(), &Placeable, &Header);
    return Length > 0 ? static_cast<std::size_t>(Length) : 0;
}

// The record at At, its extent checked by libuemf.
TRecord RecordAt(std::span<const std::uint8_t> Data, std::size_t At) {
    if (Data.size() - At < 6) Truncated(FormatName);
    const char* Start = reinterpret_cast<const char*>(Data.data() + At);
    const std::size_t Size =
        U_WMRRECSAFE_get(Start, reinterpret_cast<const char*>(Data.data() + Data.size()));
    std::uint32_t Words;
    std::memcpy(&Words, Start, 4);
    if (Size == 0) {
        if (std::uint64_t{Words} * 2 > Data.size() - At) Truncated(FormatName);
        Malformed(FormatName, "Datensatzgröße " + std::to_string(Words));
    }
    if (Words < 3) Malformed(FormatName, "Datensatzgröße " + std::to_string(Words));
    return TRecord(Data.data() + At, Size);
}

QString Latin1(std::span<const std::uint8_t> Bytes) {
    return QString::fromLatin1(reinterpret_cast<const char*>(Bytes.data()),
                               static_cast<qsizetype>(Bytes.size()));
}

// WMF has no table indices: a new object takes the lowest free slot.
class TObjectTable {
public:
    explicit TObjectTable(std::size_t Size) : FSlots(std::min(Size, MaxObjects)) {}

    void Create(TObject Object) {
        while (FFirstFree < FSlots.size() && FSlots[FFirstFree]) ++FFirstFree;
        if (FFirstFree == FSlots.size()) {
            if (FSlots.size() >= MaxObjects) return;
            FSlots.emplace_back();
        }
        FSlots[FFirstFree++] = std::move(Object);
    }
    void Delete(std::size_t Index) {
        if (Index >= FSlots.size()) return;
        FSlots[Index].reset();
        FFirstFree = std::min(FFirstFree, Index);
    }
    const TObject* Find(std::size_t Index) const {
        return Index < FSlots.size() && FSlots[Index] ? &*FSlots[Index] : nullptr;
    }

private:
    std::vector<std::optional<TObject>> FSlots;
    std::size_t FFirstFree = 0;
};

TObject Pen(const TRecord& R) {
    TLogPen Pen;
    Pen.Style = R.U16(6);
    Pen.Width = std::abs(R.I16(8));
    Pen.Cosmetic = Pen.Width == 0;
    Pen.Color = ColorRef(R.U32(12));
    return Pen;
}

TObject Brush(const TRecord& R) {
    TLogBrush Brush;
    Brush.Style = R.U16(6);
    Brush.Color = ColorRef(R.U32(8));
    Brush.Hatch = R.U16(12);
    // Pattern brushes are made by their own records.
    if (Brush.Style != U_BS_SOLID && Brush.Style != U_BS_HATCHED) Brush.Style = U_BS_NULL;
    return Brush;
}

TObject Font(const TRecord& R) {
    TLogFont Font;
    Font.Height = R.I16(6);
    Font.Escapement = static_cast<int>(R.I16(10));
    Font.Weight = static_cast<int>(R.I16(14));
    const auto Flags = R.Bytes(16, 3);
    Font.Italic = Flags[0] != 0;
    Font.Underline = Flags[1] != 0;
    Font.StrikeOut = Flags[2] != 0;
    const auto Name = R.Rest(24);
    std::size_t Length = 0;
    while (Length < Name.size() && Length < 32 && Name[Length] != 0) ++Length;
    Font.Face = Latin1(Name.first(Length));
    return Font;
}

TObject PatternBrush(const TRecord& R, const TDecodeLimits& Limits) {
    TLogBrush Brush;
    Brush.Style = U_BS_NULL;
    // Only DIB patterns are read; the old device-dependent ones are left empty.
    if (R.U16(6) != U_BS_PATTERN && R.U16(8) == U_DIB_RGB_COLORS) {
        TDecodeLimits Small = Limits;
        Small.MaxPixels = std::min(Limits.MaxPixels, MaxPatternPixels);
        Brush.Pattern = DecodePackedDib(R.Rest(10), Small).Image;
        if (!Brush.Pattern.isNull()) Brush.Style = U_BS_DIBPATTERNPT;
    }
    return Brush;
}

void PlayText(const TRecord& R, TCanvas& Canvas, bool Extended) {
    if (!Extended) {
        const auto Length = static_cast<std::uint64_t>(std::max(0.0, R.I16(6)));
        const auto Text = R.Bytes(8, Length);
        const std::uint64_t At = 8 + (Length + 1) / 2 * 2;
        Canvas.TextOut(R.YX(At), Latin1(Text), {}, 0, std::nullopt);
        return;
    }
    const QPointF Ref = R.YX(6);
    const auto Length = static_cast<std::uint64_t>(std::max(0.0, R.I16(10)));
    const std::uint32_t Options = R.U16(12);
    std::uint64_t At = 14;
    std::optional<QRectF> Rect;
    if (Options & (U_ETO_OPAQUE | U_ETO_CLIPPED)) {
        Rect = QRectF(QPointF(R.I16(14), R.I16(16)), QPointF(R.I16(18), R.I16(20)));
        At += 8;
    }
    const auto Text = R.Bytes(At, Length);
    At += (Length + 1) / 2 * 2;
    std::vector<double> Dx;
    if (R.Size() >= At + 2 * Length)
        for (std::uint64_t I = 0; I < Length; ++I) Dx.push_back(R.I16(At + 2 * I));
    Canvas.TextOut(Ref, Latin1(Text), Dx, Options, Rect);
}

std::vector<QPolygonF> PolyPolygon(const TRecord& R) {
    const std::uint64_t Polys = R.U16(6);
    std::vector<std::uint32_t> Counts;
    std::uint64_t Total = 0;
    for (std::uint64_t I = 0; I < Polys; ++I) {
        Counts.push_back(R.U16(8 + 2 * I));
        Total += Counts.back();
    }
    std::uint64_t At = 8 + 2 * Polys;
    R.Bytes(At, 4 * Total);
    std::vector<QPolygonF> Result;
    for (std::uint32_t N : Counts) {
        QPolygonF P;
        P.reserve(N);
        for (std::uint32_t I = 0; I < N; ++I, At += 4) P << QPointF(R.I16(At), R.I16(At + 2));
        Result.push_back(std::move(P));
    }
    return Result;
}

QPolygonF Poly(const TRecord& R) {
    const std::uint64_t N = static_cast<std::uint64_t>(std::max(0.0, R.I16(6)));
    R.Bytes(8, 4 * N);
    QPolygonF P;
    P.reserve(static_cast<qsizetype>(N));
    for (std::uint64_t I = 0; I < N; ++I) P << QPointF(R.I16(8 + 4 * I), R.I16(10 + 4 * I));
    return P;
}

// The record has no bitmap when its size is the function's own parameter count plus three,
// the test libuemf names U_TEST_NOPX2. The macro does not bracket its argument: the count is
// bracketed here, or the shift would take in the three.
bool WithoutBitmap(const TRecord& R) {
    const std::uint32_t Parameters = R.Function() >> 8;
    return U_TEST_NOPX2(static_cast<std::uint32_t>(R.Size() / 2), Parameters);
}

void PlayBitmap(const TRecord& R, TCanvas& Canvas, const TDecodeLimits& Limits) {
    const auto Rop = [&] { return R.U32(6); };
    switch (R.Function() & U_WMR_MASK) {
    case U_WMR_DIBBITBLT: {
        if (WithoutBitmap(R)) {
            Canvas.PatBlt(QRectF(R.YX(20), QSizeF(R.I16(18), R.I16(16))), Rop());
            return;
        }
        const QSizeF Size(R.I16(16), R.I16(14));
        const TDib Dib = DecodePackedDib(R.Rest(22), Limits);
        Canvas.DrawBitmap(QRectF(R.YX(18), Size), TDib{Dib.Image, false}, QRectF(R.YX(10), Size), Rop());
        return;
    }
    case U_WMR_DIBSTRETCHBLT: {
        if (WithoutBitmap(R)) {
            Canvas.PatBlt(QRectF(R.YX(24), QSizeF(R.I16(22), R.I16(20))), Rop());
            return;
        }
        const TDib Dib = DecodePackedDib(R.Rest(26), Limits);
        Canvas.DrawBitmap(QRectF(R.YX(22), QSizeF(R.I16(20), R.I16(18))), TDib{Dib.Image, false},
                          QRectF(R.YX(14), QSizeF(R.I16(12), R.I16(10))), Rop());
        return;
    }
    case U_WMR_STRETCHDIB: {
        if (R.U16(10) != U_DIB_RGB_COLORS) return;
        const TDib Dib = DecodePackedDib(R.Rest(28), Limits);
        Canvas.DrawBitmap(QRectF(R.YX(24), QSizeF(R.I16(22), R.I16(20))), Dib,
                          QRectF(R.YX(16), QSizeF(R.I16(14), R.I16(12))), Rop());
        return;
    }
    case U_WMR_SETDIBTODEV: {
        if (R.U16(6) != U_DIB_RGB_COLORS) return;
        const TDib Dib = DecodePackedDib(R.Rest(24), Limits);
        const QSizeF Size(R.I16(18), R.I16(16));
        Canvas.DrawBitmap(QRectF(R.YX(20), Size), Dib, QRectF(R.YX(12), Size), 0x00CC0020);
        return;
    }
    case U_WMR_PATBLT: Canvas.PatBlt(QRectF(R.YX(14), QSizeF(R.I16(12), R.I16(10))), Rop()); return;
    default: return;
    }
}

void PlayRecord(const TRecord& R, TCanvas& Canvas, TObjectTable& Objects, const TDecodeLimits& Limits) {
    switch (R.Function() & U_WMR_MASK) {
    case U_WMR_SETWINDOWORG: Canvas.SetWindowOrg(R.YX(6)); break;
    case U_WMR_SETWINDOWEXT: {
        const QPointF E = R.YX(6);
        Canvas.SetWindowExt(QSizeF(E.x(), E.y()));
        break;
    }
    case U_WMR_OFFSETWINDOWORG: Canvas.OffsetWindowOrg(R.YX(6)); break;
    case U_WMR_SCALEWINDOWEXT: Canvas.ScaleWindowExt(R.I16(12), R.I16(10), R.I16(8), R.I16(6)); break;
    case U_WMR_SAVEDC: Canvas.SaveDC(); break;
    case U_WMR_RESTOREDC: Canvas.RestoreDC(static_cast<int>(R.I16(6))); break;

    case U_WMR_SETBKCOLOR: Canvas.SetBkColor(ColorRef(R.U32(6))); break;
    case U_WMR_SETTEXTCOLOR: Canvas.SetTextColor(ColorRef(R.U32(6))); break;
    case U_WMR_SETBKMODE: Canvas.SetBkMode(R.U16(6)); break;
    case U_WMR_SETPOLYFILLMODE: Canvas.SetPolyFillMode(R.U16(6)); break;
    case U_WMR_SETROP2: Canvas.SetRop2(R.U16(6)); break;
    case U_WMR_SETSTRETCHBLTMODE: Canvas.SetStretchMode(R.U16(6)); break;
    case U_WMR_SETTEXTALIGN: Canvas.SetTextAlign(R.U16(6)); break;

    case U_WMR_CREATEPENINDIRECT: Objects.Create(Pen(R)); break;
    case U_WMR_CREATEBRUSHINDIRECT: Objects.Create(Brush(R)); break;
    case U_WMR_CREATEFONTINDIRECT: Objects.Create(Font(R)); break;
    case U_WMR_DIBCREATEPATTERNBRUSH: Objects.Create(PatternBrush(R, Limits)); break;
    // Objects we do not draw with still take their slot.
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEPATTERNBRUSH:
    case U_WMR_CREATEREGION:
    case U_WMR_CREATEBITMAP:
    case U_WMR_CREATEBITMAPINDIRECT: Objects.Create(TPlaceholder{}); break;
    case U_WMR_SELECTOBJECT:
        if (const TObject* O = Objects.Find(R.U16(6))) Canvas.Select(*O);
        break;
    case U_WMR_DELETEOBJECT: Objects.Delete(R.U16(6)); break;

    case U_WMR_MOVETO: Canvas.MoveTo(R.YX(6)); break;
    case U_WMR_LINETO: Canvas.LineTo(R.YX(6)); break;
    case U_WMR_POLYGON: Canvas.Polygon(Poly(R)); break;
    case U_WMR_POLYLINE: Canvas.Polyline(Poly(R)); break;
    case U_WMR_POLYPOLYGON: Canvas.PolyPolygon(PolyPolygon(R)); break;
    case U_WMR_RECTANGLE: Canvas.Rectangle(R.Box(6)); break;
    case U_WMR_ELLIPSE: Canvas.Ellipse(R.Box(6)); break;
    case U_WMR_ROUNDRECT: Canvas.RoundRect(R.Box(10), QSizeF(R.I16(8), R.I16(6))); break;
    case U_WMR_ARC:
    case U_WMR_PIE:
    case U_WMR_CHORD: {
        const std::uint32_t F = R.Function() & U_WMR_MASK;
        const TArcKind Kind = F == U_WMR_ARC ? akArc : F == U_WMR_PIE ? akPie : akChord;
        Canvas.Arc(Kind, R.Box(14), R.YX(10), R.YX(6));
        break;
    }
    case U_WMR_SETPIXEL: Canvas.SetPixel(R.YX(10), ColorRef(R.U32(6))); break;

    case U_WMR_INTERSECTCLIPRECT: Canvas.IntersectClipRect(R.Box(6)); break;
    case U_WMR_EXCLUDECLIPRECT: Canvas.ExcludeClipRect(R.Box(6)); break;

    case U_WMR_TEXTOUT: PlayText(R, Canvas, false); break;
    case U_WMR_EXTTEXTOUT: PlayText(R, Canvas, true); break;

    default: PlayBitmap(R, Canvas, Limits); break;
    }
}

} // namespace

bool LooksLikeWmf(std::span<const std::uint8_t> Data) {
    if (Data.size() < 6) return false;
    std::uint32_t Key;
    std::memcpy(&Key, Data.data(), 4);
    if (Key == PlaceableKey) return true;
    const unsigned Type = Data[0] | (Data[1] << 8), Words = Data[2] | (Data[3] << 8),
                   Version = Data[4] | (Data[5] << 8);
    return (Type == 1 || Type == 2) && Words == 9 && (Version == 0x100 || Version == 0x300);
}

TSetup ReadWmfSetup(std::span<const std::uint8_t> Data) {
    if (!LooksLikeWmf(Data)) Malformed(FormatName, "keine WMF-Kennung");
    U_WMRPLACEABLE Placeable;
    U_WMRHEADER Header;
    const std::size_t Length = HeaderLength(Data, Placeable, Header);
    if (Length == 0) {
        if (Data.size() < 40) Truncated(FormatName);
        Malformed(FormatName, "Kopf");
    }
    TSetup Setup;
    TMapping& M = Setup.Mapping;
    M.FixedViewport = true;
    if (Placeable.Key == PlaceableKey) {
        // The bounding box in logical units, shown at 96 dpi.
        const U_RECT16& B = Placeable.Dst;
        const double Inch = Placeable.Inch != 0 ? Placeable.Inch : 1440;
        const double W = static_cast<double>(B.right) - B.left, H = static_cast<double>(B.bottom) - B.top;
        Setup.Width = std::llround(std::abs(W) * 96 / Inch);
        Setup.Height = std::llround(std::abs(H) * 96 / Inch);
        M.WindowOrg = QPointF(B.left, B.top);
        M.WindowExt = QSizeF(W != 0 ? W : 1, H != 0 ? H : 1);
    } else {
        // Without a placeable header the window extent is the size, one pixel a unit.
        for (std::size_t At = Length; Data.size() - At >= 6;) {
            const TRecord R = RecordAt(Data, At);
            if (R.Function() == 0) break;
            if ((R.Function() & U_WMR_MASK) == U_WMR_SETWINDOWEXT) {
                const QPointF E = R.YX(6);
                Setup.Width = std::llround(std::abs(E.x()));
                Setup.Height = std::llround(std::abs(E.y()));
                M.WindowExt = QSizeF(E.x() != 0 ? E.x() : 1, E.y() != 0 ? E.y() : 1);
                break;
            }
            At += R.Size();
        }
    }
    M.Viewport = QSizeF(static_cast<double>(Setup.Width), static_cast<double>(Setup.Height));
    return Setup;
}

void PlayWmf(std::span<const std::uint8_t> Data, TCanvas& Canvas, const TDecodeLimits& Limits) {
    U_WMRPLACEABLE Placeable;
    U_WMRHEADER Header;
    std::size_t At = HeaderLength(Data, Placeable, Header);
    if (At == 0) Malformed(FormatName, "Kopf");
    TObjectTable Objects(Header.nObjects);
    // Every record is at least 6 bytes long, so the loop ends with the data.
    for (;;) {
        const TRecord R = RecordAt(Data, At);
        if (R.Function() == 0) return; // META_EOF
        PlayRecord(R, Canvas, Objects, Limits);
        At += R.Size();
    }
}

} // namespace zp::metafile

#include "gfx/Path.h"

#include "gfx/Fonts.h"

#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace zp {

namespace {

Qt::FillRule QtFillRule(TGPFillMode Mode) {
    return Mode == FillModeWinding ? Qt::WindingFill : Qt::OddEvenFill;
}

void CheckFinite(std::initializer_list<float> Values) {
    for (float V : Values)
        if (!std::isfinite(V)) throw EGdipError(InvalidParameter, "coordinate is not a finite number");
}

} // namespace

TGPPath::TGPPath(TGPFillMode FillMode) : FFillMode(FillMode) {
    FPath.setFillRule(QtFillRule(FillMode));
}

void TGPPath::SetFillMode(TGPFillMode Mode) {
    FFillMode = Mode;
    FPath.setFillRule(QtFillRule(Mode));
}

void TGPPath::AddPolygon(const TGPPointF* Points, int Count) {
    if (Count <= 0) return;
    TGPPathFigure Figure;
    Figure.Kind = TGPPathFigure::fkPolygon;
    for (int I = 0; I < Count; ++I) {
        CheckFinite({Points[I].X, Points[I].Y});
        Figure.Points << QPointF(Points[I].X, Points[I].Y);
    }
    FPath.moveTo(Figure.Points.front());
    for (int I = 1; I < Count; ++I) FPath.lineTo(Figure.Points[I]);
    FPath.closeSubpath();
    FFigures.push_back(std::move(Figure));
}

void TGPPath::AddRectangle(const TGPRectF& Rect) {
    CheckFinite({Rect.X, Rect.Y, Rect.Width, Rect.Height});
    const TGPPointF Corners[] = {{Rect.X, Rect.Y},
                                 {Rect.X + Rect.Width, Rect.Y},
                                 {Rect.X + Rect.Width, Rect.Y + Rect.Height},
                                 {Rect.X, Rect.Y + Rect.Height}};
    AddPolygon(Corners, 4);
}

void TGPPath::AddEllipse(const TGPRectF& Rect) {
    CheckFinite({Rect.X, Rect.Y, Rect.Width, Rect.Height});
    const QRectF R(Rect.X, Rect.Y, Rect.Width, Rect.Height);
    FPath.addEllipse(R);
    TGPPathFigure Figure;
    Figure.Kind = TGPPathFigure::fkEllipse;
    Figure.EllipseRect = R;
    FFigures.push_back(std::move(Figure));
}

void TGPPath::AddString(const QString& Text, const TGPFontFamily& Family, int Style, float EmSize,
                        const TGPRectF& LayoutRect, const TGPStringFormat* Format) {
    CheckFinite({EmSize, LayoutRect.X, LayoutRect.Y, LayoutRect.Width, LayoutRect.Height});
    if (Text.isEmpty() || EmSize <= 0) return;

    // Outlines are unhinted and scale linearly, so very large sizes are built smaller and
    // scaled up; the font engine need not rasterise giant glyphs.
    constexpr float MaxBuildSize = 1024.0f;
    const float BuildSize = std::min(EmSize, MaxBuildSize);
    const double Scale = static_cast<double>(EmSize) / BuildSize;
    const QFont Font = Family.MakeQFont(Style, BuildSize);
    const QFontMetricsF Metrics(Font);

    QString Normalised = Text;
    Normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList Lines = Normalised.split(QLatin1Char('\n'));
    const TGPStringAlignment Align = Format ? Format->Alignment() : StringAlignmentNear;
    const TGPStringAlignment LineAlign = Format ? Format->LineAlignment() : StringAlignmentNear;
    const auto Factor = [](TGPStringAlignment A) {
        return A == StringAlignmentCenter ? 0.5 : A == StringAlignmentFar ? 1.0 : 0.0;
    };

    const double LineSpacing = Metrics.lineSpacing() * Scale;
    const double BlockHeight = LineSpacing * Lines.size();
    double Top = LayoutRect.Y;
    if (LayoutRect.Height > 0) Top += (LayoutRect.Height - BlockHeight) * Factor(LineAlign);

    QPainterPath Glyphs;
    for (int I = 0; I < Lines.size(); ++I) {
        const QString& Line = Lines[I];
        if (Line.isEmpty()) continue;
        double Left = LayoutRect.X;
        if (LayoutRect.Width > 0)
            Left += (LayoutRect.Width - Metrics.horizontalAdvance(Line) * Scale) * Factor(Align);
        QPainterPath LinePath;
        LinePath.addText(QPointF(0, Metrics.ascent()), Font, Line);
        const QTransform Place =
            QTransform::fromScale(Scale, Scale) * QTransform::fromTranslate(Left, Top + I * LineSpacing);
        Glyphs.addPath(Place.map(LinePath));
    }
    if (Glyphs.isEmpty()) return;
    FPath.addPath(Glyphs);
    FPath.setFillRule(QtFillRule(FFillMode));
    FFigures.push_back(TGPPathFigure{});
}

void TGPPath::Transform(const TGPMatrix& Matrix) {
    const QTransform T = Matrix.ToQTransform();
    FPath = T.map(FPath);
    FPath.setFillRule(QtFillRule(FFillMode));
    for (auto& Figure : FFigures) {
        if (Figure.Kind == TGPPathFigure::fkPolygon) Figure.Points = T.map(Figure.Points);
        if (Figure.Kind == TGPPathFigure::fkEllipse) Figure.EllipseXf = Figure.EllipseXf * T;
    }
}

TGPRectF TGPPath::GetWorldBounds() const {
    if (FPath.isEmpty()) return {};
    const QRectF B = FPath.boundingRect();
    return {static_cast<float>(B.x()), static_cast<float>(B.y()), static_cast<float>(B.width()),
            static_cast<float>(B.height())};
}

void TGPPath::Reset() {
    FPath = QPainterPath();
    FPath.setFillRule(QtFillRule(FFillMode));
    FFigures.clear();
}

} // namespace zp

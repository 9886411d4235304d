#include "layers/LayerStyle.h"

#include "layers/XmlValues.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace zp {

namespace {

template <class TEnum> TEnum ReadByteEnum(pugi::xml_node Node, const char* Name) {
    return static_cast<TEnum>(static_cast<std::uint8_t>(ReadXMLInteger(Node, Name)));
}

// An ordinal that must name one of Count values.
int ReadOrdinal(pugi::xml_node Node, const char* Name, int Count) {
    const int Value = static_cast<std::uint8_t>(ReadXMLInteger(Node, Name));
    if (Value >= Count) ThrowInvalidXMLValue(std::to_string(Value), Name);
    return Value;
}

void WriteMatrix(pugi::xml_node Node, const char* Prefix, const TGPMatrixElements& M, bool Translation) {
    const std::string P = Prefix;
    WriteXMLFloat(Node, (P + ".M11").c_str(), M.M11);
    WriteXMLFloat(Node, (P + ".M12").c_str(), M.M12);
    WriteXMLFloat(Node, (P + ".M21").c_str(), M.M21);
    WriteXMLFloat(Node, (P + ".M22").c_str(), M.M22);
    if (Translation) {
        WriteXMLFloat(Node, (P + ".DX").c_str(), M.DX);
        WriteXMLFloat(Node, (P + ".DY").c_str(), M.DY);
    } else {
        // The figure recomputes its translation at every drawing; the layer's place is stored
        // with the frame.
        WriteXMLInteger(Node, (P + ".DX").c_str(), 0);
        WriteXMLInteger(Node, (P + ".DY").c_str(), 0);
    }
}

TGPMatrixElements ReadMatrix(pugi::xml_node Node, const char* Prefix) {
    const std::string P = Prefix;
    return {ReadXMLFloat(Node, (P + ".M11").c_str()), ReadXMLFloat(Node, (P + ".M12").c_str()),
            ReadXMLFloat(Node, (P + ".M21").c_str()), ReadXMLFloat(Node, (P + ".M22").c_str()),
            ReadXMLFloat(Node, (P + ".DX").c_str()),  ReadXMLFloat(Node, (P + ".DY").c_str())};
}

} // namespace

void T2DLayerStyle::WriteXML(pugi::xml_node aXMLNode,
                             const std::vector<std::unique_ptr<TEffect>>& EffectObjectList) const {
    pugi::xml_node N = aXMLNode;
    WriteXMLBoolean(N, "Outline", fOutline);
    WriteXMLInteger(N, "OutlineSize", fOutlineSize);
    WriteXMLColor(N, "OutlineColor", fOutlineColor);
    WriteXMLInteger(N, "OutlineDashStyle", fOutlineDashStyle);
    WriteXMLComment(N, "OutlinePosition/Rahmenausrichtung:  0=außen; 1=innen; 2=mittig;");
    WriteXMLInteger(N, "OutlinePosition", fOutlinePosition);
    WriteXMLInteger(N, "OutlineAlpha", fOutlineAlpha);
    WriteXMLInteger(N, "FillColorAlpha", fFillColorAlpha);
    WriteXMLInteger(N, "LineColorAlpha", fLineColorAlpha);
    WriteXMLColor(N, "FillColor", fFillColor);
    WriteXMLColor(N, "LineColor", fLineColor);
    WriteXMLBoolean(N, "FillPattern", fFillPattern);
    WriteXMLInteger(N, "NoOfHatchBrush", fNoOfHatchBrush);
    WriteXMLColor(N, "HatchBrushForeColor", fHatchBrushForeColor);
    WriteXMLColor(N, "HatchBrushBackColor", fHatchBrushBackColor);
    WriteXMLBoolean(N, "FillImage", fFillImage);
    if (fFillImage)
        WriteXMLPicture(N, "FillPatternData", [Pattern = fFillPatternBitmap]() -> std::string {
            return Pattern ? TGeneralGraphicFunctions::BitmapToString(*Pattern) : std::string();
        });
    WriteXMLComment(N, "FillPatternWrapMode:  0=Kacheln; 1=Kacheln vertikal gespiegelt; 2=Kacheln horizontal "
                       "gespiegelt; 3=Kacheln vertikal&horizontal gespiegelt; 4=Clamp WrapMode;");
    WriteXMLInteger(N, "FillPatternWrapMode", fFillPatternWrapMode);
    WriteXMLBoolean(N, "FillGradient", fFillGradient);
    WriteXMLColor(N, "FillGradientColor1", fFillGradientColor1);
    WriteXMLColor(N, "FillGradientColor2", fFillGradientColor2);
    WriteXMLComment(
        N, "Verlaufs-/Gradientenformen:  0=linear; 1=kreisförmig; 2=quadratisch; 3=linear-transparent; "
           "4=kreisförmig-transparent; 5=quadratisch-transparent;");
    WriteXMLInteger(N, "FillGradientShape", fFillGradientShape);
    WriteXMLInteger(N, "FillGradientPStartX", fFillGradientPStart.X);
    WriteXMLInteger(N, "FillGradientPStartY", fFillGradientPStart.Y);
    WriteXMLInteger(N, "FillGradientPEndX", fFillGradientPEnd.X);
    WriteXMLInteger(N, "FillGradientPEndY", fFillGradientPEnd.Y);
    WriteXMLBoolean(N, "Shadow", fShadow);
    WriteXMLInteger(N, "ShadowXShift", fShadowXShift);
    WriteXMLInteger(N, "ShadowYShift", fShadowYShift);
    WriteXMLColor(N, "ShadowColor", fShadowColor);
    WriteXMLInteger(N, "ShadowAlpha", fShadowAlpha);
    WriteMatrix(N, "TransformMatrix", fTransformMatrix, false);
    WriteMatrix(N, "ShadowTransformMatrix", fShadowTransformMatrix, true);

    WriteXMLInteger(N, "NumEffects", static_cast<std::int64_t>(EffectList.size()));
    for (std::size_t I = 0; I < EffectList.size(); ++I) {
        pugi::xml_node E = N.append_child("Effects");
        E.append_attribute("ID").set_value(static_cast<unsigned long long>(I));
        WriteXMLComment(E, EffectTypeComment());
        WriteXMLInteger(E, "EffectType", EffectList[I]);
        if (EffectList[I] != efMotionBlur) continue;
        // A list out of step with its objects stores the parameters of a new motion blur.
        const TMotionBlur Defaults;
        const auto* Blur = I < EffectObjectList.size()
                               ? dynamic_cast<const TMotionBlur*>(EffectObjectList[I].get())
                               : nullptr;
        if (!Blur) Blur = &Defaults;
        WriteXMLComment(E, BlurDirectionComment());
        WriteXMLInteger(E, "MotionBlurDirection", Blur->Direction());
        WriteXMLInteger(E, "MotionBlurStrength", Blur->Strenght());
    }
}

void T2DLayerStyle::ReadXML(pugi::xml_node aXMLNode, int Version) {
    pugi::xml_node N = aXMLNode;
    if (Version < FirstStyleBlockVersion) {
        // Older files knew pictures (kind 0) and texts (kind 1) only.
        const int Kind = ReadXMLInteger(N, "LayerType");
        if (Kind == 0) {
            fFillColorAlpha = ReadXMLInteger(N, "BitTransp");
            SetFillGradient(false);
        } else if (Kind == 1) {
            fFillColor = ReadXMLColor(N, "FontColor");
            fFillColorAlpha = ReadXMLInteger(N, "FontTransp");
            fOutline = ReadXMLBoolean(N, "Border");
            fOutlineSize = ReadXMLInteger(N, "BorderSize");
            fOutlineColor = ReadXMLColor(N, "BorderColor");
            fOutlineAlpha = ReadXMLInteger(N, "BorderTransp");
            fShadow = ReadXMLBoolean(N, "Shadow");
            fShadowXShift = ReadXMLInteger(N, "ShadowXShift");
            fShadowYShift = ReadXMLInteger(N, "ShadowYShift");
            fShadowColor = ReadXMLColor(N, "ShadowColor");
            fShadowAlpha = ReadXMLInteger(N, "ShadowTransp");
        }
        return;
    }

    fOutline = ReadXMLBoolean(N, "Outline");
    fOutlineSize = ReadXMLInteger(N, "OutlineSize");
    fOutlineColor = ReadXMLColor(N, "OutlineColor");
    fOutlineDashStyle = static_cast<TGPDashStyle>(ReadOrdinal(N, "OutlineDashStyle", DashStyleCustom + 1));
    fOutlinePosition = ReadByteEnum<TOutlinePosition>(N, "OutlinePosition");
    fOutlineAlpha = ReadXMLInteger(N, "OutlineAlpha");
    fFillColorAlpha = ReadXMLInteger(N, "FillColorAlpha");
    fLineColorAlpha = ReadXMLInteger(N, "LineColorAlpha");
    fFillColor = ReadXMLColor(N, "FillColor");
    fLineColor = ReadXMLColor(N, "LineColor");
    fFillPattern = ReadXMLBoolean(N, "FillPattern");
    fNoOfHatchBrush = static_cast<std::int16_t>(ReadXMLInteger(N, "NoOfHatchBrush"));
    fHatchBrushForeColor = ReadXMLColor(N, "HatchBrushForeColor");
    fHatchBrushBackColor = ReadXMLColor(N, "HatchBrushBackColor");
    fFillImage = ReadXMLBoolean(N, "FillImage");
    if (fFillImage)
        fFillPatternBitmap = TGeneralGraphicFunctions::StringToTGPImage(ReadXMLText(N, "FillPatternData"));
    fFillPatternWrapMode = static_cast<TGPWrapMode>(ReadOrdinal(N, "FillPatternWrapMode", WrapModeClamp + 1));
    fFillGradient = ReadXMLBoolean(N, "FillGradient");
    fFillGradientColor1 = ReadXMLColor(N, "FillGradientColor1");
    fFillGradientColor2 = ReadXMLColor(N, "FillGradientColor2");
    fFillGradientShape = ReadByteEnum<TShapeType>(N, "FillGradientShape");
    fFillGradientPStart = {ReadXMLInteger(N, "FillGradientPStartX"),
                           ReadXMLInteger(N, "FillGradientPStartY")};
    fFillGradientPEnd = {ReadXMLInteger(N, "FillGradientPEndX"), ReadXMLInteger(N, "FillGradientPEndY")};
    fShadow = ReadXMLBoolean(N, "Shadow");
    fShadowXShift = ReadXMLInteger(N, "ShadowXShift");
    fShadowYShift = ReadXMLInteger(N, "ShadowYShift");
    fShadowColor = ReadXMLColor(N, "ShadowColor");
    fShadowAlpha = ReadXMLInteger(N, "ShadowAlpha");
    fTransformMatrix = ReadMatrix(N, "TransformMatrix");
    fShadowTransformMatrix = ReadMatrix(N, "ShadowTransformMatrix");
}

void ReadXMLEffects(pugi::xml_node aXMLNode, const std::function<void(TEffectType)>& AddKind,
                    const std::function<void(std::unique_ptr<TMotionBlur>)>& AddMotionBlur) {
    const int Count = ReadXMLInteger(aXMLNode, "NumEffects");
    if (Count <= 0) return;
    pugi::xml_node E = aXMLNode.child("Effects");
    for (int I = 0; I < Count; ++I) {
        // A missing element reads as empty and stops with the conversion error.
        const auto Kind =
            static_cast<TEffectType>(static_cast<std::uint8_t>(ReadXMLInteger(E, "EffectType")));
        if (Kind == efMotionBlur) {
            auto Blur = std::make_unique<TMotionBlur>();
            Blur->SetDirection(static_cast<TBlurDirection>(
                static_cast<std::uint8_t>(ReadXMLInteger(E, "MotionBlurDirection"))));
            Blur->SetStrenght(ReadXMLInteger(E, "MotionBlurStrength"));
            AddMotionBlur(std::move(Blur));
        } else if (Kind <= efSoften) {
            AddKind(Kind);
        }
        E = NextXMLElement(E);
    }
}

void TFontLayerStyle::WriteXML(pugi::xml_node aXMLNode,
                               const std::vector<std::unique_ptr<TEffect>>& EffectObjectList) const {
    T2DLayerStyle::WriteXML(aXMLNode, EffectObjectList);
    WriteXMLText(aXMLNode, "Text", fText.toStdString());
    WriteXMLText(aXMLNode, "FontName", fFontName.toStdString());
    WriteXMLInteger(aXMLNode, "FontSize", fFontSize);
    WriteXMLBoolean(aXMLNode, "FontBold", fFontBold);
    WriteXMLBoolean(aXMLNode, "FontItalic", fFontItalic);
    WriteXMLBoolean(aXMLNode, "FontUnderline", fFontUnderline);
    WriteXMLBoolean(aXMLNode, "FontStrikeOut", fFontStrikeOut);
    WriteXMLComment(aXMLNode, BlurDirectionComment());
}

void TFontLayerStyle::ReadXML(pugi::xml_node aXMLNode, int Version) {
    T2DLayerStyle::ReadXML(aXMLNode, Version);
    const pugi::xml_node N = aXMLNode;
    SetText(QString::fromStdString(ReadXMLText(N, "Text")));
    const QString Name = QString::fromStdString(ReadXMLText(N, "FontName"));
    if (IsFontInstalled(Name)) {
        SetFontName(Name);
        SetMissingFont(QString());
    } else {
        SetFontName(QStringLiteral("Arial"));
        SetMissingFont(Name);
    }
    if (Version < FirstStyleBlockVersion) {
        // Older files stored the size in points. In pixels it may leave the int range; it then
        // saturates, and a text that large is refused when its surface is made.
        const double Pixels = std::nearbyint(ReadXMLInteger(N, "FontSize") * double{ScreenDpi} / 72.0);
        SetFontSize(static_cast<int>(std::clamp(Pixels, double{std::numeric_limits<int>::min()},
                                                double{std::numeric_limits<int>::max()})));
        SetFontBold(ReadXMLBoolean(N, "Bold"));
        SetFontItalic(ReadXMLBoolean(N, "Italic"));
        return;
    }
    SetFontSize(ReadXMLInteger(N, "FontSize"));
    SetFontBold(ReadXMLBoolean(N, "FontBold"));
    SetFontItalic(ReadXMLBoolean(N, "FontItalic"));
    SetFontUnderline(ReadXMLBoolean(N, "FontUnderline"));
    SetFontStrikeOut(ReadXMLBoolean(N, "FontStrikeOut"));
}

} // namespace zp

// The project file (".dgm"): the whole document as XML, every frame's background and settings and
// every layer's own elements.
#include "document/ProjectFile.h"

#include "document/DocForm.h"
#include "document/LayerKinds.h"
#include "files/PictureFiles.h"
#include "files/PictureStrings.h"
#include "layers/Filters.h"
#include "layers/LayerStyle.h"
#include "layers/Line.h"
#include "layers/PicLayer.h"
#include "layers/Polygon.h"
#include "layers/Rectangle.h"
#include "layers/XmlValues.h"
#include "raster/Parallel.h"
#include "raster/Resamplers.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <exception>
#include <sstream>
#include <thread>

namespace zp {

namespace {

constexpr const char* SBackgroundComment = "Save the Background-Bitmap as String";
constexpr const char* SLayerTypesComment =
    "Layertypen:  0=BitmapLayer; 1=TextLayer; 2=LinienLayer; 3=Layer fuer gleichseitiges Polygon; "
    "4=RechteckLayer; 5=EllipsenLayer;";

constexpr const char* SOpenProjectFailed = "Die Projektdatei „%1“ kann nicht geöffnet werden.\n\n%2";
constexpr const char* SNotXML = "Die Datei ist kein gültiges XML-Dokument: %1 (bei Zeichen %2).";
constexpr const char* SNotProject = "Die Datei ist keine Projektdatei: ihr fehlt das Element ProjectFile.";
constexpr const char* STooManyFrames = "Die Datei hat mehr Frames, als das Programm öffnen kann (%1).";
constexpr const char* STooManyLayers =
    "Ein Frame der Datei hat mehr Ebenen, als das Programm öffnen kann (%1).";
constexpr const char* SFewerElements = "Die Datei enthält weniger %1-Elemente, als %2 angibt.";
constexpr const char* STooMuchPicture =
    "Die Bilder der Datei brauchen mehr Speicher, als das Programm für ein Projekt verwendet.";
constexpr const char* SSurfaceTooLarge = "Ein Bild oder eine Ebene der Datei ist zu groß.";
constexpr const char* SPictureUnreadable =
    "Ein Bild einer Ebene ist beschädigt oder in einem unbekannten Format gespeichert.";
constexpr const char* SCappedBlur =
    "Einige Ebenen verlangen eine Bewegungsunschärfe der Stärke bis %1. Sie werden mit der größten "
    "Stärke gezeichnet, die das Programm kennt (%2).";

// Extra elements, which other readers ignore: the master alpha of layers that are not opaque,
// and what makes a picture layer a plain layer of pixels again.
constexpr const char* SMasterAlpha = "MasterAlpha";
constexpr const char* SPlainLayer = "PlainLayer";
constexpr const char* SPlainLeft = "PlainPosLeftTopX";
constexpr const char* SPlainTop = "PlainPosLeftTopY";
constexpr const char* STranspGradient = "TranspGradient";

QString Fill(const char* Text, const QString& First, const QString& Second = QString()) {
    const QString T = QString::fromUtf8(Text);
    return T.contains(QLatin1String("%2")) ? T.arg(First, Second) : T.arg(First);
}

std::string Utf8(const QString& Text) {
    return Text.toUtf8().toStdString();
}

// A layer location as integers: each corner rounded (halves to even) in picture pixels, as the
// frame is composed at 100 %.
TRect RoundedLocation(const TFloatRect& R) {
    return {RoundHalfEven(R.Left), RoundHalfEven(R.Top), RoundHalfEven(R.Right), RoundHalfEven(R.Bottom)};
}

void WritePosition(pugi::xml_node Node, const TRect& R) {
    WriteXMLInteger(Node, "PosLeftTopX", R.Left);
    WriteXMLInteger(Node, "PosLeftTopY", R.Top);
    WriteXMLInteger(Node, "PosRightBottomX", R.Right);
    WriteXMLInteger(Node, "PosRightBottomY", R.Bottom);
}

// Places a picture layer so that its picture's top-left lands on (Left, Top) of the frame.
TFloatRect PicturePlacedAt(const TPicLayer& Layer, float Left, float Top) {
    const float L = Left - static_cast<float>(Layer.StartPoint.X);
    const float T = Top - static_cast<float>(Layer.StartPoint.Y);
    return {L, T, L + static_cast<float>(Layer.Bitmap().Width()),
            T + static_cast<float>(Layer.Bitmap().Height())};
}

// A layer of pixels only is written as a picture layer (the pixels as the frame shows them, at
// the size of its place, its master alpha as the picture's opacity), which any reader knows;
// the extra elements let this program read back the plain layer with its exact pixels.
void WritePlainLayer(pugi::xml_node Node, const TBitmapLayer& Layer) {
    const TRect Place = RoundedLocation(Layer.Location());
    TBitmap32 Shown;
    if (Place.Width() == Layer.Bitmap().Width() && Place.Height() == Layer.Bitmap().Height()) {
        Shown.Assign(&Layer.Bitmap());
    } else {
        TBitmap32 Source;
        Source.Assign(&Layer.Bitmap());
        Source.SetResampler(std::make_unique<TLinearResampler>());
        Source.SetDrawMode(dmOpaque);
        Shown.SetSize(Place.Width(), Place.Height());
        Source.DrawTo(Shown, Shown.BoundsRect());
    }
    TPicLayer Picture(Shown);
    Picture.LayerStyle().SetFillGradient(false);
    Picture.LayerStyle().SetFillColorAlpha(static_cast<int>(Layer.Bitmap().MasterAlpha()));
    Picture.Paint();
    WritePosition(Node, RoundedLocation(PicturePlacedAt(Picture, static_cast<float>(Place.Left),
                                                        static_cast<float>(Place.Top))));
    WriteXMLComment(Node, SLayerTypesComment);
    Picture.WriteXML(Node);
    WriteXMLBoolean(Node, SPlainLayer, true);
    WriteXMLInteger(Node, SPlainLeft, Place.Left);
    WriteXMLInteger(Node, SPlainTop, Place.Top);
    WriteXMLBoolean(Node, STranspGradient, Layer.TranspGradient());
    if (Layer.Bitmap().MasterAlpha() != 255)
        WriteXMLInteger(Node, SMasterAlpha, static_cast<std::int64_t>(Layer.Bitmap().MasterAlpha()));
}

// A value that must lie in [Low, High].
int ReadXMLRange(pugi::xml_node Node, const char* Name, int Low, int High) {
    const int Value = ReadXMLInteger(Node, Name);
    if (Value < Low || Value > High) ThrowInvalidXMLValue(std::to_string(Value), Name);
    return Value;
}

// A layer coordinate. One farther out than the largest surface is long cannot be meant; within
// that bound every rounding of a place, and the size between two coordinates, fits an int.
float ReadCoordinate(pugi::xml_node Node, const char* Name) {
    constexpr int Farthest = static_cast<int>(TBitmap32::MaxPixels);
    return static_cast<float>(ReadXMLRange(Node, Name, -Farthest, Farthest));
}

std::unique_ptr<TBitmapLayer> ReadPlainLayer(pugi::xml_node Node, const TProjectLimits& Limits) {
    TDecodeLimits Decode;
    Decode.MaxPixels = std::min(Decode.MaxPixels, Limits.MaxSurfacePixels);
    const std::unique_ptr<TBitmap32> Pixels = StringToBitmap(ReadXMLText(Node, "PictureData"), Decode);
    auto Layer = std::make_unique<TBitmapLayer>();
    Layer->Bitmap().Assign(Pixels.get());
    Layer->Bitmap().SetDrawMode(dmBlend);
    Layer->Bitmap().SetResampler(std::make_unique<TLinearResampler>());
    Layer->SetTranspGradient(ReadXMLBoolean(Node, STranspGradient));
    Layer->SetScaled(true);
    Layer->SetCropped(true);
    const float X = ReadCoordinate(Node, SPlainLeft);
    const float Y = ReadCoordinate(Node, SPlainTop);
    Layer->SetLocation(
        {X, Y, X + static_cast<float>(Pixels->Width()), Y + static_cast<float>(Pixels->Height())});
    return Layer;
}

TFloatRect ReadPosition(pugi::xml_node Node) {
    return {ReadCoordinate(Node, "PosLeftTopX"), ReadCoordinate(Node, "PosLeftTopY"),
            ReadCoordinate(Node, "PosRightBottomX"), ReadCoordinate(Node, "PosRightBottomY")};
}

void ReadMasterAlpha(pugi::xml_node Node, TBitmapLayer& Layer) {
    if (Node.child(SMasterAlpha))
        Layer.Bitmap().SetMasterAlpha(static_cast<unsigned>(ReadXMLRange(Node, SMasterAlpha, 0, 255)));
}

// The parser's finding in the user's language.
const char* ParseProblem(pugi::xml_parse_status Status) {
    switch (Status) {
    case pugi::status_out_of_memory: return "nicht genug Speicher";
    case pugi::status_unrecognized_tag:
    case pugi::status_bad_start_element:
    case pugi::status_bad_attribute: return "ein Element ist beschädigt";
    case pugi::status_bad_end_element:
    case pugi::status_end_element_mismatch: return "ein Element ist nicht richtig abgeschlossen";
    case pugi::status_bad_pi:
    case pugi::status_bad_comment:
    case pugi::status_bad_cdata:
    case pugi::status_bad_doctype:
    case pugi::status_bad_pcdata: return "ein Text, Kommentar oder eine Deklaration ist beschädigt";
    case pugi::status_no_document_element: return "die Datei enthält kein Element";
    default: return "die Datei ist beschädigt oder unvollständig";
    }
}

std::int64_t PixelsOf(const TBitmap32& B) {
    return std::int64_t{B.Width()} * B.Height();
}

std::int64_t PixelsOf(const TGPImage& Picture) {
    return std::int64_t{Picture.Width()} * Picture.Height();
}

// What a layer read from a file holds: its surface, and the pictures it keeps to draw from,
// which may be far larger than a surface drawn small.
std::int64_t PixelsHeld(TBitmapLayer& Layer) {
    std::int64_t Pixels = PixelsOf(Layer.Bitmap());
    if (const TStyledLayer* Styled = AsStyled(&Layer))
        if (const auto& Pattern = Styled->LayerStyle().FillPatternBitmap()) Pixels += PixelsOf(*Pattern);
    if (const auto* Picture = dynamic_cast<const TPicLayer*>(&Layer))
        Pixels += PixelsOf(Picture->gdiBitmap());
    return Pixels;
}

// The frame's backgrounds, decoded on every core before the frames are built; a picture that
// fails keeps its error until its frame is read.
struct TDecodedBackgrounds {
    std::vector<std::unique_ptr<TBitmap32>> Pictures;
    std::vector<std::exception_ptr> Errors;
};

TDecodedBackgrounds DecodeBackgrounds(const std::vector<pugi::xml_node>& Frames,
                                      const TProjectLimits& Limits) {
    TDecodedBackgrounds D;
    D.Pictures.resize(Frames.size());
    D.Errors.resize(Frames.size());
    TDecodeLimits Decode;
    Decode.MaxPixels = std::min(Decode.MaxPixels, Limits.MaxSurfacePixels);
    ParallelFor(static_cast<int>(Frames.size()), [&](int I) {
        const auto U = static_cast<std::size_t>(I);
        try {
            // A missing frame stops the reading when it is reached, with the usual error.
            if (Frames[U]) D.Pictures[U] = StringToBitmap(ReadXMLText(Frames[U], "Background"), Decode);
        } catch (...) {
            D.Errors[U] = std::current_exception();
        }
    });
    return D;
}

} // namespace

int ProjectFileVersion(std::string_view ProgramVersion) {
    std::string Digits(ProgramVersion);
    for (int Dots = 0; Dots < 3; ++Dots) {
        const std::size_t At = Digits.find('.');
        if (At == std::string::npos) break;
        Digits.erase(At, 1);
    }
    int Version = 0;
    const char* End = Digits.data() + Digits.size();
    const auto [Ptr, Error] = std::from_chars(Digits.data(), End, Version);
    if (Digits.empty() || Error != std::errc() || Ptr != End)
        ThrowInvalidXMLValue(ProgramVersion, "ProgramVersion");
    return Version;
}

// ---------------------------------------------------------------- writing

std::string TDocForm::ProjectToXMLText() const {
    pugi::xml_document Doc;
    pugi::xml_node Decl = Doc.append_child(pugi::node_declaration);
    Decl.append_attribute("version") = "1.0";
    Decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node Root = Doc.append_child("ProjectFile");
    WriteXMLText(Root, "ProgramVersion", ProjectProgramVersion);
    WriteXMLInteger(Root, "NumLoops", FNumLoops);
    WriteXMLInteger(Root, "NumFrames", FrameCount());

    TXMLPictureBatch Pictures;
    for (int I = 0; I < FrameCount(); ++I) {
        const TGifFrames& R = FFrames[static_cast<std::size_t>(I)];
        pugi::xml_node F = Root.append_child("Frame");
        F.append_attribute("ID") = I;
        WriteXMLComment(F, SBackgroundComment);
        const TBitmap32* Background = &R.ImgView->Bitmap();
        WriteXMLPicture(F, "Background", [Background] { return BitmapToString(*Background); });
        WriteXMLInteger(F, "ShowDuration", R.Duration);
        WriteXMLInteger(F, "ColorReduction", R.ColorReduction);
        WriteXMLInteger(F, "DitherMode", R.DitherMode);

        // The selection frame and the marked rectangle are no part of the picture.
        const TLayerCollection& Layers = R.ImgView->Layers();
        std::vector<TBitmapLayer*> Written;
        for (int J = 0; J < Layers.Count(); ++J)
            if (auto* L = dynamic_cast<TBitmapLayer*>(Layers.Items(J)); L && !IsFrameLayer(L))
                Written.push_back(L);
        WriteXMLInteger(F, "NumLayers", static_cast<std::int64_t>(Written.size()));
        for (std::size_t J = 0; J < Written.size(); ++J) {
            TBitmapLayer* L = Written[J];
            pugi::xml_node N = F.append_child("Layer");
            N.append_attribute("ID") = static_cast<int>(J);
            if (T2DFiguren* Figure = AsFigure(L)) {
                WritePosition(N, RoundedLocation(L->Location()));
                WriteXMLComment(N, SLayerTypesComment);
                Figure->WriteXML(N);
            } else if (TTextLayer* Text = AsText(L)) {
                WritePosition(N, RoundedLocation(L->Location()));
                WriteXMLComment(N, SLayerTypesComment);
                Text->SaveToXML(N);
            } else {
                WritePlainLayer(N, *L);
                continue;
            }
            if (L->Bitmap().MasterAlpha() != 255)
                WriteXMLInteger(N, SMasterAlpha, static_cast<std::int64_t>(L->Bitmap().MasterAlpha()));
        }
    }
    Pictures.Finish();

    std::ostringstream Out;
    Doc.save(Out, "  ", pugi::format_default, pugi::encoding_utf8);
    return std::move(Out).str();
}

void TDocForm::SaveProjectToXML() {
    const std::string Text = ProjectToXMLText();
    WriteFileSafely(FFileName, {reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size()});
}

// ---------------------------------------------------------------- reading

void TDocForm::ReadProject(const QString& AFileName) {
    LoadProjectFromXML(AFileName);
}

void TDocForm::LoadProjectFromXML(const QString& AFileName, const TProjectLimits& Limits) {
    const QString Shown = QFileInfo(AFileName).fileName();
    try {
        const std::vector<std::uint8_t> Bytes = ReadWholeFile(AFileName, Limits.MaxFileBytes);
        LoadProjectFromXMLText({reinterpret_cast<const char*>(Bytes.data()), Bytes.size()}, Limits);
    } catch (const EProjectFileError&) {
        throw;
    } catch (const EBitmapError&) {
        throw EProjectFileError(Utf8(Fill(SOpenProjectFailed, Shown, QString::fromUtf8(SSurfaceTooLarge))));
    } catch (const EGdipError& E) {
        // The drawing layer's texts are for developers; the user gets the reason in German.
        const char* Reason = E.Status() == OutOfMemory ? SSurfaceTooLarge : SPictureUnreadable;
        throw EProjectFileError(Utf8(Fill(SOpenProjectFailed, Shown, QString::fromUtf8(Reason))));
    } catch (const std::bad_alloc&) {
        throw EProjectFileError(Utf8(Fill(SOpenProjectFailed, Shown, QString::fromUtf8(STooMuchPicture))));
    } catch (const std::exception& E) {
        throw EProjectFileError(Utf8(Fill(SOpenProjectFailed, Shown, QString::fromUtf8(E.what()))));
    }
}

void TDocForm::LoadProjectFromXMLText(std::string_view Text, const TProjectLimits& Limits) {
    try {
        ReadProjectText(Text, Limits);
    } catch (...) {
        // Nothing of a file that fails part-way stays: the document is empty again, and what
        // the frames read so far took is given back at once.
        DeleteAllFrames();
        if (TImgView32* First = ImgView()) CreateNewImage(0, 0, 0, First);
        FNumLoops = 0;
        ClearUndo();
        throw;
    }
}

void TDocForm::ReadProjectText(std::string_view Text, const TProjectLimits& Limits) {
    pugi::xml_document Doc;
    // Entities other than XML's own are not expanded, and no DTD is read.
    const pugi::xml_parse_result Parsed =
        Doc.load_buffer(Text.data(), Text.size(), pugi::parse_default, pugi::encoding_auto);
    if (!Parsed)
        throw EXMLReadError(Utf8(Fill(SNotXML, QString::fromUtf8(ParseProblem(Parsed.status)),
                                      QString::number(static_cast<long long>(Parsed.offset)))));
    const pugi::xml_node Root = Doc.child("ProjectFile");
    if (!Root) throw EXMLReadError(SNotProject);
    const int Version = ProjectFileVersion(ReadXMLText(Root, "ProgramVersion"));
    // A loop count is 16 bits in the animation.
    FNumLoops = ReadXMLRange(Root, "NumLoops", 0, 65535);
    TSurfaceLimit Surfaces(Limits.MaxSurfacePixels);
    FReadLimits = Limits;
    ReadProjectFrames(Root, Version, Limits);
    SelectLayer(nullptr);
    if (Frame1()) SetActivePage(Frame1());
    ClearUndo();
}

void TDocForm::ReadProjectFrames(const pugi::xml_node Root, int Version, const TProjectLimits& Limits) {
    const int Count = ReadXMLInteger(Root, "NumFrames");
    // A document has at least one frame; without one its first frame would stay without a
    // picture, and such a document cannot be saved.
    if (Count < 1) ThrowInvalidXMLValue(std::to_string(Count), "NumFrames");
    if (Count > Limits.MaxFrames) throw EXMLReadError(Utf8(Fill(STooManyFrames, QString::number(Count))));
    std::vector<pugi::xml_node> Frames;
    pugi::xml_node F = Root.child("Frame");
    for (int I = 0; I < Count; ++I) {
        Frames.push_back(F);
        F = NextXMLElement(F);
    }
    TDecodedBackgrounds Backgrounds = DecodeBackgrounds(Frames, Limits);

    std::int64_t Pixels = 0;
    const auto Spend = [&](std::int64_t More) {
        Pixels += More;
        if (Pixels > Limits.MaxTotalPixels) throw EXMLReadError(STooMuchPicture);
    };
    for (int I = 0; I < Count; ++I) {
        const auto U = static_cast<std::size_t>(I);
        if (Backgrounds.Errors[U]) std::rethrow_exception(Backgrounds.Errors[U]);
        const pugi::xml_node Node = Frames[U];
        if (!Node)
            throw EXMLReadError(
                Utf8(Fill(SFewerElements, QStringLiteral("Frame"), QStringLiteral("NumFrames"))));
        std::unique_ptr<TBitmap32> Background = std::move(Backgrounds.Pictures[U]);
        Spend(PixelsOf(*Background));
        const TPoint Size{Background->Width(), Background->Height()};
        // The first Frame element fills the document's first frame whatever its ID: one whose
        // ID is not 0 would leave the first frame without a picture, which cannot be saved. A
        // later one with ID 0 paints over the current frame, as files from the field expect.
        if (I > 0 && Node.attribute("ID").as_int() > 0) AddFrameSheet();
        CreateNewImage(*Background);
        Background.reset();
        const int Index = GetIndex();
        if (Index < 0) continue;
        TGifFrames& R = FFrames[static_cast<std::size_t>(Index)];
        // Delays are hundredths of a second in 16 bits.
        R.Duration = ReadXMLRange(Node, "ShowDuration", 0, 655350);
        R.ColorReduction = static_cast<TColorReduction>(ReadXMLRange(Node, "ColorReduction", 0, rmPalette));
        R.DitherMode = static_cast<TDitherMode>(ReadXMLRange(Node, "DitherMode", 0, dmBurkes));

        const int Layers = ReadXMLInteger(Node, "NumLayers");
        if (Layers > Limits.MaxLayersPerFrame)
            throw EXMLReadError(Utf8(Fill(STooManyLayers, QString::number(Layers))));
        pugi::xml_node L = Layers > 0 ? Node.child("Layer") : pugi::xml_node();
        // Current-layout layers are drawn on every core, a few at a time so that the picture
        // budget is checked before much more is drawn; they are put on the frame in file order.
        struct TPending {
            std::unique_ptr<TBitmapLayer> Layer;
            pugi::xml_node Node;
            TFloatRect Location;
        };
        std::vector<TPending> Pending;
        const auto PaintPending = [&] {
            ParallelFor(static_cast<int>(Pending.size()),
                        [&](int K) { PaintReadLayer(*Pending[static_cast<std::size_t>(K)].Layer); });
            for (TPending& P : Pending) {
                TBitmapLayer* Made = PlaceReadLayer(std::move(P.Layer), P.Node, P.Location);
                Spend(PixelsHeld(*Made));
            }
            Pending.clear();
        };
        const std::size_t Batch =
            2 * static_cast<std::size_t>(std::max(1u, std::thread::hardware_concurrency()));
        for (int J = 0; J < Layers; ++J) {
            if (!L)
                throw EXMLReadError(
                    Utf8(Fill(SFewerElements, QStringLiteral("Layer"), QStringLiteral("NumLayers"))));
            const int Kind = ReadXMLInteger(L, "LayerType");
            const TFloatRect Location = ReadPosition(L);
            if (Version >= FirstStyleBlockVersion) {
                if (std::unique_ptr<TBitmapLayer> Read = ReadLayerFromXML(L, Kind, Version)) {
                    Pending.push_back({std::move(Read), L, Location});
                    if (Pending.size() >= Batch) PaintPending();
                }
            } else if (TBitmapLayer* Made = CreateOlderLayerFromXML(L, Kind, Version, Location, Size)) {
                Spend(PixelsHeld(*Made));
            }
            L = NextXMLElement(L);
        }
        PaintPending();
        Notify(TDocChange::FrameContent, R.TabSheet);
    }
}

TBitmapLayer* TDocForm::CreateLayerFromXML(pugi::xml_node aXMLNode, int LayerType, int Version,
                                           const TFloatRect& Location) {
    if (!CurrentView()) return nullptr;
    std::unique_ptr<TBitmapLayer> Layer = ReadLayerFromXML(aXMLNode, LayerType, Version);
    if (!Layer) return nullptr;
    PaintReadLayer(*Layer);
    return PlaceReadLayer(std::move(Layer), aXMLNode, Location);
}

std::unique_ptr<TBitmapLayer> TDocForm::ReadLayerFromXML(pugi::xml_node aXMLNode, int LayerType,
                                                         int Version) {
    if (LayerType == 0 && aXMLNode.child(SPlainLayer) && ReadXMLBoolean(aXMLNode, SPlainLayer))
        return ReadPlainLayer(aXMLNode, FReadLimits);
    std::unique_ptr<TStyledLayer> Layer;
    switch (LayerType) {
    case 0: Layer = std::make_unique<TPicLayer>(); break;
    case 1: {
        std::unique_ptr<TTextLayer> Text = MakeTextLayer();
        Text->LoadFromXML(aXMLNode, Version);
        Layer = std::move(Text);
        break;
    }
    case 2: Layer = std::make_unique<T2DLine>(); break;
    case 3: Layer = std::make_unique<T2DPolygon>(); break;
    case 4: Layer = std::make_unique<T2DRectangle>(); break;
    case 5: Layer = std::make_unique<T2DEllipse>(); break;
    default: return nullptr;
    }
    if (T2DFiguren* Figure = AsFigure(Layer.get())) Figure->ReadXML(aXMLNode, Version);
    return Layer;
}

void TDocForm::PaintReadLayer(TBitmapLayer& Layer) {
    if (T2DFiguren* Figure = AsFigure(&Layer))
        Figure->Paint();
    else if (TTextLayer* Text = AsText(&Layer); Text && !Text->FontLayerStyle().Text().isEmpty())
        Text->WriteText(5, 5);
}

TBitmapLayer* TDocForm::PlaceReadLayer(std::unique_ptr<TBitmapLayer> Layer, pugi::xml_node aXMLNode,
                                       const TFloatRect& Location) {
    ReadMasterAlpha(aXMLNode, *Layer);
    // A plain layer keeps the place its own elements gave it.
    if (AsStyled(Layer.get())) Layer->SetLocation(Location);
    return PutLayer(std::move(Layer), *FActivePage, -1);
}

TBitmapLayer* TDocForm::CreateOlderLayerFromXML(pugi::xml_node aXMLNode, int LayerType, int Version,
                                                const TFloatRect& Location, TPoint BackgroundSize) {
    TTabSheet* Page = FActivePage;
    TImgView32* View = CurrentView();
    if (!View) return nullptr;
    if (LayerType == 0) {
        const auto Picture = TGeneralGraphicFunctions::StringToTGPImage(ReadXMLText(aXMLNode, "LayerBitmap"));
        if (!Picture) ThrowInvalidXMLValue("", "LayerBitmap");
        auto Layer = std::make_unique<TPicLayer>(*Picture);
        // The older layout's own elements: the opacity, and no gradient.
        Layer->LayerStyle().ReadXML(aXMLNode, Version);
        Layer->Paint();
        // The stored point is the picture's centre.
        const int W = Picture->Width(), H = Picture->Height();
        Layer->SetLocation(PicturePlacedAt(*Layer, Location.Left - static_cast<float>(W / 2),
                                           Location.Top - static_cast<float>(H / 2)));
        return PutLayer(std::move(Layer), *Page, -1);
    }
    if (LayerType != 1) return nullptr;
    TTextLayer* Text = NewTextLayer({RoundHalfEven(Location.Left), RoundHalfEven(Location.Top)},
                                    {RoundHalfEven(Location.Right), RoundHalfEven(Location.Bottom)}, View);
    if (!Text) return nullptr;
    Text->LoadFromXML(aXMLNode, Version);
    PaintText(Text);
    const TFloatRect L = Text->Location();
    const float Left = L.Left + static_cast<float>(5 * BackgroundSize.X / 2);
    const float Top = L.Top + static_cast<float>(5 * BackgroundSize.Y / 2);
    Text->SetLocation({Left, Top, Left + static_cast<float>(Text->Bitmap().Width()),
                       Top + static_cast<float>(Text->Bitmap().Height())});
    return Text;
}

QString TDocForm::ReportMissingFonts() const {
    QStringList Fonts;
    for (const TGifFrames& R : FFrames) {
        const TLayerCollection& Layers = R.ImgView->Layers();
        for (int J = 0; J < Layers.Count(); ++J) {
            const TTextLayer* T = AsText(Layers.Items(J));
            if (!T) continue;
            const QString& Name = T->FontLayerStyle().MissingFont();
            if (Name.isEmpty() || Fonts.contains(Name, Qt::CaseInsensitive)) continue;
            Fonts << Name;
        }
    }
    if (Fonts.isEmpty()) return QString();
    Fonts.sort(Qt::CaseInsensitive);
    QString Message = FHost.LangText(QStringLiteral("TxtMissFont1")) + QStringLiteral("\n\n");
    for (const QString& Name : Fonts) Message += Name + QLatin1Char('\n');
    return Message + QLatin1Char('\n') + FHost.LangText(QStringLiteral("TxtMissFont2"));
}

QString TDocForm::ReportCappedEffects() const {
    std::int32_t Strongest = 0;
    for (const TGifFrames& R : FFrames) {
        const TLayerCollection& Layers = R.ImgView->Layers();
        for (int J = 0; J < Layers.Count(); ++J)
            if (const TStyledLayer* S = AsStyled(Layers.Items(J)))
                Strongest = std::max(Strongest, S->CappedBlurStrength);
    }
    if (Strongest == 0) return QString();
    return Fill(SCappedBlur, QString::number(Strongest), QString::number(TMotionBlur::MaxStrength));
}

} // namespace zp

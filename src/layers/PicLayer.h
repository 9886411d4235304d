#pragma once

#include "gfx/Image.h"
#include "layers/Figuren.h"

#include <memory>
#include <vector>

namespace zp {

// An imported picture as a figure: the picture itself is never edited; every redraw draws it
// with the figure's transformation and opacity, and its shadow, outline and gradient follow the
// silhouette traced from the drawn picture.
class TPicLayer : public T2DFiguren {
public:
    // A file in any format the image decoder reads; throws EGdipError when it cannot.
    explicit TPicLayer(const QString& FileName);
    // A copy of a decoded picture.
    explicit TPicLayer(const TGPImage& AGDIBitmap);
    // A surface, its transparency kept.
    explicit TPicLayer(const TBitmap32& ABitmap32);
    // No picture yet: for the project reader, whose ReadXML gives it one. Nothing may draw it
    // before.
    TPicLayer() = default;
    const char* ClassName() const override { return "TPicLayer"; }

    using T2DFiguren::Paint;
    void Paint() override;
    void WriteXML(pugi::xml_node aXMLNode) const override;
    void ReadXML(pugi::xml_node aXMLNode, int Version) override;
    TPicLayer* Clone(TLayerCollection& Layers) const override;
    std::unique_ptr<TBitmapLayer> SaveState() const override;
    void SwapState(TBitmapLayer& Other) override;

    const TGPImage& gdiBitmap() const { return *FGdiBitmap; }
    // The silhouette is traced again only when the picture's untransformed place in the bitmap
    // changed; this forgets it, so the next drawing traces anew.
    void ForgetSilhouette() { FTracedIn = {}; }
    // The traced silhouette from the last drawing, in layer-bitmap pixels.
    std::vector<TGPPointF> PathPoints;

protected:
    void AddOutline(TGPPath& Path) override;
    void AddShadowOutline(TGPPath& Path) override;

private:
    void InitPicture();
    void Refresh();
    void DrawPicture();
    // The untransformed place of the picture in the bitmap.
    TGPRectF PictureRectF() const;

    std::shared_ptr<TGPImage> FGdiBitmap;
    // Where PathPoints were traced: the picture's rectangle and the bitmap's size.
    struct TTraced {
        TGPRectF Place{};
        int Width = 0, Height = 0;
        bool operator==(const TTraced& O) const {
            return Place.X == O.Place.X && Place.Y == O.Place.Y && Place.Width == O.Place.Width &&
                   Place.Height == O.Place.Height && Width == O.Width && Height == O.Height;
        }
    } FTracedIn;
};

} // namespace zp

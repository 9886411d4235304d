#include "document/Clipboard.h"

#include "layers/StyledLayer.h"
#include "raster/Resamplers.h"

#include <cstring>

namespace zp {

TProgramClipboard::TProgramClipboard() {
    ClpBrdImgView.Bitmap().SetResampler(std::make_unique<TNearestResampler>());
    ClpBrdImgView.SetBitmapAlign(baCustom);
    ClpBrdImgView.SetScale(1.0f);
    ClpBrdImgView.SetScaleMode(smScale);
}

TStyledLayer* TProgramClipboard::Newest() const {
    for (auto It = ClpBrdLayer.rbegin(); It != ClpBrdLayer.rend(); ++It)
        if (It->Get()) return It->Get();
    return nullptr;
}

void TProgramClipboard::Append(TStyledLayer& Layer) {
    Layer.SetVisible(false);
    // Only the newest copy is ever pasted: older ones would only hold memory.
    for (TLayerRef<TStyledLayer>& Old : ClpBrdLayer)
        if (TStyledLayer* L = Old.Get(); L && L != &Layer) ClpBrdImgView.Layers().Delete(L);
    ClpBrdLayer.clear();
    ClpBrdLayer.emplace_back(&Layer);
}

namespace {

class TMemoryClipboard final : public TSystemClipboard {
public:
    bool HasPicture() const override { return !FPicture.isNull(); }
    QImage Picture() const override { return FPicture; }
    void SetPicture(const QImage& Picture) override {
        FPicture = Picture.convertToFormat(QImage::Format_ARGB32);
    }

private:
    QImage FPicture;
};

TMemoryClipboard& MemoryClipboard() {
    static TMemoryClipboard Clipboard;
    return Clipboard;
}

TSystemClipboard* Installed = nullptr;

} // namespace

TSystemClipboard& SystemClipboard() {
    return Installed ? *Installed : MemoryClipboard();
}

TSystemClipboard* SetSystemClipboard(TSystemClipboard* Clipboard) {
    TSystemClipboard* Previous = Installed;
    Installed = Clipboard;
    return Previous;
}

bool SamePicture(const QImage& A, const QImage& B) {
    if (A.isNull() || B.isNull() || A.size() != B.size()) return false;
    const QImage PA = A.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage PB = B.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto Bytes = static_cast<std::size_t>(PA.width()) * 4;
    for (int Y = 0; Y < PA.height(); ++Y)
        if (std::memcmp(PA.constScanLine(Y), PB.constScanLine(Y), Bytes) != 0) return false;
    return true;
}

} // namespace zp

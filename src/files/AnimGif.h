#pragma once

#include "files/GifImage.h"
#include "files/GifTypes.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace zp {

class TBitmap32;

// What one frame of a document contributes to the animation.
struct TGifFrameSource {
    const TBitmap32* Bitmap = nullptr; // the flattened frame
    int Duration = 1000;               // milliseconds
    TColorReduction ColorReduction = rmQuantize;
    TDitherMode DitherMode = dmFloydSteinberg;
};

// Progress of an assembly: Done of Total frames reduced. Called on the thread that runs the
// assembly, at the start, about every 50 ms and at the end; returning false cancels.
using TGifProgressEvent = std::function<bool(int Done, int Total)>;

// A frame could not be converted; the message is the reason as the user sees it.
class EGIFFrameError : public EGIFError {
public:
    EGIFFrameError(const std::string& Message, int FrameIndex)
        : EGIFError(Message), FFrameIndex(FrameIndex) {}
    int FrameIndex() const { return FFrameIndex; }

private:
    int FFrameIndex;
};

// Builds an animated GIF from the frames in order: each frame is reduced with its own colour
// reduction and dithering, encoded, and appended with its delay; the first image carries the
// loop count. Frames are reduced on up to Threads threads at once (0: one per core); the result
// is the same byte for byte whatever the number. Returns null when OnProgress cancelled.
// Throws EGIFFrameError for the first frame in order that cannot be converted (for example
// "Color table overflow"); nothing is returned then either.
std::unique_ptr<TGIFImage> CreateAnimGif(const std::vector<TGifFrameSource>& Frames, int NumLoops,
                                         const TGifProgressEvent& OnProgress = {}, int Threads = 0);

// Writes the animation to AFileName (nothing happens without one); see TGIFImage::SaveToFile.
void SaveAnimGif(const TGIFImage* GifImg, const QString& AFileName);

// The name an animation is saved under: ".gif" is appended unless the file name already ends
// in exactly ".gif" (bild -> bild.gif, bild.GIF -> bild.GIF.gif).
QString AnimGifFileNameWithExt(const QString& AFileName);

} // namespace zp

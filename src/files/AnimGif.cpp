#include "files/AnimGif.h"

#include "raster/Bitmap32.h"

#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace zp {

namespace {

// The frame as a one-image GIF with its own settings, already encoded; null when cancelled.
std::unique_ptr<TGIFImage> ConvertFrame(const TGifFrameSource& Frame, const std::atomic<bool>& Cancel) {
    auto Temp = std::make_unique<TGIFImage>();
    Temp->ColorReduction = Frame.ColorReduction;
    Temp->DitherMode = Frame.DitherMode;
    if (!Temp->Assign(*Frame.Bitmap, &Cancel)) return nullptr;
    Temp->Images(0).EncodedData();
    return Temp;
}

struct TFrameResult {
    std::unique_ptr<TGIFImage> Image;
    std::exception_ptr Error;
};

class TAssembly {
public:
    TAssembly(const std::vector<TGifFrameSource>& Frames, const TGifProgressEvent& OnProgress)
        : FFrames(Frames), FOnProgress(OnProgress), FResults(Frames.size()) {}

    // False when cancelled.
    bool Run(int Threads) {
        const int Total = static_cast<int>(FFrames.size());
        if (!Report(0)) return false;
        if (Threads <= 1 || Total <= 1) {
            for (int I = 0; I < Total; ++I) {
                Convert(I);
                if (!Report(I + 1)) return false;
            }
            return true;
        }
        // Whatever happens here (a progress handler that throws, a thread that cannot start),
        // the workers are stopped and joined before this returns.
        std::vector<std::thread> Workers;
        struct TJoin {
            TAssembly& A;
            std::vector<std::thread>& W;
            ~TJoin() {
                A.FCancel = true;
                for (std::thread& T : W) T.join();
            }
        } Join{*this, Workers};
        for (int T = 0; T < std::min(Threads, Total); ++T) Workers.emplace_back([this] { Work(); });
        std::unique_lock Lock(FMutex);
        while (FDone < Total) {
            FChanged.wait_for(Lock, std::chrono::milliseconds(50));
            const int Done = FDone;
            Lock.unlock();
            const bool Go = Report(Done);
            Lock.lock();
            if (!Go) return false;
        }
        Lock.unlock();
        return Report(Total);
    }

    std::vector<TFrameResult>& Results() { return FResults; }

private:
    bool Report(int Done) { return !FOnProgress || FOnProgress(Done, static_cast<int>(FFrames.size())); }

    void Convert(int I) {
        // Frames after one that failed are not needed: the assembly stops at the first failure.
        if (I > FFirstFailure.load()) return;
        try {
            FResults[static_cast<std::size_t>(I)].Image =
                ConvertFrame(FFrames[static_cast<std::size_t>(I)], FCancel);
        } catch (...) {
            FResults[static_cast<std::size_t>(I)].Error = std::current_exception();
            int Known = FFirstFailure.load();
            while (I < Known && !FFirstFailure.compare_exchange_weak(Known, I)) {}
        }
    }

    void Work() {
        for (;;) {
            const int I = FNext.fetch_add(1);
            if (I >= static_cast<int>(FFrames.size()) || FCancel) return;
            Convert(I);
            {
                std::lock_guard Lock(FMutex);
                ++FDone;
            }
            FChanged.notify_one();
        }
    }

    const std::vector<TGifFrameSource>& FFrames;
    const TGifProgressEvent& FOnProgress;
    std::vector<TFrameResult> FResults;
    std::atomic<int> FNext{0};
    std::atomic<bool> FCancel{false};
    std::atomic<int> FFirstFailure{INT_MAX};
    std::mutex FMutex;
    std::condition_variable FChanged;
    int FDone = 0;
};

} // namespace

std::unique_ptr<TGIFImage> CreateAnimGif(const std::vector<TGifFrameSource>& Frames, int NumLoops,
                                         const TGifProgressEvent& OnProgress, int Threads) {
    for (const TGifFrameSource& F : Frames)
        if (!F.Bitmap) throw std::invalid_argument("CreateAnimGif: a frame without a picture");
    if (Threads <= 0) Threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

    TAssembly Assembly(Frames, OnProgress);
    if (!Assembly.Run(Threads)) return nullptr;

    auto Gif = std::make_unique<TGIFImage>();
    for (std::size_t I = 0; I < Frames.size(); ++I) {
        TFrameResult& R = Assembly.Results()[I];
        if (R.Error) {
            try {
                std::rethrow_exception(R.Error);
            } catch (const std::exception& E) {
                throw EGIFFrameError(E.what(), static_cast<int>(I));
            }
        }
        AddBitmapToGif(*Gif, std::move(*R.Image), Frames[I].Duration, NumLoops);
        R.Image.reset();
    }
    return Gif;
}

void SaveAnimGif(const TGIFImage* GifImg, const QString& AFileName) {
    if (GifImg) GifImg->SaveToFile(AFileName);
}

QString AnimGifFileNameWithExt(const QString& AFileName) {
    const QString Name = QFileInfo(AFileName).fileName();
    const qsizetype Dot = Name.lastIndexOf(QLatin1Char('.'));
    if (Dot >= 0 && Name.mid(Dot) == QLatin1String(".gif")) return AFileName;
    return AFileName + QLatin1String(".gif");
}

} // namespace zp

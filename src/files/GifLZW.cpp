#include "files/GifLZW.h"

#include "files/GifPalettes.h"

#include <algorithm>
#include <array>
#include <memory>

namespace zp {

int GifBitsPerPixel(int Colors) {
    int Bits = 1;
    while (Bits < 8 && (1 << Bits) < Colors) ++Bits;
    return Bits;
}

namespace {

constexpr int MaxCodeBits = 12;
constexpr std::uint32_t RestartCode = 4095;

// Packs codes least significant bit first into a buffer sized for the worst case.
class TCodeWriter {
public:
    explicit TCodeWriter(std::size_t MaxCodes) : FBytes(MaxCodes * MaxCodeBits / 8 + 16) {}

    void Put(std::uint32_t Code, int Bits) {
        FAccumulator |= static_cast<std::uint64_t>(Code) << FBitCount;
        FBitCount += Bits;
        if (FBitCount >= 32) {
            const auto Word = static_cast<std::uint32_t>(FAccumulator);
            FBytes[FSize] = static_cast<std::uint8_t>(Word);
            FBytes[FSize + 1] = static_cast<std::uint8_t>(Word >> 8);
            FBytes[FSize + 2] = static_cast<std::uint8_t>(Word >> 16);
            FBytes[FSize + 3] = static_cast<std::uint8_t>(Word >> 24);
            FSize += 4;
            FAccumulator >>= 32;
            FBitCount -= 32;
        }
    }

    // Appends the packed bytes to Out as sub-blocks of 255 bytes (the last one shorter) and
    // the zero-length block.
    void Finish(std::vector<std::uint8_t>& Out) {
        for (; FBitCount > 0; FBitCount -= 8, FAccumulator >>= 8)
            FBytes[FSize++] = static_cast<std::uint8_t>(FAccumulator);
        Out.reserve(Out.size() + FSize + FSize / 255 + 2);
        for (std::size_t P = 0; P < FSize; P += 255) {
            const std::size_t N = std::min<std::size_t>(255, FSize - P);
            Out.push_back(static_cast<std::uint8_t>(N));
            Out.insert(Out.end(), FBytes.begin() + static_cast<std::ptrdiff_t>(P),
                       FBytes.begin() + static_cast<std::ptrdiff_t>(P + N));
        }
        Out.push_back(0);
    }

private:
    std::vector<std::uint8_t> FBytes;
    std::size_t FSize = 0;
    std::uint64_t FAccumulator = 0;
    int FBitCount = 0;
};

// Strings known to the encoder: (prefix code, next index) -> code, open addressing.
class TStringTable {
public:
    static constexpr int Bits = 14;
    static constexpr std::uint32_t Size = 1u << Bits;
    static constexpr std::uint32_t Empty = 0xFFFFFFFFu; // code 4095 is never handed out

    void Clear() { FSlots.fill(Empty); }

    // The code of the string, or -1 with Slot set to where it belongs.
    int Find(std::uint32_t Key, std::uint32_t& Slot) const {
        std::uint32_t S = (Key * 2654435761u) >> (32 - Bits);
        for (;;) {
            const std::uint32_t E = FSlots[S];
            if (E == Empty) {
                Slot = S;
                return -1;
            }
            if ((E >> 12) == Key) return static_cast<int>(E & 0xFFF);
            S = (S + 1) & (Size - 1);
        }
    }
    void Insert(std::uint32_t Slot, std::uint32_t Key, std::uint32_t Code) {
        FSlots[Slot] = (Key << 12) | Code;
    }

private:
    std::array<std::uint32_t, Size> FSlots;
};

} // namespace

std::vector<std::uint8_t> EncodeGifImageData(const std::uint8_t* Pixels, std::size_t Count, int BitsPerPixel,
                                             int Colors) {
    if (Count > 0 && *std::max_element(Pixels, Pixels + Count) >= Colors)
        throw EGIFError(SColorNotInColorTable);

    const int MinCodeSize = std::max(2, BitsPerPixel);
    const std::uint32_t ClearCode = 1u << MinCodeSize;
    const std::uint32_t EndCode = ClearCode + 1;

    std::vector<std::uint8_t> Out;
    Out.push_back(static_cast<std::uint8_t>(MinCodeSize));
    // At most one code per pixel, plus the clear codes, the last code and the end code.
    TCodeWriter Writer(Count + Count / 1024 + 4);
    auto Table = std::make_unique<TStringTable>();
    Table->Clear();

    int CodeBits = MinCodeSize + 1;
    std::uint32_t NextCode = EndCode + 1;
    // After a code is written, the decoder has added the string of the previous code; once
    // that fills the current code width, the next code is one bit wider.
    auto Emit = [&](std::uint32_t Code) {
        Writer.Put(Code, CodeBits);
        if (NextCode >= (1u << CodeBits) && CodeBits < MaxCodeBits) ++CodeBits;
    };

    Emit(ClearCode);
    if (Count > 0) {
        std::uint32_t Prefix = Pixels[0];
        for (std::size_t I = 1; I < Count; ++I) {
            const std::uint32_t Pixel = Pixels[I];
            const std::uint32_t Key = (Prefix << 8) | Pixel;
            std::uint32_t Slot;
            const int Code = Table->Find(Key, Slot);
            if (Code >= 0) {
                Prefix = static_cast<std::uint32_t>(Code);
                continue;
            }
            Emit(Prefix);
            if (NextCode < RestartCode) {
                Table->Insert(Slot, Key, NextCode++);
            } else {
                Emit(ClearCode);
                Table->Clear();
                CodeBits = MinCodeSize + 1;
                NextCode = EndCode + 1;
            }
            Prefix = Pixel;
        }
        Emit(Prefix);
    }
    Emit(EndCode);
    Writer.Finish(Out);
    return Out;
}

} // namespace zp

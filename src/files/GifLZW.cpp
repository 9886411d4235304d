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

// Writes codes least significant bit first into sub-blocks of at most 255 bytes.
class TCodeWriter {
public:
    explicit TCodeWriter(std::vector<std::uint8_t>& Out) : FOut(Out) { OpenBlock(); }

    void Put(std::uint32_t Code, int Bits) {
        FAccumulator |= static_cast<std::uint64_t>(Code) << FBitCount;
        FBitCount += Bits;
        while (FBitCount >= 8) {
            PutByte(static_cast<std::uint8_t>(FAccumulator));
            FAccumulator >>= 8;
            FBitCount -= 8;
        }
    }

    void Finish() {
        if (FBitCount > 0) PutByte(static_cast<std::uint8_t>(FAccumulator));
        FOut[FBlockStart] = static_cast<std::uint8_t>(FBlockLength);
        if (FBlockLength > 0) FOut.push_back(0);
    }

private:
    void OpenBlock() {
        FBlockStart = FOut.size();
        FOut.push_back(0);
        FBlockLength = 0;
    }
    void PutByte(std::uint8_t Byte) {
        if (FBlockLength == 255) {
            FOut[FBlockStart] = 255;
            OpenBlock();
        }
        FOut.push_back(Byte);
        ++FBlockLength;
    }

    std::vector<std::uint8_t>& FOut;
    std::uint64_t FAccumulator = 0;
    int FBitCount = 0;
    std::size_t FBlockStart = 0;
    int FBlockLength = 0;
};

// Strings known to the encoder: (prefix code, next index) -> code, open addressing.
class TStringTable {
public:
    static constexpr int Bits = 13;
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
    Out.reserve(Count / 2 + 64);
    Out.push_back(static_cast<std::uint8_t>(MinCodeSize));
    TCodeWriter Writer(Out);
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
    Writer.Finish();
    return Out;
}

} // namespace zp

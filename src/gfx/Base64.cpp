#include "gfx/Base64.h"

#include <array>

namespace zp {

namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> MakeDecodeTable() {
    std::array<std::int8_t, 256> Table{};
    for (auto& Entry : Table) Entry = -1;
    for (int I = 0; I < 64; ++I) Table[static_cast<unsigned char>(Alphabet[I])] = static_cast<std::int8_t>(I);
    return Table;
}

constexpr std::array<std::int8_t, 256> DecodeTable = MakeDecodeTable();

} // namespace

std::string Base64Encode(std::span<const std::uint8_t> Data) {
    std::string Text;
    Text.reserve((Data.size() + 2) / 3 * 4);
    std::size_t I = 0;
    for (; I + 3 <= Data.size(); I += 3) {
        const std::uint32_t Group =
            (std::uint32_t{Data[I]} << 16) | (std::uint32_t{Data[I + 1]} << 8) | Data[I + 2];
        Text += Alphabet[Group >> 18];
        Text += Alphabet[(Group >> 12) & 63];
        Text += Alphabet[(Group >> 6) & 63];
        Text += Alphabet[Group & 63];
    }
    const std::size_t Rest = Data.size() - I;
    if (Rest > 0) {
        const std::uint32_t Group =
            (std::uint32_t{Data[I]} << 16) | (Rest == 2 ? std::uint32_t{Data[I + 1]} << 8 : 0);
        Text += Alphabet[Group >> 18];
        Text += Alphabet[(Group >> 12) & 63];
        Text += Rest == 2 ? Alphabet[(Group >> 6) & 63] : '=';
        Text += '=';
    }
    return Text;
}

std::vector<std::uint8_t> Base64Decode(std::string_view Text) {
    if (Text.empty() || Text.size() % 4 != 0) return {};
    std::size_t Padding = 0;
    if (Text[Text.size() - 2] == '=') {
        Padding = 2;
        // "x=y=" is not padding: the last character must be "=" as well.
        if (Text.back() != '=') return {};
    } else if (Text.back() == '=') {
        Padding = 1;
    }
    const std::size_t Significant = Text.size() - Padding;
    std::vector<std::uint8_t> Data;
    Data.reserve(Text.size() / 4 * 3 - Padding);
    std::uint32_t Group = 0;
    int Count = 0;
    for (std::size_t I = 0; I < Significant; ++I) {
        const std::int8_t Value = DecodeTable[static_cast<unsigned char>(Text[I])];
        if (Value < 0) return {};
        Group = (Group << 6) | static_cast<std::uint32_t>(Value);
        if (++Count == 4) {
            Data.push_back(static_cast<std::uint8_t>(Group >> 16));
            Data.push_back(static_cast<std::uint8_t>(Group >> 8));
            Data.push_back(static_cast<std::uint8_t>(Group));
            Group = 0;
            Count = 0;
        }
    }
    // The bits of the last group below the kept bytes are ignored, as the length rule says.
    if (Count == 3) {
        Group <<= 6;
        Data.push_back(static_cast<std::uint8_t>(Group >> 16));
        Data.push_back(static_cast<std::uint8_t>(Group >> 8));
    } else if (Count == 2) {
        Group <<= 12;
        Data.push_back(static_cast<std::uint8_t>(Group >> 16));
    }
    return Data;
}

} // namespace zp

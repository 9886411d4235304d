#pragma once

#include "files/PictureCodecs.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zp {

// The extension of a file name: from the last dot of its last part on, dot included; empty
// when that part has no dot.
QString FileExtension(const QString& FileName);

// Whether Ext (dot included, any letter case) is ".jpg", ".jpeg", ".bmp", ".gif" or ".png".
bool IsPictureExtension(const QString& Ext);

// Far beyond any picture a surface can hold; keeps a stray huge file from being read whole.
constexpr std::int64_t MaxFileBytes = std::int64_t{1} << 31;

// The bytes of a file. Throws EFileError: fekNotFound, fekRead, fekTooLarge (above MaxBytes or
// more than memory holds); the message names the file.
std::vector<std::uint8_t> ReadWholeFile(const QString& FileName, std::int64_t MaxBytes = MaxFileBytes);

// Reads and decodes the picture file FileName, choosing the decoder by its extension.
// Throws EFileError: fekNotFound for a missing file, fekUnsupported for another extension,
// the decoder's kind otherwise; the message names the file.
std::unique_ptr<TBitmap32> LoadPictureFromFile(const QString& FileName, const TDecodeLimits& Limits = {});
// The same for a picture inserted as a layer, which keeps its transparency: a PNG's alpha, a
// GIF's transparent colour, a 32-bit BMP's fourth byte; icons (".ico") are read too, the
// largest picture they hold, and metafiles (".emf", ".wmf"), transparent where they draw
// nothing (see DecodeEMF).
std::unique_ptr<TBitmap32> LoadLayerPictureFromFile(const QString& FileName,
                                                    const TDecodeLimits& Limits = {});

// Writes Data to a temporary file in the target's folder and renames it over FileName only
// when everything has been written. On failure the temporary file is removed, an existing
// file of that name is unchanged, and EFileError (fekWrite) is thrown.
void WriteFileSafely(const QString& FileName, std::span<const std::uint8_t> Data);

// The picture writers of a composed frame. A null surface writes nothing; an empty one or
// any failure throws EFileError and leaves an existing file unchanged.
void SaveAsPNG(const QString& AFileName, const TBitmap32* ABitmap32);
void SaveAsJPG(const QString& AFileName, const TBitmap32* ABitmap32);
void SaveAsBitmap(const QString& AFileName, const TBitmap32* ABitmap32);

} // namespace zp

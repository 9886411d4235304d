#pragma once

#include <QStringList>

#include <cstdio>

namespace zp {

// zelk-pixaro --gif OUT.gif [--delay MS] [--loops N] [--reduction NAME] [--dither NAME] FRAME...
// Builds an animated GIF from picture files without a window. Arguments: those after "--gif".
// Returns the process exit code; messages go to Err.
int RunGifCommand(const QStringList& Arguments, std::FILE* Err);

} // namespace zp

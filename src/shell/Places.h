#pragma once

#include <QString>
#include <QStringList>

namespace zp {

// Where the program finds its own files and keeps the user's. Each answer can be fixed for
// tests; an empty folder restores the real one.

// The folder holding lang.ini and the template folders: next to the executable in the build
// tree, <prefix>/share/zelk-pixaro when installed. No trailing separator.
QString ProgramFolder();
void SetProgramFolder(const QString& Folder);
// The program folder of a program file in ExecutableFolder: that folder itself, unless lang.ini
// lies in ../share/zelk-pixaro and not beside the program.
QString ProgramFolderFor(const QString& ExecutableFolder);

// The per-user application-data folder, $XDG_CONFIG_HOME/Zelk-Pixaro (default
// ~/.config/Zelk-Pixaro). Only answers the path; see ForceAppDataFolder.
QString AppDataFolder();
void SetAppDataFolder(const QString& Folder);
// The same, created when missing. Returns the path either way.
QString ForceAppDataFolder();

// The full path of the running program file.
QString ProgramFilePath();

// Command-line argument Index (1 is the first after the program); empty when there is none.
QString ParamStr(int Index);
// Fixes the arguments for tests; ResetCommandLine returns to the process's own.
void SetCommandLine(const QStringList& ArgumentsAfterProgram);
void ResetCommandLine();
// Batch mode: the first argument is exactly "/a".
bool IsBatchMode();

} // namespace zp

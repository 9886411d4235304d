#pragma once

// Readable GoogleTest output for Qt strings.
#include <QString>
#include <QStringList>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& S, std::ostream* Os) {
    *Os << '"' << S.toStdString() << '"';
}
inline void PrintTo(const QStringList& L, std::ostream* Os) {
    *Os << '{';
    for (qsizetype I = 0; I < L.size(); ++I) *Os << (I ? ", \"" : "\"") << L[I].toStdString() << '"';
    *Os << '}';
}
QT_END_NAMESPACE

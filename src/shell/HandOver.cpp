#include "shell/HandOver.h"

#include <QtEndian>

namespace zp {

bool FitsHandOver(const QStringList& Texts) {
    for (int I = 0; I < HandOverSlots && I < Texts.size(); ++I)
        if (Texts[I].size() >= HandOverMaxText) return false;
    return true;
}

QByteArray EncodeHandOver(const QStringList& Texts) {
    QByteArray Record(HandOverSize, '\0');
    auto* Units = reinterpret_cast<char16_t*>(Record.data());
    for (int Slot = 0; Slot < HandOverSlots && Slot < Texts.size(); ++Slot) {
        const QString& Text = Texts[Slot];
        // Units 1 .. 1999 carry text; unit 2000 stays zero so every slot is terminated.
        const int N = std::min<int>(Text.size(), HandOverSlotUnits - 2);
        char16_t* Dst = Units + Slot * HandOverSlotUnits + 1;
        for (int I = 0; I < N; ++I) qToLittleEndian<quint16>(Text[I].unicode(), Dst + I);
    }
    return Record;
}

QStringList DecodeHandOver(const QByteArray& Record) {
    QStringList Texts;
    for (int Slot = 0; Slot < HandOverSlots; ++Slot) {
        QString Text;
        const int Base = Slot * HandOverSlotUnits * 2;
        for (int I = 1; I <= HandOverMaxText; ++I) {
            const int At = Base + 2 * I;
            if (At + 1 >= Record.size()) break;
            const char16_t Unit = qFromLittleEndian<quint16>(Record.constData() + At);
            if (Unit == 0) break;
            Text.append(QChar(Unit));
        }
        Texts << Text;
    }
    return Texts;
}

} // namespace zp

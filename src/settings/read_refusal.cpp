#include "settings/read_refusal.h"
#include "platform/ini_file.h"
#include "settings/builtin_texts.h"

namespace tvx {

QString ReadRefusalReason(const TFileRead& Read, qint64 MaxBytes) {
    switch (Read.Fault) {
    case TReadFault::None:
        return QString();
    case TReadFault::System:
        return Read.SystemReason();
    case TReadFault::NotRegular:
        return MenuTextOf(QStringLiteral("sm_mes_not_regular"));
    case TReadFault::TooLarge:
        return MenuTextWith(QStringLiteral("sm_mes_file_size"), MaxBytes >> 20);
    }
    return QString();
}

QString ReadRefusal(const QString& FileName, const TFileRead& Read, qint64 MaxBytes) {
    return FileName + u'\n' + ReadRefusalReason(Read, MaxBytes);
}

namespace {

void ThrowUnlessWhole(const TIniFile& Ini, const QString& Failure) {
    const TFileRead& read = Ini.LoadOutcome();
    if (read.Ok() || read.Missing()) {
        return;
    }
    throw EIniFileException(
        Failure.arg(Ini.FileName(), ReadRefusalReason(read, TIniFile::MaxBytes)));
}

} // namespace

void RequireWholeIni(const TIniFile& Ini) {
    ThrowUnlessWhole(Ini, QStringLiteral("Unable to write to %1: %2"));
}

void RequireReadIni(const TIniFile& Ini) {
    ThrowUnlessWhole(Ini, QStringLiteral("Unable to read %1: %2"));
}

} // namespace tvx

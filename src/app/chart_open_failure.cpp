#include "app/chart_open_failure.h"

#include "app/interface_texts.h"
#include "app/legacy_chart_file.h"
#include "chart/fc_list.h"
#include "platform/cp1251.h"
#include "platform/regular_file.h"
#include "settings/read_refusal.h"

namespace tvx {
namespace {

bool IsAnnotatedText(const QByteArray& Bytes) {
    QString text = DecodeTextFile(Bytes.left(4096));
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    const QString sign = ServText("sm_default_sign");
    return !sign.isEmpty() && text.section(u'\n', 0, 0).trimmed() == sign;
}

bool IsLegacyChart(const QByteArray& Bytes) {
    TFCList chart;
    return !Bytes.isEmpty() && DecodeLegacyChart(Bytes, chart).isEmpty();
}

// Why bytes that hold no chart file were refused.
QString FormNote(const QByteArray& Bytes) {
    if (IsAnnotatedText(Bytes)) {
        return MenuText("sm_mes_annotated_form");
    }
    if (IsLegacyChart(Bytes)) {
        return MenuText("sm_mes_legacy_form");
    }
    return MenuText("sm_mes_not_chart");
}

} // namespace

QString ChartOpenFailure(const QString& FileName, TChartReadFault Fault) {
    // A file too large to be looked at whole holds nothing the editor wrote.
    TFileRead read = ReadRegularFile(FileName, MaxLegacyBytes);
    if (read.Fault == TReadFault::TooLarge) {
        read = TFileRead{};
    } else if (!read.Ok()) {
        return ReadRefusal(FileName, read, MaxLegacyBytes);
    }
    QString message = FileName + u'\n' + ChartReadMessage(Fault);
    if (Fault == TChartReadFault::NotAChart) {
        message += u'\n' + FormNote(read.Bytes);
    }
    return message;
}

} // namespace tvx

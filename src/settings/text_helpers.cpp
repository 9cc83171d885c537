#include "settings/text_helpers.h"

namespace tvx {

TRect ShrinkRect(const TRect& R, int M) {
    return TRect{R.Left + M, R.Top + M, R.Right - M, R.Bottom - M};
}

QString ReplaceAll(const QString& S, const QString& Old, const QString& New) {
    if (Old.isEmpty()) {
        return S;
    }
    QString result = S;
    qsizetype pos = 0;
    while (pos < result.size()) {
        if (QStringView(result).mid(pos).startsWith(Old)) {
            result.replace(pos, Old.size(), New);
            pos += New.size(); // never look at inserted text again
        } else {
            ++pos;
        }
    }
    return result;
}

QString CollapseRepeats(const QString& S, const QString& Sub) {
    if (Sub.isEmpty()) {
        return S;
    }
    QString result = S;
    qsizetype pos = 0;
    while (pos < result.size()) {
        if (QStringView(result).mid(pos).startsWith(Sub)) {
            pos += Sub.size();
            while (QStringView(result).mid(pos).startsWith(Sub)) {
                result.remove(pos, Sub.size());
            }
        }
        ++pos;
    }
    return result;
}

} // namespace tvx

#include "settings/text_helpers.h"

namespace tvx {

TRect ShrinkRect(const TRect& R, int M) {
    return TRect{R.Left + M, R.Top + M, R.Right - M, R.Bottom - M};
}

// Both helpers build a new text in one pass, so block texts of any size take
// time in proportion to their length.
QString ReplaceAll(const QString& S, const QString& Old, const QString& New) {
    qsizetype at = Old.isEmpty() ? -1 : S.indexOf(Old);
    if (at < 0) {
        return S;
    }
    QString result;
    qsizetype from = 0;
    for (; at >= 0; at = S.indexOf(Old, from)) {
        result.append(QStringView(S).mid(from, at - from)).append(New);
        from = at + Old.size(); // never look at inserted text again
    }
    return result.append(QStringView(S).mid(from));
}

QString CollapseRepeats(const QString& S, const QString& Sub) {
    if (Sub.isEmpty()) {
        return S;
    }
    const QStringView text(S);
    QString result;
    result.reserve(S.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text.mid(pos).startsWith(Sub)) {
            result.append(Sub);
            pos += Sub.size();
            while (text.mid(pos).startsWith(Sub)) {
                pos += Sub.size();
            }
        }
        // The character after a run is passed over unexamined.
        if (pos < text.size()) {
            result.append(text[pos]);
        }
        ++pos;
    }
    return result;
}

} // namespace tvx

#include "platform/ini_file.h"
#include "platform/atomic_file.h"
#include "platform/cp1251.h"
#include <QLocale>
#include <cmath>

namespace tvx {

namespace {

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IsSectionHeader(const QString& trimmed) {
    return trimmed.startsWith(u'[') && trimmed.indexOf(u']') > 0;
}

QString SectionName(const QString& trimmed) {
    return trimmed.mid(1, trimmed.indexOf(u']') - 1).trimmed();
}

// The key of a "key=value" line; empty for anything else.
QString KeyOfLine(const QString& trimmed) {
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'#')) {
        return {};
    }
    int eq = trimmed.indexOf(u'=');
    return eq > 0 ? trimmed.left(eq).trimmed() : QString();
}

bool Quoted(const QString& s) {
    return s.size() >= 2 && s.startsWith(u'"') && s.endsWith(u'"');
}

QString ValueOfLine(const QString& text) {
    QString v = text.mid(text.indexOf(u'=') + 1).trimmed();
    return Quoted(v) ? v.mid(1, v.size() - 2) : v;
}

// A value as it can stand on one line: line breaks become blanks.
QString OneLine(const QString& value) {
    QString v = value;
    v.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    v.replace(u'\r', u' ');
    v.replace(u'\n', u' ');
    return v;
}

// The value as written after '=': quoted when reading would otherwise lose
// blanks at its ends or a pair of enclosing quotes.
QString EncodeValue(const QString& v) {
    if (v.isEmpty()) {
        return v;
    }
    bool blankAtEnd = v.front().isSpace() || v.back().isSpace();
    return blankAtEnd || Quoted(v) ? u'"' + v + u'"' : v;
}

// Digits worth more than 32 bits are out of range for every caller.
std::optional<qint64> ParseDigits(QStringView digits, int base) {
    if (digits.isEmpty()) {
        return std::nullopt;
    }
    qint64 v = 0;
    for (QChar c : digits) {
        int d = c.isDigit() && c.unicode() < 128 ? c.unicode() - '0' : -1;
        if (base == 16 && d < 0) {
            char l = char(c.toLower().unicode());
            d = (l >= 'a' && l <= 'f') ? l - 'a' + 10 : -1;
        }
        if (d < 0) {
            return std::nullopt;
        }
        v = v * base + d;
        if (v > qint64(UINT32_MAX)) {
            return std::nullopt;
        }
    }
    return v;
}

} // namespace

std::optional<int> ParseIniInteger(const QString& text) {
    QStringView s = QStringView(text).trimmed();
    bool negative = false;
    if (s.startsWith(u'-') || s.startsWith(u'+')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    int base = 10;
    if (s.startsWith(u'$')) {
        base = 16;
        s = s.mid(1);
    } else if (s.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        s = s.mid(2);
    }
    std::optional<qint64> v = ParseDigits(s, base);
    if (!v) {
        return std::nullopt;
    }
    qint64 value = negative ? -*v : *v;
    if (base == 16 && *v <= 0xFFFFFFFFLL) {
        // Hexadecimal gives the 32-bit pattern: $FFFFFFFF is -1.
        return int(std::uint32_t(value));
    }
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return int(value);
}

TIniFile::TIniFile(QString fileName) : FFileName(std::move(fileName)) {
    Load();
}

void TIniFile::Load() {
    FLoad = ReadRegularFile(FFileName, MaxBytes);
    if (!FLoad.Ok()) {
        return; // a missing or unreadable file reads as empty
    }
    QString text = DecodeTextFile(FLoad.Bytes);
    FLoad.Bytes.clear();
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();
    }
    for (QString& l : lines) {
        if (l.endsWith(u'\r')) {
            l.chop(1);
        }
        QString t = l.trimmed();
        Line line{l, {}, IsSectionHeader(t)};
        if (!line.IsSection) {
            line.Key = KeyOfLine(t);
        }
        FLines.push_back(std::move(line));
    }
}

int TIniFile::FindSection(const QString& section) const {
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        if (FLines[i].IsSection && SameName(SectionName(FLines[i].Text.trimmed()), section)) {
            return int(i);
        }
    }
    return -1;
}

int TIniFile::SectionEnd(int header) const {
    std::size_t i = std::size_t(header) + 1;
    while (i < FLines.size() && !FLines[i].IsSection) {
        ++i;
    }
    return int(i);
}

int TIniFile::FindKey(const QString& section, const QString& key) const {
    int header = FindSection(section);
    if (header < 0) {
        return -1;
    }
    int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (!FLines[std::size_t(i)].Key.isEmpty() && SameName(FLines[std::size_t(i)].Key, key)) {
            return i;
        }
    }
    return -1;
}

std::optional<QString> TIniFile::RawValue(const QString& section, const QString& key) const {
    int i = FindKey(section, key);
    if (i < 0) {
        return std::nullopt;
    }
    return ValueOfLine(FLines[std::size_t(i)].Text);
}

QStringList TIniFile::Sections() const {
    QStringList names;
    for (const Line& line : FLines) {
        if (line.IsSection) {
            names.append(SectionName(line.Text.trimmed()));
        }
    }
    return names;
}

bool TIniFile::SectionExists(const QString& section) const {
    return FindSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return FindKey(section, key) >= 0;
}

QStringList TIniFile::ReadSection(const QString& section) const {
    QStringList keys;
    int header = FindSection(section);
    if (header < 0) {
        return keys;
    }
    int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (!FLines[std::size_t(i)].Key.isEmpty()) {
            keys.append(FLines[std::size_t(i)].Key);
        }
    }
    return keys;
}

std::vector<std::pair<QString, QString>> TIniFile::ReadSectionValues(const QString& section) const {
    std::vector<std::pair<QString, QString>> values;
    int header = FindSection(section);
    if (header < 0) {
        return values;
    }
    int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const Line& line = FLines[std::size_t(i)];
        if (!line.Key.isEmpty()) {
            values.emplace_back(line.Key, ValueOfLine(line.Text));
        }
    }
    return values;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    return RawValue(section, key).value_or(def);
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    std::optional<QString> raw = RawValue(section, key);
    std::optional<int> v = raw ? ParseIniInteger(*raw) : std::nullopt;
    return v.value_or(def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    std::optional<QString> raw = RawValue(section, key);
    std::optional<int> v = raw ? ParseIniInteger(*raw) : std::nullopt;
    return v ? *v != 0 : def;
}

double TIniFile::ReadFloat(const QString& section, const QString& key, double def) const {
    std::optional<QString> raw = RawValue(section, key);
    if (!raw) {
        return def;
    }
    QString s = raw->trimmed();
    s.replace(u',', u'.');
    bool ok = false;
    double v = QLocale::c().toDouble(s, &ok);
    return ok && std::isfinite(v) ? v : def;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    QString v = OneLine(value);
    int i = FindKey(section, key);
    if (i >= 0) {
        Line& line = FLines[std::size_t(i)];
        if (ValueOfLine(line.Text) != v) {
            line.Text = line.Key + u'=' + EncodeValue(v);
            FModified = true;
        }
        return;
    }
    Line line{key + u'=' + EncodeValue(v), key, false};
    int header = FindSection(section);
    if (header < 0) {
        FLines.push_back(Line{u'[' + section + u']', {}, true});
        FLines.push_back(std::move(line));
    } else {
        // After the last non-blank line of the section, so that a blank line
        // before the next section stays where it is.
        int at = SectionEnd(header);
        while (at > header + 1 && FLines[std::size_t(at - 1)].Text.trimmed().isEmpty()) {
            --at;
        }
        FLines.insert(FLines.begin() + at, std::move(line));
    }
    FModified = true;
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::WriteFloat(const QString& section, const QString& key, double value) {
    QString s = QString::number(value, 'g', 15);
    s.replace(u'.', QLocale::system().decimalPoint());
    WriteString(section, key, s);
}

void TIniFile::UpdateFile() {
    if (!FModified) {
        return;
    }
    QString text;
    for (const Line& line : FLines) {
        text += line.Text;
        text += u'\n';
    }
    const QString error = WriteFileAtomically(FFileName, text.toUtf8());
    if (!error.isEmpty()) {
        throw EIniFileException(QStringLiteral("Unable to write to %1: %2").arg(FFileName, error));
    }
    FModified = false;
}

} // namespace tvx

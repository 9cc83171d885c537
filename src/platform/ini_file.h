#pragma once
// INI text files: "Config.ini" and the language files.
//
// The file is read once when the object is made; reads answer from memory and
// writes change memory only, until UpdateFile() writes the whole text back in
// one go (so a failed save never leaves half a file behind).
//
// Rules kept by reads and writes:
// - Section names and keys are found without regard to case; the first of two
//   equal keys in a section wins.
// - A write replaces the value of an existing key in place, appends a new key
//   at the end of its section and a new section at the end of the file. Lines
//   the program does not know (comments, other sections) are kept as they are.
// - Blanks around keys and values are not part of them. A value that begins or
//   ends with a blank is written in double quotes, and one pair of enclosing
//   double quotes is taken off when reading, so such values survive a round
//   trip. A line break inside a value is written as a blank.
// - Booleans are written "1" and "0" and read as true for any number but 0.
// - The file is written as UTF-8; it is read as UTF-8, or as windows-1251 when
//   its bytes are not valid UTF-8.
// - Only a regular file of at most MaxBytes is read; anything else reads as
//   empty, and LoadOutcome() tells why.
#include "platform/exception.h"
#include "platform/regular_file.h"
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

namespace tvx {

// Raised when the file cannot be written: "Unable to write to <file name>:
// <reason>".
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

class TIniFile {
public:
    // Far more than the settings and a language file hold.
    static constexpr qint64 MaxBytes = qint64{1} << 20;

    // Reads fileName.
    explicit TIniFile(QString fileName);
    // An empty text with no file behind it, to collect values.
    TIniFile() = default;

    const QString& FileName() const { return FFileName; }
    // How reading the file went (Bytes left empty): a missing file, one that
    // is no regular file or is larger than MaxBytes reads as empty.
    const TFileRead& LoadOutcome() const { return FLoad; }

    // Section names in file order.
    QStringList Sections() const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // Keys of a section in file order.
    QStringList ReadSection(const QString& section) const;
    // Keys and values of a section in file order, read in one pass; a key
    // that stands twice is listed twice.
    std::vector<std::pair<QString, QString>> ReadSectionValues(const QString& section) const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal after "$" or "0x"; anything else (also a number
    // outside the 32-bit range) gives the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // Accepts "." or "," as the decimal separator; not a finite number: default.
    double ReadFloat(const QString& section, const QString& key, double def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    // Up to 15 significant digits with the user's decimal separator.
    void WriteFloat(const QString& section, const QString& key, double value);

    // True when writes changed the text since it was read or last written.
    bool Modified() const { return FModified; }
    // Writes the text to the file when it was modified; creates the file when
    // needed. Throws EIniFileException when the file cannot be written.
    void UpdateFile();

private:
    struct Line {
        QString Text; // the line as it stands in the file
        QString Key;  // empty for section headers, comments and other lines
        bool IsSection = false;
    };
    std::vector<Line> FLines;
    QString FFileName;
    TFileRead FLoad;
    bool FModified = false;

    void Load();
    int FindSection(const QString& section) const;
    int SectionEnd(int header) const;
    int FindKey(const QString& section, const QString& key) const;
    std::optional<QString> RawValue(const QString& section, const QString& key) const;
};

// Parses an integer as ReadInteger does; nullopt when the text is no number.
std::optional<int> ParseIniInteger(const QString& text);

} // namespace tvx

#pragma once
// Version information of a program file: the standard texts of its version
// resource (company, description, version, product ...), a text for its file
// type and its build flags. Our own program carries a resource made from the
// build's project version and our own texts; other files have none here.
#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace tvx {

struct TFileVersionInfo {
    QString FileTypeName; // the desktop's name for the kind of file
    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString InternalName;
    QString LegalCopyRight;
    QString LegalTradeMarks;
    QString OriginalFileName;
    QString ProductName;
    QString ProductVersion;
    QString Comments;
    QString SpecialBuild;
    QString PrivateBuild;
    QString FileTypeText;
    bool IsDebug = false;
    bool IsPreRelease = false;
    bool IsSpecialBuild = false;
    bool IsPrivateBuild = false;
    bool IsPatched = false;
    bool IsInfoInferred = false;
};

// File flags of the fixed information.
enum TFileFlag : std::uint32_t {
    ffDebug = 1,
    ffPreRelease = 2,
    ffPatched = 4,
    ffPrivateBuild = 8,
    ffInfoInferred = 16,
    ffSpecialBuild = 32
};

// The fixed part of a version resource.
struct TFixedFileInfo {
    std::uint32_t FileVersionMS = 0; // major << 16 | minor
    std::uint32_t FileVersionLS = 0; // patch << 16 | build
    std::uint32_t ProductVersionMS = 0;
    std::uint32_t ProductVersionLS = 0;
    std::uint32_t FileFlagsMask = 0;
    std::uint32_t FileFlags = 0;
    std::uint32_t FileType = 0;
    std::uint32_t FileSubtype = 0;
};

// A language and code page under which a resource holds its texts.
struct TVersionTranslation {
    std::uint16_t Language = 0;
    std::uint16_t CodePage = 0;
};

// A version resource: the fixed information, the translations and the string
// values, each found under its query path ("\StringFileInfo\041904E3\ProductName").
class TVersionResource {
public:
    std::optional<TFixedFileInfo> Fixed;
    QList<TVersionTranslation> Translations;

    void SetString(TVersionTranslation Translation, const QString& Key, const QString& Value);
    // The value under a query path (compared without regard to case).
    std::optional<QString> QueryString(const QString& Path) const;

private:
    QHash<QString, QString> Strings;
};

// What the system can tell about a file. The default answers from the file
// system and knows the version resource of the running program only.
class TFileInfoSource {
public:
    virtual ~TFileInfoSource() = default;
    // The desktop's name for the kind of file; empty when it cannot tell.
    virtual QString TypeName(const QString& FileName) const;
    virtual bool IsExecutable(const QString& FileName) const;
    virtual std::optional<TVersionResource> VersionResource(const QString& FileName) const;
};

// The resource of our own program, made from the build's version.
const TVersionResource& OwnVersionResource();

// The query path of a string value: "\StringFileInfo\" + language and code page
// as four upper-case hexadecimal digits each + "\" + key.
QString VersionStringPath(TVersionTranslation Translation, const QString& Key);
// The name of a file type and subtype ("Application", "Sound Driver", ...).
QString FileTypeText(std::uint32_t FileType, std::uint32_t FileSubtype);
// A flag counts only when both the mask and the flags have it.
bool HasFileFlag(std::uint32_t Mask, std::uint32_t Flags, std::uint32_t Flag);

// Fills Info for the file: its type name, and for an executable with version
// information its twelve texts, type text and flags. Everything else is empty.
void GetFileVersionInfoRec(const QString& FileName, TFileVersionInfo& Info,
                           const TFileInfoSource& Source);
void GetFileVersionInfoRec(const QString& FileName, TFileVersionInfo& Info);

// Where the maker of the program can be found.
QString ProgramHomePage();
QString ProgramMailAddress();

} // namespace tvx

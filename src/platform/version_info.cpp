#include "platform/version_info.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringList>
#include <array>
#include <utility>

#ifndef TVX_VERSION
#define TVX_VERSION "0.0.0"
#endif

namespace tvx {
namespace {

// The twelve standard texts in the order the record holds them.
using TTextField = QString TFileVersionInfo::*;
const std::array<std::pair<const char*, TTextField>, 12> StandardKeys = {{
    {"CompanyName", &TFileVersionInfo::CompanyName},
    {"FileDescription", &TFileVersionInfo::FileDescription},
    {"FileVersion", &TFileVersionInfo::FileVersion},
    {"InternalName", &TFileVersionInfo::InternalName},
    {"LegalCopyRight", &TFileVersionInfo::LegalCopyRight},
    {"LegalTradeMarks", &TFileVersionInfo::LegalTradeMarks},
    {"OriginalFileName", &TFileVersionInfo::OriginalFileName},
    {"ProductName", &TFileVersionInfo::ProductName},
    {"ProductVersion", &TFileVersionInfo::ProductVersion},
    {"Comments", &TFileVersionInfo::Comments},
    {"SpecialBuild", &TFileVersionInfo::SpecialBuild},
    {"PrivateBuild", &TFileVersionInfo::PrivateBuild},
}};

const char* const DriverTypes[] = {"Unknown Driver",  "Printer Driver",       "Keyboard Driver",
                                   "Language Driver", "Display Driver",       "Mouse Driver",
                                   "Network Driver",  "System Driver",        "InstallableDriver",
                                   "Sound Driver",    "Communications Driver"};
const char* const FontTypes[] = {"Unknown Font", "Raster Font", "Vector Font", "Truetype Font"};

// "1.2.3" as the two 32-bit halves of a fixed version number.
std::pair<std::uint32_t, std::uint32_t> PackVersion(const QString& Version) {
    std::uint32_t parts[4] = {};
    const QStringList items = Version.split(u'.');
    for (int i = 0; i < 4 && i < items.size(); ++i) {
        parts[i] = items[i].toUInt() & 0xFFFF;
    }
    return {parts[0] << 16 | parts[1], parts[2] << 16 | parts[3]};
}

TVersionResource MakeOwnResource() {
    const QString version = QStringLiteral(TVX_VERSION);
    const TVersionTranslation english{0x0409, 0x04B0};
    TVersionResource resource;
    resource.Translations.append(english);
    const std::pair<const char*, QString> texts[] = {
        {"CompanyName", QStringLiteral("Tarvinex team")},
        {"FileDescription", QStringLiteral("Editor of program flowcharts")},
        {"FileVersion", version},
        {"InternalName", QStringLiteral("tarvinex")},
        {"LegalCopyRight", QStringLiteral("Copyright © Tarvinex team")},
        {"OriginalFileName", QStringLiteral("tarvinex")},
        {"ProductName", QStringLiteral("Tarvinex")},
        {"ProductVersion", version},
    };
    for (const auto& [key, value] : texts) {
        resource.SetString(english, QString::fromLatin1(key), value);
    }
    TFixedFileInfo fixed;
    std::tie(fixed.FileVersionMS, fixed.FileVersionLS) = PackVersion(version);
    fixed.ProductVersionMS = fixed.FileVersionMS;
    fixed.ProductVersionLS = fixed.FileVersionLS;
    fixed.FileFlagsMask = 0x3F;
#ifndef NDEBUG
    fixed.FileFlags = ffDebug;
#endif
    fixed.FileType = 1; // an application
    resource.Fixed = fixed;
    return resource;
}

bool IsRunningProgram(const QString& FileName) {
    if (QCoreApplication::instance() == nullptr || FileName.isEmpty()) {
        return false;
    }
    const QString own = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    return !own.isEmpty() && QFileInfo(FileName).canonicalFilePath() == own;
}

void ClearInfo(TFileVersionInfo& Info) {
    Info = TFileVersionInfo{};
}

void ReadFixedInfo(const TVersionResource& Resource, TFileVersionInfo& Info) {
    if (!Resource.Fixed) {
        return;
    }
    const TFixedFileInfo& fixed = *Resource.Fixed;
    auto flag = [&](std::uint32_t f) {
        return HasFileFlag(fixed.FileFlagsMask, fixed.FileFlags, f);
    };
    Info.IsDebug = flag(ffDebug);
    Info.IsPreRelease = flag(ffPreRelease);
    Info.IsSpecialBuild = flag(ffSpecialBuild);
    Info.IsPrivateBuild = flag(ffPrivateBuild);
    Info.IsPatched = flag(ffPatched);
    Info.IsInfoInferred = flag(ffInfoInferred);
    Info.FileTypeText = FileTypeText(fixed.FileType, fixed.FileSubtype);
}

} // namespace

void TVersionResource::SetString(TVersionTranslation Translation, const QString& Key,
                                 const QString& Value) {
    Strings.insert(VersionStringPath(Translation, Key).toLower(), Value);
}

std::optional<QString> TVersionResource::QueryString(const QString& Path) const {
    auto found = Strings.constFind(Path.toLower());
    if (found == Strings.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

QString TFileInfoSource::TypeName(const QString& FileName) const {
    QFileInfo file(FileName);
    if (!file.exists()) {
        return {};
    }
    return QMimeDatabase().mimeTypeForFile(file).comment().left(80);
}

bool TFileInfoSource::IsExecutable(const QString& FileName) const {
    QFileInfo file(FileName);
    return file.isFile() && file.isExecutable();
}

std::optional<TVersionResource> TFileInfoSource::VersionResource(const QString& FileName) const {
    if (IsRunningProgram(FileName)) {
        return OwnVersionResource();
    }
    return std::nullopt;
}

const TVersionResource& OwnVersionResource() {
    static const TVersionResource resource = MakeOwnResource();
    return resource;
}

QString VersionStringPath(TVersionTranslation Translation, const QString& Key) {
    const QString block = QStringLiteral("%1%2")
                              .arg(uint(Translation.Language), 4, 16, QLatin1Char('0'))
                              .arg(uint(Translation.CodePage), 4, 16, QLatin1Char('0'))
                              .toUpper();
    return QStringLiteral("\\StringFileInfo\\") + block + u'\\' + Key;
}

QString FileTypeText(std::uint32_t FileType, std::uint32_t FileSubtype) {
    switch (FileType) {
    case 0:
        return QStringLiteral("Unknown");
    case 1:
        return QStringLiteral("Application");
    case 2:
        return QStringLiteral("DLL");
    case 3:
        return FileSubtype < std::size(DriverTypes) ? QString::fromLatin1(DriverTypes[FileSubtype])
                                                    : QString();
    case 4:
        return FileSubtype < std::size(FontTypes) ? QString::fromLatin1(FontTypes[FileSubtype])
                                                  : QString();
    case 5:
        return QStringLiteral("Virtual Defice Identifier = ") +
               QStringLiteral("%1").arg(FileSubtype, 8, 16, QLatin1Char('0')).toUpper();
    case 7:
        return QStringLiteral("Static-link Library");
    default:
        return {};
    }
}

bool HasFileFlag(std::uint32_t Mask, std::uint32_t Flags, std::uint32_t Flag) {
    return (Mask & Flags & Flag) == Flag;
}

void GetFileVersionInfoRec(const QString& FileName, TFileVersionInfo& Info,
                           const TFileInfoSource& Source) {
    ClearInfo(Info);
    Info.FileTypeName = Source.TypeName(FileName);
    if (!Source.IsExecutable(FileName)) {
        return;
    }
    const std::optional<TVersionResource> resource = Source.VersionResource(FileName);
    if (!resource) {
        return;
    }
    if (!resource->Translations.isEmpty()) {
        const TVersionTranslation first = resource->Translations.first();
        for (const auto& [key, field] : StandardKeys) {
            Info.*field = resource->QueryString(VersionStringPath(first, QString::fromLatin1(key)))
                              .value_or(QString());
        }
    }
    ReadFixedInfo(*resource, Info);
}

void GetFileVersionInfoRec(const QString& FileName, TFileVersionInfo& Info) {
    GetFileVersionInfoRec(FileName, Info, TFileInfoSource());
}

QString ProgramHomePage() {
    return QStringLiteral("https://tarvinex.example.org/");
}

QString ProgramMailAddress() {
    return QStringLiteral("tarvinex@example.org");
}

} // namespace tvx

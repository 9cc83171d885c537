#include "settings/main_settings.h"
#include "platform/color_text.h"
#include "platform/ini_file.h"
#include "platform/lock_file.h"
#include "settings/builtin_texts.h"
#include "settings/read_refusal.h"
#include <cmath>
#include <cstdio>
#include <map>

namespace tvx {

TMainSettings* MainSettings = nullptr;
QString ProgramDir;

namespace {

const QString SecFiles = QStringLiteral("Files");
const QString SecOption = QStringLiteral("Option");
const QString SecFontBlock = QStringLiteral("FontBlock");
const QString SecFontExport = QStringLiteral("FontExport");

// Distances the layout takes from the file without a range of their own in the
// options dialog; anything beyond is a broken file, not a choice.
constexpr int MaxDistance = 1000;

// An integer option outside [lo, hi] is as good as no value: the layout
// divides by and takes tangents of these.
int ReadRanged(const TIniFile& Ini, const QString& Section, const QString& Key, int Def, int Lo,
               int Hi) {
    int v = Ini.ReadInteger(Section, Key, Def);
    return v >= Lo && v <= Hi ? v : Def;
}

double ReadRangedFloat(const TIniFile& Ini, const QString& Key, double Def, double Lo, double Hi) {
    double v = Ini.ReadFloat(SecOption, Key, Def);
    return v >= Lo && v <= Hi ? v : Def;
}

TColor ReadColor(const TIniFile& Ini, const QString& Section, const QString& Key, TColor Def) {
    QString text = Ini.ReadString(Section, Key, ColorToString(Def));
    return StringToColor(text).value_or(Def);
}

void ReadFont(const TIniFile& Ini, const QString& Section, TFont& Font) {
    Font.Name = Ini.ReadString(Section, QStringLiteral("Name"), Font.Name);
    Font.CharSet = ReadRanged(Ini, Section, QStringLiteral("CharSet"), Font.CharSet, 0, 255);
    Font.Color = ReadColor(Ini, Section, QStringLiteral("Color"), Font.Color);
    Font.Size = ReadRanged(Ini, Section, QStringLiteral("Size"), Font.Size, 1, 1000);
    Font.Style = ReadRanged(Ini, Section, QStringLiteral("Style"), Font.Style, 0, 15);
}

void WriteFont(TIniFile& Ini, const QString& Section, const TFont& Font) {
    Ini.WriteString(Section, QStringLiteral("Name"), Font.Name);
    Ini.WriteInteger(Section, QStringLiteral("CharSet"), Font.CharSet);
    Ini.WriteString(Section, QStringLiteral("Color"), ColorToString(Font.Color));
    Ini.WriteInteger(Section, QStringLiteral("Size"), Font.Size);
    Ini.WriteInteger(Section, QStringLiteral("Style"), Font.Style);
}

// The number a [Files] key names a recent file by ("0", "1", ...), or -1.
int FileKeyNumber(const QString& Key) {
    bool ok = false;
    int n = Key.toInt(&ok);
    return ok && n >= 0 && QString::number(n) == Key ? n : -1;
}

} // namespace

TMainSettings::TMainSettings(QString programDir, QObject* owner)
    : Owner(owner), ServPool(std::make_unique<TStringPool>(QStringLiteral("Serv"))),
      MenuPool(std::make_unique<TPoolLoadable>(QStringLiteral("Menu"), programDir)),
      ProgPool(std::make_unique<TPoolLoadable>(QStringLiteral("Prog"), programDir)),
      FProgramDir(std::move(programDir)) {
    SetDefaults();
    LoadFromIni();
}

TMainSettings::~TMainSettings() {
    try {
        SaveToIni();
    } catch (const std::exception& e) {
        QString message = QString::fromUtf8(e.what());
        if (OnSaveError) {
            OnSaveError(message);
        } else {
            std::fprintf(stderr, "%s\n", e.what());
        }
    }
}

QString TMainSettings::ConfigFileName() const {
    return FProgramDir + ServPool->GetString(QStringLiteral("sm_nameINI"));
}

void TMainSettings::SetDefaults() {
    PreviewByChanges = false;
    SourceType = 0;
    pm_saveqe = true;
    pm_shakeY = 9;
    pm_ifangle = 30;
    pm_callproc = 5;
    pm_textbce = 10;
    pm_sertext = 2;
    pm_bcetext = 3;
    pm_shakeX = 3;
    pm_linedge = 3;
    pm_forangle = 45;
    pm_addLine = 15;
    pm_outangle = 60;
    pm_linewid = 1;
    pm_bcebce = 13;
    pm_wdivh = 2.0;
    pm_absdel = 0.1;
    cl_def = clBlack;
    cl_sel1 = clBlue;
    cl_sel = clRed;
    PixelFormat = 5;
    pm_alleq = false;
    LangProg = 0;
    pm_addconsole = false;
    pm_delspace = true;
    pm_OuAsIn = true;
    pm_DelRw = true;
    pm_RecogReadd = true;
    pm_ForOld = true;
    pm_ShakeGOST = false;
    pm_BlockNum = false;
    pm_w2heq = false;
    FontExport = TFont{};
    FontBlock = TFont{};
    FillServDefaults(*ServPool);
    FillMenuDefaults(*MenuPool);
    FillProgDefaults(*ProgPool);
}

void TMainSettings::LoadFromIni() {
    auto ini = std::make_unique<TIniFile>(ConfigFileName());
    ProgPool->LoadFromIni(*ini);
    ServPool->LoadFromIni(*ini);
    WorkDirectory = ini->ReadString(SecFiles, QStringLiteral("WorkDir"), ProgramDir);
    ReadRecentFiles(*ini, OpenedFiles);
    LoadOptions(*ini);
    ReadFont(*ini, SecFontBlock, FontBlock);
    ReadFont(*ini, SecFontExport, FontExport);
    FStored = std::move(ini);
    FStoredFiles.Assign(OpenedFiles);
    DoChange();
    DoLanguageChange();
}

// The names of keys Count - 1 down to 0 are added in turn, a missing key
// adding an empty name. Only the keys the file holds are visited: a run of
// missing keys adds its empty name once, as adding it again changes nothing.
void TMainSettings::ReadRecentFiles(const TIniFile& Ini, TListOpenedFiles& Files) {
    const int count = Ini.ReadInteger(SecFiles, QStringLiteral("Count"), 0);
    std::map<int, QString> names; // by key; the first of two equal keys wins
    for (const auto& [key, value] : Ini.ReadSectionValues(SecFiles)) {
        const int n = FileKeyNumber(key);
        if (n >= 0 && n < count) {
            names.try_emplace(n, value);
        }
    }
    Files.Clear();
    int next = count - 1; // the highest key not added yet
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (it->first < next) {
            Files.Add(QString());
        }
        Files.Add(it->second);
        next = it->first - 1;
    }
    if (next >= 0) {
        Files.Add(QString());
    }
}

void TMainSettings::LoadOptions(const TIniFile& Ini) {
    auto b = [&](const char* key, bool def) {
        return Ini.ReadBool(SecOption, QString::fromLatin1(key), def);
    };
    PreviewByChanges = b("PreviewByChanges", false);
    pm_saveqe = b("pm_saveqe", false);
    pm_addconsole = b("pm_addconsole", false);
    pm_delspace = b("pm_delspace", true);
    pm_DelRw = b("pm_DelRw", true);
    pm_RecogReadd = b("pm_RecogReadd", true);
    pm_OuAsIn = b("pm_OuAsIn", true);
    pm_alleq = b("pm_alleq", false);
    pm_w2heq = b("pm_w2heq", false);
    pm_ForOld = b("pm_ForOld", true);
    pm_ShakeGOST = b("pm_ShakeGOST", false);
    pm_BlockNum = b("pm_BlockNum", false);

    auto i = [&](const char* key, int def, int lo, int hi) {
        return ReadRanged(Ini, SecOption, QString::fromLatin1(key), def, lo, hi);
    };
    // A source or interface language this program does not know is kept as
    // it is: no import runs with it and the English texts stand for it.
    SourceType = std::uint8_t(i("SourceType", 0, 0, 255));
    EndFor = Ini.ReadString(SecOption, QStringLiteral("EndFor"), QStringLiteral(" "));
    MenuLanguage = std::uint8_t(i("MenuLanguage", mlRussian, 0, 255));
    pm_shakeY = i("pm_shakeY", 9, 0, MaxDistance);
    pm_ifangle = i("pm_ifangle", 30, 10, 80);
    pm_callproc = i("pm_callproc", 5, 0, MaxDistance);
    pm_textbce = i("pm_textbce", 10, 0, MaxDistance);
    pm_sertext = i("pm_sertext", 2, 1, 25);
    pm_bcetext = i("pm_bcetext", 3, 1, 50);
    pm_shakeX = i("pm_shakeX", 3, 0, MaxDistance);
    pm_linedge = i("pm_linedge", 3, 1, 25);
    pm_forangle = i("pm_forangle", 45, 10, 80);
    pm_addLine = i("pm_addLine", 15, 0, MaxDistance);
    pm_outangle = i("pm_outangle", 60, 10, 80);
    pm_linewid = i("pm_linewid", 1, 0, MaxDistance);
    pm_bcebce = i("pm_bcebce", 13, 1, 50);

    pm_wdivh = ReadRangedFloat(Ini, QStringLiteral("pm_wdivh"), pm_wdivh, -1e6, 1e6);
    pm_absdel = ReadRangedFloat(Ini, QStringLiteral("pm_absdel"), pm_absdel, 0.0, 2.0);
    cl_def = ReadColor(Ini, SecOption, QStringLiteral("cl_def"), cl_def);
    cl_sel1 = ReadColor(Ini, SecOption, QStringLiteral("cl_sel1"), cl_sel1);
    cl_sel = ReadColor(Ini, SecOption, QStringLiteral("cl_sel"), cl_sel);
}

// Another running editor may have written the file since this one read it:
// only the values that differ from what the file held when it was read or
// written here go in, and those the file lacks, over what the file holds at
// this moment.
void TMainSettings::SaveToIni() {
    TIniFile values;
    WriteValues(values);
    // Two copies closing at once (a logout ends both) must not both read the
    // file before either has written it.
    const TLockFile lock(ConfigFileName());
    auto ini = std::make_unique<TIniFile>(ConfigFileName());
    RequireWholeIni(*ini);
    for (const QString& section : values.Sections()) {
        for (const auto& [key, value] : values.ReadSectionValues(section)) {
            if (!ini->ValueExists(section, key) || !FStored->ValueExists(section, key) ||
                FStored->ReadString(section, key, QString()) != value) {
                ini->WriteString(section, key, value);
            }
        }
    }
    SaveRecentFiles(*ini);
    ini->UpdateFile();
    FStored = std::move(ini);
    FStoredFiles.Assign(OpenedFiles);
}

// Every value the file stores for this object, but the recent files.
void TMainSettings::WriteValues(TIniFile& Ini) const {
    ProgPool->SaveToIni(Ini);
    ServPool->SaveToIni(Ini);
    Ini.WriteString(SecFiles, QStringLiteral("WorkDir"), WorkDirectory);
    SaveOptions(Ini);
    WriteFont(Ini, SecFontBlock, FontBlock);
    WriteFont(Ini, SecFontExport, FontExport);
}

// The names added here since the list was read or written go in front of the
// list the file holds now, which loses the names removed here.
void TMainSettings::SaveRecentFiles(TIniFile& Ini) const {
    TListOpenedFiles onFile;
    ReadRecentFiles(Ini, onFile);
    TListOpenedFiles merged;
    for (int i = onFile.GetCount() - 1; i >= 0; --i) {
        const QString name = onFile.Get(i);
        if (!FStoredFiles.Contains(name) || OpenedFiles.Contains(name)) {
            merged.Add(name);
        }
    }
    for (int i = OpenedFiles.GetCount() - 1; i >= 0; --i) {
        if (!FStoredFiles.Contains(OpenedFiles.Get(i))) {
            merged.Add(OpenedFiles.Get(i));
        }
    }
    Ini.WriteInteger(SecFiles, QStringLiteral("Count"), merged.GetCount());
    for (int i = 0; i < merged.GetCount(); ++i) {
        Ini.WriteString(SecFiles, QString::number(i), merged.Get(i));
    }
}

void TMainSettings::SaveOptions(TIniFile& Ini) const {
    auto b = [&](const char* key, bool v) {
        Ini.WriteBool(SecOption, QString::fromLatin1(key), v);
    };
    auto i = [&](const char* key, int v) {
        Ini.WriteInteger(SecOption, QString::fromLatin1(key), v);
    };
    auto f = [&](const char* key, double v) {
        Ini.WriteFloat(SecOption, QString::fromLatin1(key), v);
    };
    auto c = [&](const char* key, TColor v) {
        Ini.WriteString(SecOption, QString::fromLatin1(key), ColorToString(v));
    };
    b("PreviewByChanges", PreviewByChanges);
    b("pm_saveqe", pm_saveqe);
    b("pm_delspace", pm_delspace);
    b("pm_addconsole", pm_addconsole);
    b("pm_DelRw", pm_DelRw);
    b("pm_RecogReadd", pm_RecogReadd);
    b("pm_OuAsIn", pm_OuAsIn);
    b("pm_alleq", pm_alleq);
    b("pm_w2heq", pm_w2heq);
    b("pm_ForOld", pm_ForOld);
    b("pm_ShakeGOST", pm_ShakeGOST);
    b("pm_BlockNum", pm_BlockNum);
    i("SourceType", SourceType);
    Ini.WriteString(SecOption, QStringLiteral("EndFor"), EndFor);
    i("MenuLanguage", MenuLanguage);
    i("pm_shakeY", pm_shakeY);
    i("pm_ifangle", pm_ifangle);
    i("pm_callproc", pm_callproc);
    i("pm_textbce", pm_textbce);
    i("pm_sertext", pm_sertext);
    i("pm_bcetext", pm_bcetext);
    i("pm_shakeX", pm_shakeX);
    i("pm_linedge", pm_linedge);
    i("pm_forangle", pm_forangle);
    i("pm_addLine", pm_addLine);
    i("pm_outangle", pm_outangle);
    i("pm_linewid", pm_linewid);
    i("pm_bcebce", pm_bcebce);
    f("pm_wdivh", pm_wdivh);
    f("pm_absdel", pm_absdel);
    c("cl_def", cl_def);
    c("cl_sel1", cl_sel1);
    c("cl_sel", cl_sel);
}

template <typename T> void TMainSettings::SetField(T& field, T value) {
    if (field != value) {
        field = value;
        DoChange();
    }
}

void TMainSettings::SetAbsDel(double Value) {
    SetField(pm_absdel, Value);
}
void TMainSettings::SetAllEq(bool Value) {
    SetField(pm_alleq, Value);
}
void TMainSettings::SetBceBce(int Value) {
    SetField(pm_bcebce, Value);
}
void TMainSettings::SetBceText(int Value) {
    SetField(pm_bcetext, Value);
}
void TMainSettings::SetForAngle(int Value) {
    SetField(pm_forangle, Value);
}
void TMainSettings::SetIfAngle(int Value) {
    SetField(pm_ifangle, Value);
}
void TMainSettings::SetLinEdge(int Value) {
    SetField(pm_linedge, Value);
}
void TMainSettings::SetOutAngle(int Value) {
    SetField(pm_outangle, Value);
}
void TMainSettings::SetSerText(int Value) {
    SetField(pm_sertext, Value);
}
void TMainSettings::SetPreviewByChanges(bool Value) {
    SetField(PreviewByChanges, Value);
}
void TMainSettings::SetSourceType(std::uint8_t Value) {
    SetField(SourceType, Value);
}
void TMainSettings::SetLangProg(std::uint8_t Value) {
    SetField(LangProg, Value);
}
void TMainSettings::SetAddConsole(bool Value) {
    SetField(pm_addconsole, Value);
}
void TMainSettings::SetDelSpace(bool Value) {
    SetField(pm_delspace, Value);
}
void TMainSettings::SetDelRw(bool Value) {
    SetField(pm_DelRw, Value);
}
void TMainSettings::SetOuAsIn(bool Value) {
    SetField(pm_OuAsIn, Value);
}
void TMainSettings::SetRecogReadd(bool Value) {
    SetField(pm_RecogReadd, Value);
}
void TMainSettings::SetBlockNum(bool Value) {
    SetField(pm_BlockNum, Value);
}
void TMainSettings::SetForOld(bool Value) {
    SetField(pm_ForOld, Value);
}
void TMainSettings::SetShakeGOST(bool Value) {
    SetField(pm_ShakeGOST, Value);
}
void TMainSettings::SetW2HEq(bool Value) {
    SetField(pm_w2heq, Value);
}

void TMainSettings::SetFontBlock(const TFont& Font) {
    FontBlock = Font;
    DoChange();
}

void TMainSettings::SetFontExport(const TFont& Font) {
    FontExport = Font;
    DoChange();
}

void TMainSettings::SetMenuLanguage(std::uint8_t Index) {
    auto switchTo = [&] {
        if (MenuLanguage != Index) {
            MenuLanguage = Index;
            DoLanguageChange();
        }
    };
    try {
        LoadLanguage(Index);
    } catch (const EIniFileException&) {
        // The texts are loaded even when the file could not be completed: show
        // them, then let the caller report the write failure.
        switchTo();
        throw;
    }
    switchTo();
}

void TMainSettings::LoadLanguage(std::uint8_t Index) {
    MenuPool->LoadFromFile(LanguageFileName(Index));
}

QString TMainSettings::LanguageFileName(int Index) const {
    const char* id = "sm_langENG";
    switch (Index) {
    case mlRussian:
        id = "sm_langRUS";
        break;
    case mlUkrainian:
        id = "sm_langUKR";
        break;
    case mlGerman:
        id = "sm_langGER";
        break;
    case mlHungarian:
        id = "sm_langHUN";
        break;
    default:
        break;
    }
    return ServPool->GetString(QString::fromLatin1(id));
}

void TMainSettings::BeginUpdate() {
    ++UpdateCount;
}

void TMainSettings::EndUpdate() {
    if (UpdateCount == 0) {
        return; // an unpaired EndUpdate must not hold notifications back for good
    }
    if (--UpdateCount == 0) {
        NotifyAll();
    }
}

void TMainSettings::DoChange() {
    if (OnChange && UpdateCount == 0) {
        TSettingsChangedArgs args;
        OnChange(this, args);
    }
}

void TMainSettings::DoLanguageChange() {
    if (OnLanguageChange) {
        TSettingsChangedArgs args;
        OnLanguageChange(this, args);
    }
}

void TMainSettings::NotifyAll() {
    DoChange();
    DoLanguageChange();
}

void TMainSettings::Assign(const TMainSettings* Source) {
    if (Source == nullptr || Source == this) {
        return;
    }
    WorkDirectory = Source->WorkDirectory;
    OpenedFiles.Assign(Source->OpenedFiles);
    PreviewByChanges = Source->PreviewByChanges;
    SourceType = Source->SourceType;
    EndFor = Source->EndFor;
    pm_saveqe = Source->pm_saveqe;
    pm_shakeY = Source->pm_shakeY;
    pm_ifangle = Source->pm_ifangle;
    pm_callproc = Source->pm_callproc;
    pm_textbce = Source->pm_textbce;
    pm_sertext = Source->pm_sertext;
    pm_bcetext = Source->pm_bcetext;
    pm_shakeX = Source->pm_shakeX;
    pm_linedge = Source->pm_linedge;
    pm_forangle = Source->pm_forangle;
    pm_addLine = Source->pm_addLine;
    pm_outangle = Source->pm_outangle;
    pm_linewid = Source->pm_linewid;
    pm_bcebce = Source->pm_bcebce;
    pm_absdel = Source->pm_absdel;
    PixelFormat = Source->PixelFormat;
    pm_alleq = Source->pm_alleq;
    pm_addconsole = Source->pm_addconsole;
    pm_delspace = Source->pm_delspace;
    pm_DelRw = Source->pm_DelRw;
    pm_RecogReadd = Source->pm_RecogReadd;
    pm_OuAsIn = Source->pm_OuAsIn;
    pm_ForOld = Source->pm_ForOld;
    pm_ShakeGOST = Source->pm_ShakeGOST;
    pm_w2heq = Source->pm_w2heq;
    MenuLanguage = Source->MenuLanguage;
}

} // namespace tvx

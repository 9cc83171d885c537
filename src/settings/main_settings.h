#pragma once
// The settings object: layout distances and angles of the chart drawing,
// colours, fonts, import and export switches, the interface language, the
// working directory, the recent files and the three string pools. It fills
// itself with the defaults and reads "Config.ini" from the program directory
// when it is made, and writes "Config.ini" back when it is destroyed.
#include "platform/color.h"
#include "platform/font.h"
#include "settings/opened_files.h"
#include "settings/string_pool.h"
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QObject;

namespace tvx {

class TIniFile;
class TMainSettings;

// Arguments of the settings notifications; made for one notification and not
// kept by the handler.
class TEventArgs {
public:
    virtual ~TEventArgs() = default;
};
class TSettingsChangedArgs : public TEventArgs {};

using TSettingsChangedEvent =
    std::function<void(TMainSettings* Sender, TSettingsChangedArgs& Args)>;

// Interface languages, the index of MenuLanguage.
enum TMenuLanguage : std::uint8_t {
    mlEnglish = 0,
    mlRussian = 1,
    mlUkrainian = 2,
    mlGerman = 3,
    mlHungarian = 4
};

class TMainSettings {
public:
    // programDir is the directory of "Config.ini" and the language files, with
    // a trailing '/'. Fills the defaults, then reads "Config.ini"; the handlers
    // are not bound yet, so this first load notifies nobody.
    explicit TMainSettings(QString programDir, QObject* owner = nullptr);
    // Writes "Config.ini". A failure to write is handed to OnSaveError (or, when
    // that is unbound, printed on stderr); it never escapes the destructor.
    ~TMainSettings();
    TMainSettings(const TMainSettings&) = delete;
    TMainSettings& operator=(const TMainSettings&) = delete;

    // --- fields, in the order "Config.ini" and the layout code know them ---
    QObject* Owner = nullptr;
    TListOpenedFiles OpenedFiles;
    TSettingsChangedEvent OnChange;
    TSettingsChangedEvent OnLanguageChange;
    // Reports a failed write of "Config.ini" from the destructor.
    std::function<void(const QString& Message)> OnSaveError;
    QString WorkDirectory;
    QString EndFor = QStringLiteral(" ");
    bool PreviewByChanges = false;
    std::uint8_t SourceType = 0; // 0 Pascal, 1 C
    bool pm_saveqe = true;
    int pm_shakeY = 9;
    int pm_ifangle = 30;
    int pm_callproc = 5;
    int pm_textbce = 10;
    int pm_sertext = 2;
    int pm_bcetext = 3;
    int pm_shakeX = 3;
    int pm_linedge = 3;
    int pm_forangle = 45;
    int pm_addLine = 15;
    int pm_outangle = 60;
    int pm_linewid = 1;
    int pm_bcebce = 13;
    double pm_wdivh = 2.0;
    double pm_absdel = 0.1;
    TColor cl_def = clBlack;
    TColor cl_sel1 = clBlue;
    TColor cl_sel = clRed;
    std::uint8_t PixelFormat = 5; // 16 bits per pixel
    std::unique_ptr<TStringPool> ServPool;
    std::unique_ptr<TPoolLoadable> MenuPool;
    std::unique_ptr<TPoolLoadable> ProgPool;
    std::uint8_t MenuLanguage = mlRussian;
    bool pm_alleq = false;
    int UpdateCount = 0;
    std::uint8_t LangProg = 0; // 0 Pascal, 1 C++, 2 Basic
    bool pm_addconsole = false;
    bool pm_delspace = true;
    bool pm_OuAsIn = true;
    bool pm_DelRw = true;
    bool pm_RecogReadd = true;
    bool pm_ForOld = true;
    bool pm_ShakeGOST = false;
    bool pm_BlockNum = false;
    bool pm_w2heq = false;
    TFont FontExport;
    TFont FontBlock;

    // --- operations ---
    const QString& ProgramDirectory() const { return FProgramDir; }
    // ProgramDirectory() + the Serv text of "sm_nameINI".
    QString ConfigFileName() const;

    // Every field back to its default except WorkDirectory, EndFor,
    // MenuLanguage, OpenedFiles, the handlers and UpdateCount; the fonts become
    // new fonts and the pools get their built-in texts again. Notifies nobody.
    void SetDefaults();
    // Reads "Config.ini"; missing or unreadable values keep their defaults.
    // Then raises both notifications.
    void LoadFromIni();
    // Writes into "Config.ini" the values that differ from what it held when
    // it was last read or written here, and every value it lacks, keeping what
    // another running editor wrote meanwhile; the names added to the recent
    // files here go in front of the file's list, and those removed here leave
    // it. Throws EIniFileException when it cannot be written.
    void SaveToIni();

    // Setters store the value and raise OnChange only when it differs.
    void SetAbsDel(double Value);
    void SetAllEq(bool Value);
    void SetBceBce(int Value);
    void SetBceText(int Value);
    void SetForAngle(int Value);
    void SetIfAngle(int Value);
    void SetLinEdge(int Value);
    void SetOutAngle(int Value);
    void SetSerText(int Value);
    void SetPreviewByChanges(bool Value);
    void SetSourceType(std::uint8_t Value);
    void SetLangProg(std::uint8_t Value);
    void SetAddConsole(bool Value);
    void SetDelSpace(bool Value);
    void SetDelRw(bool Value);
    void SetOuAsIn(bool Value);
    void SetRecogReadd(bool Value);
    void SetBlockNum(bool Value);
    void SetForOld(bool Value);
    void SetShakeGOST(bool Value);
    void SetW2HEq(bool Value);
    // Copy the font and raise OnChange without comparing.
    void SetFontBlock(const TFont& Font);
    void SetFontExport(const TFont& Font);

    // Loads the language file (always, also for the current index), then, when
    // the index changes, stores it and raises OnLanguageChange. Throws
    // EIniFileException when the language file cannot be written back.
    void SetMenuLanguage(std::uint8_t Index);
    void LoadLanguage(std::uint8_t Index);
    // The language file of an interface language; English for unknown indexes.
    QString LanguageFileName(int Index) const;
    std::uint8_t GetSourceType() const { return SourceType; }

    // Bulk changes: OnChange is held back until the outermost EndUpdate, which
    // raises OnChange and OnLanguageChange once.
    void BeginUpdate();
    void EndUpdate();
    void DoChange();
    void DoLanguageChange();
    void NotifyAll();

    // Copies the user's choices from Source (nullptr does nothing): the working
    // directory, recent files, switches, EndFor, the layout integers,
    // pm_absdel, PixelFormat and MenuLanguage. Colours, fonts, pm_wdivh,
    // LangProg, pm_BlockNum, pools, handlers, Owner and UpdateCount stay.
    // Notifies nobody.
    void Assign(const TMainSettings* Source);

private:
    QString FProgramDir;
    // "Config.ini" as it was last read or written here, and the recent files
    // then: what differs from them is what this object changed.
    std::unique_ptr<TIniFile> FStored;
    TListOpenedFiles FStoredFiles;

    template <typename T> void SetField(T& field, T value);
    void LoadOptions(const TIniFile& Ini);
    static void ReadRecentFiles(const TIniFile& Ini, TListOpenedFiles& Files);
    void SaveOptions(TIniFile& Ini) const;
    void WriteValues(TIniFile& Ini) const;
    void SaveRecentFiles(TIniFile& Ini) const;
};

// The program's one settings object; nullptr until the program (or a test)
// makes one.
extern TMainSettings* MainSettings;

// The program directory as the main window knows it (with a trailing '/'):
// empty until the main window records it. A "Config.ini" without a working
// directory gives this one.
extern QString ProgramDir;

} // namespace tvx

// "Config.ini" and language files: any text is read in time bounded by its
// size, and the settings written from it read back the same numbers.
#include "fuzz_input.h"
#include "settings/builtin_texts.h"
#include "settings/main_settings.h"

#include <array>

using namespace tvx;

namespace {

std::array<int, 16> Numbers(const TMainSettings& Settings) {
    return {Settings.SourceType,  Settings.MenuLanguage,
            Settings.pm_shakeY,   Settings.pm_ifangle,
            Settings.pm_callproc, Settings.pm_textbce,
            Settings.pm_sertext,  Settings.pm_bcetext,
            Settings.pm_shakeX,   Settings.pm_linedge,
            Settings.pm_forangle, Settings.pm_addLine,
            Settings.pm_outangle, Settings.pm_linewid,
            Settings.pm_bcebce,   Settings.OpenedFiles.GetCount()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const QByteArray text = fuzz::Bytes(Data, Size);
    const QString dir = fuzz::ScratchDir().path() + QLatin1Char('/');

    std::array<int, 16> first{};
    fuzz::WriteFile(dir + QStringLiteral("Config.ini"), text);
    {
        TMainSettings settings(dir);
        settings.OnSaveError = [](const QString&) {};
        first = Numbers(settings);
    } // writes Config.ini back
    {
        TMainSettings settings(dir);
        settings.OnSaveError = [](const QString&) {};
        fuzz::Expect(Numbers(settings) == first, "settings read back as they were written");
    }

    fuzz::WriteFile(dir + QStringLiteral("language.lng"), text);
    TPoolLoadable pool(QStringLiteral("Menu"), dir);
    FillMenuDefaults(pool);
    pool.LoadFromFile(QStringLiteral("language.lng"));
    return 0;
}

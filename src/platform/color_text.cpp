#include "platform/color_text.h"
#include "platform/ini_file.h"
#include <array>

namespace tvx {

namespace {

struct NamedColor {
    TColor Value;
    const char* Name;
};

// The names the settings file uses. Only the first name of a value is written.
constexpr std::array<NamedColor, 21> ColorNames{{
    {clBlack, "clBlack"},  {clMaroon, "clMaroon"},     {clGreen, "clGreen"},
    {clOlive, "clOlive"},  {clNavy, "clNavy"},         {clPurple, "clPurple"},
    {clTeal, "clTeal"},    {clGray, "clGray"},         {clSilver, "clSilver"},
    {clRed, "clRed"},      {clLime, "clLime"},         {clYellow, "clYellow"},
    {clBlue, "clBlue"},    {clFuchsia, "clFuchsia"},   {clAqua, "clAqua"},
    {clWhite, "clWhite"},  {0xC0DCC0, "clMoneyGreen"}, {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"}, {0xA4A0A0, "clMedGray"},    {clWindowText, "clWindowText"},
}};

} // namespace

QString ColorToString(TColor color) {
    for (const NamedColor& c : ColorNames) {
        if (c.Value == color) {
            return QString::fromLatin1(c.Name);
        }
    }
    return u'$' + QStringLiteral("%1").arg(color, 8, 16, QChar(u'0')).toUpper();
}

std::optional<TColor> StringToColor(const QString& text) {
    QString t = text.trimmed();
    for (const NamedColor& c : ColorNames) {
        if (t.compare(QLatin1String(c.Name), Qt::CaseInsensitive) == 0) {
            return c.Value;
        }
    }
    std::optional<int> v = ParseIniInteger(t);
    if (!v) {
        return std::nullopt;
    }
    return TColor(std::uint32_t(*v));
}

} // namespace tvx

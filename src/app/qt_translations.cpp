#include "app/qt_translations.h"

#include "settings/main_settings.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tvx {

QString QtLanguageCode(int MenuLanguage) {
    switch (MenuLanguage) {
    case mlRussian:
        return QStringLiteral("ru");
    case mlUkrainian:
        return QStringLiteral("uk");
    case mlGerman:
        return QStringLiteral("de");
    case mlHungarian:
        return QStringLiteral("hu");
    default:
        return QString();
    }
}

TQtTranslations::TQtTranslations()
    : Directory(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) {}

TQtTranslations::~TQtTranslations() {
    Remove();
}

void TQtTranslations::Remove() {
    if (Translator) {
        QCoreApplication::removeTranslator(Translator.get());
        Translator.reset();
    }
}

void TQtTranslations::Switch(int MenuLanguage) {
    Remove();
    const QString code = QtLanguageCode(MenuLanguage);
    if (code.isEmpty()) {
        return;
    }
    auto next = std::make_unique<QTranslator>();
    if (!next->load(QStringLiteral("qtbase_") + code, Directory)) {
        return;
    }
    QCoreApplication::installTranslator(next.get());
    Translator = std::move(next);
}

} // namespace tvx

#pragma once
// Qt's own texts (file, font and question dialogs, standard buttons) in the
// interface language, from the translation files that come with Qt.
#include <QString>
#include <QTranslator>
#include <memory>

namespace tvx {

// The language code of Qt's translation files for an interface language
// (TMenuLanguage); empty for English and for an index of no language.
QString QtLanguageCode(int MenuLanguage);

class TQtTranslations {
public:
    TQtTranslations();
    ~TQtTranslations();
    TQtTranslations(const TQtTranslations&) = delete;
    TQtTranslations& operator=(const TQtTranslations&) = delete;

    // Where the translation files are looked for: Qt's own directory unless
    // set otherwise.
    QString Directory;

    // Puts the translation of the interface language in place of the one
    // before. English, and a language whose file is not there, leave Qt's
    // built-in English texts.
    void Switch(int MenuLanguage);
    // The translation in use; nullptr while Qt speaks English.
    const QTranslator* Current() const { return Translator.get(); }

private:
    void Remove();

    std::unique_ptr<QTranslator> Translator;
};

} // namespace tvx

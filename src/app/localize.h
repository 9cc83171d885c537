#pragma once
// Every caption and hint of the main window from the interface-text pool;
// run at start and after each change of the interface language.
namespace tvx {

class TMainForm;
class TStringPool;

// Captions and hints of the menus and tool bars (the language items and the
// chart windows' popups are the caller's).
void LocalizeMainForm(TMainForm& Form, const TStringPool& Menu);

// The captions of the language items, by menu position.
extern const char* const LanguageItemCaptions[5];

} // namespace tvx

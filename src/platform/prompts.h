#pragma once
// Everything modal the program asks of the user goes through one prompts
// object: message boxes, Yes/No questions, the open and save file dialogs and
// the font dialog. The application installs an implementation that shows the
// real dialogs; tests install TRecordingPrompts (recording_prompts.h), so that
// every command runs without a person in front of the screen.
#include "platform/font.h"
#include <QString>

namespace tvx {

// What a file dialog starts with. Filter is a list of description and pattern
// pairs separated by "|", e.g. "Charts (*.fml)|*.fml|All files (*.*)|*.*".
struct TFileDialogRequest {
    QString Title;
    QString Filter;
    QString InitialDir;
    QString FileName;    // proposed file name, may be empty
    int FilterIndex = 1; // pre-selected filter, counted from 1
};

// What a file dialog answers: the chosen file name (empty when the user
// cancelled) and the filter that was selected when the user confirmed.
struct TFileDialogResult {
    QString FileName;
    int FilterIndex = 1;

    bool Accepted() const { return !FileName.isEmpty(); }
};

// The answers to the question before work is closed: save it, let it go,
// or go back to it.
enum class TSaveChoice { Save, Discard, Cancel };

class TPrompts {
public:
    virtual ~TPrompts() = default;

    // A modal message box with an OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool AskYesNo(const QString& text) = 0;
    // The platform's question box with Save, Discard and Cancel.
    virtual TSaveChoice AskSaveChanges(const QString& text) = 0;
    // The common open and save file dialogs.
    virtual TFileDialogResult OpenFileDialog(const TFileDialogRequest& request) = 0;
    virtual TFileDialogResult SaveFileDialog(const TFileDialogRequest& request) = 0;
    // The common font dialog, started with `font`; on confirmation `font`
    // holds the chosen font and the result is true.
    virtual bool FontDialog(TFont& font) = 0;
};

// The implementation used when nothing else is installed: messages and
// questions go to stderr, questions are answered No, dialogs are cancelled.
class TConsolePrompts : public TPrompts {
public:
    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    TSaveChoice AskSaveChanges(const QString& text) override;
    TFileDialogResult OpenFileDialog(const TFileDialogRequest& request) override;
    TFileDialogResult SaveFileDialog(const TFileDialogRequest& request) override;
    bool FontDialog(TFont& font) override;
};

// The prompts object in use.
TPrompts& Prompts();

// Installs `prompts` (not owned; nullptr goes back to the console one) and
// returns the one installed before.
TPrompts* SetPrompts(TPrompts* prompts);

// Installs prompts for the lifetime of the scope and puts the previous ones back.
class TPromptsScope {
public:
    explicit TPromptsScope(TPrompts& prompts) : Previous(SetPrompts(&prompts)) {}
    ~TPromptsScope() { SetPrompts(Previous); }
    TPromptsScope(const TPromptsScope&) = delete;
    TPromptsScope& operator=(const TPromptsScope&) = delete;

private:
    TPrompts* Previous;
};

} // namespace tvx

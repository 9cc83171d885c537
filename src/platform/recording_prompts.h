#pragma once
// Prompts for tests: every message, question and dialog is recorded, and
// questions and dialogs are answered from queues the test fills beforehand.
// When a queue is empty the answer is No, Cancel, a cancelled dialog or an
// unchanged font, so a test that forgot to script an answer never blocks.
#include "platform/prompts.h"
#include <QList>
#include <QQueue>

namespace tvx {

enum class TPromptKind { Message, Question, OpenFile, SaveFile, Font };

struct TPromptRecord {
    TPromptKind Kind = TPromptKind::Message;
    QString Text;               // message or question text, dialog title
    TFileDialogRequest Request; // file dialogs only
    TFont Font;                 // font dialog only: the font it started with
};

class TRecordingPrompts : public TPrompts {
public:
    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    // Recorded as a question, as AskYesNo is.
    TSaveChoice AskSaveChanges(const QString& text) override;
    TFileDialogResult OpenFileDialog(const TFileDialogRequest& request) override;
    TFileDialogResult SaveFileDialog(const TFileDialogRequest& request) override;
    bool FontDialog(TFont& font) override;

    // Scripted answers, used in the order they were queued.
    void QueueAnswer(bool yes) { Answers.enqueue(yes); }
    void QueueChoice(TSaveChoice choice) { Choices.enqueue(choice); }
    // One answer for the next open or save dialog; an empty name cancels it.
    void QueueFileName(const QString& fileName, int filterIndex = 1) {
        FileNames.enqueue({fileName, filterIndex});
    }
    // The next font dialog confirms with this font.
    void QueueFont(const TFont& font) { Fonts.enqueue(font); }

    const QList<TPromptRecord>& Records() const { return Log; }
    // The texts of every message box shown, in order.
    QStringList Messages() const;
    // The texts of every question asked, in order.
    QStringList Questions() const;
    void ClearRecords() { Log.clear(); }

private:
    TFileDialogResult AnswerFileDialog(TPromptKind kind, const TFileDialogRequest& request);

    QList<TPromptRecord> Log;
    QQueue<bool> Answers;
    QQueue<TSaveChoice> Choices;
    QQueue<TFileDialogResult> FileNames;
    QQueue<TFont> Fonts;
};

// Installs a fresh recorder for the lifetime of the scope; the usual first
// line of a test that runs a command which may prompt.
class TRecordingPromptsScope : public TRecordingPrompts {
public:
    TRecordingPromptsScope() : Previous(SetPrompts(this)) {}
    ~TRecordingPromptsScope() override { SetPrompts(Previous); }
    TRecordingPromptsScope(const TRecordingPromptsScope&) = delete;
    TRecordingPromptsScope& operator=(const TRecordingPromptsScope&) = delete;

private:
    TPrompts* Previous;
};

} // namespace tvx

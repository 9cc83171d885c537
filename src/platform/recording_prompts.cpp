#include "platform/recording_prompts.h"

namespace tvx {

void TRecordingPrompts::ShowMessage(const QString& text) {
    Log.append({TPromptKind::Message, text, {}, {}});
}

bool TRecordingPrompts::AskYesNo(const QString& text) {
    Log.append({TPromptKind::Question, text, {}, {}});
    return Answers.isEmpty() ? false : Answers.dequeue();
}

TSaveChoice TRecordingPrompts::AskSaveChanges(const QString& text) {
    Log.append({TPromptKind::Question, text, {}, {}});
    return Choices.isEmpty() ? TSaveChoice::Cancel : Choices.dequeue();
}

TFileDialogResult TRecordingPrompts::OpenFileDialog(const TFileDialogRequest& request) {
    return AnswerFileDialog(TPromptKind::OpenFile, request);
}

TFileDialogResult TRecordingPrompts::SaveFileDialog(const TFileDialogRequest& request) {
    return AnswerFileDialog(TPromptKind::SaveFile, request);
}

TFileDialogResult TRecordingPrompts::AnswerFileDialog(TPromptKind kind,
                                                      const TFileDialogRequest& request) {
    Log.append({kind, request.Title, request, {}});
    if (FileNames.isEmpty()) {
        return {QString(), request.FilterIndex};
    }
    return FileNames.dequeue();
}

bool TRecordingPrompts::FontDialog(TFont& font) {
    Log.append({TPromptKind::Font, QString(), {}, font});
    if (Fonts.isEmpty()) {
        return false;
    }
    font = Fonts.dequeue();
    return true;
}

QStringList TRecordingPrompts::Messages() const {
    QStringList texts;
    for (const TPromptRecord& record : Log) {
        if (record.Kind == TPromptKind::Message) {
            texts.append(record.Text);
        }
    }
    return texts;
}

QStringList TRecordingPrompts::Questions() const {
    QStringList texts;
    for (const TPromptRecord& record : Log) {
        if (record.Kind == TPromptKind::Question) {
            texts.append(record.Text);
        }
    }
    return texts;
}

} // namespace tvx

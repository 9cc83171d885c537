#include "platform/prompts.h"

#include <cstdio>

namespace tvx {
namespace {

TConsolePrompts ConsolePrompts;
TPrompts* Current = nullptr;

void WriteLine(const QString& prefix, const QString& text) {
    std::fprintf(stderr, "%s%s\n", prefix.toUtf8().constData(), text.toUtf8().constData());
    std::fflush(stderr);
}

} // namespace

void TConsolePrompts::ShowMessage(const QString& text) {
    WriteLine(QString(), text);
}

bool TConsolePrompts::AskYesNo(const QString& text) {
    WriteLine(QString(), text + QStringLiteral(" [No]"));
    return false;
}

TSaveChoice TConsolePrompts::AskSaveChanges(const QString& text) {
    WriteLine(QString(), text + QStringLiteral(" [Cancel]"));
    return TSaveChoice::Cancel;
}

TFileDialogResult TConsolePrompts::OpenFileDialog(const TFileDialogRequest& request) {
    WriteLine(QStringLiteral("(open dialog cancelled) "), request.Title);
    return {QString(), request.FilterIndex};
}

TFileDialogResult TConsolePrompts::SaveFileDialog(const TFileDialogRequest& request) {
    WriteLine(QStringLiteral("(save dialog cancelled) "), request.Title);
    return {QString(), request.FilterIndex};
}

bool TConsolePrompts::FontDialog(TFont&) {
    return false;
}

TPrompts& Prompts() {
    return Current ? *Current : ConsolePrompts;
}

TPrompts* SetPrompts(TPrompts* prompts) {
    TPrompts* previous = Current;
    Current = prompts;
    return previous;
}

} // namespace tvx

#include "app/qt_prompts.h"

#include "app/termination_signals.h"
#include "platform/text_metrics.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>

namespace tvx {
namespace {

QString Title() {
    return QApplication::applicationDisplayName();
}

// The patterns as Qt wants them inside brackets: "*.pas *.pp", not "*.pas;*.pp;".
QString QtPatterns(const QString& patterns) {
    QStringList parts = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& p : parts) {
        p = p.trimmed();
    }
    parts.removeAll(QString());
    return parts.join(u' ');
}

QFileDialog::Options DialogOptions() {
    // The editor asks its own overwrite question with the texts of the
    // current language, so the dialog must not ask one as well.
    return QFileDialog::DontConfirmOverwrite;
}

TFileDialogResult RunFileDialog(QWidget* parent, const TFileDialogRequest& request,
                                QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.Title.isEmpty() ? Title() : request.Title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOptions(DialogOptions());
    const QStringList filters = QtNameFilters(request.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        int index = qBound(1, request.FilterIndex, int(filters.size()));
        dialog.selectNameFilter(filters.at(index - 1));
    }
    QString dir = request.InitialDir;
    if (dir.isEmpty() && !request.FileName.isEmpty()) {
        dir = QFileInfo(request.FileName).path();
    }
    if (!dir.isEmpty()) {
        dialog.setDirectory(dir);
    }
    if (!request.FileName.isEmpty()) {
        dialog.selectFile(request.FileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty() ||
        TerminationSignalReceived()) {
        return {QString(), request.FilterIndex};
    }
    int chosen = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return {dialog.selectedFiles().constFirst(), chosen > 0 ? chosen : request.FilterIndex};
}

} // namespace

QStringList QtNameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const QString patterns = QtPatterns(parts.at(i + 1));
        if (description.isEmpty() && patterns.isEmpty()) {
            continue;
        }
        // Qt reads the patterns from the last brackets of the entry; a
        // description such as "Charts (.fml)" carries none it can use, so its
        // brackets get the real patterns.
        int open = int(description.lastIndexOf(u'('));
        if (description.endsWith(u')') && open >= 0) {
            description = description.left(open).trimmed();
        }
        result.append(description + QStringLiteral(" (") + patterns + u')');
    }
    return result;
}

// Once a termination signal has arrived nobody may be there to answer, and a
// box would keep the closing program alive: messages go to standard error,
// questions are answered No and dialogs cancelled, as the console prompts do.
// A dialog that was open when the signal came is cancelled under its caller,
// which gets the same answers.
void TQtPrompts::ShowMessage(const QString& text) {
    if (TerminationSignalReceived()) {
        Closing.ShowMessage(text);
        return;
    }
    QMessageBox::information(Parent, Title(), text);
}

bool TQtPrompts::AskYesNo(const QString& text) {
    if (TerminationSignalReceived()) {
        return Closing.AskYesNo(text);
    }
    const bool yes =
        QMessageBox::question(Parent, Title(), text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
    return yes && !TerminationSignalReceived();
}

TSaveChoice TQtPrompts::AskSaveChanges(const QString& text) {
    // Standard buttons: the platform orders them and Qt's translation names
    // them in the interface language; Escape and the close box cancel.
    switch (QMessageBox::question(Parent, Title(), text,
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                  QMessageBox::Save)) {
    case QMessageBox::Save:
        return TSaveChoice::Save;
    case QMessageBox::Discard:
        return TSaveChoice::Discard;
    default:
        return TSaveChoice::Cancel;
    }
}

TFileDialogResult TQtPrompts::OpenFileDialog(const TFileDialogRequest& request) {
    if (TerminationSignalReceived()) {
        return Closing.OpenFileDialog(request);
    }
    return RunFileDialog(Parent, request, QFileDialog::AcceptOpen);
}

TFileDialogResult TQtPrompts::SaveFileDialog(const TFileDialogRequest& request) {
    if (TerminationSignalReceived()) {
        return Closing.SaveFileDialog(request);
    }
    return RunFileDialog(Parent, request, QFileDialog::AcceptSave);
}

bool TQtPrompts::FontDialog(TFont& font) {
    if (TerminationSignalReceived()) {
        return Closing.FontDialog(font);
    }
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, ToQFont(font), Parent, Title());
    if (!ok || TerminationSignalReceived()) {
        return false;
    }
    font.Name = chosen.family();
    if (chosen.pointSize() > 0) {
        font.Size = chosen.pointSize();
    }
    font.Style = (chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
                 (chosen.underline() ? fsUnderline : 0) | (chosen.strikeOut() ? fsStrikeOut : 0);
    return true;
}

} // namespace tvx

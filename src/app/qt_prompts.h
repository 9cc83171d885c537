#pragma once
// The prompts the running editor uses: real message boxes, Yes/No questions,
// file dialogs and the font dialog, all modal over the main window; none
// once a termination signal has arrived.
#include "platform/prompts.h"

class QWidget;

namespace tvx {

class TQtPrompts : public TPrompts {
public:
    // parent: the window the dialogs are modal over; may be changed later.
    explicit TQtPrompts(QWidget* parent = nullptr) : Parent(parent) {}
    void SetParent(QWidget* parent) { Parent = parent; }

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    TSaveChoice AskSaveChanges(const QString& text) override;
    TFileDialogResult OpenFileDialog(const TFileDialogRequest& request) override;
    TFileDialogResult SaveFileDialog(const TFileDialogRequest& request) override;
    bool FontDialog(TFont& font) override;

private:
    QWidget* Parent;
    TConsolePrompts Closing; // answers once a termination signal has arrived
};

// "Charts (*.fml)|*.fml|All (*.*)|*.*" as the name filters of a Qt file
// dialog: one "Charts (*.fml)" entry per pair. A pair whose description holds
// no pattern list gets the pattern appended in brackets, so Qt can filter.
QStringList QtNameFilters(const QString& filter);

} // namespace tvx

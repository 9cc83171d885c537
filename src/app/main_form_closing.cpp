// Closing chart windows and the program without losing work: each chart with
// changes no save has written is shown and asked about first.
#include "app/interface_texts.h"
#include "app/main_form.h"
#include "app/mdi_child.h"
#include "app/termination_signals.h"
#include "platform/prompts.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QTabBar>

namespace tvx {

bool TMainForm::MayCloseChart(TMDIChild& Child) {
    Child.CommitEdit(); // what the editor shows counts as a change
    const QList<int> tabs = Child.ChangedTabs();
    if (tabs.isEmpty()) {
        return true;
    }
    const int shown = Child.ShownTab;
    for (int tab : tabs) {
        // The chart asked about is the one on screen, and the one Save writes.
        Activate(Child);
        if (Child.TabSet1->count() > 0 && tab != Child.ShownTab) {
            Child.TabSet1Change(tab);
        }
        const QString question = MenuText("sm_mes_close_changed").arg(Child.ShownChartTitle());
        const TSaveChoice choice = Prompts().AskSaveChanges(question);
        if (choice == TSaveChoice::Discard || (choice == TSaveChoice::Save && SaveChart(Child))) {
            continue;
        }
        // Back to what was shown, for the work to go on.
        if (Child.TabSet1->count() > 0 && shown != Child.ShownTab) {
            Child.TabSet1Change(shown);
        }
        return false;
    }
    return true;
}

void TMainForm::closeEvent(QCloseEvent* e) {
    // Nobody may be there to answer while a signal ends the program. Every
    // window is asked about before any closes, so Cancel leaves them all.
    if (!TerminationSignalReceived()) {
        TMDIChild* active = ActiveMDIChild();
        const QList<TMDIChild*> children = MDIChildren();
        for (qsizetype i = children.size() - 1; i >= 0; --i) {
            if (!MayCloseChart(*children.at(i))) {
                if (active != nullptr) {
                    Activate(*active);
                }
                e->ignore();
                return;
            }
        }
    }
    CloseAllChildren();
    e->accept();
}

} // namespace tvx

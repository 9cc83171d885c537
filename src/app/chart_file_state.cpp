#include "app/chart_file_state.h"

#include "app/chart_file_names.h"
#include "app/interface_texts.h"

#include <QFileInfo>
#include <QStringList>

namespace tvx {
namespace {

bool HasExtension(const QString& Name, const char* ServId) {
    return ExtensionOf(Name).compare(ServText(ServId), Qt::CaseInsensitive) == 0;
}

bool SameName(const QString& A, const QString& B) {
    return QFileInfo(A).absoluteFilePath() == QFileInfo(B).absoluteFilePath();
}

} // namespace

void TChartFileState::Read(const QString& FileName, TChartForm ChartForm,
                           const TFileIdentity& Before) {
    Name = FileName;
    Form = ChartForm;
    Identity = Before;
    Changed = false;
}

void TChartFileState::Written(const QString& FileName, TChartForm ChartForm) {
    Read(FileName, ChartForm, FileIdentityOf(FileName));
}

TSaveTarget SaveTargetOf(const QString& Caption) {
    if (HasExtension(Caption, "sm_default_xml")) {
        return {Caption, TChartForm::Xml};
    }
    if (HasExtension(Caption, "sm_default_new")) {
        return {Caption, TChartForm::Annotated};
    }
    return {ChangeExtension(Caption, ServText("sm_default_ext")), TChartForm::Legacy};
}

QString SaveQuestion(const TChartFileState& File, const TSaveTarget& Target) {
    const TFileIdentity now = FileIdentityOf(Target.Name);
    QStringList why;
    if (!now.SameFileAs(File.Identity) && !SameName(Target.Name, File.Name)) {
        why.append(MenuText("sm_mes_save_other").arg(File.Name));
    } else if (now != File.Identity) {
        why.append(MenuText("sm_mes_save_changed").arg(Target.Name));
    }
    if (Target.Form != File.Form && Target.Form == TChartForm::Legacy) {
        why.append(MenuText("sm_mes_save_legacy"));
    } else if (Target.Form != File.Form && Target.Form == TChartForm::Annotated) {
        why.append(MenuText("sm_mes_save_annotated"));
    }
    if (why.isEmpty()) {
        return QString();
    }
    // The question itself is the usual one when there is a file to replace.
    why.append(now.Exists ? ReplaceQuestion(Target.Name)
                          : MenuText("sm_mes_save_ask").arg(Target.Name));
    return why.join(QStringLiteral("\r\n"));
}

} // namespace tvx

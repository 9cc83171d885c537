#pragma once
// Charts and comparisons shared by the chart file, clipboard and page tests.
#include "chart/fc_list.h"
#include <QStringList>
#include <memory>

namespace tvx::testing {

// Adds a block after Target (Branch -1) or at the head of Target's branch.
inline TFlowBlock* AddAt(TFCList& Chart, TFlowBlock* Target, int Branch, TBlockKind Kind,
                         const QString& Text) {
    TMouseInfo info(Branch);
    return Chart.AddBlock(Target, Kind, -1, Text, &info);
}

// Every block as one line: position, kind, level, parent, next, branch heads,
// text and comment; equal descriptions mean equal structure and texts.
inline QStringList Describe(const TFCList& Chart) {
    auto at = [](const TFlowBlock* b) { return b ? QString::number(b->Index) : QString("-"); };
    QStringList lines;
    for (const TFlowBlock* b : Chart.GetList()) {
        QString line = QStringLiteral("%1 k%2 L%3 p%4 n%5 [")
                           .arg(b->Index)
                           .arg(int(b->Kind))
                           .arg(b->Level)
                           .arg(at(b->Parent), at(b->Next));
        for (const TPropertyItems& item : b->Items) {
            line += at(item.Chain) + QLatin1Char(' ');
        }
        lines.append(line + QStringLiteral("] text=") + b->Text + QStringLiteral(" comment=") +
                     b->Comment);
    }
    return lines;
}

// A chart with a block of every kind, nested three deep, with Cyrillic,
// multi-line and markup-laden texts.
inline std::unique_ptr<TFCList> SampleChart() {
    auto chart = std::make_unique<TFCList>();
    TFlowBlock* root = chart->AddBlock(nullptr, bkRoot, -1, QStringLiteral("Программа"), nullptr);
    TFlowBlock* first = AddAt(*chart, root, 0, bkProcess, QStringLiteral("a := 1"));
    TFlowBlock* ifElse = AddAt(*chart, first, -1, bkIfElse, QStringLiteral("a < b & b > c"));
    TFlowBlock* input = AddAt(*chart, ifElse, 0, bkInput, QStringLiteral("Ввод(x)"));
    AddAt(*chart, input, -1, bkOutput, QStringLiteral("Вывод('<&>')"));
    TFlowBlock* loop = AddAt(*chart, ifElse, 1, bkWhile, QStringLiteral("i <= 10"));
    TFlowBlock* forLoop = AddAt(*chart, loop, 0, bkFor, QStringLiteral("i := 1 to n"));
    AddAt(*chart, forLoop, 0, bkRepeat, QStringLiteral("строка 1\nстрока 2\n  отступ"));
    TFlowBlock* choice = AddAt(*chart, ifElse, -1, bkCase, QStringLiteral("x"));
    AddAt(*chart, choice, 0, bkCall, QStringLiteral("Proc(1)"));
    AddAt(*chart, choice, 2, bkLegacyOutput, QStringLiteral("old"));
    TFlowBlock* page = AddAt(*chart, choice, -1, bkPageBreak, QString());
    TFlowBlock* yes = AddAt(*chart, page, -1, bkIfYesLeft, QStringLiteral("yes only"));
    TFlowBlock* previous = yes;
    for (TBlockKind kind :
         {bkIfVariant12, bkIfVariant13, bkIfVariant14, bkIfNoRight, bkIfVariant16}) {
        previous = AddAt(*chart, previous, -1, kind, QStringLiteral("if %1").arg(int(kind)));
    }
    AddAt(*chart, previous, 1, bkProcess, QStringLiteral("no branch"));
    first->Comment = QStringLiteral("comment <with> & markup");
    return chart;
}

} // namespace tvx::testing

#include "import/pascal_import_support.h"
#include "platform/recording_prompts.h"
#include <QSet>

namespace tvx::test {

namespace {

QString ChainOutline(const TFlowBlock* Block);

QString BlockOutline(const TFlowBlock* Block) {
    QString text = QString::number(int(Block->Kind)) + QLatin1Char(':') + Block->Text;
    if (Block->ItemCount() > 0 && Block->Kind != bkRoot) {
        QStringList branches;
        for (int j = 0; j < Block->ItemCount(); ++j) {
            branches << ChainOutline(Block->GetItemChain(j));
        }
        text += QLatin1Char('{') + branches.join(QStringLiteral(" | ")) + QLatin1Char('}');
    }
    return text;
}

QString ChainOutline(const TFlowBlock* Block) {
    QStringList blocks;
    for (; Block != nullptr; Block = Block->Next) {
        blocks << BlockOutline(Block);
    }
    return blocks.join(QStringLiteral("; "));
}

} // namespace

QString PascalGrammarFile() {
    return QStringLiteral(TVX_GRAMMAR_DIR "ImportPAS.dll");
}

QStringList TPascalImport::Captions() const {
    QStringList captions;
    for (const auto& chart : Charts) {
        captions << chart->Caption;
    }
    return captions;
}

QString TPascalImport::Outline(const QString& Caption) const {
    for (const auto& chart : Charts) {
        if (chart->Caption == Caption) {
            return test::Outline(*chart);
        }
    }
    return QStringLiteral("no chart");
}

TPascalImport ImportPascal(const QString& Text, bool KeepLog) {
    TRecordingPromptsScope prompts;
    TTVXParseChartes import(slPascal);
    import.GrammarFile = PascalGrammarFile();
    import.LoadFromText(Text);
    TPascalImport result;
    result.Ok = import.Parse(result.Report);
    result.Charts = import.TakeCharts();
    if (result.Ok) {
        result.Tally = TallyStatements(import, CountBlocks(result.Charts));
    }
    if (KeepLog) {
        result.Log = import.GetLog().Lines();
    }
    return result;
}

QString Outline(const TFCList& Chart) {
    const TFlowBlock* root = Chart.First();
    return QString::number(int(root->Kind)) + QLatin1Char(':') + root->Text + QLatin1Char('{') +
           ChainOutline(root->GetItemChain(0)) + QLatin1Char('}');
}

QString ChartFault(const TFCList& Chart) {
    if (Chart.Count() == 0 || Chart.First()->Kind != bkRoot) {
        return QStringLiteral("no root");
    }
    // Walk the flow tree from the root; every block must be met once, with
    // the parent and level its place gives it.
    QSet<const TFlowBlock*> seen;
    std::vector<const TFlowBlock*> pending{Chart.First()};
    while (!pending.empty()) {
        const TFlowBlock* block = pending.back();
        pending.pop_back();
        if (seen.contains(block)) {
            return QStringLiteral("block %1 met twice").arg(block->Index);
        }
        seen.insert(block);
        if (block->Index < 0 || block->Index >= Chart.Count() ||
            Chart.GetBlock(block->Index) != block) {
            return QStringLiteral("block with a wrong index");
        }
        for (int j = 0; j < block->ItemCount(); ++j) {
            for (const TFlowBlock* child = block->GetItemChain(j); child != nullptr;
                 child = child->Next) {
                if (child->Parent != block || child->Level != block->Level + 1) {
                    return QStringLiteral("block %1 has a wrong parent or level").arg(child->Index);
                }
                pending.push_back(child);
            }
        }
    }
    if (seen.size() != Chart.Count()) {
        return QStringLiteral("%1 blocks are not in the flow").arg(Chart.Count() - seen.size());
    }
    return QString();
}

} // namespace tvx::test

#include "codegen/code_generator.h"

#include "chart/flow_block.h"
#include "codegen/code_sink.h"
#include "codegen/export_state.h"
#include "settings/main_settings.h"
#include "settings/text_helpers.h"
#include <iterator>

namespace tvx {

int ChainLength(const TFlowBlock* Head) {
    int n = 0;
    for (const TFlowBlock* b = Head; b != nullptr; b = b->Next) {
        ++n;
    }
    return n;
}

TCodeGenerator::TCodeGenerator(TCodeSink& Sink, const TMainSettings& Settings)
    : Sink(Sink), Settings(Settings) {}

void TCodeGenerator::SavePartToFile(TFlowBlock* Block) {
    if (Block == nullptr) {
        return;
    }
    Steps.assign(1, {TStep::skBlock, 0, Block, {}});
    Expansion.clear();
    Run();
}

void TCodeGenerator::Run() {
    // Each step is taken off the list before it runs; a block's steps go on
    // in reverse, so they come off in writing order. A chain leaves the rest
    // of itself as one step, so the list grows with the depth, not the length.
    try {
        while (!Steps.empty()) {
            TStep step = std::move(Steps.back());
            Steps.pop_back();
            switch (step.Kind) {
            case TStep::skLine:
                Sink.SaveToPasFile(step.Text);
                continue;
            case TStep::skReset:
                step.Block->NoEndOp = 0;
                continue;
            case TStep::skSingle:
                step.Block->NoEndOp = step.Flag;
                Steps.push_back({TStep::skReset, 0, step.Block, {}});
                WriteBlock(*step.Block);
                break;
            case TStep::skChain:
                if (step.Block->Next != nullptr) {
                    Steps.push_back({TStep::skChain, 0, step.Block->Next, {}});
                }
                WriteBlock(*step.Block);
                break;
            case TStep::skBlock:
                WriteBlock(*step.Block);
                break;
            }
            Steps.insert(Steps.end(), std::make_move_iterator(Expansion.rbegin()),
                         std::make_move_iterator(Expansion.rend()));
            Expansion.clear();
        }
    } catch (...) {
        // No flag outlives a run, however it ends.
        for (const TStep& step : Steps) {
            if (step.Kind == TStep::skReset) {
                step.Block->NoEndOp = 0;
            }
        }
        Steps.clear();
        Expansion.clear();
        throw;
    }
}

QString TCodeGenerator::FlattenText(const QString& Text) {
    if (!TextCleanUp) {
        return Text;
    }
    const QString blank = QStringLiteral(" ");
    QString s = ReplaceAll(Text, QStringLiteral("\r\n"), blank);
    s = ReplaceAll(s, QStringLiteral("\r"), blank);
    s = ReplaceAll(s, QStringLiteral("\n"), blank);
    return CollapseRepeats(s, blank);
}

void TCodeGenerator::WriteBlock(TFlowBlock& B) {
    switch (ExportLanguage) {
    case elPascal:
        WritePascal(B);
        break;
    case elCpp:
        WriteCLike(B, false);
        break;
    case elBasic:
        WriteCLike(B, true);
        break;
    default:
        break; // no language chosen: nothing is written
    }
}

TCodeGenerator::TPieces TCodeGenerator::PiecesOf(const TFlowBlock& B, bool withSuffix) const {
    TPieces p;
    p.I = Indent(B);
    p.T = FlattenText(B.Text);
    if (B.NoEndOp == 0) {
        p.E = W("sm_endop");
    }
    if (withSuffix && ExportMode == emAnnotated) {
        p.S = QStringLiteral("{TVX_type_%1}").arg(int(B.Kind));
    }
    return p;
}

QString TCodeGenerator::W(const char* Id) const {
    return Settings.ProgPool->GetString(QString::fromLatin1(Id));
}

QString TCodeGenerator::Indent(const TFlowBlock& B) const {
    if (B.Level < 0) {
        return {};
    }
    return Settings.ServPool->GetString(QStringLiteral("sm_tabsym")).repeated(B.Level + 1);
}

void TCodeGenerator::Line(const QString& Text) {
    Expansion.push_back({TStep::skLine, 0, nullptr, Text});
}

void TCodeGenerator::Nested(TStep::TKind Kind, TFlowBlock* Block, std::uint8_t Flag) {
    Expansion.push_back({Kind, Flag, Block, {}});
}

void TCodeGenerator::WriteChain(TFlowBlock* Head) {
    if (Head != nullptr) {
        Nested(TStep::skChain, Head);
    }
}

void TCodeGenerator::WriteSingle(TFlowBlock& Single, std::uint8_t NoEndOp) {
    Nested(TStep::skSingle, &Single, NoEndOp);
}

void SavePartToFile(TCodeSink& Sink, TFlowBlock* Block) {
    TCodeGenerator(Sink, *MainSettings).SavePartToFile(Block);
}

} // namespace tvx

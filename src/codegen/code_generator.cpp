#include "codegen/code_generator.h"

#include "chart/flow_block.h"
#include "codegen/code_sink.h"
#include "codegen/export_state.h"
#include "settings/main_settings.h"
#include "settings/text_helpers.h"

namespace tvx {
namespace {

// Sets a block's NoEndOp for the time it is written; back to 0 however the
// writing ends, so no flag outlives a run.
class TNoEndOpScope {
public:
    TNoEndOpScope(TFlowBlock& Block, std::uint8_t Value) : Block(Block) { Block.NoEndOp = Value; }
    ~TNoEndOpScope() { Block.NoEndOp = 0; }
    TNoEndOpScope(const TNoEndOpScope&) = delete;
    TNoEndOpScope& operator=(const TNoEndOpScope&) = delete;

private:
    TFlowBlock& Block;
};

} // namespace

int ChainLength(const TFlowBlock* Head) {
    int n = 0;
    for (const TFlowBlock* b = Head; b != nullptr; b = b->Next) {
        ++n;
    }
    return n;
}

TCodeGenerator::TCodeGenerator(TCodeSink& Sink, const TMainSettings& Settings)
    : Sink(Sink), Settings(Settings) {}

void TCodeGenerator::SavePartToFile(const QString& FileName, TFlowBlock* Block) {
    if (Block == nullptr) {
        return;
    }
    this->FileName = FileName;
    WriteBlock(*Block);
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
    Sink.SaveToPasFile(FileName, Text);
}

void TCodeGenerator::WriteChain(TFlowBlock* Head) {
    for (TFlowBlock* b = Head; b != nullptr; b = b->Next) {
        WriteBlock(*b);
    }
}

void TCodeGenerator::WriteSingle(TFlowBlock& Single, std::uint8_t NoEndOp) {
    TNoEndOpScope scope(Single, NoEndOp);
    WriteBlock(Single);
}

void SavePartToFile(TCodeSink& Sink, const QString& FileName, TFlowBlock* Block) {
    TCodeGenerator(Sink, *MainSettings).SavePartToFile(FileName, Block);
}

} // namespace tvx

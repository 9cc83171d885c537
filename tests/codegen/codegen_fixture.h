#pragma once
// A settings object on a temporary program directory, a chart holding its
// root and the two code buffers, with helpers that build branches in order
// and run the generator.
#include "chart/fc_list.h"
#include "codegen/code_generator.h"
#include "codegen/code_sink.h"
#include "codegen/export_state.h"
#include "common/chart_append.h"
#include "settings/main_settings.h"
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

// Readable failure output for the texts compared below.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tvx {

class CodegenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Settings = std::make_unique<TMainSettings>(Dir.path() + "/");
        PreviousSettings = MainSettings;
        MainSettings = Settings.get();
        ExportLanguage = elPascal;
        ExportMode = emPlain;
        TextCleanUp = true;
        Root = Chart.AddBlock(nullptr, bkRoot, -1, QStringLiteral("Demo"), nullptr);
    }

    void TearDown() override {
        MainSettings = PreviousSettings;
        ExportLanguage = elPascal;
        ExportMode = emPlain;
        TextCleanUp = true;
    }

    // Adds a block at the end of branch `branch` of `owner`.
    TFlowBlock* Append(TFlowBlock* owner, int branch, TBlockKind kind, const QString& text) {
        return AppendBlock(Chart, owner, branch, kind, text);
    }
    TFlowBlock* Append(TBlockKind kind, const QString& text) { return Append(Root, 0, kind, text); }

    // Runs the generator on `block` (the root by default) into fresh buffers
    // and returns the lines, after checking that both buffers agree.
    QStringList Generate(TFlowBlock* block = nullptr) {
        QStringList buffer1;
        QStringList buffer2;
        TCodeSink sink(buffer1, buffer2);
        TCodeGenerator(sink, *Settings).SavePartToFile(block ? block : Root);
        EXPECT_EQ(buffer1, buffer2);
        return buffer2;
    }

    bool AllFlagsClear() const {
        for (const TFlowBlock* b : Chart.GetList()) {
            if (b->NoEndOp != 0) {
                return false;
            }
        }
        return true;
    }

    QTemporaryDir Dir;
    std::unique_ptr<TMainSettings> Settings;
    TMainSettings* PreviousSettings = nullptr;
    TFCList Chart;
    TFlowBlock* Root = nullptr;
};

} // namespace tvx

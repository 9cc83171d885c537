// The legacy record file: 104 bytes per block, written and read back into a
// linked chart, damaged files refused.
#include "app/legacy_chart_file.h"
#include "app_fixture.h"
#include "chart/nesting_limit.h"
#include "common/nested_chart.h"
#include "platform/bitmap.h"

#include <QFile>
#include <QtEndian>

using namespace tvx;

namespace {

// root -> process -> if (yes: call, no: output) -> while (body: input) -> page break
void FillChart(TFCList& chart) {
    TMouseInfo after(-1), yes(0), no(1);
    TFlowBlock* root = chart.AddBlock(nullptr, bkRoot, 0, "start", &after);
    TFlowBlock* p = chart.AddBlock(root, bkProcess, -1, QString::fromUtf8("сумма := 0"), &after);
    TFlowBlock* c = chart.AddBlock(p, bkIfElse, -1, "x > 0", &after);
    chart.AddBlock(c, bkCall, -1, "Left", &yes);
    chart.AddBlock(c, bkOutput, -1, "x", &no);
    TFlowBlock* w = chart.AddBlock(c, bkWhile, -1, "more", &after);
    chart.AddBlock(w, bkInput, -1, "n", &yes);
    chart.AddBlock(w, bkPageBreak, -1, "", &after);
}

QString Shape(const TFCList& chart) {
    QString s;
    for (const TFlowBlock* b : chart.GetList()) {
        auto ref = [](const TFlowBlock* x) { return x ? x->Index : -1; };
        s += QStringLiteral("%1:%2 %3 L%4 P%5 N%6 [")
                 .arg(b->Index)
                 .arg(int(b->Kind))
                 .arg(b->Text)
                 .arg(b->Level)
                 .arg(ref(b->Parent))
                 .arg(ref(b->Next));
        for (int j = 0; j < b->ItemCount(); ++j) {
            s += QString::number(ref(b->GetItemChain(j))) + u' ';
        }
        s += "]\n";
    }
    return s;
}

int GetInt(const QByteArray& bytes, int record, int offset) {
    return qFromLittleEndian<qint32>(bytes.constData() + record * LegacyRecordSize + offset);
}

void PutInt(QByteArray& bytes, int record, int offset, int value) {
    qToLittleEndian<qint32>(value, bytes.data() + record * LegacyRecordSize + offset);
}

} // namespace

TEST(LegacyChartFile, WritesOneRecordPerBlockAndReadsTheSameChart) {
    TFCList chart;
    FillChart(chart);
    const QByteArray bytes = EncodeLegacyChart(chart);
    ASSERT_EQ(bytes.size(), chart.Count() * LegacyRecordSize);
    EXPECT_EQ(bytes[0], char(bkRoot));
    EXPECT_EQ(bytes[LegacyRecordSize + 1], char(QString::fromUtf8("сумма := 0").size()));
    // Every field at its place: the if (record 2) and the while's body (6).
    const char* cond = bytes.constData() + 2 * LegacyRecordSize;
    EXPECT_EQ(cond[0], char(bkIfElse));
    EXPECT_EQ(QByteArray(cond + 1, 6), QByteArray("\x05x > 0"));
    const int condInts[] = {1, 3, 4, -1, -1, 5}; // level, four heads, next at 68 .. 88
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(GetInt(bytes, 2, 68 + 4 * i), condInts[i]) << "offset " << 68 + 4 * i;
    }
    EXPECT_EQ(cond[92], 2); // branch count
    EXPECT_EQ(GetInt(bytes, 2, 96), 0);
    EXPECT_EQ(GetInt(bytes, 2, 100), 2);
    EXPECT_EQ(GetInt(bytes, 6, 68), 2);
    EXPECT_EQ(GetInt(bytes, 6, 88), -1);
    EXPECT_EQ(GetInt(bytes, 6, 96), 5);

    TFCList read;
    ASSERT_EQ(DecodeLegacyChart(bytes, read), QString());
    EXPECT_EQ(Shape(read), Shape(chart));
    EXPECT_EQ(read.PageBreakCount, 1);
}

TEST(LegacyChartFile, LongTextsKeepTheirFirstSixtyFourCharacters) {
    TFCList chart;
    TMouseInfo after(-1);
    TFlowBlock* root = chart.AddBlock(nullptr, bkRoot, 0, "r", &after);
    chart.AddBlock(root, bkProcess, -1, QString(70, u'z'), &after);
    const QByteArray bytes = EncodeLegacyChart(chart);
    EXPECT_EQ(int(std::uint8_t(bytes[LegacyRecordSize + 1])), 64);
    TFCList read;
    ASSERT_EQ(DecodeLegacyChart(bytes, read), QString());
    EXPECT_EQ(read.GetBlock(1)->Text, QString(64, u'z'));
}

TEST(LegacyChartFile, OldOutputKindReadsAsOutput) {
    TFCList chart;
    FillChart(chart);
    QByteArray bytes = EncodeLegacyChart(chart);
    bytes[4 * LegacyRecordSize] = char(bkLegacyOutput);
    TFCList read;
    ASSERT_EQ(DecodeLegacyChart(bytes, read), QString());
    EXPECT_EQ(read.GetBlock(4)->Kind, bkOutput);
}

TEST(LegacyChartFile, RecordsThatDoNotFormAChartAreRefused) {
    TFCList chart;
    FillChart(chart);
    const QByteArray good = EncodeLegacyChart(chart);
    struct Damage {
        const char* What;
        std::function<void(QByteArray&)> Apply;
    };
    const Damage damages[] = {
        {"truncated", [](QByteArray& b) { b.chop(1); }},
        {"empty", [](QByteArray& b) { b.clear(); }},
        {"next out of range", [](QByteArray& b) { PutInt(b, 1, 88, 99); }},
        {"cycle", [](QByteArray& b) { PutInt(b, 5, 88, 1); }},
        {"block in two chains", [](QByteArray& b) { PutInt(b, 3, 88, 4); }},
        {"root in a chain", [](QByteArray& b) { PutInt(b, 7, 88, 0); }},
        {"wrong parent", [](QByteArray& b) { PutInt(b, 3, 96, 1); }},
        {"wrong level", [](QByteArray& b) { PutInt(b, 1, 68, 3); }},
        {"branch count of another kind", [](QByteArray& b) { b[1 * LegacyRecordSize + 92] = 2; }},
        {"no root first", [](QByteArray& b) { b[0] = char(bkProcess); }},
        {"text too long", [](QByteArray& b) { b[1] = char(65); }},
        {"orphan", [](QByteArray& b) { PutInt(b, 5, 88, -1); }},
    };
    for (const Damage& d : damages) {
        QByteArray bytes = good;
        d.Apply(bytes);
        TFCList read;
        FillChart(read);
        const QString before = Shape(read);
        EXPECT_FALSE(DecodeLegacyChart(bytes, read).isEmpty()) << d.What;
        EXPECT_EQ(Shape(read), before) << d.What;
    }
    TFCList read;
    FillChart(read);
    const QString before = Shape(read);
    EXPECT_EQ(DecodeLegacyChart(EncodeLegacyChart(*NestedChart(kMaxNestingLevel + 1)), read),
              NestingLimitMessage());
    EXPECT_EQ(Shape(read), before);
}

TEST_F(AppTest, LegacyReaderOpensAWindowOrSaysWhyNot) {
    StartEditor();
    TFCList chart;
    FillChart(chart);
    ASSERT_EQ(WriteLegacyChart(chart, PathOf("old.tvx")), QString());
    TMDIChild* child = Form().ReadTVXtoMDI(PathOf("old.tvx"));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(Shape(*child->Chart), Shape(chart));
    EXPECT_FALSE(child->ChartBitmap->Empty());

    QFile broken(PathOf("broken.tvx"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(LegacyRecordSize + 3, '\0'));
    broken.close();
    EXPECT_EQ(Form().ReadTVXtoMDI(PathOf("broken.tvx")), nullptr);
    EXPECT_EQ(Prompts->Messages().size(), 1);
    EXPECT_EQ(Form().ReadTVXtoMDI(PathOf("none.tvx")), nullptr);
    EXPECT_EQ(Form().MDIChildCount(), 1);
}

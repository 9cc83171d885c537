#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "chart_invariants.h"
#include "platform/cp1251.h"
#include "platform/recording_prompts.h"
#include "xml_sample_chart.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iconv.h>

using namespace tvx;
using namespace tvx::testing;

namespace {

QByteArray ReadAll(const QString& FileName) {
    QFile file(FileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& FileName, const QByteArray& Bytes) {
    QFile file(FileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(Bytes), Bytes.size());
}

class ChartXml : public ::testing::Test {
protected:
    QString Path(const QString& Name) const { return Dir.filePath(Name); }

    QTemporaryDir Dir;
    TRecordingPromptsScope Prompts;
};

// One block group as the writer composes it, for hand-made files.
QByteArray Block(int Index, int Next, int Parent, int Level, int Kind,
                 std::initializer_list<int> Heads, const QByteArray& Text = "t") {
    QByteArray out =
        "<TVXblock>\r\n<text>\r\n" + Text + "\r\n</text>\r\n<comment>\r\n\r\n</comment>";
    auto value = [&out](const QByteArray& Tag, int Number) {
        out += "\r\n<" + Tag + ">\r\n" + QByteArray::number(Number) + "\r\n</" + Tag + ">";
    };
    value("Index", Index);
    value("Next", Next);
    value("Parent", Parent);
    value("level", Level);
    value("kind", Kind);
    value("ItemsCount", int(Heads.size()));
    int j = 0;
    for (int head : Heads) {
        value("Items" + QByteArray::number(j++), head);
    }
    return out + "\r\n</TVXblock>\r\n";
}

QByteArray File(int Count, const QByteArray& Blocks) {
    return "<?xml version=\"1.0\" "
           "encoding=\"windows-1251\"?>\r\n\r\n\r\n<TVXblocks>\r\n<Count>\r\n" +
           QByteArray::number(Count) + "\r\n</Count>\r\n" + Blocks + "</TVXblocks>\r\n";
}

// ASCII text in EBCDIC (IBM037), which libxml2 recognises by itself.
QByteArray Ebcdic(const QByteArray& Ascii) {
    QByteArray out(Ascii.size(), '\0');
    iconv_t cd = iconv_open("IBM037", "ASCII");
    char* in = const_cast<char*>(Ascii.data());
    char* to = out.data();
    size_t inLeft = size_t(Ascii.size());
    size_t outLeft = size_t(out.size());
    iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    return out;
}

// Root, a while loop in the root chain and one block in its body.
QByteArray LoopBlocks() {
    return Block(0, -1, -1, 0, bkRoot, {1}) + Block(1, -1, 0, 1, bkWhile, {2}) +
           Block(2, -1, 1, 2, bkProcess, {});
}

} // namespace

TEST_F(ChartXml, EveryKindRoundTripsWithItsTexts) {
    auto chart = SampleChart();
    chart->GetBlock(1)->Text = QStringLiteral(" \t leading and trailing blanks  \r\n");
    QStringList expected = Describe(*chart);
    expected[1].replace(QStringLiteral(" \t leading and trailing blanks  \r\n"),
                        QStringLiteral("leading and trailing blanks"));

    SaveToXML(*chart, Path("chart.fml"));
    TFCList loaded;
    ASSERT_TRUE(LoadFromXML(loaded, Path("chart.fml")));
    EXPECT_EQ(Describe(loaded), expected);
    EXPECT_EQ(loaded.PageBreakCount, 1);
    EXPECT_CHART_VALID(loaded);
    EXPECT_TRUE(Prompts.Messages().isEmpty());
}

TEST_F(ChartXml, FileHoldsOneTagOrValuePerLineInWindows1251) {
    TFCList chart;
    TFlowBlock* root = chart.AddBlock(nullptr, bkRoot, -1, QStringLiteral("Главная"), nullptr);
    AddAt(chart, root, 0, bkProcess, QStringLiteral("x<y & \"z\">"))->Comment =
        QStringLiteral("<b>&</b>");
    SaveToXML(chart, Path("two.fml"));

    const QByteArray bytes = ReadAll(Path("two.fml"));
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n"));
    EXPECT_TRUE(bytes.contains("\n" + EncodeCp1251(QStringLiteral("Главная")) + "\n"));
    const QStringList lines = DecodeCp1251(bytes).split(QLatin1Char('\n'));
    const QStringList expected{"<TVXblocks>",
                               "<Count>",
                               "2",
                               "</Count>",
                               "<TVXblock>",
                               "<text>",
                               "Главная",
                               "</text>",
                               "<comment>",
                               "",
                               "</comment>",
                               "<Index>",
                               "0",
                               "</Index>",
                               "<Next>",
                               "-1",
                               "</Next>",
                               "<Parent>",
                               "-1",
                               "</Parent>",
                               "<level>",
                               "0",
                               "</level>",
                               "<kind>",
                               "7",
                               "</kind>",
                               "<ItemsCount>",
                               "1",
                               "</ItemsCount>",
                               "<Items0>",
                               "1",
                               "</Items0>",
                               "</TVXblock>",
                               "<TVXblock>",
                               "<text>",
                               "xquoterLEFTy &amp; \"z\"quoterRIGHT",
                               "</text>",
                               "<comment>",
                               "&lt;b&gt;&amp;&lt;/b&gt;",
                               "</comment>"};
    ASSERT_GT(lines.size(), expected.size() + 1);
    EXPECT_EQ(lines.mid(1, expected.size()), expected);
    EXPECT_EQ(lines.at(lines.size() - 2), QStringLiteral("</TVXblocks>"));

    TFCList loaded;
    ASSERT_TRUE(LoadFromXML(loaded, Path("two.fml")));
    EXPECT_EQ(Describe(loaded), Describe(chart));
}

// Characters XML cannot carry never enter a block text: a control character
// is shown as its picture, a broken surrogate or a noncharacter as U+FFFD,
// whichever way the text is set; what is shown is what is saved.
TEST_F(ChartXml, TextsOutsideTheCodePageOrXmlSurviveAsShown) {
    TFCList chart;
    TFlowBlock* root = chart.AddBlock(nullptr, bkRoot, -1, QStringLiteral("€ ✓ 日本 😀"), nullptr);
    TFlowBlock* block =
        AddAt(chart, root, 0, bkProcess, QStringLiteral("quoterLEFT a\x01\x1f b ") + QChar(0xD800));
    EXPECT_EQ(block->Text, QStringLiteral("quoterLEFT a\u2401\u241F b \uFFFD"));
    root->Text = QStringLiteral("x\x7\t\r\n") + QChar(0xFFFF);
    EXPECT_EQ(root->Text, QStringLiteral("x\u2407\t\r\n\uFFFD"));
    root->Text += QString(QChar(0));
    EXPECT_EQ(root->Text, QStringLiteral("x\u2407\t\r\n\uFFFD\u2400"));
    root->Text = QStringLiteral("€ ✓ 日本 😀");
    SaveToXML(chart, Path("wide.fml"));

    const QByteArray bytes = ReadAll(Path("wide.fml"));
    EXPECT_TRUE(bytes.contains("\x88 &#10003; &#26085;&#26412; &#128512;"));
    TFCList loaded;
    ASSERT_TRUE(LoadFromXML(loaded, Path("wide.fml")));
    EXPECT_EQ(loaded.GetBlock(0)->Text, QStringLiteral("€ ✓ 日本 😀"));
    // The word itself turns into "<".
    EXPECT_EQ(loaded.GetBlock(1)->Text, QStringLiteral("< a\u2401\u241F b \uFFFD"));
}

// Whatever a block holds, the file saved for it opens again: this is also
// the road of every undo snapshot and every paste. A hand-made file with a
// text longer than the reader takes in one piece is refused saying so.
TEST_F(ChartXml, TextsOfAnyContentAndSizeReadBack) {
    TFCList chart;
    TFlowBlock* root = chart.AddBlock(nullptr, bkRoot, -1, QString(5000, u'='), nullptr);
    // Over ten million bytes as the reader sees them (UTF-8), with a reference,
    // entities and quoted brackets in it.
    AddAt(chart, root, 0, bkProcess, QStringLiteral("a=b & <x> 😀 ") + QString(5'100'000, u'ё'))
        ->Comment = QStringLiteral("a=b & <x>");
    SaveToXML(chart, Path("big.fml"));
    TFCList loaded;
    ASSERT_TRUE(LoadFromXML(loaded, Path("big.fml")));
    EXPECT_EQ(loaded.GetBlock(0)->Text, chart.GetBlock(0)->Text);
    EXPECT_EQ(loaded.GetBlock(1)->Text, chart.GetBlock(1)->Text);
    EXPECT_EQ(loaded.GetBlock(1)->Comment, chart.GetBlock(1)->Comment);
    EXPECT_TRUE(Prompts.Messages().isEmpty());

    const QByteArray huge(kMaxXmlTextBytes + 1, 'x');
    WriteAll(Path("huge.fml"),
             File(2, Block(0, -1, -1, 0, bkRoot, {1}) + Block(1, -1, 0, 1, bkProcess, {}, huge)));
    EXPECT_FALSE(LoadFromXML(loaded, Path("huge.fml")));
    ASSERT_EQ(Prompts.Messages().size(), 1);
    EXPECT_EQ(Prompts.Messages()[0], ChartReadMessage(TChartReadFault::TextTooLong));
    EXPECT_TRUE(Prompts.Messages()[0].startsWith(LoadFailedMessage + u'\n'));
    EXPECT_TRUE(Prompts.Messages()[0].contains(QStringLiteral("10 MB")));
}

TEST_F(ChartXml, SavingReplacesTheFileWholeOrNotAtAll) {
    WriteAll(Path("keep.fml"), "old contents");
    TFCList empty;
    SaveToXML(empty, Path("keep.fml"));
    EXPECT_EQ(ReadAll(Path("keep.fml")), QByteArray("old contents"));

    auto chart = SampleChart();
    SaveToXML(*chart, Path("keep.fml"));
    EXPECT_EQ(ReadAll(Path("keep.fml")), ChartToXml(*chart));
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"keep.fml"});

    EXPECT_THROW(SaveToXML(*chart, Path("missing/dir/x.fml")), EChartFileError);
    EXPECT_THROW(SaveToXML(*chart, Dir.path()), EChartFileError);
}

TEST_F(ChartXml, ReadingReplacesTheDocumentAndCountsItsPageBreaks) {
    auto target = SampleChart();
    target->PageBreakCount = 7;
    WriteAll(Path("loop.fml"), File(3, LoopBlocks()));
    ASSERT_TRUE(LoadFromXML(*target, Path("loop.fml")));
    EXPECT_EQ(target->Count(), 3);
    EXPECT_EQ(target->PageBreakCount, 0);
    EXPECT_CHART_VALID(*target);

    WriteAll(Path("pages.fml"),
             File(3, Block(0, -1, -1, 0, bkRoot, {1}) + Block(1, 2, 0, 1, bkPageBreak, {}, "1") +
                         Block(2, -1, 0, 1, bkPageBreak, {}, "2")));
    ASSERT_TRUE(LoadFromXML(*target, Path("pages.fml")));
    EXPECT_EQ(target->PageBreakCount, 2);
}

TEST_F(ChartXml, ReaderTakesAnyDocumentNameEncodingAndExtraNodes) {
    QByteArray blocks = LoopBlocks();
    blocks.replace("<kind>", "<extra>x</extra><kind>");
    const QByteArray body = "<!DOCTYPE Other><Other><Note>skip <Count>99</Count></Note>"
                            "<Count>3</Count>" +
                            blocks + "<!-- remark --></Other>";
    WriteAll(Path("utf8.fml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body);
    TFCList chart;
    ASSERT_TRUE(LoadFromXML(chart, Path("utf8.fml")));
    EXPECT_EQ(chart.Count(), 3);

    QString wide = QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body);
    wide.replace(QStringLiteral(">t<"), QStringLiteral(">Цикл<"));
    wide.replace(QStringLiteral("\r\nt\r\n"), QStringLiteral("\r\nЦикл\r\n"));
    QByteArray utf16("\xFF\xFE", 2);
    utf16.append(reinterpret_cast<const char*>(wide.utf16()), wide.size() * 2);
    WriteAll(Path("utf16.fml"), utf16);
    TFCList wideChart;
    ASSERT_TRUE(LoadFromXML(wideChart, Path("utf16.fml")));
    EXPECT_EQ(wideChart.GetBlock(2)->Text, QStringLiteral("Цикл"));
    EXPECT_TRUE(Prompts.Messages().isEmpty());
}

TEST_F(ChartXml, UnsoundFilesLeaveTheDocumentAsItWas) {
    const QByteArray root = Block(0, -1, -1, 0, bkRoot, {1});
    const QByteArray loop = Block(1, -1, 0, 1, bkWhile, {2});
    const QByteArray body = Block(2, -1, 1, 2, bkProcess, {});
    QByteArray noKind = body;
    noKind.replace("<kind>\r\n0\r\n</kind>", "");
    const QByteArray sound = File(3, LoopBlocks());
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", ""},
        {"not xml", "TVXblocks Count 3"},
        {"no blocks", File(0, "")},
        {"next to itself", File(3, root + loop + Block(2, 2, 1, 2, bkProcess, {}))},
        {"next back to the owner", File(3, root + loop + Block(2, 1, 1, 2, bkProcess, {}))},
        {"block in two chains", File(3, root + Block(1, 2, 0, 1, bkWhile, {2}) + body)},
        {"next outside", File(3, root + loop + Block(2, 3, 1, 2, bkProcess, {}))},
        {"head outside", File(3, root + Block(1, -1, 0, 1, bkWhile, {99}) + body)},
        {"parent below -1", File(3, root + loop + Block(2, -1, -2, 2, bkProcess, {}))},
        {"index outside", File(3, root + loop + Block(3, -1, 1, 2, bkProcess, {}))},
        {"index twice", File(3, root + loop + Block(1, -1, 1, 2, bkProcess, {}))},
        {"root of another kind", File(3, Block(0, -1, -1, 0, bkWhile, {1}) + loop + body)},
        {"second root", File(3, root + loop + Block(2, -1, 1, 2, bkRoot, {-1}))},
        {"wrong parent", File(3, root + loop + Block(2, -1, 0, 2, bkProcess, {}))},
        {"wrong level", File(3, root + loop + Block(2, -1, 1, 3, bkProcess, {}))},
        {"branches unlike the kind", File(3, root + Block(1, -1, 0, 1, bkWhile, {2, -1}) + body)},
        {"branches of a process", File(3, root + loop + Block(2, -1, 1, 2, bkProcess, {-1}))},
        {"missing branch element",
         File(
             3,
             root +
                 Block(1, -1, 0, 1, bkWhile, {}).replace("<ItemsCount>\r\n0", "<ItemsCount>\r\n1") +
                 body)},
        {"missing kind", File(3, root + loop + noKind)},
        {"level not a number",
         File(3, root + loop + QByteArray(body).replace("2\r\n</level>", "2.5\r\n</level>"))},
        {"kind above a byte", File(3, root + loop + Block(2, -1, 1, 2, 256, {}))},
        {"orphan block", File(4, LoopBlocks() + Block(3, -1, 0, 1, bkProcess, {}))},
        {"count above the blocks", File(4, LoopBlocks())},
        {"count far above the blocks", File(2147483647, LoopBlocks())},
        {"count that overflows",
         File(2147483647, LoopBlocks()).replace("</Count>", "</Count><Count>2147483647</Count>")},
        {"negative count", File(-3, LoopBlocks())},
        {"block before the count", "<a>" + LoopBlocks() + "<Count>3</Count></a>"},
        {"unknown encoding", File(3, LoopBlocks()).replace("windows-1251", "x-unknown-code")},
        {"entity expansion", "<!DOCTYPE a [<!ENTITY x \"xxxxxxxxxxxxxxxx\"><!ENTITY y "
                             "\"&x;&x;&x;&x;&x;&x;&x;&x;&x;&x;&x;\">]><a><Count>&y;</Count></a>"},
        {"document type naming a file",
         QByteArray(sound).replace("<TVXblocks>", "<!DOCTYPE a SYSTEM 'file:///etc/passwd'><a>")},
        // Encodings in which markup is not what its bytes say.
        {"EBCDIC", Ebcdic(QByteArray(sound).replace("windows-1251", "IBM037"))},
        {"UTF-7", QByteArray(sound).replace("windows-1251", "UTF-7")},
        {"UTF-16 declared as a code page",
         "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(QString::fromLatin1(sound).utf16()),
                                 sound.size() * 2)},
    };
    auto chart = SampleChart();
    const QStringList before = Describe(*chart);
    int messages = 0;
    for (const auto& [name, bytes] : cases) {
        WriteAll(Path("bad.fml"), bytes);
        EXPECT_FALSE(LoadFromXML(*chart, Path("bad.fml"))) << name;
        EXPECT_EQ(Describe(*chart), before) << name;
        EXPECT_EQ(Prompts.Messages().size(), ++messages) << name;
    }
    EXPECT_FALSE(LoadFromXML(*chart, Path("does-not-exist.fml")));
    EXPECT_EQ(Describe(*chart), before);
    EXPECT_EQ(chart->PageBreakCount, 1);
    EXPECT_EQ(Prompts.Messages().last(), QStringLiteral("Не удалось загрузить файл!"));
}

TEST_F(ChartXml, TruncatedScrambledAndRandomFilesNeverBreakTheReader) {
    auto sample = SampleChart();
    const QByteArray whole = ChartToXml(*sample);
    TFCList chart;
    for (qsizetype cut = 0; cut < whole.size() - 16; cut += 7) {
        WriteAll(Path("cut.fml"), whole.left(cut));
        ASSERT_FALSE(LoadFromXML(chart, Path("cut.fml"))) << cut;
    }
    QRandomGenerator random(4);
    for (int round = 0; round < 300; ++round) {
        QByteArray scrambled = whole;
        for (int k = 0; k < 3; ++k) {
            scrambled[random.bounded(int(scrambled.size()))] = char(random.bounded(256));
        }
        WriteAll(Path("scrambled.fml"), scrambled);
        if (LoadFromXML(chart, Path("scrambled.fml"))) {
            EXPECT_CHART_VALID(chart);
        }
    }
    QByteArray noise(1 << 16, Qt::Uninitialized);
    for (char& c : noise) {
        c = char(random.bounded(256));
    }
    WriteAll(Path("noise.fml"), noise);
    EXPECT_FALSE(LoadFromXML(chart, Path("noise.fml")));
}

// Files of several megabytes built to make a parser work hard; each must be
// refused promptly. (bench/chart_xml_reader feeds files of hundreds of MB.)
TEST_F(ChartXml, LargeNonsenseIsRefusedPromptly) {
    const int size = 8 << 20;
    QRandomGenerator random(9);
    QByteArray noise(size, Qt::Uninitialized);
    for (char& c : noise) {
        c = char(random.bounded(256));
    }
    // Behind a quoted ">" the attributes go on.
    QByteArray attributes = "<TVXblocks q='>'";
    for (int i = 0; attributes.size() < size / 4; ++i) {
        attributes += " a" + QByteArray::number(i) + "=''";
    }
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"random bytes", noise},
        {"one huge text", "<a><Count>1</Count><TVXblock><text>" + QByteArray(size, 'x')},
        {"deep nesting", QByteArray("<a>").repeated(size / 3)},
        {"many attributes", attributes + "/>"},
        {"many attributes in EBCDIC", Ebcdic("<?xml version='1.0'?>" + attributes + "/>")},
        {"many tags full of attributes",
         "<a>" + (attributes.left(30000) + "/>").repeated(size / 30000)},
        {"counts without blocks",
         "<a>" + QByteArray("<Count>1</Count>").repeated(size / 16) + "</a>"},
        {"long number", "<a><Count>" + QByteArray(size, '1') + "</Count></a>"},
    };
    TFCList chart;
    for (const auto& [name, bytes] : cases) {
        WriteAll(Path("big.fml"), bytes);
        EXPECT_FALSE(LoadFromXML(chart, Path("big.fml"))) << name;
    }
    EXPECT_EQ(Prompts.Messages().size(), int(cases.size()));
}

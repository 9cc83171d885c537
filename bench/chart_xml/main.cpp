// Chart file reading and writing: how long a large sound chart takes to save
// and load, and how quickly files of hundreds of megabytes of nonsense are
// refused. Usage: chart_xml_bench [megabytes of nonsense, default 300]
// [blocks of the sound chart, default 20000]
#include "chart/chart_xml.h"
#include "chart/fc_list.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

using namespace tvx;

namespace {

// Writes Head, then chunks from Fill until the file reaches Megabytes.
void WriteNonsense(const QString& FileName, const QByteArray& Head, qint64 Megabytes,
                   const std::function<QByteArray()>& Fill) {
    QFile file(FileName);
    if (!file.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(FileName));
        std::exit(1);
    }
    file.write(Head);
    const qint64 size = Megabytes << 20;
    while (file.size() < size) {
        file.write(Fill());
    }
}

QByteArray Repeat(const QByteArray& Unit) {
    return Unit.repeated(qMax<qsizetype>(1, (1 << 20) / Unit.size()));
}

void TimeRead(const char* Name, const QString& FileName) {
    QElapsedTimer timer;
    timer.start();
    bool read = ReadChartXmlFile(FileName).has_value();
    std::printf("%-28s %8lld MB  %s in %lld ms\n", Name, QFile(FileName).size() >> 20,
                read ? "read" : "refused", timer.elapsed());
    QFile::remove(FileName);
}

void TimeSoundChart(const QString& FileName, int Blocks) {
    TFCList chart;
    TFlowBlock* root = chart.AddBlock(nullptr, bkRoot, -1, "main", nullptr);
    TFlowBlock* loop = nullptr;
    TMouseInfo after(-1);
    TMouseInfo body(0);
    TFlowBlock* last = root;
    for (int i = 1; i < Blocks; ++i) {
        if (i % 10 == 1) {
            loop = chart.AddBlock(last, bkWhile, -1, QStringLiteral("i < %1").arg(i), &after);
            last = loop;
        } else if (i % 10 == 2) {
            chart.AddBlock(loop, bkProcess, -1, QStringLiteral("Шаг %1 & <x>").arg(i), &body);
        } else {
            last = chart.AddBlock(last, bkProcess, -1, QStringLiteral("a := %1").arg(i), &after);
        }
    }
    QElapsedTimer timer;
    timer.start();
    SaveToXML(chart, FileName);
    qint64 saved = timer.restart();
    bool read = ReadChartXmlFile(FileName).has_value();
    std::printf("sound chart of %d blocks: saved in %lld ms, %s in %lld ms (%lld KB)\n", Blocks,
                saved, read ? "read" : "REFUSED", timer.elapsed(), QFile(FileName).size() >> 10);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 300;
    const int blocks = argc > 2 ? QByteArray(argv[2]).toInt() : 20000;
    QTemporaryDir dir;
    const QString file = dir.filePath("bench.fml");

    TimeSoundChart(file, blocks);

    QRandomGenerator random(1);
    WriteNonsense(file, "", megabytes, [&random] {
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
        return chunk;
    });
    TimeRead("random bytes", file);

    const QByteArray counts = Repeat("<Count>1</Count>\n");
    WriteNonsense(file, "<a>", megabytes, [&] { return counts; });
    TimeRead("counts without blocks", file);

    const QByteArray block = Repeat("<TVXblock><text>x</text><comment/><Index>0</Index><Next>-1"
                                    "</Next><Parent>-1</Parent><level>0</level><kind>7</kind>"
                                    "<ItemsCount>1</ItemsCount><Items0>-1</Items0></TVXblock>\n");
    WriteNonsense(file, "<a><Count>2000000000</Count>", megabytes, [&] { return block; });
    TimeRead("one block over and over", file);

    const QByteArray text = Repeat("xxxxxxxxxxxxxxx\n");
    WriteNonsense(file, "<a><Count>1</Count><TVXblock><text>", megabytes, [&] { return text; });
    TimeRead("one endless text", file);

    WriteNonsense(file, "<a><!--", megabytes, [&] { return text; });
    TimeRead("one endless comment", file);

    const QByteArray empties = Repeat("<b/>");
    WriteNonsense(file, "<a>", megabytes, [&] { return empties; });
    TimeRead("empty elements", file);

    const QByteArray opens = Repeat("<a>");
    WriteNonsense(file, "", megabytes, [&] { return opens; });
    TimeRead("nesting", file);

    int attribute = 0;
    WriteNonsense(file, "<a", megabytes, [&] {
        QByteArray chunk;
        while (chunk.size() < (1 << 20)) {
            chunk += " a" + QByteArray::number(attribute++) + "=''";
        }
        return chunk;
    });
    TimeRead("attributes", file);
    return 0;
}

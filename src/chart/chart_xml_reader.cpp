// Reading chart files. libxml2's streaming reader walks the file once, so
// memory follows what the file actually holds, never a number it claims; the
// records are checked as a whole (chart_records.cpp) before any document
// changes.
#include "chart/chart_records.h"
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "chart/libxml_init.h"
#include "chart/nesting_limit.h"
#include "chart/xml_input_guard.h"
#include "platform/prompts.h"
#include "platform/regular_file.h"
#include "settings/builtin_texts.h"
#include "settings/text_helpers.h"

#include <QBuffer>
#include <QFile>
#include <climits>
#include <cstring>
#include <libxml/parserInternals.h>
#include <libxml/xmlreader.h>
#include <unordered_set>

namespace tvx {
namespace {

// Feeds libxml2 from a device, through the guard.
struct TInputSource {
    QIODevice* Device = nullptr;
    TXmlInputGuard Guard;

    static int Read(void* Context, char* Buffer, int Length) {
        auto* self = static_cast<TInputSource*>(Context);
        qint64 got = self->Device->read(Buffer, Length);
        if (got < 0 || !self->Guard.Accept(Buffer, size_t(got))) {
            return -1;
        }
        return int(got);
    }
    static int Close(void*) { return 0; }
};

struct TReaderFree {
    void operator()(xmlTextReader* Reader) const { xmlFreeTextReader(Reader); }
};

bool IsXmlSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

QString TrimXmlSpace(const QString& Value) {
    qsizetype from = 0;
    qsizetype to = Value.size();
    while (from < to && IsXmlSpace(Value[from])) {
        ++from;
    }
    while (to > from && IsXmlSpace(Value[to - 1])) {
        --to;
    }
    return Value.mid(from, to - from);
}

// Block texts lose every character up to the blank at both ends.
QString TrimControls(const QString& Value) {
    qsizetype from = 0;
    qsizetype to = Value.size();
    while (from < to && Value[from].unicode() <= 32) {
        ++from;
    }
    while (to > from && Value[to - 1].unicode() <= 32) {
        --to;
    }
    return Value.mid(from, to - from);
}

QString DecodeBlockText(const QString& Text) {
    return TrimControls(
        ReplaceAll(ReplaceAll(Text, QStringLiteral("quoterRIGHT"), QStringLiteral(">")),
                   QStringLiteral("quoterLEFT"), QStringLiteral("<")));
}

// A decimal integer with an optional sign; numbers never need more digits
// than this, so a longer value is refused before it grows.
constexpr qsizetype MaxNumberLength = 32;

std::optional<int> ParseNumber(const QString& Value) {
    bool ok = false;
    int number = TrimXmlSpace(Value).toInt(&ok, 10);
    return ok ? std::optional<int>(number) : std::nullopt;
}

// The value elements of one block, each taken from the first element of
// its name.
class TBlockValues {
public:
    enum TSlot { Text, Comment, Index, Next, Parent, Level, Kind, ItemsCount, Items0, SlotCount };

    static int SlotOf(const char* Name);
    bool Has(int Slot) const { return Seen[Slot]; }
    void Begin(int Slot) { Seen[Slot] = true; }
    // False when a number grows longer than any number can be.
    bool Append(int Slot, const QString& Text);
    std::optional<TBlockRecord> Record() const;

private:
    QString Values[SlotCount + TBlockRecord::MaxBranches - 1];
    bool Seen[SlotCount + TBlockRecord::MaxBranches - 1] = {};
};

int TBlockValues::SlotOf(const char* Name) {
    static const char* const names[] = {"text", "comment",    "Index",  "Next",   "Parent", "level",
                                        "kind", "ItemsCount", "Items0", "Items1", "Items2"};
    for (int slot = 0; slot < int(std::size(names)); ++slot) {
        if (qstrcmp(Name, names[slot]) == 0) {
            return slot;
        }
    }
    return -1;
}

bool TBlockValues::Append(int Slot, const QString& Text) {
    Values[Slot] += Text;
    return Slot <= Comment || Values[Slot].size() <= MaxNumberLength;
}

std::optional<TBlockRecord> TBlockValues::Record() const {
    for (int slot = 0; slot < SlotCount - 1; ++slot) {
        if (!Seen[slot]) {
            return std::nullopt;
        }
    }
    TBlockRecord record;
    record.Text = DecodeBlockText(TrimXmlSpace(Values[Text]));
    record.Comment = TrimXmlSpace(Values[Comment]);
    int* numbers[] = {&record.Index, &record.Next, &record.Parent,
                      &record.Level, &record.Kind, &record.ItemsCount};
    for (int k = 0; k < int(std::size(numbers)); ++k) {
        auto value = ParseNumber(Values[Index + k]);
        if (!value) {
            return std::nullopt;
        }
        *numbers[k] = *value;
    }
    if (record.ItemsCount < 0 || record.ItemsCount > TBlockRecord::MaxBranches) {
        return std::nullopt;
    }
    for (int j = 0; j < record.ItemsCount; ++j) {
        auto head = Seen[Items0 + j] ? ParseNumber(Values[Items0 + j]) : std::nullopt;
        if (!head) {
            return std::nullopt;
        }
        record.Heads[size_t(j)] = *head;
    }
    return record;
}

// Walks the children of the document element: "Count" adds to the number of
// blocks, "TVXblock" gives one block record; other nodes are passed over.
class TChartXmlReader {
public:
    explicit TChartXmlReader(xmlTextReader* Reader) : Reader(Reader) {}
    std::optional<TChartBlocks> Read(TChartReadFault* Fault);

private:
    enum class TSection { None, Count, Block };

    bool Step(); // one node; false when the file is refused
    bool StartSection(const char* Name);
    bool EndSection();
    bool OnText(const QString& Text);
    QString Value() const;

    xmlTextReader* Reader;
    TSection Section = TSection::None;
    QString CountText;
    TBlockValues Values;
    int ValueSlot = -1; // the value element being read, -1 for none
    std::int64_t Count = 0;
    std::vector<TBlockRecord> Records;
    std::unordered_set<int> Positions; // taken so far: a second block there is refused at once
    bool SkipCurrent = false;
};

QString TChartXmlReader::Value() const {
    const xmlChar* value = xmlTextReaderConstValue(Reader);
    return value ? QString::fromUtf8(reinterpret_cast<const char*>(value)) : QString();
}

bool TChartXmlReader::StartSection(const char* Name) {
    if (qstrcmp(Name, "Count") == 0) {
        Section = TSection::Count;
        CountText.clear();
    } else if (qstrcmp(Name, "TVXblock") == 0) {
        Section = TSection::Block;
        Values = TBlockValues();
        ValueSlot = -1;
    } else {
        SkipCurrent = true;
        return true;
    }
    return xmlTextReaderIsEmptyElement(Reader) == 0 || EndSection();
}

bool TChartXmlReader::EndSection() {
    TSection section = Section;
    Section = TSection::None;
    if (section == TSection::Count) {
        auto number = ParseNumber(CountText);
        if (!number || *number < 0) {
            return false;
        }
        // Blocks are not made for a count: the records that follow must
        // match it, which is checked once they are all read.
        Count += *number;
        return Count <= std::int64_t(INT_MAX);
    }
    if (section == TSection::Block) {
        auto record = Values.Record();
        // A block must lie inside the blocks counted so far, and there can
        // be no more blocks than that.
        if (!record || record->Index < 0 || record->Index >= Count ||
            std::int64_t(Records.size()) >= Count || !Positions.insert(record->Index).second) {
            return false;
        }
        Records.push_back(std::move(*record));
    }
    return true;
}

bool TChartXmlReader::OnText(const QString& Text) {
    if (Section == TSection::Count) {
        CountText += Text;
        return CountText.size() <= MaxNumberLength;
    }
    if (Section == TSection::Block && ValueSlot >= 0) {
        return Values.Append(ValueSlot, Text);
    }
    return true;
}

bool TChartXmlReader::Step() {
    const int depth = xmlTextReaderDepth(Reader);
    switch (xmlTextReaderNodeType(Reader)) {
    case XML_READER_TYPE_ELEMENT: {
        const char* name = reinterpret_cast<const char*>(xmlTextReaderConstName(Reader));
        if (depth == 1) {
            return StartSection(name);
        }
        if (depth == 2 && Section == TSection::Block) {
            int slot = TBlockValues::SlotOf(name);
            ValueSlot = slot >= 0 && !Values.Has(slot) ? slot : -1;
            if (ValueSlot >= 0) {
                Values.Begin(ValueSlot);
            }
            if (xmlTextReaderIsEmptyElement(Reader) != 0) {
                ValueSlot = -1;
            }
        }
        return true;
    }
    case XML_READER_TYPE_END_ELEMENT:
        if (depth == 1) {
            return EndSection();
        }
        if (depth == 2) {
            ValueSlot = -1;
        }
        return true;
    case XML_READER_TYPE_TEXT:
    case XML_READER_TYPE_CDATA:
    case XML_READER_TYPE_WHITESPACE:
    case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
        // The text of a value element and of everything nested in it.
        if ((Section == TSection::Count && depth >= 2) || depth >= 3) {
            return OnText(Value());
        }
        return true;
    default:
        return true;
    }
}

std::optional<TChartBlocks> TChartXmlReader::Read(TChartReadFault* Fault) {
    int status = xmlTextReaderRead(Reader);
    while (status == 1) {
        if (!Step()) {
            return std::nullopt;
        }
        if (SkipCurrent) {
            SkipCurrent = false;
            status = xmlTextReaderNext(Reader);
        } else {
            status = xmlTextReaderRead(Reader);
        }
    }
    if (status != 0) {
        return std::nullopt;
    }
    return BuildChartBlocks(Records, Count, Fault);
}

static_assert(kMaxXmlTextBytes == XML_MAX_TEXT_LENGTH);

// True when libxml2 refused the file for a text longer than it takes in one
// piece; its error names that limit in no code of its own, only in words.
bool RefusedForLongText() {
    const xmlError* error = xmlGetLastError();
    return error != nullptr && error->domain == XML_FROM_PARSER && error->message != nullptr &&
           std::strstr(error->message, "huge text node") != nullptr;
}

std::optional<TChartBlocks> ReadFromDevice(QIODevice& Device, TChartReadFault* Fault) {
    EnsureLibxmlReady();
    xmlResetLastError();
    TInputSource source;
    source.Device = &Device;
    // No network, no DTD, libxml2's size limits for foreign input on, and no
    // diagnostics of its own: a bad file ends in our message.
    std::unique_ptr<xmlTextReader, TReaderFree> reader(
        xmlReaderForIO(&TInputSource::Read, &TInputSource::Close, &source, nullptr, nullptr,
                       XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!reader) {
        return std::nullopt;
    }
    std::optional<TChartBlocks> read = TChartXmlReader(reader.get()).Read(Fault);
    if (!read && Fault != nullptr && RefusedForLongText()) {
        *Fault = TChartReadFault::TextTooLong;
    }
    return read;
}

} // namespace

QString ChartReadMessage(TChartReadFault Fault) {
    switch (Fault) {
    case TChartReadFault::TooDeep:
        return LoadFailedMessage + u'\n' + NestingLimitMessage();
    case TChartReadFault::TextTooLong:
        return LoadFailedMessage + u'\n' +
               MenuTextWith(QStringLiteral("sm_mes_text_too_long"), kMaxXmlTextBytes / 1'000'000);
    default:
        return LoadFailedMessage;
    }
}

std::optional<TChartBlocks> ReadChartXml(const QByteArray& Bytes, TChartReadFault* Fault) {
    if (Fault != nullptr) {
        *Fault = TChartReadFault::NotAChart;
    }
    QBuffer buffer;
    buffer.setData(Bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return ReadFromDevice(buffer, Fault);
}

std::optional<TChartBlocks> ReadChartXmlFile(const QString& FileName, TChartReadFault* Fault) {
    if (Fault != nullptr) {
        *Fault = TChartReadFault::NotAChart;
    }
    QFile file;
    if (!OpenRegularFile(file, FileName).Ok()) {
        return std::nullopt;
    }
    return ReadFromDevice(file, Fault);
}

void InstallChartBlocks(TFCList& Chart, TChartBlocks&& Read) {
    Chart.Clear();
    for (auto& block : Read.Blocks) {
        Chart.Add(std::move(block));
    }
    Chart.PageBreakCount = Read.PageBreakCount;
}

bool LoadFromXML(TFCList& Chart, const QString& FileName) {
    TChartReadFault fault = TChartReadFault::NotAChart;
    std::optional<TChartBlocks> read = ReadChartXmlFile(FileName, &fault);
    if (!read) {
        Prompts().ShowMessage(ChartReadMessage(fault));
        return false;
    }
    InstallChartBlocks(Chart, std::move(*read));
    return true;
}

} // namespace tvx

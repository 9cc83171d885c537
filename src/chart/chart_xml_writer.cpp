// Writing chart files. The lines of the file are composed as text, parsed
// into a libxml2 tree and serialised in windows-1251; libxml2 writes every
// character the code page lacks as a character reference.
#include "chart/chart_xml.h"
#include "chart/fc_list.h"
#include "chart/libxml_init.h"
#include "platform/atomic_file.h"
#include "settings/text_helpers.h"

#include <QStringList>
#include <libxml/parser.h>
#include <libxml/tree.h>

namespace tvx {
namespace {

const char* const FileEncoding = "windows-1251";

bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// A reader takes one text node of at most about ten million bytes, so longer
// contents are cut into runs of this many characters with an empty comment
// between them; the value of an element is the text of all its runs.
constexpr qsizetype MaxTextRun = 500'000;

// XML content for Value: markup characters escaped, characters that XML 1.0
// cannot carry at all (control characters other than tab and line breaks)
// left out, a broken UTF-16 surrogate replaced by U+FFFD, and long contents
// cut into runs.
QString EscapeContent(const QString& Value) {
    QString out;
    out.reserve(Value.size());
    const char16_t* p = reinterpret_cast<const char16_t*>(Value.utf16());
    const qsizetype n = Value.size();
    qsizetype run = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (run >= MaxTextRun) {
            out.append(QLatin1String("<!---->"));
            run = 0;
        }
        ++run;
        char16_t u = p[i];
        if (QChar::isHighSurrogate(u) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            out.append(QChar(u));
            out.append(QChar(p[++i]));
            continue;
        }
        if (QChar::isSurrogate(u)) {
            out.append(QChar(0xFFFD));
            continue;
        }
        if (!IsXmlChar(u)) {
            continue;
        }
        switch (u) {
        case u'&':
            out.append(QStringLiteral("&amp;"));
            break;
        case u'<':
            out.append(QStringLiteral("&lt;"));
            break;
        case u'>':
            out.append(QStringLiteral("&gt;"));
            break;
        default:
            out.append(QChar(u));
        }
    }
    return out;
}

// Block texts keep their angle brackets as words, which files of every
// earlier version hold and read back.
QString EncodeBlockText(const QString& Text) {
    return EscapeContent(
        ReplaceAll(ReplaceAll(Text, QStringLiteral(">"), QStringLiteral("quoterRIGHT")),
                   QStringLiteral("<"), QStringLiteral("quoterLEFT")));
}

int IndexOf(const TFlowBlock* Block) {
    return Block != nullptr ? Block->Index : -1;
}

class TLineComposer {
public:
    void Line(const QString& Text) { Lines.append(Text); }
    void Value(const QString& Tag, const QString& Content) {
        Line(QLatin1Char('<') + Tag + QLatin1Char('>'));
        Line(Content);
        Line(QLatin1String("</") + Tag + QLatin1Char('>'));
    }
    void Value(const QString& Tag, int Number) { Value(Tag, QString::number(Number)); }
    QString Text() const { return Lines.join(QLatin1String("\r\n")); }

private:
    QStringList Lines;
};

void ComposeBlock(TLineComposer& Out, const TFlowBlock& Block) {
    Out.Line(QStringLiteral("<TVXblock>"));
    Out.Value(QStringLiteral("text"), EncodeBlockText(Block.Text));
    Out.Value(QStringLiteral("comment"), EscapeContent(Block.Comment));
    Out.Value(QStringLiteral("Index"), Block.Index);
    Out.Value(QStringLiteral("Next"), IndexOf(Block.Next));
    Out.Value(QStringLiteral("Parent"), IndexOf(Block.Parent));
    Out.Value(QStringLiteral("level"), Block.Level);
    Out.Value(QStringLiteral("kind"), int(Block.Kind));
    Out.Value(QStringLiteral("ItemsCount"), Block.ItemCount());
    for (int j = 0; j < Block.ItemCount(); ++j) {
        Out.Value(QStringLiteral("Items") + QString::number(j), IndexOf(Block.GetItemChain(j)));
    }
    Out.Line(QStringLiteral("</TVXblock>"));
}

QString ComposeChart(const TFCList& Chart) {
    TLineComposer out;
    out.Line(QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1251\"?>"));
    out.Line(QString());
    out.Line(QString());
    out.Line(QStringLiteral("<TVXblocks>"));
    out.Value(QStringLiteral("Count"), Chart.Count());
    for (const TFlowBlock* block : Chart.GetList()) {
        ComposeBlock(out, *block);
    }
    out.Line(QStringLiteral("</TVXblocks>"));
    return out.Text();
}

struct TDocFree {
    void operator()(xmlDoc* Doc) const { xmlFreeDoc(Doc); }
};

} // namespace

QByteArray ChartToXml(const TFCList& Chart) {
    EnsureLibxmlReady();
    const QByteArray composed = ComposeChart(Chart).toUtf8();
    // The composed text is UTF-8 in memory, whatever its declaration says;
    // texts of any length are ours, so the size limits for foreign input are off.
    std::unique_ptr<xmlDoc, TDocFree> doc(
        xmlReadMemory(composed.constData(), int(composed.size()), nullptr, "UTF-8",
                      XML_PARSE_NONET | XML_PARSE_HUGE | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
    if (!doc) {
        throw EChartFileError(QStringLiteral("The chart could not be converted to XML."));
    }
    xmlChar* memory = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc.get(), &memory, &size, FileEncoding);
    if (memory == nullptr) {
        throw EChartFileError(QStringLiteral("The chart could not be encoded in windows-1251."));
    }
    QByteArray bytes(reinterpret_cast<const char*>(memory), size);
    xmlFree(memory);
    return bytes;
}

void SaveToXML(const TFCList& Chart, const QString& FileName) {
    if (Chart.Count() == 0) {
        return;
    }
    const QString error = WriteFileAtomically(FileName, ChartToXml(Chart));
    if (!error.isEmpty()) {
        throw EChartFileError(
            QStringLiteral("Cannot save the file \"%1\": %2").arg(FileName, error));
    }
}

} // namespace tvx

#pragma once
// Chart XML files (".fml"): one element per block, saved in windows-1251.
// The same format carries the undo snapshots and the block clipboard's round
// trip. Only structure and texts are stored: no layout, picture, caption, mark
// or selection.
#include "chart/flow_block.h"
#include "platform/exception.h"
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tvx {

class TFCList;

// A chart file could not be written (the message says which and why).
class EChartFileError : public Exception {
public:
    using Exception::Exception;
};

// Shown when a chart file cannot be read.
inline const QString LoadFailedMessage = QStringLiteral("Не удалось загрузить файл!");

// Why chart file bytes were refused.
enum class TChartReadFault : std::uint8_t {
    NotAChart,   // unreadable, not XML, or not a sound chart
    TooDeep,     // a sound chart, nested deeper than nesting_limit.h allows
    TextTooLong, // a text in one piece longer than the XML reader takes
};

// The longest text the XML reader takes in one piece (between two pieces of
// markup), in bytes of UTF-8: libxml2's own limit for input it does not trust.
inline constexpr int kMaxXmlTextBytes = 10'000'000;

// What the user is told when a chart file is refused for Fault.
QString ChartReadMessage(TChartReadFault Fault);

// The bytes of the chart file for Chart (windows-1251, characters the code
// page lacks as character references). A "<" or ">" in a block text is stored
// as "quoterLEFT" or "quoterRIGHT"; everything else is escaped as XML needs,
// so no text a user types can make the file unreadable. Chart must hold at
// least its root.
QByteArray ChartToXml(const TFCList& Chart);

// Writes Chart to FileName. A chart without blocks writes nothing. The file
// is written beside the target under a temporary name and renamed over it
// only when complete, so a failed save leaves the old file as it was; a
// failure raises EChartFileError.
void SaveToXML(const TFCList& Chart, const QString& FileName);

// Blocks read from a chart file, linked among themselves (Next, Parent,
// branch heads, Index dense from 0, item 0 the root) but not yet in a document.
struct TChartBlocks {
    std::vector<std::unique_ptr<TFlowBlock>> Blocks;
    int PageBreakCount = 0;
};

// Reads chart file bytes, checking the whole structure first: positions
// dense and unique, the root at position 0, every other block in exactly one
// chain with the parent and level its chain gives it, branch records that
// match each kind, no block deeper than the nesting limit. Anything else
// yields nullopt, and Fault (when given) says why. Never raises for bad input.
std::optional<TChartBlocks> ReadChartXml(const QByteArray& Bytes, TChartReadFault* Fault = nullptr);
std::optional<TChartBlocks> ReadChartXmlFile(const QString& FileName,
                                             TChartReadFault* Fault = nullptr);

// Replaces the blocks of Chart by those of the file; PageBreakCount becomes
// the number of page breaks read. When the file cannot be read or is not a
// sound chart, shows "Не удалось загрузить файл!" through the prompts (with
// the nesting limit's message when that is the reason), leaves Chart as it
// was and returns false.
bool LoadFromXML(TFCList& Chart, const QString& FileName);

// Moves the read blocks into Chart in place of its own ones.
void InstallChartBlocks(TFCList& Chart, TChartBlocks&& Read);

} // namespace tvx

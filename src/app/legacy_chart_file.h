#pragma once
// The legacy binary chart file: one fixed record of 104 bytes per block, in
// list order, nothing else. Integers are 32-bit little-endian; a block is
// referred to by its list position, -1 for none; texts are windows-1251,
// length-prefixed, at most 64 characters.
#include <QByteArray>
#include <QString>

namespace tvx {

class TFCList;

constexpr int LegacyRecordSize = 104;
constexpr int LegacyTextMax = 64;
// The largest file read: some hundred thousand blocks, far more than a chart
// of this form ever held.
constexpr qint64 MaxLegacyBytes = qint64{64} << 20;

// The records of the chart, one per block in list order. Texts longer than 64
// characters keep their first 64.
QByteArray EncodeLegacyChart(const TFCList& Chart);

// Writes the records of the chart to FileName, replacing the file only once
// the whole file is written. Returns why it failed, empty on success.
QString WriteLegacyChart(const TFCList& Chart, const QString& FileName);

// Replaces the blocks of Chart by those the records describe: kinds, texts,
// levels, parents, next blocks and branch chains (an old output kind 10 reads
// as output). Records whose references do not form a chart (a root at
// position 0, every other block in exactly one chain, parents and levels that
// follow from the chains, branch counts that fit the kinds, no block deeper
// than the nesting limit) are refused: the result says why and Chart is left
// as it was.
QString DecodeLegacyChart(const QByteArray& Bytes, TFCList& Chart);

// Reads FileName as DecodeLegacyChart does; a file that cannot be read (also
// one that is no regular file or is larger than MaxLegacyBytes) is refused the
// same way.
QString ReadLegacyChart(const QString& FileName, TFCList& Chart);

} // namespace tvx

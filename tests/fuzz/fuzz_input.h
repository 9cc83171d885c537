#pragma once
// Helpers shared by the fuzz targets.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace tvx::fuzz {

// The fuzzer's bytes, without a copy.
inline QByteArray Bytes(const std::uint8_t* Data, std::size_t Size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(Data), qsizetype(Size));
}

// A directory of its own for the whole run, for readers that take a file.
inline const QTemporaryDir& ScratchDir() {
    static QTemporaryDir dir;
    return dir;
}

inline void WriteFile(const QString& FileName, const QByteArray& Bytes) {
    QFile file(FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(Bytes) != Bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(FileName));
        std::abort();
    }
}

// A property the reader promises did not hold: the fuzzer reports it as a
// crash with this input.
inline void Expect(bool Holds, const char* What) {
    if (!Holds) {
        std::fprintf(stderr, "broken promise: %s\n", What);
        std::abort();
    }
}

} // namespace tvx::fuzz

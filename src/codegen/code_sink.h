#pragma once
// The line sink: receives every line the code generator writes and adds it to
// the two code buffers of the chart window that the run is for. The commands
// that write a file (the Pascal and C++ exports, the annotated save) write a
// buffer at once through the atomic writer when the run is over, so no file
// ever holds half a text.
#include <QString>
#include <QStringList>

namespace tvx {

class TCodeSink {
public:
    // The buffers belong to the caller (a chart window) and must outlive the sink.
    TCodeSink(QStringList& codeBuffer1, QStringList& codeBuffer2)
        : CodeBuffer1(codeBuffer1), CodeBuffer2(codeBuffer2) {}

    // Adds the line to CodeBuffer1 and then to CodeBuffer2.
    void SaveToPasFile(const QString& line);

private:
    QStringList& CodeBuffer1;
    QStringList& CodeBuffer2;
};

} // namespace tvx

#pragma once
// The line sink: receives every line the code generator writes, appends it to
// a file when a file name is given, and adds it to the two code buffers of the
// chart window that the run is for.
#include <QSet>
#include <QString>
#include <QStringList>

namespace tvx {

class TCodeSink {
public:
    // The buffers belong to the caller (a chart window) and must outlive the sink.
    TCodeSink(QStringList& codeBuffer1, QStringList& codeBuffer2)
        : CodeBuffer1(codeBuffer1), CodeBuffer2(codeBuffer2) {}

    // With a file name the line is appended to that file (created when
    // missing), followed by CR LF, in UTF-8. Then, whatever the name, the line
    // is added to CodeBuffer1 and then to CodeBuffer2.
    void SaveToPasFile(const QString& fileName, const QString& line);

    // A line that cannot be written to its file is not lost silently: the
    // first failure is kept here for the caller, and no further line goes to
    // that file, so the file never holds a text with lines missing in the
    // middle. The buffers still receive every line.
    bool HasWriteError() const { return !WriteErrorText.isEmpty(); }
    const QString& WriteError() const { return WriteErrorText; }
    void ClearWriteError();

private:
    QStringList& CodeBuffer1;
    QStringList& CodeBuffer2;
    QSet<QString> FailedFiles;
    QString WriteErrorText;
};

} // namespace tvx

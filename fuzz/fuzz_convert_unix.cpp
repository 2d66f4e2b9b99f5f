// A fetched text file made into CR LF lines (ConvertUnixFile), from a file that holds the input.
#include "FuzzInput.h"
#include "common/CommonFunctions.h"

#include <QFile>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTemporaryDir& dir = fuzzinput::scratchFolder();
    static const QString source = dir.filePath(QStringLiteral("fetched.txt"));
    static const QString target = dir.filePath(QStringLiteral("converted.txt"));
    static const QString again = dir.filePath(QStringLiteral("again.txt"));
    const QByteArray in = fuzzinput::bytes(data, size);
    {
        QFile f(source);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        f.write(in);
    }
    if (!quillon::ConvertUnixFile(source, target)) std::abort();
    QFile f(target);
    if (!f.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray out = f.readAll();
    f.close();
    // Every line ends in CR LF, nothing but CRs is added, and no line is lost or made.
    const qsizetype lines = in.count('\n') + ((in.isEmpty() || in.endsWith('\n')) ? 0 : 1);
    if (out.count('\n') != lines) std::abort();
    if (!in.isEmpty() && !out.endsWith("\r\n")) std::abort();
    for (qsizetype i = 0; i < out.size(); ++i)
        if (out[i] == '\n' && (i == 0 || out[i - 1] != '\r')) std::abort();
    if (QByteArray(out).replace('\r', "") != QByteArray(in).replace('\r', "") +
                                                 QByteArray(lines > in.count('\n') ? "\n" : ""))
        std::abort();
    // A converted file stays as it is.
    if (!quillon::ConvertUnixFile(target, again)) std::abort();
    QFile g(again);
    if (!g.open(QIODevice::ReadOnly) || g.readAll() != out) std::abort();
    return 0;
}

#pragma once
// What the fuzz targets share: the input split into the parts a parser takes, and the Qt
// strings made from them as the program makes them from server or file bytes.
#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace fuzzinput {

// The input's bytes, not copied.
inline QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

// The input cut at every NUL: the first part is often a name or a line, the rest the text.
inline QList<QByteArray> parts(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
        .split('\0');
}

inline QByteArray part(const QList<QByteArray>& all, int i) {
    return i < all.size() ? all[i] : QByteArray();
}

// A scratch folder for targets that read files: in memory where the system has /dev/shm, so
// the writes of a run cost no disk flush.
inline QTemporaryDir& scratchFolder() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quillon-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quillon-fuzz-XXXXXX"));
    return dir;
}

}  // namespace fuzzinput

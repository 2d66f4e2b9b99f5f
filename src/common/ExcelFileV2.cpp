#include "common/ExcelFileV2.h"

#include "platform/SaveFile.h"
#include "platform/TextCodec.h"

#include <QSaveFile>

#include <cstring>

namespace quillon {

namespace {

void put16(QByteArray& out, quint16 value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

QByteArray header(quint16 id, quint16 length) {
    QByteArray out;
    put16(out, id);
    put16(out, length);
    return out;
}

// Row, column and the three attribute bytes that every cell record starts with.
void cellStart(QByteArray& out, quint16 row, quint16 col) {
    put16(out, row);
    put16(out, col);
    out.append(3, '\0');
}

bool inRange(int oneBased) {
    return oneBased >= 1 && oneBased <= ExcelFileV2::kMaxRows;
}

constexpr qsizetype kFlushBytes = 1 << 20;

}  // namespace

ExcelFileV2::ExcelFileV2() = default;
ExcelFileV2::~ExcelFileV2() = default;

QByteArray ExcelFileV2::bofRecord() {
    QByteArray out = header(0x0009, 4);
    put16(out, 2);       // BIFF version
    put16(out, 0x000A);  // document type as the files have always carried it
    return out;
}

QByteArray ExcelFileV2::eofRecord() {
    return header(0x000A, 0);
}

QByteArray ExcelFileV2::labelRecord(quint16 row, quint16 col, const QByteArray& text) {
    const QByteArray bytes = text.left(kMaxLabelBytes);
    QByteArray out = header(0x0004, static_cast<quint16>(8 + bytes.size()));
    cellStart(out, row, col);
    out.append(static_cast<char>(bytes.size()));
    out.append(bytes);
    return out;
}

QByteArray ExcelFileV2::numberRecord(quint16 row, quint16 col, double value) {
    QByteArray out = header(0x0003, 15);
    cellStart(out, row, col);
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) out.append(static_cast<char>(bits >> (8 * i)));
    return out;
}

bool ExcelFileV2::OpenFile(const QString& fileName) {
    m_failed = false;
    m_pending.clear();
    m_file = std::make_unique<QSaveFile>(fileName);
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_file.reset();
        return false;
    }
    const QByteArray bof = bofRecord();
    if (m_file->write(bof) != bof.size()) m_failed = true;
    return !m_failed;
}

bool ExcelFileV2::append(int excelRow, int excelCol, const QByteArray& record) {
    // A cell outside the 16-bit grid spoils the export; the file is not put in place.
    if (!m_file || !inRange(excelRow) || !inRange(excelCol)) {
        m_failed = true;
        return false;
    }
    m_pending.append(record);
    if (m_pending.size() >= kFlushBytes) flush();
    return !m_failed;
}

void ExcelFileV2::flush() {
    if (m_file && !m_pending.isEmpty() && m_file->write(m_pending) != m_pending.size())
        m_failed = true;
    m_pending.clear();
}

bool ExcelFileV2::EWriteString(int excelRow, int excelCol, const QString& text) {
    const auto row = static_cast<quint16>(excelRow - 1);
    const auto col = static_cast<quint16>(excelCol - 1);
    return append(excelRow, excelCol, labelRecord(row, col, platform::toCp1252(text)));
}

bool ExcelFileV2::EWriteDouble(int excelRow, int excelCol, double value) {
    const auto row = static_cast<quint16>(excelRow - 1);
    const auto col = static_cast<quint16>(excelCol - 1);
    return append(excelRow, excelCol, numberRecord(row, col, value));
}

bool ExcelFileV2::CloseFile() {
    if (!m_file) return false;
    m_pending.append(eofRecord());
    flush();
    bool ok = false;
    if (m_failed)
        m_file->cancelWriting();
    else
        ok = platform::commitWritten(*m_file);
    m_file.reset();
    return ok;
}

}  // namespace quillon

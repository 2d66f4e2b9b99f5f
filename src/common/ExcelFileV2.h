#pragma once
// A BIFF2 worksheet writer: BOF, LABEL and NUMBER cell records in the order written, EOF.
// Rows and columns are given 1-based and stored 0-based in 16 bits. The file is written to a
// temporary name and replaces any existing file whole when it is closed.
#include <QByteArray>
#include <QString>

#include <memory>

class QSaveFile;

namespace quillon {

class ExcelFileV2 {
public:
    ExcelFileV2();
    ~ExcelFileV2();
    ExcelFileV2(const ExcelFileV2&) = delete;
    ExcelFileV2& operator=(const ExcelFileV2&) = delete;

    // Starts the file and writes the BOF record. False when it cannot be created.
    bool OpenFile(const QString& fileName);
    // Writes the EOF record and puts the file in place. False when any record could not be
    // written (the file is then left as it was before the export).
    bool CloseFile();
    // One LABEL record: the text's Windows-1252 bytes ('?' for a character it lacks), cut to
    // 255 bytes, which is what the one-byte length holds. False for a row or column outside
    // 1..65536 or a write error.
    bool EWriteString(int excelRow, int excelCol, const QString& text);
    // One NUMBER record, the value as an 8-byte IEEE double.
    bool EWriteDouble(int excelRow, int excelCol, double value);

    static constexpr int kMaxLabelBytes = 255;
    // Rows (and columns) the 16-bit cell numbers can hold.
    static constexpr int kMaxRows = 65536;

    // The records themselves, for the writer and its tests.
    static QByteArray bofRecord();
    static QByteArray eofRecord();
    static QByteArray labelRecord(quint16 row, quint16 col, const QByteArray& text);
    static QByteArray numberRecord(quint16 row, quint16 col, double value);

private:
    bool append(int excelRow, int excelCol, const QByteArray& record);
    // Writes the records gathered so far; a sheet of many cells is written in large pieces.
    void flush();

    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_pending;
    bool m_failed = false;
};

}  // namespace quillon

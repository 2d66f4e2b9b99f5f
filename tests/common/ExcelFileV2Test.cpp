#include "common/ExcelFileV2.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QFile>

using quillon::ExcelFileV2;

namespace {

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text)); }

TEST(ExcelFileV2Test, RecordBytes) {
    EXPECT_EQ(ExcelFileV2::bofRecord(), hex("0900 0400 0200 0A00"));
    EXPECT_EQ(ExcelFileV2::eofRecord(), hex("0A00 0000"));
    EXPECT_EQ(ExcelFileV2::labelRecord(1, 258, "ab"), hex("0400 0A00 0100 0201 000000 02 6162"));
    EXPECT_EQ(ExcelFileV2::labelRecord(0, 0, ""), hex("0400 0800 0000 0000 000000 00"));
    EXPECT_EQ(ExcelFileV2::numberRecord(2, 1, 1.0),
              hex("0300 0F00 0200 0100 000000 000000000000F03F"));
    EXPECT_EQ(ExcelFileV2::numberRecord(0, 0, -2.5),
              hex("0300 0F00 0000 0000 000000 00000000000004C0"));
}

TEST(ExcelFileV2Test, WritesCellsBetweenBofAndEofWithOneBasedPositionsStoredZeroBased) {
    testsupport::TempHome home;
    ExcelFileV2 xls;
    ASSERT_TRUE(xls.OpenFile(home.file(QStringLiteral("out.xls"))));
    EXPECT_TRUE(xls.EWriteString(1, 1, QStringLiteral("Caf\u00e9 \u4e2d")));
    EXPECT_TRUE(xls.EWriteDouble(3, 2, 1.0));
    EXPECT_TRUE(xls.EWriteString(65536, 65536, QString()));
    ASSERT_TRUE(xls.CloseFile());
    EXPECT_EQ(home.read(QStringLiteral("out.xls")),
              hex("0900 0400 0200 0A00"
                  "0400 0E00 0000 0000 000000 06 436166E9203F"
                  "0300 0F00 0200 0100 000000 000000000000F03F"
                  "0400 0800 FFFF FFFF 000000 00"
                  "0A00 0000"));
}

TEST(ExcelFileV2Test, LabelLongerThan255BytesIsCut) {
    testsupport::TempHome home;
    ExcelFileV2 xls;
    ASSERT_TRUE(xls.OpenFile(home.file(QStringLiteral("long.xls"))));
    xls.EWriteString(1, 1, QString(255, QLatin1Char('a')));
    xls.EWriteString(2, 1, QString(300, QLatin1Char('b')));
    ASSERT_TRUE(xls.CloseFile());
    const QByteArray expected = ExcelFileV2::bofRecord() +
                                ExcelFileV2::labelRecord(0, 0, QByteArray(255, 'a')) +
                                hex("0400 0701 0100 0000 000000 FF") + QByteArray(255, 'b') +
                                ExcelFileV2::eofRecord();
    EXPECT_EQ(home.read(QStringLiteral("long.xls")), expected);
}

TEST(ExcelFileV2Test, ExistingFileIsReplacedWhole) {
    testsupport::TempHome home;
    home.write(QStringLiteral("t.xls"), QByteArray(500, 'z'));
    ExcelFileV2 xls;
    ASSERT_TRUE(xls.OpenFile(home.file(QStringLiteral("t.xls"))));
    xls.EWriteDouble(1, 1, 7);
    ASSERT_TRUE(xls.CloseFile());
    EXPECT_EQ(home.read(QStringLiteral("t.xls")), ExcelFileV2::bofRecord() +
                                                      ExcelFileV2::numberRecord(0, 0, 7) +
                                                      ExcelFileV2::eofRecord());
}

TEST(ExcelFileV2Test, CellOutside16BitsFailsTheFileAndKeepsTheOldOne) {
    const int bad[][2] = {{0, 1}, {1, 0}, {65537, 1}, {1, 65537}, {-3, 2}};
    for (const auto& cell : bad) {
        testsupport::TempHome home;
        home.write(QStringLiteral("t.xls"), "before");
        ExcelFileV2 xls;
        ASSERT_TRUE(xls.OpenFile(home.file(QStringLiteral("t.xls"))));
        EXPECT_TRUE(xls.EWriteString(1, 1, QStringLiteral("ok")));
        EXPECT_FALSE(xls.EWriteString(cell[0], cell[1], QStringLiteral("x")))
            << cell[0] << "," << cell[1];
        EXPECT_FALSE(xls.CloseFile());
        EXPECT_EQ(home.read(QStringLiteral("t.xls")), "before");
    }
}

TEST(ExcelFileV2Test, UnwritableFolderIsReported) {
    testsupport::TempHome home;
    ExcelFileV2 xls;
    EXPECT_FALSE(xls.OpenFile(home.file(QStringLiteral("missing/t.xls"))));
    EXPECT_FALSE(xls.EWriteString(1, 1, QStringLiteral("x")));
    EXPECT_FALSE(xls.CloseFile());
    EXPECT_FALSE(QFile::exists(home.file(QStringLiteral("missing/t.xls"))));
}

}  // namespace

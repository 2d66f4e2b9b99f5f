// do_csv.sh, the server's table writer: the 13 tables as LF-ended CSV in its folder, whoever
// runs it, and the knobs that make tables go missing, grow or not appear.
#include "support/SimServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

using testsupport::SimServer;

namespace {

const QStringList kTables = {"ext", "line", "dpt",  "div", "trunk", "lt", "account",
                             "ac",  "calc", "rate", "cc",  "lc",    "ld"};

void removeTables() {
    for (const QString& t : kTables) SimServer::removeSiteFile(t + ".csv");
}

QList<QByteArray> lines(const QByteArray& bytes) {
    QList<QByteArray> out = bytes.split('\n');
    if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
    return out;
}

class DoCsvTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        removeTables();
    }
    int run(const QString& user, const QString& line, QByteArray* out = nullptr) {
        return SimServer::runAs(user, line, SimServer::siteDir(), out);
    }
};

TEST_F(DoCsvTest, WritesTheThirteenTablesAsLfEndedCsv) {
    QByteArray out;
    ASSERT_EQ(run(SimServer::shellUser(), "./do_csv.sh", &out), 0) << out.constData();
    EXPECT_TRUE(out.isEmpty()) << out.constData();
    for (const QString& t : kTables) {
        SCOPED_TRACE(t.toStdString());
        const QByteArray bytes = SimServer::readSiteFile(t + ".csv");
        ASSERT_FALSE(bytes.isEmpty());
        EXPECT_FALSE(bytes.contains('\r'));
        EXPECT_TRUE(bytes.endsWith('\n'));
        for (const QByteArray& line : lines(bytes)) {
            EXPECT_FALSE(line.isEmpty());
            EXPECT_GE(line.count(',') + 1, 2) << line.constData();
        }
    }
    const QList<QByteArray> ext = lines(SimServer::readSiteFile("ext.csv"));
    EXPECT_GE(ext.size(), 10);
    EXPECT_LE(ext.size(), 20);
    QSet<QByteArray> keys;
    for (const QByteArray& line : ext) keys.insert(line.split(',').first());
    EXPECT_EQ(keys.size(), ext.size()) << "extension numbers repeat";
    EXPECT_TRUE(SimServer::readSiteFile("ext.csv").contains("O'Brien"));
    EXPECT_TRUE(SimServer::readSiteFile("account.csv").contains("\nPH-123,"));
    EXPECT_EQ(SimServer::journal().join('\n').toStdString(), "CALL do_csv.sh");
}

// The connect runs it as the shell login, later windows through sudo, the file login may too:
// each run must be able to replace the files the one before left.
TEST_F(DoCsvTest, EachLoginCanReplaceTheTablesOfAnother) {
    struct Step {
        QString user, line;
    };
    const Step steps[] = {{SimServer::shellUser(), "./do_csv.sh"},
                          {SimServer::sftpUser(), "sudo -n ./do_csv.sh"},
                          {SimServer::shellUser(), "./do_csv.sh"},
                          {SimServer::shellUser(), "sudo -n ./do_csv.sh"},
                          {SimServer::sftpUser(), "./do_csv.sh"}};
    for (const Step& s : steps) {
        SCOPED_TRACE((s.user + ": " + s.line).toStdString());
        // Mark the files in place, so they keep the owner and mode the last run left.
        for (const QString& t : kTables) {
            QFile f(SimServer::siteDir() + "/" + t + ".csv");
            if (f.exists() && f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write("old\n");
        }
        QByteArray out;
        ASSERT_EQ(run(s.user, s.line, &out), 0) << out.constData();
        EXPECT_TRUE(out.isEmpty()) << out.constData();
        for (const QString& t : kTables) {
            const QString path = SimServer::siteDir() + "/" + t + ".csv";
            const QFileInfo info(path);
            EXPECT_NE(SimServer::readSiteFile(t + ".csv"), "old\n") << t.toStdString();
            EXPECT_EQ(info.group(), "varnel") << t.toStdString();
            EXPECT_TRUE(info.permissions() & QFile::WriteGroup) << t.toStdString();
            EXPECT_NE(info.owner(), "root") << t.toStdString();
        }
    }
    // No temporary files are left behind.
    const QStringList hidden =
        QDir(SimServer::siteDir()).entryList({".*.csv.*"}, QDir::Files | QDir::Hidden);
    EXPECT_TRUE(hidden.isEmpty()) << hidden.join(' ').toStdString();
}

struct KnobCase {
    const char* name;
    QList<QPair<QString, QString>> knobs;
    QStringList absent;  // tables with no file afterwards
    int extRows;         // -1: the fixture's
};

void PrintTo(const KnobCase& c, std::ostream* os) {
    *os << c.name;
}

class DoCsvKnobTest : public DoCsvTest, public ::testing::WithParamInterface<KnobCase> {};

TEST_P(DoCsvKnobTest, Knob) {
    const KnobCase& c = GetParam();
    // Files of an earlier run, to see which ones a missing table removes.
    ASSERT_EQ(run(SimServer::shellUser(), "./do_csv.sh"), 0);
    const int fixtureRows = lines(SimServer::readSiteFile("ext.csv")).size();
    for (const auto& [name, value] : c.knobs) SimServer::setKnob(name, value);
    SimServer::clearJournal();

    QByteArray out;
    ASSERT_EQ(run(SimServer::shellUser(), "./do_csv.sh", &out), 0) << out.constData();
    EXPECT_EQ(SimServer::calls("do_csv.sh").size(), 1);
    for (const QString& t : kTables)
        EXPECT_EQ(SimServer::siteFileExists(t + ".csv"), !c.absent.contains(t)) << t.toStdString();
    if (!c.absent.contains("ext")) {
        const QByteArray ext = SimServer::readSiteFile("ext.csv");
        const QList<QByteArray> rows = lines(ext);
        EXPECT_EQ(rows.size(), c.extRows < 0 ? fixtureRows : c.extRows);
        EXPECT_TRUE(ext.endsWith('\n'));
        EXPECT_FALSE(ext.contains('\r'));
        if (c.extRows > 0) {
            EXPECT_TRUE(rows.first().startsWith("10000,")) << rows.first().constData();
            QSet<QByteArray> keys;
            for (const QByteArray& r : rows) keys.insert(r.left(r.indexOf(',')));
            EXPECT_EQ(keys.size(), rows.size());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Knobs, DoCsvKnobTest,
    ::testing::Values(KnobCase{"OneMissing", {{"missing_table", "ld"}}, {"ld"}, -1},
                      KnobCase{"SeveralMissing",
                               {{"missing_table", "ext account\nlc\n"}},
                               {"ext", "account", "lc"},
                               -1},
                      KnobCase{"BigExt", {{"big_ext", "50000"}}, {}, 50000},
                      KnobCase{"BigExtWithOthersMissing",
                               {{"big_ext", "25\n"}, {"missing_table", "calc rate"}},
                               {"calc", "rate"},
                               25},
                      KnobCase{
                          "UnknownTableNameChangesNothing", {{"missing_table", "nosuch"}}, {}, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DoCsvTest, NoOutputLeavesEarlierFilesAsTheyWere) {
    ASSERT_EQ(run(SimServer::shellUser(), "./do_csv.sh"), 0);
    SimServer::writeSiteFile("ext.csv", "9999,Earlier\n");
    SimServer::removeSiteFile("ld.csv");
    SimServer::setKnob("no_output");
    ASSERT_EQ(run(SimServer::shellUser(), "./do_csv.sh"), 0);
    EXPECT_EQ(SimServer::readSiteFile("ext.csv"), "9999,Earlier\n");
    EXPECT_FALSE(SimServer::siteFileExists("ld.csv"));
    EXPECT_EQ(SimServer::calls("do_csv.sh").size(), 2);
}

// A second site folder with a name a shell would split or end a command on.
TEST_F(DoCsvTest, RunsInASecondSiteFolderWithQuoteAndSemicolon) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a site folder needs root";
    QTemporaryDir parent(QDir::tempPath() + "/simsite-XXXXXX");
    ASSERT_TRUE(parent.isValid());
    ::chmod(QFile::encodeName(parent.path()).constData(), 0755);
    const QString site = parent.path() + "/it's; a site";
    ASSERT_TRUE(SimServer::makeSite(site));
    const QFileInfo info(site);
    EXPECT_EQ(info.owner(), "varnel");
    EXPECT_TRUE(info.permissions() & QFile::WriteGroup);

    QByteArray out;
    ASSERT_EQ(SimServer::runAs(SimServer::shellUser(), "./do_csv.sh", site, &out), 0)
        << out.constData();
    for (const QString& t : kTables)
        EXPECT_TRUE(QFileInfo::exists(site + "/" + t + ".csv")) << t.toStdString();
    EXPECT_FALSE(SimServer::siteFileExists("ext.csv")) << "wrote into the main site folder";
}

}  // namespace

// The user and button files: their formats, the digest and the grants, and fetching and
// reading the local copies through the fake server.
#include "access/AccessFiles.h"
#include "common/Globals.h"
#include "common/MD5.h"
#include "remote/ServerWork.h"
#include "support/FakeServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QFile>

#include <functional>
#include <memory>

using namespace quillon;

namespace {

constexpr const char* kSecret1 = "E52D98C459819A11775936D8DFBB7929";  // "secret1"

// ---- stored digests ------------------------------------------------------------------------

struct DigestCase {
    const char* what;
    QByteArray content;  // the converted local copy
    QString password;
    bool matches;
};
void PrintTo(const DigestCase& c, std::ostream* os) {
    *os << c.what;
}

class UserFileDigest : public ::testing::TestWithParam<DigestCase> {};

TEST_P(UserFileDigest, ComparesFirstLineExactly) {
    const DigestCase& c = GetParam();
    EXPECT_EQ(UserFile::passwordMatches(c.password, UserFile::parseDigest(c.content)), c.matches)
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserFileDigest,
    ::testing::Values(
        DigestCase{"as written", QByteArray(kSecret1) + "\r\n", "secret1", true},
        DigestCase{"no line end", QByteArray(kSecret1), "secret1", true},
        DigestCase{"only the first line counts", QByteArray(kSecret1) + "\r\nXYZ\r\n", "secret1",
                   true},
        DigestCase{"password case counts", QByteArray(kSecret1) + "\r\n", "Secret1", false},
        DigestCase{"lower-case digits", QByteArray(kSecret1).toLower() + "\r\n", "secret1", false},
        DigestCase{"trailing blank", QByteArray(kSecret1) + " \r\n", "secret1", false},
        DigestCase{"leading blank", " " + QByteArray(kSecret1) + "\r\n", "secret1", false},
        DigestCase{"a line before the digest", "\r\n" + QByteArray(kSecret1) + "\r\n", "secret1",
                   false},
        DigestCase{"empty file", QByteArray(), "secret1", false},
        DigestCase{"empty file, empty password", QByteArray(), "", false}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(UserFileDigestText, IsMd5OfWindows1252Bytes) {
    // "café" is digested as 63 61 66 E9, whatever the program's own text encoding.
    EXPECT_EQ(UserFile::digestOf(QStringLiteral("caf\u00e9")),
              QStringLiteral("961F50F6282239D09E48F812C1CA7276"));
    EXPECT_EQ(UserFile::digestOf(QStringLiteral("caf\u00e9")),
              MD5().DigestBytesToHexStr(QByteArray("caf\xe9")));
    EXPECT_EQ(UserFile::digestOf(QStringLiteral("secret1")), QLatin1String(kSecret1));
}

// ---- button files --------------------------------------------------------------------------

struct ButtonCase {
    const char* what;
    QByteArray content;
    QStringList granted;
};
void PrintTo(const ButtonCase& c, std::ostream* os) {
    *os << c.what;
}

class ButtonFileGrants : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonFileGrants, GrantsFromLineTwoOn) {
    const ButtonCase& c = GetParam();
    const QStringList entries = ButtonFile::parseEntries(c.content);
    EXPECT_EQ(ButtonFile::grantedNames(entries), c.granted) << c.what;
}

const QByteArray kHeader = "ENABLED BUTTONS DO NOT REMOVE THIS LINE\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonFileGrants,
    ::testing::Values(
        ButtonCase{"header only", kHeader, {}}, ButtonCase{"empty file", QByteArray(), {}},
        ButtonCase{
            "two grants", kHeader + "01.cmddetail\r\n18.cmdedit\r\n", {"cmddetail", "cmdedit"}},
        ButtonCase{"header missing: the first grant is lost",
                   "01.cmddetail\r\n02.cmdAudit\r\n03.cmdcost\r\n",
                   {"cmdAudit", "cmdcost"}},
        ButtonCase{"duplicate line grants once",
                   kHeader + "04.cmdstats\r\n04.CMDSTATS\r\n05.cmdWatchdog\r\n",
                   {"cmdstats", "cmdWatchdog"}},
        ButtonCase{"short lines grant nothing and stop nothing",
                   kHeader + "x\r\n01.\r\n\r\n01\r\n02.cmdAudit\r\n",
                   {"cmdAudit"}},
        ButtonCase{"unknown name is kept, the rest still grants",
                   kHeader + "27.cmdnosuch\r\n03.cmdcost\r\n",
                   {"cmdnosuch", "cmdcost"}},
        ButtonCase{"a server file with CR LF ends", kHeader + "03.cmdcost\r\r\n", {"cmdcost"}},
        ButtonCase{"last line without an end", kHeader + "03.cmdcost", {"cmdcost"}}),
    [](const auto& info) { return std::to_string(info.index); });

TEST(ButtonFileMatch, NamesMatchWholeWithoutRegardToCase) {
    const QStringList entries =
        ButtonFile::parseEntries(kHeader + "18.cmdedit\r\n01.cmddetail\r\n");
    EXPECT_TRUE(ButtonFile::grants(entries, QStringLiteral("cmdEdit")));
    EXPECT_TRUE(ButtonFile::grants(entries, QStringLiteral("CMDDETAIL")));
    EXPECT_FALSE(ButtonFile::grants(entries, QStringLiteral("cmdedi")));
    EXPECT_FALSE(ButtonFile::grants(entries, QStringLiteral("cmddetails")));
    // Line 1 never grants, even when it names a button.
    EXPECT_FALSE(ButtonFile::grants(ButtonFile::parseEntries("11.cmdmanager\r\n"),
                                    QStringLiteral("cmdmanager")));
}

// The rights editor keeps each granted line as read, duplicates too; a line without a
// catalogue row is skipped.
TEST(ButtonFileRows, ReadsCatalogueRowsAndSkipsTheRest) {
    const QByteArray content =
        kHeader +
        "01.cmddetail\r\nab.cmdx\r\n18.cmdEdit \r\n7.cmdcrono\r\n99.cmdexit\r\n"
        "00.cmdnone\r\n05.\r\n18.cmdEdit \r\n";
    using G = ButtonFile::Grant;
    EXPECT_EQ(ButtonFile::grants(content),
              (QList<G>{{1, "01.cmddetail"}, {18, "18.cmdEdit "}, {18, "18.cmdEdit "}}));
    // What is not shown is kept, in file order, for a save to write back.
    EXPECT_EQ(ButtonFile::unshownLines(content),
              (QStringList{"ab.cmdx", "7.cmdcrono", "99.cmdexit", "00.cmdnone", "05."}));
}

// ---- the lines that write them -------------------------------------------------------------

// The system's own lines for checked values; a value its check refuses goes quoted.
struct WriteCase {
    const char* what;
    std::function<FileWrite()> write;
    QStringList expected;  // content, access lines, verify line
};
void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.what;
}

class AccessFileWrite : public ::testing::TestWithParam<WriteCase> {
protected:
    AccessFileWrite() { G().g_SiteHomedir[1] = QStringLiteral("/usr/varnel"); }
    testsupport::TempHome home;
};

// The content goes to a hidden temporary name, which gets the file's mode, owner and group
// before it is moved over the file (so the transfer login never meets a file with the shell
// login's umask); the file is then listed.
TEST_P(AccessFileWrite, LinesAsTheSystemWritesThem) {
    const FileWrite w = GetParam().write();
    EXPECT_EQ(w.content + w.access + QStringList({w.move, w.verify}), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, AccessFileWrite,
    ::testing::Values(
        WriteCase{"add user, user file",
                  [] {
                      return UserFile::writeLines("alice", kSecret1, UserFile::Writer::AddUser,
                                                  "varneltail");
                  },
                  {"echo E52D98C459819A11775936D8DFBB7929 >.ALICE.USE.tmp",
                   "sudo chmod 666 .ALICE.USE.tmp", "sudo chown varneltail .ALICE.USE.tmp",
                   "sudo chgrp varneltail .ALICE.USE.tmp", "mv -f .ALICE.USE.tmp ALICE.USE",
                   "ls -1 ALICE.USE"}},
        WriteCase{"own password",
                  [] {
                      return UserFile::writeLines("Alice", kSecret1, UserFile::Writer::OwnPassword,
                                                  "varneltail");
                  },
                  {"echo E52D98C459819A11775936D8DFBB7929 >.ALICE.USE.tmp",
                   "sudo chmod 666 .ALICE.USE.tmp", "sudo chown root .ALICE.USE.tmp",
                   "sudo chgrp users .ALICE.USE.tmp", "mv -f .ALICE.USE.tmp ALICE.USE",
                   "ls -1 ALICE.USE"}},
        WriteCase{"administrator password: mode and owner kept, group users",
                  [] {
                      return UserFile::writeLines("a.b-c_d", kSecret1,
                                                  UserFile::Writer::AdminPassword, "varneltail");
                  },
                  {"echo E52D98C459819A11775936D8DFBB7929 >.A.B-C_D.USE.tmp",
                   "sudo chmod 666 .A.B-C_D.USE.tmp",
                   "sudo chmod --reference=A.B-C_D.USE .A.B-C_D.USE.tmp",
                   "sudo chown --reference=A.B-C_D.USE .A.B-C_D.USE.tmp",
                   "sudo chgrp users .A.B-C_D.USE.tmp", "mv -f .A.B-C_D.USE.tmp A.B-C_D.USE",
                   "ls -1 A.B-C_D.USE"}},
        WriteCase{"add user, button file",
                  [] {
                      return ButtonFile::writeLines(1, "alice", {"01.cmddetail", "18.cmdedit"},
                                                    true, "varneltail");
                  },
                  {"sudo rm -f /usr/varnel/ACL/BUTTONS/ALICE.BUT",
                   "echo ENABLED BUTTONS DO NOT REMOVE THIS LINE >.ALICE.BUT.tmp",
                   "echo 01.cmddetail >>.ALICE.BUT.tmp", "echo 18.cmdedit >>.ALICE.BUT.tmp",
                   "sudo chmod 666 .ALICE.BUT.tmp", "sudo chown varneltail .ALICE.BUT.tmp",
                   "sudo chgrp varneltail .ALICE.BUT.tmp", "mv -f .ALICE.BUT.tmp ALICE.BUT",
                   "ls -1 ALICE.BUT"}},
        WriteCase{"rights editing: mode, owner and group kept",
                  [] { return ButtonFile::writeLines(1, "alice", {"03.cmdcost"}, false, ""); },
                  {"echo ENABLED BUTTONS DO NOT REMOVE THIS LINE >.ALICE.BUT.tmp",
                   "echo 03.cmdcost >>.ALICE.BUT.tmp", "sudo chmod 666 .ALICE.BUT.tmp",
                   "sudo chmod --reference=ALICE.BUT .ALICE.BUT.tmp",
                   "sudo chown --reference=ALICE.BUT .ALICE.BUT.tmp",
                   "mv -f .ALICE.BUT.tmp ALICE.BUT", "ls -1 ALICE.BUT"}},
        WriteCase{
            "values their checks refuse",
            [] {
                G().g_SiteHomedir[1] = "/usr/var nel";
                const FileWrite u = UserFile::writeLines("al ice", "e52d; id",
                                                         UserFile::Writer::AddUser, "Var Tail");
                const FileWrite b =
                    ButtonFile::writeLines(1, "al ice", {"01.cmd$(id)"}, false, "Var Tail");
                return FileWrite{b.file, u.content + u.access + QStringList{u.move} + b.content,
                                 b.access, b.move, b.verify};
            },
            {"echo 'e52d; id' >'.AL ICE.USE.tmp'", "sudo chmod 666 '.AL ICE.USE.tmp'",
             "sudo chown 'Var Tail' '.AL ICE.USE.tmp'", "sudo chgrp 'Var Tail' '.AL ICE.USE.tmp'",
             "mv -f '.AL ICE.USE.tmp' 'AL ICE.USE'",
             "echo ENABLED BUTTONS DO NOT REMOVE THIS LINE >'.AL ICE.BUT.tmp'",
             "echo '01.cmd$(id)' >>'.AL ICE.BUT.tmp'", "sudo chmod 666 '.AL ICE.BUT.tmp'",
             "sudo chmod --reference='AL ICE.BUT' '.AL ICE.BUT.tmp'",
             "sudo chown --reference='AL ICE.BUT' '.AL ICE.BUT.tmp'",
             "mv -f '.AL ICE.BUT.tmp' 'AL ICE.BUT'", "ls -1 'AL ICE.BUT'"}}),
    [](const auto& info) { return std::to_string(info.index); });

// ---- fetching ------------------------------------------------------------------------------

class AccessFileFetch : public ::testing::Test {
protected:
    AccessFileFetch() {
        G().g_SiteIPAddress[1] = QStringLiteral("10.0.0.7");
        G().g_SiteSSHPort[1] = QStringLiteral("22");
        G().g_SiteHomedir[1] = QStringLiteral("/usr/varnel");
        local = siteDownloadFolder(QStringLiteral("Sim"));
        ServerFailure failure;
        files = ServerWork::instance().openFiles(filesRequestForSite(1), failure);
    }
    testsupport::TempHome home;
    testsupport::FakeServer server;
    QString local;
    std::unique_ptr<ServerFiles> files;
};

// Both files from their folders into the site's download folder, read from the converted copy.
TEST_F(AccessFileFetch, FetchesIntoTheDownloadFolderAndReadsTheConvertedCopy) {
    server.addFile(QStringLiteral("/usr/varnel/ACL/USERS/ZED_T.USE"), QByteArray(kSecret1) + "\n");
    server.addFile(QStringLiteral("/usr/varnel/ACL/BUTTONS/ZED_T.BUT"),
                   "ENABLED BUTTONS DO NOT REMOVE THIS LINE\n01.cmddetail\n18.cmdEdit\n");
    ASSERT_TRUE(files);
    const auto stored = UserFile::fetchDigest(*files, 1, local, QStringLiteral("Zed_t"));
    ASSERT_TRUE(stored.has_value());
    EXPECT_TRUE(UserFile::passwordMatches(QStringLiteral("secret1"), *stored));
    const auto entries = ButtonFile::fetchEntries(*files, 1, local, QStringLiteral("zed_T"));
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(ButtonFile::grantedNames(*entries),
              (QStringList{QStringLiteral("cmddetail"), QStringLiteral("cmdEdit")}));
    ASSERT_EQ(server.fetches().size(), 2u);
    EXPECT_EQ(server.fetches()[0].localPath, local + "/ZED_T.LICU");
    EXPECT_EQ(server.fetches()[1].localPath, local + "/ZED_T.BUTU");
    EXPECT_EQ(home.read(QStringLiteral("Sim/download/ZED_T.LIC")), QByteArray(kSecret1) + "\r\n");
    EXPECT_TRUE(QFile::exists(local + "/ZED_T.BUT"));
}

// An old local copy must never stand in for a file that could not be fetched.
TEST_F(AccessFileFetch, FailedFetchLeavesNoOldCopy) {
    home.write(QStringLiteral("Sim/download/NOSUCHUSER.LICU"), QByteArray(kSecret1) + "\n");
    home.write(QStringLiteral("Sim/download/NOSUCHUSER.LIC"), QByteArray(kSecret1) + "\r\n");
    home.write(QStringLiteral("Sim/download/NOSUCHUSER.BUTU"), kHeader + "01.cmddetail\n");
    home.write(QStringLiteral("Sim/download/NOSUCHUSER.BUT"), kHeader + "01.cmddetail\r\n");
    ASSERT_TRUE(files);
    ServerFailure why;
    EXPECT_FALSE(
        UserFile::fetchDigest(*files, 1, local, QStringLiteral("nosuchuser"), &why).has_value());
    EXPECT_EQ(why.text, QStringLiteral("Could not fetch /usr/varnel/ACL/USERS/NOSUCHUSER.USE: the "
                                       "server has no such file"));
    EXPECT_FALSE(ButtonFile::fetchEntries(*files, 1, local, QStringLiteral("nosuchuser")));
    for (const char* f : {"NOSUCHUSER.LICU", "NOSUCHUSER.LIC", "NOSUCHUSER.BUTU", "NOSUCHUSER.BUT"})
        EXPECT_FALSE(QFile::exists(local + "/" + f)) << f;
}

}  // namespace

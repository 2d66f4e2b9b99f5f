// The one-file fetch: whatever fails, the caller gets the session's own failure and finds no
// file at the local path (an old copy there would pass for the file asked for), and the session
// it opened is closed.
#include "remote/FetchFile.h"

#include "support/FakeServer.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace quillon;
using testsupport::FakeServer;

namespace {

const QString kRemote = QStringLiteral("/usr/varnel/UNAME.TXT");

FilesRequest someFiles() {
    return {{QStringLiteral("10.0.0.9"), 22, QStringLiteral("varnel"), QString()}, 30};
}

struct FetchCase {
    const char* name;
    std::function<void(FakeServer&)> arrange;
    int code;
    const char* text;    // the failure's text; empty: the real side's words, not checked
    bool fetchAsked;     // the open succeeded, so a fetch went out
    QByteArray content;  // at the local path afterwards; empty: no file
};

void PrintTo(const FetchCase& c, std::ostream* os) {
    *os << c.name;
}

class FetchFileCases : public ::testing::TestWithParam<FetchCase> {};

TEST_P(FetchFileCases, ReportsTheSessionsFailureAndLeavesNoOldCopy) {
    const FetchCase& c = GetParam();
    testsupport::TempHome home;
    home.write(QStringLiteral("UNAME.TXT"), "an old copy\n");
    const QString local = home.file(QStringLiteral("UNAME.TXT"));
    FakeServer server;
    c.arrange(server);

    const ServerFailure failure = fetchFile(someFiles(), kRemote, local);

    EXPECT_EQ(failure.code, c.code);
    if (*c.text) EXPECT_EQ(failure.text, QString::fromLatin1(c.text));
    ASSERT_EQ(server.filesRequests().size(), 1u);
    EXPECT_EQ(server.fetches().size(), c.fetchAsked ? 1u : 0u);
    EXPECT_FALSE(server.isFilesOpen(0));
    EXPECT_EQ(QFile::exists(local), !c.content.isEmpty());
    if (!c.content.isEmpty()) EXPECT_EQ(home.read(QStringLiteral("UNAME.TXT")), c.content);
}

INSTANTIATE_TEST_SUITE_P(
    Fetches, FetchFileCases,
    ::testing::Values(FetchCase{"Fetched", [](FakeServer& s) { s.addFile(kRemote, "ALICE.USE\n"); },
                                kSessionOk, "", true, "ALICE.USE\n"},
                      FetchCase{"OpenRefused",
                                [](FakeServer& s) {
                                    s.addFile(kRemote, "ALICE.USE\n");
                                    s.failOpen(kSessionLoginRefused,
                                               QStringLiteral("Login refused."));
                                },
                                kSessionLoginRefused,
                                "Login refused.",
                                false,
                                {}},
                      FetchCase{"NoSuchFile", [](FakeServer&) {}, kSessionFailed, "", true, {}},
                      FetchCase{"TransferStalled",
                                [](FakeServer& s) {
                                    s.addFile(kRemote, "ALICE.USE\n");
                                    s.failFetch(kRemote, kSessionTimedOut,
                                                QStringLiteral("No data."));
                                },
                                kSessionTimedOut,
                                "No data.",
                                true,
                                {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// lib.sh, which every server program sources: the CALL lines it journals, the knobs it reads
// and the delays it honours.
#include "support/SimServer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>

using testsupport::SimServer;

namespace {

// A server program as later ones are written: it journals its call, then prints its argument
// count and the probe knob.
const QByteArray kProgram =
    "#!/bin/bash\n"
    ". /var/lib/quillon-sim/lib.sh\n"
    "sim_call \"$0\" \"$@\"\n"
    "echo \"args=$#\"\n"
    "if v=$(sim_knob probe); then echo \"probe=[$v]\"; else echo probe-unset; fi\n";

class ServerProgramTest : public testsupport::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        if (IsSkipped()) return;
        SimServer::writeSiteFile("simprobe", kProgram);
        QFile::setPermissions(SimServer::siteDir() + "/simprobe",
                              QFile::permissions(SimServer::siteDir() + "/simprobe") |
                                  QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    }
    void TearDown() override {
        SimServer::removeSiteFile("simprobe");
        SimTest::TearDown();
    }
    std::string run(const QString& line) {
        QByteArray out;
        EXPECT_EQ(SimServer::runAs(SimServer::shellUser(), line, SimServer::siteDir(), &out), 0)
            << out.constData();
        return out.toStdString();
    }
};

TEST_F(ServerProgramTest, JournalsEachCallWithItsArgumentsJoinedByBlanks) {
    struct Case {
        const char* line;
        const char* args;
    };
    const Case cases[] = {{"./simprobe", ""},
                          {"./simprobe a b", "a b"},
                          {"./simprobe 'two words' x", "two words x"},
                          {"sudo -n ./simprobe -r 'it'\\''s'", "-r it's"},
                          {"/usr/varnel/simprobe ''", ""}};
    for (const Case& c : cases) run(c.line);
    QStringList expected;
    for (const Case& c : cases) expected << c.args;
    EXPECT_EQ(SimServer::calls("simprobe").join('|').toStdString(),
              expected.join('|').toStdString());
    ASSERT_GE(SimServer::journal().size(), 2);
    EXPECT_EQ(SimServer::journal().at(0).toStdString(), "CALL simprobe");
    EXPECT_EQ(SimServer::journal().at(1).toStdString(), "CALL simprobe a b");
    EXPECT_TRUE(SimServer::calls("simprob").isEmpty()) << "a prefix of the name matched";
}

TEST_F(ServerProgramTest, KnobIsItsFileContentOrUnset) {
    EXPECT_EQ(run("./simprobe"), "args=0\nprobe-unset\n");
    SimServer::setKnob("probe", "north wing");
    EXPECT_EQ(run("./simprobe"), "args=0\nprobe=[north wing]\n");
    SimServer::setKnob("probe", "");
    EXPECT_EQ(run("./simprobe"), "args=0\nprobe=[]\n");
    SimServer::clearKnobs();
    EXPECT_EQ(run("./simprobe 1"), "args=1\nprobe-unset\n");
}

TEST_F(ServerProgramTest, DelayKnobsSlowTheCallDown) {
    struct Case {
        const char* name;
        QList<QPair<QString, QString>> knobs;
        qint64 atLeastMs, belowMs;
    };
    const Case cases[] = {
        {"none", {}, 0, 700},
        {"global", {{"delay", "1"}}, 1000, 1700},
        {"own", {{"simprobe.delay", "0.8\n"}}, 800, 1500},
        {"own wins over global", {{"delay", "5"}, {"simprobe.delay", "0.2"}}, 200, 1500},
        {"another program's", {{"other.delay", "5"}}, 0, 700},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimServer::clearKnobs();
        for (const auto& [k, v] : c.knobs) SimServer::setKnob(k, v);
        QElapsedTimer t;
        t.start();
        run("./simprobe");
        const qint64 ms = t.elapsed();
        EXPECT_GE(ms, c.atLeastMs);
        EXPECT_LT(ms, c.belowMs);
    }
}

}  // namespace

#include "common/ShellQuote.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

using quillon::isPlainAccountName;
using quillon::isSafeFileName;
using quillon::isSafeServerPath;
using quillon::isValidPort;
using quillon::shellQuote;

namespace {

TEST(ShellQuote, WritesSingleQuotesAsCloseEscapeReopen) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", "''"},
        {"abc", "'abc'"},
        {"a'b", "'a'\\''b'"},
        {"'", "''\\'''"},
        {"''", "''\\'''\\'''"},
        {"$(id) `id` \"x\" \\ ;|&", "'$(id) `id` \"x\" \\ ;|&'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shellQuote(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

// What counts is what bash makes of it: every text comes back as one word, byte for byte,
// and nothing in it runs.
TEST(ShellQuote, BashReadsEveryTextAsOneLiteralWord) {
    const QString texts[] = {
        QStringLiteral("plain"),
        QStringLiteral(""),
        QStringLiteral("a'b;touch /tmp/quillon-quote-pwned"),
        QStringLiteral("$(touch /tmp/quillon-quote-pwned)`touch /tmp/quillon-quote-pwned`"),
        QStringLiteral("two  blanks\ttab\nnew line"),
        QStringLiteral("\\ \\\\ \"dq\" 'sq' '' !x *.? ~ $HOME ${x} #c"),
        QStringLiteral("Liam O'Brien -- -n -e"),
        QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac"),
    };
    for (const QString& text : texts) {
        QProcess bash;
        bash.start(QStringLiteral("bash"),
                   {QStringLiteral("-c"),
                    QStringLiteral("printf '%s|' ") + shellQuote(text) + QStringLiteral(" x")});
        ASSERT_TRUE(bash.waitForFinished(10000));
        EXPECT_EQ(QString::fromUtf8(bash.readAllStandardOutput()), text + QStringLiteral("|x|"))
            << text.toStdString();
    }
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/quillon-quote-pwned")));
}

struct Verdict {
    const char* text;
    bool ok;
};

template <typename Pred>
void expectVerdicts(std::initializer_list<Verdict> cases, Pred pred) {
    for (const Verdict& c : cases) EXPECT_EQ(pred(QString::fromUtf8(c.text)), c.ok) << c.text;
}

TEST(ShellQuote, PlainAccountNames) {
    expectVerdicts({{"varnel", true},
                    {"_svc", true},
                    {"a.b-c_9", true},
                    {"a", true},
                    {"abcdefghijklmnopqrstuvwxyz012345", true},
                    {"", false},
                    {"9lives", false},
                    {"-n", false},
                    {".hidden", false},
                    {"Varnel", false},
                    {"a b", false},
                    {"a;b", false},
                    {"a'b", false},
                    {"a$b", false},
                    {"a/b", false},
                    {"abcdefghijklmnopqrstuvwxyz0123456", false},
                    {"a\nb", false},
                    {"varnel\n", false},
                    {"varnel\r\n", false},
                    {"varnel\r", false},
                    {"\nvarnel", false}},
                   isPlainAccountName);
}

TEST(ShellQuote, SafeServerPaths) {
    expectVerdicts({{"/usr/varnel", true},
                    {"/usr/varnel/backup", true},
                    {"/", true},
                    {"/a/b.c/d_e-f/", true},
                    {"/a/..b/c..", true},  // dots inside a name are a name
                    {"", false},
                    {"usr/varnel", false},
                    {"/usr/../etc", false},
                    {"/usr/varnel/..", false},
                    {"/usr/var nel", false},
                    {"/usr/var'nel", false},
                    {"/usr/varnel;id", false},
                    {"/usr/$HOME", false},
                    {"/usr/varnel\n", false},
                    {"/usr/varnel\r\n", false},
                    {"/usr/varnel\r", false},
                    {"/usr/v\xc3\xa9", false}},
                   isSafeServerPath);
}

TEST(ShellQuote, SafeFileNames) {
    const struct {
        const char* name;
        int max;
        bool ok;
    } cases[] = {
        {"TESTPC_DETAIL.TMP", 32, true},
        {"a", 32, true},
        {"a-b_c.d", 32, true},
        {"", 32, false},
        {".hidden", 32, false},
        {"-rf", 32, false},
        {"a/b", 32, false},
        {"a b", 32, false},
        {"a'b", 32, false},
        {"a;b", 32, false},
        {"TESTPC_DETAIL.TMP\n", 32, false},
        {"TESTPC_DETAIL.TMP\r\n", 32, false},
        {"TESTPC_DETAIL.TMP\r", 32, false},
        {"abcdefgh", 8, true},
        {"abcdefghi", 8, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isSafeFileName(QString::fromUtf8(c.name), c.max), c.ok)
            << c.name << " max " << c.max;
}

TEST(ShellQuote, ValidPorts) {
    expectVerdicts({{"22", true},
                    {"1", true},
                    {"2222", true},
                    {"65535", true},
                    {"0", false},
                    {"65536", false},
                    {"", false},
                    {"-22", false},
                    {"+22", false},
                    {" 22", false},
                    {"22 ", false},
                    {"22\n", false},
                    {"22\r\n", false},
                    {"22\r", false},
                    {"2a", false},
                    {"0x16", false},
                    {"99999999999", false}},
                   isValidPort);
}

}  // namespace

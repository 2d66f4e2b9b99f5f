#include "remote/PromptMatcher.h"

#include "platform/TextCodec.h"
#include "remote/ShellLines.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace quillon;

namespace {

struct Chunk {
    const char* bytes;
    bool completeAfter;  // what complete() says once this chunk is in
};

struct MatchCase {
    const char* name;
    std::optional<QByteArray> line;  // nullopt: no echo to wait for
    std::vector<Chunk> chunks;
    const char* reply;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << c.name;
}

class PromptMatcherTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(PromptMatcherTest, CompleteOnlyWhenTheTextAfterTheEchoEndsInThePrompt) {
    const MatchCase& c = GetParam();
    PromptMatcher m = c.line ? PromptMatcher::forLine(*c.line) : PromptMatcher::withoutEcho();
    EXPECT_FALSE(m.complete());
    for (size_t i = 0; i < c.chunks.size(); ++i) {
        m.add(QByteArrayView(c.chunks[i].bytes));
        EXPECT_EQ(m.complete(), c.chunks[i].completeAfter) << "after chunk " << i;
    }
    EXPECT_EQ(m.reply(), QString::fromUtf8(c.reply));
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, PromptMatcherTest,
    ::testing::Values(
        MatchCase{"EchoSplitAcrossReads",
                  QByteArray("echo hi"),
                  {{"ec", false}, {"ho h", false}, {"i\r", false}, {"\nhi\r\n$ ", true}},
                  "hi\n"},
        MatchCase{"PromptInsideTheEcho",
                  QByteArray("echo '$ ' '# '; echo done"),
                  {{"echo '$ ", false},
                   {"' '# ", false},
                   {"'; echo done\r\n$  # \r\n", false},
                   {"done\r\n$ ", true}},
                  "$  # \ndone\n"},
        MatchCase{"ContinuationPrompt", QByteArray("echo 'open"), {{"echo 'open\r\n> ", true}}, ""},
        MatchCase{"StrayOutputBeforeTheEcho",
                  QByteArray("echo next"),
                  {{"late-output\r\n", false}, {"echo next\r\nnext\r\n", false}, {"$ ", true}},
                  "next\n"},
        MatchCase{"StrayOutputRunIntoTheEcho",
                  QByteArray("echo next"),
                  {{"late-outputecho next\r\nnext\r\n$ ", true}},
                  "next\n"},
        MatchCase{"PromptLikeTextInTheMiddleOfOutput",
                  QByteArray("./ask"),
                  {{"./ask\r\n", false}, {"Continue? $ ", true}, {"yes\r\n", false}, {"$ ", true}},
                  "Continue? $ yes\n"},
        MatchCase{"CrLfBecomesLf",
                  QByteArray("printf 'a\\nb\\n'"),
                  {{"printf 'a\\nb\\n'\r\na\r\nb\r\n$ ", true}},
                  "a\nb\n"},
        MatchCase{
            "EmptyReply", QByteArray("cd '/usr/varnel'"), {{"cd '/usr/varnel'\r\n$ ", true}}, ""},
        MatchCase{"EmptyLine", QByteArray(""), {{"\r\n", false}, {"$ ", true}}, ""},
        // A dollar sign that ends a line of output is not a prompt; one with its blank is.
        MatchCase{"DollarBeforeALineEnd",
                  QByteArray("echo '$'"),
                  {{"echo '$'\r\n$\r\n", false}, {"$ ", true}},
                  "$\n"},
        // An echo that does not read back as typed (a line editor that shows bytes above
        // 0x7F as escapes) ends at its first line end.
        MatchCase{"EchoNotAsTyped",
                  QByteArray("echo caf\xe9"),
                  {{"echo caf\\351\r\ncaf\xe9\r\n$ ", true}},
                  "caf\xc3\xa9\n"},
        MatchCase{"FirstPromptOfTheShell",
                  std::nullopt,
                  {{"Last login: today\r\n", false}, {"$ ", true}},
                  "Last login: today\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The server's text is Windows-1252 byte for byte, also where it would read as UTF-8.
TEST(ServerText, IsWindows1252BothWays) {
    PromptMatcher m = PromptMatcher::forLine("cat old.txt");
    m.add("cat old.txt\r\n\x80 \x93q\x94 caf\xe9 \xc3\xa9\r\n$ ");
    ASSERT_TRUE(m.complete());
    EXPECT_EQ(m.reply(), QString::fromUtf8("\u20ac \u201cq\u201d caf\u00e9 \u00c3\u00a9\n"));
    EXPECT_EQ(encodeServerText(QString::fromUtf8("\u20ac caf\u00e9")), QByteArray("\x80 caf\xe9"));
}

// A line may hold every character that has a Windows-1252 byte; one without is refused rather
// than sent as another byte.
TEST(ServerText, ALineHoldsOnlyWhatWindows1252Can) {
    QByteArray high;
    for (int b = 0x80; b <= 0xFF; ++b) high.append(static_cast<char>(b));
    EXPECT_EQ(lineRefusal("echo '" + platform::fromCp1252(high) + "'"), std::nullopt);
    for (const char* text : {"\u0151", "\u20ac\u0100", "\U0001F600", "\u0080"}) {
        const auto refusal = lineRefusal("echo '" + QString::fromUtf8(text) + "' >x");
        ASSERT_TRUE(refusal) << text;
        EXPECT_TRUE(refusal->contains("no Windows-1252 code")) << refusal->toStdString();
    }
}

}  // namespace

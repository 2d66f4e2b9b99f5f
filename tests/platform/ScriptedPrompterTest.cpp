#include "support/ScriptedPrompter.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// The scripted prompter is what tells a window test that a prompt did not come: an answer left
// unused fails the test, unless the test says such answers may stay.
TEST(ScriptedPrompter, FailsATestThatLeavesAnswersUnused) {
    EXPECT_NONFATAL_FAILURE(
        {
            testsupport::ScriptedPrompter prompter;
            prompter.yes().ok();
            platform::Prompter::instance().message(QStringLiteral("Sure?"), QString(),
                                                   platform::Icon::Question,
                                                   platform::Buttons::YesNo);
        },
        "1 scripted answer(s) left unused");
    {
        testsupport::ScriptedPrompter prompter;
        prompter.yes().allowUnusedAnswers();
    }
}

}  // namespace

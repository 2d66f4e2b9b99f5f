#pragma once
// A Prompter that answers from a script, in order, records every prompt, and fails the test
// on a prompt that nobody scripted and on scripted answers left unused.
#include "platform/Prompter.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace testsupport {

struct Prompt {
    enum class Kind { Message, Input, SaveFile, OpenFile } kind;
    QString text;   // message text or input prompt or dialog title
    QString title;
    platform::Icon icon = platform::Icon::None;
    platform::Buttons buttons = platform::Buttons::Ok;
    platform::FileDialogRequest file;  // for the file dialogs
    QString defaultText;               // an input box's proposed answer
};

class ScriptedPrompter : public platform::Prompter {
public:
    // Installs itself as the program's prompter for its lifetime.
    ScriptedPrompter();
    ~ScriptedPrompter() override;

    // Script the next answers, in order.
    ScriptedPrompter& answer(platform::Answer a);
    ScriptedPrompter& ok() { return answer(platform::Answer::Ok); }
    ScriptedPrompter& yes() { return answer(platform::Answer::Yes); }
    ScriptedPrompter& no() { return answer(platform::Answer::No); }
    ScriptedPrompter& inputText(const QString& text);     // an input box answered with text
    ScriptedPrompter& cancelInput();                      // an input box cancelled
    ScriptedPrompter& filePath(const QString& path);      // a file dialog answered with path
    ScriptedPrompter& cancelFile();                       // a file dialog cancelled

    const std::vector<Prompt>& prompts() const { return m_prompts; }
    // The texts of the message boxes shown so far.
    QStringList messages() const;
    // True when every scripted answer was used.
    bool exhausted() const { return m_script.empty(); }
    // Answers left unused are no failure (a test that scripts for paths it may not take).
    // Without this the prompter fails the test that leaves any.
    // Forgets the prompts shown and the answers left, for the next run of a test that runs a
    // window many times.
    void reset() {
        m_script.clear();
        m_prompts.clear();
    }
    ScriptedPrompter& allowUnusedAnswers() {
        m_unusedAllowed = true;
        return *this;
    }

    platform::Answer message(const QString& text, const QString& title, platform::Icon icon,
                             platform::Buttons buttons) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> saveFile(const platform::FileDialogRequest& request) override;
    std::optional<QString> openFile(const platform::FileDialogRequest& request) override;

private:
    struct Step {
        Prompt::Kind kind;
        platform::Answer answer = platform::Answer::Ok;
        std::optional<QString> text;
    };
    std::optional<Step> next(Prompt::Kind kind, const QString& what);

    std::deque<Step> m_script;
    bool m_unusedAllowed = false;
    std::vector<Prompt> m_prompts;
};

}  // namespace testsupport

#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace testsupport {

using platform::Answer;

ScriptedPrompter::ScriptedPrompter() { platform::Prompter::setInstance(this); }
ScriptedPrompter::~ScriptedPrompter() {
    platform::Prompter::setInstance(nullptr);
    // An answer nobody asked for is a prompt the window did not show.
    if (!m_script.empty() && !m_unusedAllowed && !::testing::Test::IsSkipped())
        ADD_FAILURE() << m_script.size() << " scripted answer(s) left unused";
}

ScriptedPrompter& ScriptedPrompter::answer(Answer a) {
    m_script.push_back({Prompt::Kind::Message, a, std::nullopt});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::inputText(const QString& text) {
    m_script.push_back({Prompt::Kind::Input, Answer::Ok, text});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::cancelInput() {
    m_script.push_back({Prompt::Kind::Input, Answer::Cancel, std::nullopt});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::filePath(const QString& path) {
    m_script.push_back({Prompt::Kind::SaveFile, Answer::Ok, path});
    return *this;
}
ScriptedPrompter& ScriptedPrompter::cancelFile() {
    m_script.push_back({Prompt::Kind::SaveFile, Answer::Cancel, std::nullopt});
    return *this;
}

QStringList ScriptedPrompter::messages() const {
    QStringList out;
    for (const Prompt& p : m_prompts)
        if (p.kind == Prompt::Kind::Message) out << p.text;
    return out;
}

std::optional<ScriptedPrompter::Step> ScriptedPrompter::next(Prompt::Kind kind, const QString& what) {
    auto isFile = [](Prompt::Kind k) { return k == Prompt::Kind::SaveFile || k == Prompt::Kind::OpenFile; };
    if (m_script.empty()) {
        ADD_FAILURE() << "unexpected prompt: " << what.toStdString();
        return std::nullopt;
    }
    Step s = m_script.front();
    m_script.pop_front();
    if (s.kind != kind && !(isFile(s.kind) && isFile(kind))) {
        ADD_FAILURE() << "prompt of another kind than scripted: " << what.toStdString();
    }
    return s;
}

Answer ScriptedPrompter::message(const QString& text, const QString& title, platform::Icon icon,
                                 platform::Buttons buttons) {
    m_prompts.push_back({Prompt::Kind::Message, text, title, icon, buttons, {}});
    auto s = next(Prompt::Kind::Message, text);
    if (!s) return buttons == platform::Buttons::YesNo ? Answer::No : Answer::Cancel;
    return s->answer;
}

std::optional<QString> ScriptedPrompter::input(const QString& prompt, const QString& title,
                                               const QString& defaultText) {
    m_prompts.push_back({Prompt::Kind::Input, prompt, title, platform::Icon::None,
                         platform::Buttons::OkCancel, {}, defaultText});
    auto s = next(Prompt::Kind::Input, prompt);
    if (!s) return std::nullopt;
    return s->text;
}

std::optional<QString> ScriptedPrompter::saveFile(const platform::FileDialogRequest& request) {
    m_prompts.push_back({Prompt::Kind::SaveFile, request.title, request.title, platform::Icon::None,
                         platform::Buttons::OkCancel, request});
    auto s = next(Prompt::Kind::SaveFile, QStringLiteral("save dialog ") + request.proposedName);
    if (!s) return std::nullopt;
    return s->text;
}

std::optional<QString> ScriptedPrompter::openFile(const platform::FileDialogRequest& request) {
    m_prompts.push_back({Prompt::Kind::OpenFile, request.title, request.title, platform::Icon::None,
                         platform::Buttons::OkCancel, request});
    auto s = next(Prompt::Kind::OpenFile, QStringLiteral("open dialog ") + request.title);
    if (!s) return std::nullopt;
    return s->text;
}

}  // namespace testsupport

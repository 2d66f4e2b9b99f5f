#pragma once
// Every message box, question, input box and file dialog of a window goes through the
// Prompter, so tests can answer them in order and see every text that was shown.
#include <QString>
#include <optional>

namespace platform {

enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct FileDialogRequest {
    QString title;
    QString initialFolder;
    QString proposedName;   // file name only, may be empty
    QString defaultSuffix;  // without the dot, e.g. "rtf"
    QString filter;         // Qt filter string, e.g. "Rich text (*.rtf)"
};

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box. An empty title means the program's title.
    virtual Answer message(const QString& text, const QString& title = {}, Icon icon = Icon::None,
                           Buttons buttons = Buttons::Ok) = 0;
    // An input box; nullopt when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title = {},
                                         const QString& defaultText = {}) = 0;
    // Save and open file dialogs; nullopt when cancelled. The result is a full path.
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;

    // A Yes/No confirmation with the question icon; any answer but Yes counts as No.
    bool confirm(const QString& text, const QString& title = {}) {
        return message(text, title, Icon::Question, Buttons::YesNo) == Answer::Yes;
    }

    // The program-wide prompter: real dialogs unless a test installed another one.
    static Prompter& instance();
    // Installs a prompter (not owned); nullptr restores the dialog prompter.
    static void setInstance(Prompter* prompter);
};

// Shows real Qt dialogs.
class DialogPrompter : public Prompter {
public:
    Answer message(const QString& text, const QString& title, Icon icon, Buttons buttons) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QString> openFile(const FileDialogRequest& request) override;
};

// The title used when a box is shown without one: the one set, else the application's name.
QString programTitle();
void setProgramTitle(const QString& title);

}  // namespace platform

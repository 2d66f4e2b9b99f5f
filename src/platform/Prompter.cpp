#include "platform/Prompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

namespace {
Prompter* g_installed = nullptr;
QString g_programTitle;

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return QMessageBox::Ok;
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QString titleOr(const QString& title) {
    return title.isEmpty() ? programTitle() : title;
}
}  // namespace

// Until the splash window names the edition, the application's name.
QString programTitle() {
    return g_programTitle.isEmpty() ? QCoreApplication::applicationName() : g_programTitle;
}
void setProgramTitle(const QString& title) {
    g_programTitle = title;
}

Prompter& Prompter::instance() {
    static DialogPrompter dialogs;
    return g_installed ? *g_installed : dialogs;
}

void Prompter::setInstance(Prompter* prompter) {
    g_installed = prompter;
}

Answer DialogPrompter::message(const QString& text, const QString& title, Icon icon,
                               Buttons buttons) {
    QMessageBox box(toQt(icon), titleOr(title), text, toQt(buttons), QApplication::activeWindow());
    switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return Answer::Cancel;
    }
}

std::optional<QString> DialogPrompter::input(const QString& prompt, const QString& title,
                                             const QString& defaultText) {
    bool ok = false;
    QString text = QInputDialog::getText(QApplication::activeWindow(), titleOr(title), prompt,
                                         QLineEdit::Normal, defaultText, &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> DialogPrompter::saveFile(const FileDialogRequest& r) {
    QFileDialog dialog(QApplication::activeWindow(), r.title, r.initialFolder, r.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The caller decides what happens to an existing name.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setDefaultSuffix(r.defaultSuffix);
    if (!r.proposedName.isEmpty()) dialog.selectFile(r.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> DialogPrompter::openFile(const FileDialogRequest& r) {
    QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), r.title,
                                                r.initialFolder, r.filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

}  // namespace platform

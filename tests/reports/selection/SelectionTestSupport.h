#pragma once
// Shared by the selection report tests: a main-window stand-in for the windows, the table
// fixture of site "North", and a local bash that runs request lines as the server's would.
#include "reports/selection/ReportHost.h"
#include "reports/selection/ReportRequest.h"
#include "reports/selection/SelectionReportWindow.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace selectiontest {

// Stands in for the main window: its site box and its report retrieval.
class FakeHost : public quillon::ReportHost {
public:
    FakeHost() { quillon::ReportHost::setInstance(this); }
    ~FakeHost() override { quillon::ReportHost::setInstance(nullptr); }
    QString siteName() override { return name; }
    int siteIndex() override { return index; }
    void executeBatFileForReport(int reportNumber) override {
        handOvers << reportNumber;
        if (onHandOver) onHandOver(reportNumber);
    }

    QString name = QStringLiteral("North");
    int index = 1;
    QList<int> handOvers;
    std::function<void(int)> onHandOver;
};

// The tables of site North as the table mirror leaves them (CR LF lines).
inline void writeTables(const testsupport::TempHome& home) {
    home.write("North/Bats/lt.csv", "1,Administrative\r\n3,Guest Room\r\n");
    home.write("North/Bats/ext.csv", "14,Bar\r\n12,Front Desk\r\n12345,Suite\r\n7,Lobby\r\n");
    home.write("North/Bats/dpt.csv", "100,Front Office\r\n120,Sales\r\n");
    home.write("North/Bats/div.csv", "3,Operations\r\n1,Rooms\r\n");
    home.write("North/Bats/account.csv", "12,Marketing\r\n7,Legal\r\nPH-9,Phones\r\n");
}

// Runs the lines with bash in a fresh folder, as the server's shell runs them, and returns
// the request file's lines (the file is LF-ended text). `files` receives the folder's names
// afterwards.
inline QStringList runLocally(const QStringList& lines, const QString& fileName,
                              QStringList* files = nullptr) {
    QTemporaryDir dir;
    QProcess bash;
    bash.setWorkingDirectory(dir.path());
    bash.start(QStringLiteral("bash"), {QStringLiteral("--noprofile"), QStringLiteral("--norc")});
    bash.waitForStarted();
    bash.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    bash.closeWriteChannel();
    bash.waitForFinished();
    if (files) *files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    QFile f(dir.filePath(fileName));
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("<no request file>")};
    const QByteArray bytes = f.readAll();
    if (!bytes.endsWith('\n')) ADD_FAILURE() << "request file does not end in LF";
    if (bytes.contains('\r')) ADD_FAILURE() << "request file holds CR";
    QStringList out = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    out.removeLast();
    return out;
}

// Moves the entries shown with these texts into the selection, in this order, as the user
// does: highlight, then ">>".
inline void selectShown(quillon::SelectionReportWindow& w, const QStringList& shown) {
    for (const QString& t : shown) {
        const auto found = w.lstDivision->findItems(t, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << t.toStdString();
        w.lstDivision->setCurrentItem(found.first());
        w.cmdadd_Click();
    }
}

// The texts of a list, first to last.
inline QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// Opens window W as a Base, for tables of cases over several windows.
template <class Base, class W>
std::unique_ptr<Base> opener() {
    return std::make_unique<W>();
}

// Today as the date lines write it.
inline QString today() {
    return QDate::currentDate().toString(QStringLiteral("MMddyy"));
}

}  // namespace selectiontest

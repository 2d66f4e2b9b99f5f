#pragma once
// Shared by the summary report tests: the tables of site "North", choices made as the user makes
// them, and the request file a window's lines leave on the server.
#include "reports/common/ReportWindow.h"
#include "support/FakeReportHost.h"
#include "support/LocalShell.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"
#include "widgets/ListPair.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include <functional>
#include <memory>

namespace summarytest {

// Site North's tables as the table mirror leaves them: group 5 has three trunks.
inline void writeTables(const testsupport::TempHome& home) {
    home.write("North/Bats/trunk.csv",
               "5,North A\r\n12,South\r\n5,North B\r\n3,Toll Free\r\n5,North C\r\n10,Hotel\r\n");
    home.write("North/Bats/lt.csv", "1,Administrative\r\n3,Guest Room\r\n");
}

// The texts of a list, first to last.
inline QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// Moves the groups shown with these texts into the selection, in this order, as the user
// does: highlight, then ">>".
inline void pick(quillon::ListPair& lists, const QStringList& shown) {
    for (const QString& t : shown) {
        const auto found = lists.lstDivision->findItems(t, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << t.toStdString();
        lists.lstDivision->setCurrentItem(found.first());
        lists.cmdadd->click();
    }
}

// The window's request file as the server's shell leaves it, and its lines as queued.
struct Request {
    QStringList file;
    QStringList lines;
};
inline Request requestOf(quillon::ReportWindow& w) {
    const quillon::ReportRequest r = w.buildRequest();
    return {testsupport::runLocally(r.lines(), r.paramFileName()), r.lines()};
}

// From 1 to 9 December 2026, the dates the tests pick.
inline void pickDecember(quillon::ReportWindow& w) {
    w.startdate->setDate(QDate(2026, 12, 1));
    w.enddate->setDate(QDate(2026, 12, 9));
}

inline void chooseInterval(quillon::ReportWindow& w, const QString& text) {
    w.Optdate[2]->setChecked(true);
    w.txtinterval->setText(text);
}

}  // namespace summarytest

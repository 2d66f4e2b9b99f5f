#pragma once
// Shared by the selection report tests: a main-window stand-in for the windows, the table
// fixture of site "North", and a local bash that runs request lines as the server's would.
#include "reports/common/ReportRequest.h"
#include "reports/selection/SelectionReportWindow.h"
#include "support/FakeReportHost.h"
#include "support/LocalShell.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace selectiontest {

// Stands in for the main window: its chosen site and its report retrieval.
using FakeHost = testsupport::FakeReportHost;

// The tables of site North as the table mirror leaves them (CR LF lines).
inline void writeTables(const testsupport::TempHome& home) {
    home.write("North/Bats/lt.csv", "1,Administrative\r\n3,Guest Room\r\n");
    home.write("North/Bats/ext.csv", "14,Bar\r\n12,Front Desk\r\n12345,Suite\r\n7,Lobby\r\n");
    home.write("North/Bats/dpt.csv", "100,Front Office\r\n120,Sales\r\n");
    home.write("North/Bats/div.csv", "3,Operations\r\n1,Rooms\r\n");
    home.write("North/Bats/account.csv", "12,Marketing\r\n7,Legal\r\nPH-9,Phones\r\n");
}

using testsupport::runLocally;

// Moves the entries shown with these texts into the selection, in this order, as the user
// does: highlight, then ">>".
inline void selectShown(quillon::SelectionReportWindow& w, const QStringList& shown) {
    for (const QString& t : shown) {
        const auto found = w.lstDivision->findItems(t, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << t.toStdString();
        w.lstDivision->setCurrentItem(found.first());
        w.cmdadd->click();
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

#pragma once
// Shared by the organisation-table tests: the mirror of site North (CR LF lines, as the table
// pull leaves it) and small helpers for the forms.
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QStringList>

namespace tablestest {

// Keys that begin alike stand side by side, the longer one first: a preselection by prefix
// would take the wrong one.
inline void writeMirror(const testsupport::TempHome& home) {
    home.write("North/Bats/div.csv", "12345,Big Division,\r\n3,Operations,\r\n1234,Twelve,\r\n");
    home.write("North/Bats/dpt.csv",
               "100,Front Office,3\r\n10000,Ten Thousand,1234\r\n1000,Thousand,12345\r\n");
    home.write("North/Bats/ext.csv",
               "12,Front Desk,100,12.50,0.00,2.00,148,\r\n"
               "12345,Suite,1000,8.00,0.00,1.00,4,\r\n"
               "1234,Lobby,10000,5.00,0.00,0.50,117,\r\n");
    home.write("North/Bats/lt.csv", "1,Administrative\r\n3,Guest Room\r\n");
    home.write("North/Bats/line.csv", "5,12,1\r\n6,1234,3\r\n");
}

// The entries of a list, first to last.
inline QStringList items(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
}

// Picks the entry shown with this text, as the user does.
inline void pick(QComboBox* combo, const QString& text) {
    const int i = combo->findText(text);
    ASSERT_GE(i, 0) << text.toStdString();
    combo->setCurrentIndex(i);
}

}  // namespace tablestest

#pragma once
// A window's control found by its object name, as a user finds it by what it is. A missing one
// fails the test with its name and ends the test there (an exception the test runner reports),
// rather than crash the test program on a null pointer.
#include <QListWidget>
#include <QObject>
#include <QString>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace testsupport {

template <typename T>
T* control(const QObject* window, const QString& name) {
    T* found = window ? window->findChild<T*>(name) : nullptr;
    if (!found) {
        const std::string what = "no control named " + name.toStdString();
        ADD_FAILURE() << what;
        std::fflush(stdout);
        throw std::runtime_error(what);
    }
    return found;
}
template <typename T>
T* control(const QObject* window, const char* name) {
    return control<T>(window, QString::fromLatin1(name));
}
template <typename T>
T* control(const QObject& window, const QString& name) {
    return control<T>(&window, name);
}
template <typename T>
T* control(const QObject& window, const char* name) {
    return control<T>(&window, QString::fromLatin1(name));
}

// A double click on a list's entry as the mouse makes it: a click, then the second press. The
// list is to be shown.
inline void doubleClick(QListWidget* list, QListWidgetItem* item) {
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace testsupport

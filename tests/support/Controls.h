#pragma once
// A window's control found by its object name, as a user finds it by what it is; a missing one
// fails the test.
#include <QObject>
#include <QString>

#include <gtest/gtest.h>

namespace testsupport {

template <typename T>
T* control(const QObject* window, const char* name) {
    T* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    if (!found) ADD_FAILURE() << "no control named " << name;
    return found;
}

}  // namespace testsupport

#pragma once
// The change forms in tests: how a case opens one (an add form, or a modify form on a row), and
// a Save that waits, the form's own timer polling, until the server's answer has closed it.
#include "changes/ChangeForm.h"
#include "support/Controls.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QStringList>

#include <functional>
#include <memory>

namespace testsupport {

using FormOpener = std::function<std::unique_ptr<quillon::ChangeForm>()>;

template <class W>
FormOpener addForm() {
    return [] { return std::make_unique<W>(); };
}
template <class W>
FormOpener modifyForm(QStringList row) {
    return [row] { return std::make_unique<W>(row); };
}

// A form's text box and pick list by name.
inline QLineEdit* box(const QObject& form, const char* name) {
    return control<QLineEdit>(form, name);
}
inline QComboBox* list(const QObject& form, const char* name) {
    return control<QComboBox>(form, name);
}

inline void saveAndWait(quillon::ChangeForm& f) {
    f.show();
    f.cmdsave_Click();
    EXPECT_TRUE(waitFor([&] { return !f.isVisible(); }, 20000));
}

}  // namespace testsupport

// Answering the editor's modal dialogs from inside their own event loop.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tsbtest {

// Runs answer with the modal dialog once it shows and is active, typed as T.
// A dialog the answer leaves open is rejected after a few seconds, so a
// failing test cannot hang.
template <typename T> void AnswerModal(std::function<void(T*)> answer) {
    OnNextModal([answer] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog of the expected class is shown";
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->reject();
            return;
        }
        QTimer::singleShot(5000, dialog, &QDialog::reject);
        if (!QTest::qWaitForWindowActive(dialog))
            ADD_FAILURE() << "the modal dialog did not become active";
        answer(dialog);
    });
}

// Clicks a button where a user would: on a radio button's indicator, which
// with the text is the part that takes clicks, or in a push button's middle.
inline void Click(QAbstractButton* button) {
    QPoint at = button->rect().center();
    if (qobject_cast<QRadioButton*>(button)) at.setX(6);
    QTest::mouseClick(button, Qt::LeftButton, Qt::KeyboardModifiers(), at);
}

} // namespace tsbtest

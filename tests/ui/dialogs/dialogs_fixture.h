// Shared set-up of the option dialog tests: the dialogs with recorded message boxes and a
// counted "&Driving Controller" callback, and a way to act inside a dialog's modal showing.
#pragma once

#include "tests/support/recording_message_boxes.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/form3.h"
#include "ui/dialogs/form4.h"
#include "ui/dialogs/form6.h"
#include "ui/dialogs/form7.h"
#include "ui/dialogs/option_dialogs.h"

#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace kestrin::testing {

class DialogsTest : public ::testing::Test {
protected:
    OptionDialog& dialog(Dialog which) {
        switch (which) {
        case Dialog::Form2:
            return dialogs.form2();
        case Dialog::Form3:
            return dialogs.form3();
        case Dialog::Form4:
            return dialogs.form4();
        case Dialog::Form6:
            return dialogs.form6();
        case Dialog::Form7:
            return dialogs.form7();
        }
        throw std::logic_error("no such dialog");
    }

    // Opens the dialog through OptionDialogs::showModal and runs `whileShown` inside its modal
    // loop. Returns whether the dialog was still shown when `whileShown` ended; a dialog left
    // open is then hidden without Cancel, so that the test goes on.
    bool openAndRun(Dialog which, const std::function<void()>& whileShown) {
        OptionDialog& shown = dialog(which);
        bool stillShown = false;
        bool ran = false;
        QTimer::singleShot(0, &shown, [&] {
            ran = true;
            EXPECT_TRUE(shown.isVisible() && shown.isModal());
            whileShown();
            stillShown = shown.isVisible();
            if (stillShown)
                shown.hide();
        });
        dialogs.showModal(which);
        EXPECT_TRUE(ran);
        EXPECT_FALSE(shown.isVisible());
        return stillShown;
    }

    // Opens the dialog, presses Enter and returns the messages that Set showed; the dialog must
    // have stayed open exactly when it showed one.
    std::vector<ShownBox> messagesOfEnter(Dialog which) {
        boxes.shown.clear();
        const bool open =
            openAndRun(which, [&] { QTest::keyClick(&dialog(which), Qt::Key_Return); });
        EXPECT_EQ(open, !boxes.shown.empty());
        return boxes.shown;
    }

    RecordingMessageBoxes boxes;
    int drivingMarkClears = 0;
    OptionDialogs dialogs{boxes, [this] { ++drivingMarkClears; }};
};

} // namespace kestrin::testing

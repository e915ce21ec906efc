// The main window's keys, the ways to end the program, and the About box.
#include "tests/ui/main/launcher_fakes.h"
#include "ui/dialogs/form2.h"
#include "ui/dialogs/form3.h"
#include "ui/dialogs/form4.h"
#include "ui/dialogs/form6.h"
#include "ui/dialogs/form7.h"
#include "ui/dialogs/option_dialogs.h"
#include "ui/main/form5.h"

#include <QListView>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

const ShownBox selectFirst{"Please Select a game first", "Select a Game", Buttons::Ok};

class MainWindowKeys : public ::testing::Test {
protected:
    void SetUp() override {
        launcher.jobs.roms = {{"Harbor Run.bin", "HARBOR~1"}, {"Zed.bin", "ZED"}};
        launcher.started();
        list = launcher.find<QListView>("List1");
        run = launcher.find<QPushButton>("Command1");
        exit = launcher.find<QPushButton>("Command2");
        writtenAtStart = launcher.files.written;
    }

    Form1& form() { return launcher.window(); }

    // A key press as the user makes it: on the control that has the focus.
    static void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
    }

    // Presses `key` on `target` and reports which modal window it opened, closing it again.
    QWidget* modalOpenedBy(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* opened = nullptr;
        whenModalOpens([&](QWidget* modal) {
            opened = modal;
            modal->close(); // option dialogs cancel, the About box hides
        });
        press(target, key, modifiers);
        // Without a window manager nothing takes the activation back once the box is gone.
        Launcher::waitUntilActive(form());
        return opened;
    }

    Launcher launcher;
    QListView* list = nullptr;
    QPushButton* run = nullptr;
    QPushButton* exit = nullptr;
    std::vector<std::string> writtenAtStart;
};

TEST_F(MainWindowKeys, FunctionKeysOpenTheirDialogsWhateverModifiersAndFocus) {
    OptionDialogs& dialogs = form().optionDialogs();
    const std::vector<std::pair<Qt::Key, QWidget*>> bindings = {
        {Qt::Key_F5, &dialogs.form3()}, {Qt::Key_F6, &dialogs.form4()},
        {Qt::Key_F7, &dialogs.form2()}, {Qt::Key_F8, &dialogs.form6()},
        {Qt::Key_F9, &dialogs.form7()},
    };
    const std::vector<Qt::KeyboardModifiers> held = {
        Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
        Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier};
    for (QWidget* focus : {static_cast<QWidget*>(list), static_cast<QWidget*>(exit)}) {
        for (const auto& [key, dialog] : bindings) {
            for (Qt::KeyboardModifiers modifiers : held) {
                SCOPED_TRACE(QTest::toString(QKeySequence(key | modifiers).toString()));
                focus->setFocus();
                EXPECT_EQ(modalOpenedBy(focus, key, modifiers), dialog);
                EXPECT_FALSE(dialog->isVisible());
            }
        }
    }
    EXPECT_TRUE(launcher.boxes.shown.empty());
    EXPECT_EQ(launcher.files.written, writtenAtStart) << "opening dialogs saves nothing";
}

TEST_F(MainWindowKeys, F1AndHelpAboutOpenTheSameAboutBox) {
    EXPECT_EQ(form().aboutBox(), nullptr) << "created on first opening";
    QWidget* byKey = modalOpenedBy(list, Qt::Key_F1, Qt::ControlModifier);
    ASSERT_NE(byKey, nullptr);
    EXPECT_EQ(byKey, form().aboutBox());

    QWidget* byMenu = nullptr;
    whenModalOpens([&](QWidget* modal) {
        byMenu = modal;
        QTest::mouseClick(modal->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    launcher.action("mnuhelpAbout")->trigger();
    EXPECT_EQ(byMenu, byKey) << "the box is reused";
    EXPECT_FALSE(byKey->isVisible());
    EXPECT_EQ(launcher.ended, 0);
}

TEST_F(MainWindowKeys, EnterRunsRunGameOnceFromAnyControl) {
    // Nothing selected: Enter is "Run &Game", which asks for a game, exactly once per press.
    press(exit, Qt::Key_Return);
    press(list, Qt::Key_Enter, Qt::KeypadModifier | Qt::ShiftModifier);
    press(run, Qt::Key_Return, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(launcher.boxes.shown, (std::vector<ShownBox>{selectFirst, selectFirst, selectFirst}));
    EXPECT_EQ(launcher.files.written, writtenAtStart) << "nothing is written without a game";

    list->setFocus();
    press(list, Qt::Key_Down); // selects the first game
    EXPECT_EQ(form().List2Index(), 0);
    press(list, Qt::Key_Down);
    press(list, Qt::Key_Return);
    ASSERT_EQ(launcher.jobs.started.back(), "run.bat");
    EXPECT_TRUE(launcher.files.contents["run.bat"].starts_with("marlo "));
    EXPECT_TRUE(launcher.files.contents["run.bat"].ends_with(" ZED \r\n"));
    EXPECT_EQ(launcher.boxes.shown.size(), 3u);
}

TEST_F(MainWindowKeys, RunGameButtonTakesTheSelectedGame) {
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_TRUE(launcher.files.contents["run.bat"].ends_with(" HARBOR~1 \r\n"));
    EXPECT_TRUE(launcher.files.exists("config.dat"));
}

TEST_F(MainWindowKeys, F10AsksBeforeClearingAll) {
    launcher.boxes.answers = {Answer::Cancel};
    press(list, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(launcher.boxes.shown.size(), 1u);
    EXPECT_EQ(launcher.boxes.shown[0].title, "Clear Options");
    EXPECT_EQ(launcher.files.written, writtenAtStart);
}

TEST_F(MainWindowKeys, OtherKeysDoNothing) {
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F11, Qt::Key_F12, Qt::Key_A}) {
        press(exit, key);
        EXPECT_EQ(launcher.ended, 0) << key;
    }
    EXPECT_TRUE(launcher.boxes.shown.empty());
    EXPECT_EQ(launcher.ended, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MainWindowKeys, HotkeysAreDeadWhileADialogIsShown) {
    int nested = 0;
    whenModalOpens([&](QWidget* modal) {
        // To the dialog and straight to the main window's list alike.
        // To the dialog, and to the main window itself, which would act if it took keys now.
        for (QWidget* target : {QApplication::focusWidget(), static_cast<QWidget*>(&form())}) {
            for (Qt::Key key :
                 {Qt::Key_F1, Qt::Key_F5, Qt::Key_F6, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10}) {
                QTest::keyClick(target, key);
                if (QApplication::activeModalWidget() != modal)
                    ++nested;
            }
        }
        QTest::keyClick(&form(), Qt::Key_Return);
        QTest::keyClick(&form(), Qt::Key_Escape);
        EXPECT_TRUE(modal->isVisible());
        modal->close();
    });
    press(list, Qt::Key_F7);
    EXPECT_EQ(nested, 0);
    EXPECT_TRUE(launcher.boxes.shown.empty());
    EXPECT_EQ(launcher.ended, 0);
    EXPECT_EQ(form().aboutBox(), nullptr);
}

TEST_F(MainWindowKeys, AboutBoxIgnoresEscAndHidesOnOkOrCloseBox) {
    int escapesSurvived = 0;
    whenModalOpens([&](QWidget* modal) {
        // "&OK" is the only control that takes the focus, and it has it.
        auto* ok = modal->findChild<QPushButton*>("Command1");
        EXPECT_EQ(QApplication::focusWidget(), ok);
        for (QWidget* child : modal->findChildren<QWidget*>())
            EXPECT_TRUE(child == ok || child->focusPolicy() == Qt::NoFocus);
        EXPECT_FALSE(ok->isDefault() || ok->autoDefault());
        QTest::keyClick(modal, Qt::Key_Escape);
        QTest::keyClick(&form(), Qt::Key_F1); // the main window's hotkeys wait
        if (modal->isVisible() && QApplication::activeModalWidget() == modal)
            ++escapesSurvived;
        QTest::mouseClick(modal->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    });
    launcher.action("mnuhelpAbout")->trigger();
    EXPECT_EQ(escapesSurvived, 1);
    Form5* about = form().aboutBox();
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(about->isVisible());

    // The close box only hides it, and the program goes on.
    Launcher::waitUntilActive(form());
    whenModalOpens([](QWidget* modal) { EXPECT_FALSE(modal->close()); });
    press(run, Qt::Key_F1);
    EXPECT_EQ(form().aboutBox(), about);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(launcher.ended, 0);
    EXPECT_TRUE(form().isVisible());
}

// Every way to end the program ends it at once and writes nothing, even with unsaved changes.
class EndingTheProgram : public MainWindowKeys {
protected:
    void SetUp() override {
        MainWindowKeys::SetUp();
        launcher.action("mnuoptsoundquiet")->trigger(); // a change that is never saved
    }
    void TearDown() override {
        EXPECT_EQ(launcher.ended, 1);
        EXPECT_EQ(launcher.files.written, writtenAtStart);
        EXPECT_FALSE(launcher.files.exists("config.dat"));
        EXPECT_TRUE(launcher.boxes.shown.empty());
    }
};

TEST_F(EndingTheProgram, ByTheExitButton) {
    QTest::mouseClick(exit, Qt::LeftButton);
}

TEST_F(EndingTheProgram, ByFileExit) {
    launcher.action("mnufileexit")->trigger();
}

TEST_F(EndingTheProgram, ByEscFromTheList) {
    list->setFocus();
    press(list, Qt::Key_Down);
    press(list, Qt::Key_Escape, Qt::ControlModifier);
}

TEST_F(EndingTheProgram, ByEscFromAButton) {
    press(run, Qt::Key_Escape);
}

TEST_F(EndingTheProgram, ByTheCloseBox) {
    form().close();
}

} // namespace
} // namespace kestrin::testing

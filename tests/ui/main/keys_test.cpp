// The main window's hotkeys, the ways to end the program, and the About box.
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

namespace kestrin::testing {
namespace {

class MainWindowKeys : public ::testing::Test {
protected:
    void SetUp() override {
        launcher.started();
        writtenAtStart = launcher.files.written;
    }
    // A key press as the user makes it: on the control that has the focus.
    static void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
    }

    Launcher launcher{{{"Harbor Run.bin", "HARBOR~1"}, {"Zed.bin", "ZED"}}};
    QListView* list = launcher.find<QListView>("List1");
    QPushButton* run = launcher.find<QPushButton>("Command1");
    QPushButton* exit = launcher.find<QPushButton>("Command2");
    std::vector<std::string> writtenAtStart;
};

TEST_F(MainWindowKeys, FunctionKeysOpenTheirDialogsWhateverModifiersAndFocus) {
    OptionDialogs& d = launcher.form.optionDialogs();
    const std::vector<std::pair<Qt::Key, QWidget*>> bindings = {
        {Qt::Key_F5, &d.form3()}, {Qt::Key_F6, &d.form4()}, {Qt::Key_F7, &d.form2()},
        {Qt::Key_F8, &d.form6()}, {Qt::Key_F9, &d.form7()}, {Qt::Key_F1, nullptr}};
    for (QWidget* focus : {static_cast<QWidget*>(list), static_cast<QWidget*>(exit)}) {
        for (const auto& [key, dialog] : bindings) {
            for (Qt::KeyboardModifiers held :
                 {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
                SCOPED_TRACE(QKeySequence(key | held).toString().toStdString());
                QWidget* opened = nullptr;
                whenModalOpens([&](QWidget* modal) {
                    opened = modal;
                    modal->close(); // option dialogs cancel, the About box hides
                });
                press(focus, key, held);
                EXPECT_EQ(opened, dialog ? dialog : launcher.form.aboutBox()); // one, reused
                EXPECT_TRUE(opened && !opened->isVisible());
                // Without a window manager nothing takes the activation back from a closed box.
                waitUntilActive(launcher.form);
            }
        }
    }
    launcher.boxes.answers = {Answer::Cancel};
    press(list, Qt::Key_F10, Qt::ShiftModifier);
    for (Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F11, Qt::Key_F12, Qt::Key_A})
        press(exit, key);
    EXPECT_EQ(launcher.boxes.shown.size(), 1u);
    EXPECT_EQ(launcher.boxes.shown.at(0).title, "Clear Options");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(launcher.files.written, writtenAtStart);
    EXPECT_EQ(launcher.ended, 0);
}

TEST_F(MainWindowKeys, EnterAndRunGameTakeTheSelectedGame) {
    // Nothing selected: Enter is "Run &Game", which asks for a game, exactly once per press.
    press(exit, Qt::Key_Return);
    press(list, Qt::Key_Enter, Qt::KeypadModifier | Qt::ShiftModifier);
    press(run, Qt::Key_Return, Qt::ControlModifier | Qt::AltModifier);
    const ShownBox selectFirst{"Please Select a game first", "Select a Game", Buttons::Ok};
    EXPECT_EQ(launcher.boxes.shown, std::vector<ShownBox>(3, selectFirst));
    EXPECT_EQ(launcher.files.written, writtenAtStart);

    press(list, Qt::Key_Down); // selects the first game
    EXPECT_EQ(launcher.form.List2Index(), 0);
    press(list, Qt::Key_Down);
    press(list, Qt::Key_Return);
    EXPECT_EQ(launcher.jobs.started.back(), "run.bat");
    EXPECT_TRUE(launcher.files.contents["run.bat"].starts_with("marlo "));
    EXPECT_TRUE(launcher.files.contents["run.bat"].ends_with(" ZED \r\n"));

    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::mouseClick(run, Qt::LeftButton);
    EXPECT_TRUE(launcher.files.contents["run.bat"].ends_with(" HARBOR~1 \r\n"));
    EXPECT_EQ(launcher.boxes.shown.size(), 3u);
}

TEST_F(MainWindowKeys, HotkeysAreDeadWhileADialogIsShown) {
    int nested = 0;
    whenModalOpens([&](QWidget* modal) {
        // To the dialog, and to the main window itself, which would act if it took keys now.
        for (QWidget* target :
             {QApplication::focusWidget(), static_cast<QWidget*>(&launcher.form)}) {
            for (Qt::Key key :
                 {Qt::Key_F1, Qt::Key_F5, Qt::Key_F6, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10}) {
                QTest::keyClick(target, key);
                nested += QApplication::activeModalWidget() != modal;
            }
        }
        QTest::keyClick(&launcher.form, Qt::Key_Return);
        QTest::keyClick(&launcher.form, Qt::Key_Escape);
        EXPECT_TRUE(modal->isVisible());
        modal->close();
    });
    press(list, Qt::Key_F7);
    EXPECT_EQ(nested, 0);
    EXPECT_TRUE(launcher.boxes.shown.empty());
    EXPECT_EQ(launcher.ended, 0);
    EXPECT_EQ(launcher.form.aboutBox(), nullptr);
}

TEST_F(MainWindowKeys, AboutBoxIgnoresEscAndHidesOnOkEnterOrCloseBox) {
    // Opened by the menu and closed by clicking OK; by F1 and the close box; by F1 and Enter.
    for (int way : {0, 1, 2}) {
        SCOPED_TRACE(way);
        bool survivedEsc = false;
        whenModalOpens([&](QWidget* modal) {
            auto* ok = modal->findChild<QPushButton*>("Command1");
            EXPECT_EQ(QApplication::focusWidget(), ok);
            QTest::keyClick(modal, Qt::Key_Escape);
            survivedEsc = modal->isVisible() && QApplication::activeModalWidget() == modal;
            if (way == 0)
                QTest::mouseClick(ok, Qt::LeftButton);
            else if (way == 1)
                EXPECT_FALSE(modal->close()) << "the close box only hides it";
            else
                QTest::keyClick(ok, Qt::Key_Return);
            if (modal->isVisible()) {
                ADD_FAILURE() << "the About box stayed open";
                modal->hide();
            }
        });
        if (way == 0)
            launcher.find<QAction>("mnuhelpAbout")->trigger();
        else
            press(run, Qt::Key_F1);
        EXPECT_TRUE(survivedEsc);
        ASSERT_NE(launcher.form.aboutBox(), nullptr);
        EXPECT_FALSE(launcher.form.aboutBox()->isVisible());
        waitUntilActive(launcher.form);
    }
    EXPECT_EQ(launcher.ended, 0);
    EXPECT_TRUE(launcher.form.isVisible());
}

TEST(EndingTheProgram, EveryWayEndsAtOnceAndWritesNothing) {
    // Exit button, File Exit, Esc from the list with a game selected, the close box.
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(way);
        Launcher launcher(Games{{"Zed.bin", "ZED"}});
        launcher.started();
        launcher.find<QAction>("mnuoptsoundquiet")->trigger(); // a change that is never saved
        const std::vector<std::string> writtenAtStart = launcher.files.written;
        auto* list = launcher.find<QListView>("List1");
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        if (way == 0)
            QTest::mouseClick(launcher.find<QPushButton>("Command2"), Qt::LeftButton);
        else if (way == 1)
            launcher.find<QAction>("mnufileexit")->trigger();
        else if (way == 2)
            QTest::keyClick(list, Qt::Key_Escape, Qt::ControlModifier);
        else
            launcher.form.close();
        EXPECT_EQ(launcher.ended, 1);
        EXPECT_EQ(launcher.files.written, writtenAtStart);
        EXPECT_TRUE(launcher.boxes.shown.empty());
    }
}

} // namespace
} // namespace kestrin::testing

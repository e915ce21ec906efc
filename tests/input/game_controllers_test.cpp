// Game controllers on the main window and its message boxes, through virtual controllers that
// SDL attaches in this process. The end-to-end scenario covers the plain moves, A and Start.
#include "input/game_controllers.h"
#include "tests/support/fake_platform.h"
#include "tests/support/while_modal.h"
#include "ui/common/qt_message_boxes.h"
#include "ui/main/form1.h"

#include <QtWidgets>
#include <SDL.h>
#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

constexpr int A = SDL_CONTROLLER_BUTTON_A, B = SDL_CONTROLLER_BUTTON_B;
constexpr int Down = SDL_CONTROLLER_BUTTON_DPAD_DOWN, Page = SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;

// A controller plugged in; each change reaches SDL's queue at once, as from a device.
struct Pad {
    ~Pad() {
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(joystick))
                SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(joystick);
    }
    void set(int button, int value) { // the left stick's y axis as button -1
        button < 0 ? SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, Sint16(value))
                   : SDL_JoystickSetVirtualButton(joystick, button, Uint8(value));
        SDL_PumpEvents();
    }
    void press(int button) { set(button, 1), set(button, 0); }
    SDL_Joystick* joystick =
        SDL_JoystickOpen(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 21, 0));
};

// The main window on 30 games, its message boxes and a controller.
struct Couch : FakePlatform {
    Couch() {
        std::string names, listing = "\n\n\n\n\n";
        for (int game = 10; game < 40; ++game)
            names += "G" + std::to_string(game) + ".bin\n",
                listing += "G" + std::to_string(game) + "      BIN\n";
        jobs = {{[=, this] { files["games.dat"] = names; }},
                {[=, this] { files["lgames.dat"] = listing; }}};
        QObject::connect(&form, &Form1::gameRunning, &controllers,
                         &GameControllers::setGameRunning);
        form.Form1_Form_Load();
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    int at(int expected) { // once it got there, and stayed
        (void)QTest::qWaitFor([&] { return form.List2Index() == expected; });
        QTest::qWait(100);
        return form.List2Index();
    }
    QtMessageBoxes qtBoxes;
    int ended = 0;
    Form1 form{qtBoxes, *this, *this, [this] { ++ended; }};
    GameControllers controllers{&form, form.gameList()};
};

// The stick moves once past half-way and again only after it came back; held, the D-pad
// repeats after 0.4 s, then ten a second, until released. Shoulders page, B does nothing. While
// a game runs nothing acts, and what was pressed then is dropped; the same while another window
// is active. In a message box B answers as Esc does (Cancel), A with OK; a box over another
// window takes nothing. Controllers come and go; one unplugged while held stops repeating.
TEST(GameControllers, DriveTheMainWindowAndItsMessageBoxes) {
    Couch couch;
    auto pad = std::make_unique<Pad>();
    ASSERT_TRUE(QTest::qWaitFor([&] { return couch.controllers.attached() == 1; }));
    const std::pair<Sint16, int> steps[] = {{20000, 0}, {14000, 0},  {32767, 0}, {0, 0},
                                            {17000, 1}, {-20000, 0}, {0, 0}};
    for (auto [y, expected] : steps)
        EXPECT_EQ((pad->set(-1, y), couch.at(expected)), expected) << y;
    QElapsedTimer held;
    pad->set(Down, 1), held.start(), QTest::qWait(300);
    EXPECT_EQ(couch.form.List2Index(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return couch.form.List2Index() >= 4; }));
    pad->set(Down, 0);
    const int released = couch.form.List2Index();
    EXPECT_LE(released, 2 + (held.elapsed() - 400) / 100);
    QTest::qWait(300);
    EXPECT_EQ(couch.form.List2Index(), released);
    pad->press(Page), pad->press(B);
    EXPECT_TRUE(QTest::qWaitFor([&] { return couch.form.List2Index() > released + 3; }));

    couch.duringWait = [&, waits = 0]() mutable {
        if (waits++ == 0) // else a run started during the run
            pad->press(A), QTest::qWait(100), pad->press(A), pad->set(Down, 1);
    };
    const int before = couch.form.List2Index();
    pad->press(A), QTest::qWait(300), pad->set(Down, 0);
    QDialog other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    pad->press(Down), pad->press(A);
    other.hide();
    EXPECT_EQ(couch.at(before), before);
    EXPECT_EQ(std::count(couch.log.begin(), couch.log.end(), "start run.bat 2") + couch.ended, 1);

    for (int button : {B, A})
        whileModal([&] { couch.form.Form1_mnuoptclear_Click(); },
                   [&](QWidget* box) {
                       pad->press(button);
                       EXPECT_TRUE(QTest::qWaitFor([&] { return !box->isVisible(); }));
                   });
    EXPECT_EQ(std::count(couch.log.begin(), couch.log.end(), "replace config.dat"), 2);
    other.show();
    whileModal([&] { couch.qtBoxes.show("", "Input Error", Buttons::Ok); },
               [&](QWidget* box) {
                   pad->press(A), QTest::qWait(100);
                   EXPECT_TRUE(box->isVisible());
               });

    couch.form.activateWindow();
    Pad second;
    ASSERT_TRUE(QTest::qWaitFor([&] { return couch.controllers.attached() == 2; }));
    pad->set(Down, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return couch.form.List2Index() >= before + 2; }));
    pad.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return couch.controllers.attached() == 1; }));
    const int left = couch.form.List2Index();
    EXPECT_EQ(couch.at(left), left);
    second.press(Down);
    EXPECT_EQ(couch.at(left + 1), left + 1);
}

} // namespace
} // namespace kestrin::testing

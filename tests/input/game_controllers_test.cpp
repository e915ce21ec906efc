// Game controllers on the main window and its message boxes, driven through virtual controllers
// that SDL attaches in this process.
#include "input/game_controllers.h"
#include "platform/qt_message_boxes.h"
#include "tests/support/fake_platform.h"
#include "tests/support/while_modal.h"
#include "ui/main/form1.h"

#include <QtWidgets>
#include <SDL.h>
#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

constexpr int A = SDL_CONTROLLER_BUTTON_A, B = SDL_CONTROLLER_BUTTON_B;
constexpr int Start = SDL_CONTROLLER_BUTTON_START, PageDown = SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
constexpr int Up = SDL_CONTROLLER_BUTTON_DPAD_UP, Down = SDL_CONTROLLER_BUTTON_DPAD_DOWN;

bool until(const std::function<bool()>& done) {
    for (QElapsedTimer clock; !done(); QTest::qWait(5))
        if (!clock.isValid() ? (clock.start(), false) : clock.elapsed() > 3000)
            return false;
    return true;
}

// A controller plugged in; each change reaches SDL's queue at once, as from a device.
struct Pad {
    Pad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        joystick = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    }
    ~Pad() {
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickGetDeviceInstanceID(i) == SDL_JoystickInstanceID(joystick))
                SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(joystick);
    }
    void set(int button, bool down) {
        SDL_JoystickSetVirtualButton(joystick, button, down);
        SDL_PumpEvents();
    }
    void stick(int value) {
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(value));
        SDL_PumpEvents();
    }
    void press(int button) { set(button, true), set(button, false); }
    SDL_Joystick* joystick;
};

// The main window in a folder of 30 games, with real message boxes or recorded ones.
struct Couch : FakePlatform {
    explicit Couch(bool realBoxes = false)
        : form(realBoxes ? static_cast<MessageBoxes&>(qtBoxes) : boxes, *this, *this,
               [this] { ++ended; }) {
        std::string names, listing = "\n\n\n\n\n";
        for (int game = 10; game < 40; ++game) {
            names += "G" + std::to_string(game) + ".bin\r\n";
            listing += "G" + std::to_string(game) + "      BIN\r\n";
        }
        jobs = {{[=, this] { files["games.dat"] = names; }},
                {[=, this] { files["lgames.dat"] = listing; }}};
        QObject::connect(&form, &Form1::gameRunning, &pads, &GameControllers::setGameRunning);
        form.Form1_Form_Load();
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    int at(int expected) {
        until([&] { return form.List2Index() == expected; });
        QTest::qWait(60); // and no further
        return form.List2Index();
    }
    long runs() const {
        return std::count_if(log.begin(), log.end(),
                             [](auto& l) { return l.starts_with("start run"); });
    }
    QtMessageBoxes qtBoxes;
    int ended = 0;
    Form1 form;
    GameControllers pads{&form, form.gameList()};
};

// D-pad and stick move by one, the stick again only after it came back; held, the first repeat
// comes after 0.4 s, then ten a second, and the release ends it. Shoulders page, A and Start
// run the selected game, B does nothing.
TEST(GameControllers, MoveRepeatPageAndRunOnTheMainWindow) {
    Couch couch;
    Pad pad;
    ASSERT_TRUE(until([&] { return couch.pads.attached() == 1; }));
    const std::vector<std::pair<std::function<void()>, int>> steps = {
        {[&] { pad.press(Down); }, 0},  {[&] { pad.press(Down); }, 1},
        {[&] { pad.press(Up); }, 0},    {[&] { pad.stick(20000); }, 1},
        {[&] { pad.stick(14000); }, 1}, {[&] { pad.stick(32767); }, 1},
        {[&] { pad.stick(0); }, 1},     {[&] { pad.stick(-17000); }, 0},
        {[&] { pad.stick(0); }, 0}};
    for (const auto& [step, expected] : steps) {
        step();
        EXPECT_EQ(couch.at(expected), expected);
    }

    QElapsedTimer held;
    pad.set(Down, true);
    held.start();
    QTest::qWait(300);
    EXPECT_EQ(couch.form.List2Index(), 1);
    EXPECT_TRUE(until([&] { return couch.form.List2Index() >= 4; }));
    pad.set(Down, false);
    const int released = couch.form.List2Index();
    EXPECT_LE(released, 2 + (held.elapsed() - 400) / 100);
    QTest::qWait(300);
    EXPECT_EQ(couch.form.List2Index(), released);
    pad.press(PageDown);
    EXPECT_TRUE(until([&] { return couch.form.List2Index() > released + 3; }));

    for (int button : {B, A, Start})
        pad.press(button), QTest::qWait(100);
    EXPECT_EQ(couch.runs(), 2);
    EXPECT_EQ(couch.ended, 0);
    EXPECT_TRUE(couch.boxes.shown.empty());
}

// While a game runs nothing acts, and what was pressed then is dropped once it is over; the same
// while another window is active. The option dialogs take nothing from a controller.
TEST(GameControllers, NothingActsDuringARunOrInAnotherWindowAndThosePressesAreDropped) {
    Couch couch;
    Pad pad;
    ASSERT_TRUE(until([&] { return couch.pads.attached() == 1; }));
    pad.press(Down);
    couch.duringWait = [&, waits = 0]() mutable {
        if (waits++ > 0)
            return; // a run started during the run
        pad.press(A), QTest::qWait(100);
        pad.press(Start), pad.set(Down, true);
    };
    pad.press(A);
    EXPECT_EQ(couch.at(0), 0);
    QTest::qWait(500);
    EXPECT_EQ(couch.runs(), 1);
    EXPECT_EQ(couch.at(0), 0);
    pad.set(Down, false), pad.press(Down);
    EXPECT_EQ(couch.at(1), 1);

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    pad.press(Down), pad.press(A);
    couch.form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&couch.form));
    EXPECT_EQ(couch.at(1), 1);
    whileModal([&] { couch.form.Form1_mnuoptcontrolpad_Click(); },
               [&](QWidget* dialog) {
                   pad.press(A), pad.press(B), QTest::qWait(100);
                   EXPECT_TRUE(dialog->isVisible());
               });
    EXPECT_EQ(couch.runs(), 1);
}

// A answers a message box with OK, B as Esc does (Cancel where there is one); a box over an
// option dialog takes nothing. Controllers come and go; one that goes while held stops repeating.
TEST(GameControllers, AnswerMessageBoxesAndFollowPluggingInAndOut) {
    Couch couch(true);
    auto pad = std::make_unique<Pad>();
    ASSERT_TRUE(until([&] { return couch.pads.attached() == 1; }));
    const auto answeredBy = [&](int button) {
        return [&, button](QWidget* box) {
            pad->press(button);
            EXPECT_TRUE(until([&] { return !box->isVisible(); }));
        };
    };
    EXPECT_EQ(whileModal([&] { pad->press(A), QTest::qWait(300); }, answeredBy(A)), 1);
    for (int button : {B, A})
        EXPECT_EQ(whileModal([&] { couch.form.Form1_mnuoptclear_Click(); }, answeredBy(button)), 1);
    EXPECT_EQ(std::count(couch.log.begin(), couch.log.end(), "replace config.dat"), 1);
    whileModal([&] { couch.form.Form1_mnuoptcontrolpad_Click(); },
               [&](QWidget*) {
                   whileModal([&] { couch.qtBoxes.show("Bad", "Input Error", Buttons::Ok); },
                              [&](QWidget* box) {
                                  pad->press(A), QTest::qWait(100);
                                  EXPECT_TRUE(box->isVisible());
                              });
               });

    couch.form.activateWindow();
    Pad second;
    ASSERT_TRUE(until([&] { return couch.pads.attached() == 2; }));
    second.press(Down);
    EXPECT_EQ(couch.at(0), 0);
    pad->set(Down, true);
    EXPECT_TRUE(until([&] { return couch.form.List2Index() >= 2; }));
    pad.reset();
    ASSERT_TRUE(until([&] { return couch.pads.attached() == 1; }));
    const int left = couch.form.List2Index();
    EXPECT_EQ(couch.at(left), left);
    QTest::qWait(300);
    second.press(Down);
    EXPECT_EQ(couch.at(left + 1), left + 1);
}

} // namespace
} // namespace kestrin::testing

#include "input/game_controllers.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

#include <SDL.h>

namespace kestrin {

namespace {

// A press is seen within this while a controller can act; otherwise the queue is only emptied
// and the controllers counted now and then, which costs next to nothing.
constexpr int actingPollMs = 30;
constexpr int restingPollMs = 1000;
constexpr int firstRepeatMs = 400;
constexpr int repeatMs = 100;
// The stick moves the selection once pushed past half-way, and again only after it came back
// a little: a stick resting near the line does not flicker.
constexpr int stickPushed = 16384;
constexpr int stickBack = 12000;

} // namespace

GameControllers::GameControllers(QWidget* mainWindow, QWidget* gameList)
    : mainWindow_(mainWindow), gameList_(gameList) {
    // Qt owns the windows, the signals and the focus: SDL starts no video, installs no signal
    // handler, and reports the controllers whatever window is in front; this class decides.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started_)
        return;
    connect(&poll_, &QTimer::timeout, this, &GameControllers::poll);
    repeat_.setSingleShot(true);
    repeat_.setTimerType(Qt::PreciseTimer);
    connect(&repeat_, &QTimer::timeout, this, &GameControllers::repeat);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &GameControllers::retarget);
    // The controllers present now announce themselves as if plugged in.
    poll();
    updatePolling();
}

GameControllers::~GameControllers() {
    if (!started_)
        return;
    for (auto& [id, pad] : pads_)
        SDL_GameControllerClose(pad.handle);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void GameControllers::setGameRunning(bool running) {
    gameRunning_ = running;
    retarget();
}

GameControllers::Target GameControllers::currentTarget() const {
    QWidget* active = QApplication::activeWindow();
    if (gameRunning_ || active == nullptr || QApplication::activePopupWidget() != nullptr)
        return Target::None;
    if (active == mainWindow_)
        return QApplication::activeModalWidget() == nullptr ? Target::MainWindow : Target::None;
    if (qobject_cast<QMessageBox*>(active) == nullptr ||
        QApplication::activeModalWidget() != active)
        return Target::None;
    // A message box of an option dialog or the About box belongs to that window.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && qobject_cast<QDialog*>(window) &&
            !qobject_cast<QMessageBox*>(window))
            return Target::None;
    return Target::MessageBox;
}

void GameControllers::retarget() {
    const Target now = currentTarget();
    if (!started_ || now == target_ || dropping_)
        return;
    // What was pressed while nothing could act is dropped, never acted on afterwards.
    if (target_ == Target::None) {
        dropping_ = true;
        drain();
        dropping_ = false;
    }
    target_ = now;
    stopRepeat();
    updatePolling();
}

GameControllers::Target GameControllers::actingOn() {
    if (dropping_)
        return Target::None;
    // A press that arrives while the windows change is dropped with them.
    if (currentTarget() != target_) {
        retarget();
        return Target::None;
    }
    return target_;
}

void GameControllers::updatePolling() {
    const bool acting = !pads_.empty() && target_ != Target::None;
    poll_.start(acting ? actingPollMs : restingPollMs);
}

void GameControllers::poll() {
    retarget();
    drain();
}

void GameControllers::drain() {
    SDL_PumpEvents();
    SDL_Event event;
    // An action may open a window with its own event loop, in which this runs again; each
    // event is taken from the queue before it is acted on.
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1)
        handle(event);
}

void GameControllers::handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* handle = SDL_GameControllerOpen(event.cdevice.which)) {
            const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(handle));
            // A controller announced twice is opened once; SDL counts the second opening.
            // A stick held while it is plugged in has not been pushed.
            const int zone =
                stickZone(SDL_GameControllerGetAxis(handle, SDL_CONTROLLER_AXIS_LEFTY), 0);
            if (!pads_.emplace(id, Pad{handle, zone}).second)
                SDL_GameControllerClose(handle);
            updatePolling();
        }
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (const auto found = pads_.find(event.cdevice.which); found != pads_.end()) {
            SDL_GameControllerClose(found->second.handle);
            pads_.erase(found);
            stopRepeat(event.cdevice.which);
            updatePolling();
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        button(event.cbutton.which, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            stick(event.caxis.which, event.caxis.value);
        break;
    default:
        break;
    }
}

void GameControllers::button(int pad, int button, bool down) {
    if (!down) {
        if (button == SDL_CONTROLLER_BUTTON_DPAD_UP)
            stopRepeat(pad, Source::DpadUp);
        else if (button == SDL_CONTROLLER_BUTTON_DPAD_DOWN)
            stopRepeat(pad, Source::DpadDown);
        return;
    }
    const Target target = actingOn();
    if (target == Target::MessageBox) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeWindow());
        if (button == SDL_CONTROLLER_BUTTON_A && box && box->defaultButton())
            box->defaultButton()->click();
        else if (button == SDL_CONTROLLER_BUTTON_B && box)
            sendKey(box, Qt::Key_Escape);
        return;
    }
    if (target != Target::MainWindow)
        return;
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return move(Qt::Key_Up, pad, Source::DpadUp);
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return move(Qt::Key_Down, pad, Source::DpadDown);
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return move(Qt::Key_PageUp, pad, Source::None);
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return move(Qt::Key_PageDown, pad, Source::None);
    case SDL_CONTROLLER_BUTTON_A:
    case SDL_CONTROLLER_BUTTON_START:
        // Enter on the main window: its key handler runs Run Game, whichever control has the
        // focus. B does nothing there, so that no press ends the program by accident.
        return sendKey(mainWindow_, Qt::Key_Return);
    default:
        return;
    }
}

int GameControllers::stickZone(int value, int was) {
    if (value <= -stickPushed)
        return -1;
    if (value >= stickPushed)
        return 1;
    return value > -stickBack && value < stickBack ? 0 : was;
}

void GameControllers::stick(int pad, int value) {
    const auto found = pads_.find(pad);
    if (found == pads_.end())
        return;
    const int was = found->second.stickZone;
    const int zone = stickZone(value, was);
    found->second.stickZone = zone;
    if (zone == was)
        return;
    stopRepeat(pad, Source::Stick);
    if (zone != 0 && actingOn() == Target::MainWindow)
        move(zone < 0 ? Qt::Key_Up : Qt::Key_Down, pad, Source::Stick);
}

void GameControllers::move(int key, int pad, Source source) {
    // As the arrow keys move the selection of the focused game list.
    gameList_->setFocus(Qt::OtherFocusReason);
    sendKey(gameList_, key);
    if (source == Source::None)
        return;
    repeatKey_ = key;
    repeatPad_ = pad;
    repeatSource_ = source;
    repeat_.start(firstRepeatMs);
}

void GameControllers::repeat() {
    // A release still in SDL's queue ends the repeat before it moves once more.
    poll();
    if (repeatSource_ == Source::None || actingOn() != Target::MainWindow)
        return;
    sendKey(gameList_, repeatKey_);
    repeat_.start(repeatMs);
}

void GameControllers::stopRepeat(int pad, Source source) {
    if (pad >= 0 && (pad != repeatPad_ || (source != Source::None && source != repeatSource_)))
        return;
    repeat_.stop();
    repeatSource_ = Source::None;
}

void GameControllers::sendKey(QWidget* receiver, int key) {
    // The focused control of the receiver's window gets the key first, as from the keyboard.
    if (QWidget* focused = QApplication::focusWidget(); focused && focused->window() == receiver)
        receiver = focused;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &release);
}

} // namespace kestrin

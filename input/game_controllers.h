// Game controllers as one more keyboard: SDL's game controller support (any number of pads, its
// own mapping database, plugged in and out at any time) turned into the keys that the main
// window and its message boxes already handle, so that no handler knows about controllers.
#pragma once

#include <QObject>
#include <QTimer>

#include <map>

class QWidget;
struct _SDL_GameController;
union SDL_Event;

namespace kestrin {

class GameControllers final : public QObject {
    Q_OBJECT

public:
    // Starts SDL's controller support; when that fails the object does nothing at all. The
    // controllers act while `mainWindow` or a message box over it is the active window: the
    // moves go to `gameList`, Enter to the window's focused control.
    GameControllers(QWidget* mainWindow, QWidget* gameList);
    ~GameControllers() override;
    GameControllers(const GameControllers&) = delete;
    GameControllers& operator=(const GameControllers&) = delete;

    bool started() const { return started_; }
    int attached() const { return static_cast<int>(pads_.size()); }

public slots:
    // While a game runs, the emulator owns the controllers: nothing acts, and what is pressed
    // meanwhile is dropped.
    void setGameRunning(bool running);

private:
    enum class Target { None, MainWindow, MessageBox };
    // What repeats while held: a button of the D-pad or the left stick of one controller.
    enum class Source { None, DpadUp, DpadDown, Stick };
    struct Pad {
        _SDL_GameController* handle = nullptr;
        int stickZone = 0; // -1 up, 0 inside the half-way line, 1 down
    };

    Target currentTarget() const;
    void retarget();
    Target actingOn();
    void poll();
    void drain();
    void handle(const SDL_Event& event);
    void button(int pad, int button, bool down);
    static int stickZone(int value, int was);
    void stick(int pad, int value);
    void move(int key, int pad, Source source);
    void repeat();
    void stopRepeat(int pad = -1, Source source = Source::None);
    void sendKey(QWidget* receiver, int key);
    void updatePolling();

    QWidget* mainWindow_;
    QWidget* gameList_;
    bool started_ = false;
    bool gameRunning_ = false;
    bool dropping_ = false;
    Target target_ = Target::None;
    std::map<int, Pad> pads_; // by SDL's instance id
    QTimer poll_;
    QTimer repeat_;
    int repeatKey_ = 0;
    int repeatPad_ = -1;
    Source repeatSource_ = Source::None;
};

} // namespace kestrin

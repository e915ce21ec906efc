// Form1, the launcher's main window: the game list, "Run &Game" and "E&xit", the logo and the
// menu bar whose check marks hold most of the settings. Its load handler runs the whole start-up.
#pragma once

#include "catalogue/game_catalogue.h"
#include "core/guarded_files.h"
#include "core/holders.h"
#include "core/ports.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QListView;
class QMenu;
class QPushButton;

namespace kestrin {

class Form5;
class GameListModel;
class frmSplash;
class OptionDialogs;

class Form1 : public QMainWindow {
    Q_OBJECT

public:
    // The launcher as installed: files of the working folder, real message boxes, and batch
    // jobs run by the interpreter beside the application. Ending the program leaves the process.
    Form1();
    // The same window on other ports; `endProgram` is called wherever the program ends.
    Form1(MessageBoxes& boxes, Jobs& jobs, Files& files, std::function<void()> endProgram);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Start-up: splash, game scan, settings restore. Runs before the window is shown.
    void Form1_Form_Load();

    // Buttons, list and the ways to end the program.
    void Form1_Command1_Click();
    void Form1_Command2_Click();
    void Form1_mnufileexit_Click();
    void Form1_Form_Unload();
    void Form1_List1_Click();
    void Form1_mnuhelpAbout_Click();
    // Hotkeys of the window; true when the key was one of them.
    bool Form1_Form_KeyDown(int key);

    // Check-mark commands: each toggles its own mark once, then applies its further effects.
    void Form1_mnuoptjoykbd_Click();
    void Form1_mnuoptjoyrev_Click();
    void Form1_mnuoptcontroldrive_Click();
    void Form1_mnuoptsoundpc_Click();
    void Form1_mnuoptsounddiag_Click();
    void Form1_mnuoptsound15700_Click();
    void Form1_mnuoptsoundhi_Click();
    void Form1_mnuoptsoundlow_Click();
    void Form1_mnuoptsoundquiet_Click();
    void Form1_mnupcheck_Click();

    // Dialog commands and Clear All.
    void Form1_mnuoptcontrolpad_Click();
    void Form1_mnuoptlight_Click();
    void Form1_mnuoptcontrolkbdemu_Click();
    void Form1_mnuoptvid_Click();
    void Form1_mnuoptperform_Click();
    void Form1_mnuoptclear_Click();

    // The settings' holders as the core layer sees them: this window's marks and the dialogs.
    Holders& holders();
    OptionDialogs& optionDialogs();
    QAction* menuItem(MenuMark item) const;

    // The short names beside the game list and the index that follows List1's selection.
    const PackedLines& List2() const { return list2_; }
    int List2Index() const { return list2Index_; }

    // The game list, which the arrow keys move through.
    QListView* gameList() const { return List1; }

    frmSplash& splash() { return *splash_; }
    // The About box, or null before its first opening.
    Form5* aboutBox() const { return form5_.get(); }

signals:
    // Run Game waits for the game it started (running) and is back (not running).
    void gameRunning(bool running);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct OwnedPorts;
    class MainHolders;
    class SelectedGame;
    class RunWaits;

    explicit Form1(std::unique_ptr<OwnedPorts>&& ports);
    Form1(std::unique_ptr<OwnedPorts>&& ports, MessageBoxes& boxes, Jobs& jobs, Files& files,
          std::function<void()> endProgram);

    void buildControls();
    void buildMenus();
    void watchKeysOfAllControls();
    QAction* addMarkItem(QMenu* menu, MenuMark item, const char* name, const char* caption,
                         void (Form1::*handler)());
    QAction* addCommandItem(QMenu* menu, const char* name, const char* caption,
                            void (Form1::*handler)());
    void toggle(MenuMark item);
    void clearMark(MenuMark item);
    bool isMarked(MenuMark item) const;
    int List1Index() const;
    void endProgram();

    // Declared first: the references below may point into it.
    std::unique_ptr<OwnedPorts> ownedPorts_;
    MessageBoxes& boxes_;
    Jobs& jobs_;
    // A config.dat that could not be read at start-up is never saved over.
    GuardedFiles files_;
    std::function<void()> endProgram_;

    std::unique_ptr<OptionDialogs> dialogs_;
    std::unique_ptr<MainHolders> holders_;
    std::unique_ptr<frmSplash> splash_;
    std::unique_ptr<Form5> form5_;

    QGroupBox* Frame1 = nullptr;
    QListView* List1 = nullptr;
    GameListModel* List1Items = nullptr; // the game list's entries
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QLabel* Image1 = nullptr;
    std::array<QAction*, 10> marks_{};

    PackedLines list2_;
    int list2Index_ = -1;
    int runWaits_ = 0; // Run Game's waits in progress; a second run may start during a pause
};

} // namespace kestrin

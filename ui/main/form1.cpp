#include "ui/main/form1.h"

#include "catalogue/game_catalogue.h"
#include "core/clear_all.h"
#include "core/run_game.h"
#include "core/settings_file.h"
#include "platform/disk_files.h"
#include "platform/process_jobs.h"
#include "ui/common/desktop_window.h"
#include "ui/common/qt_message_boxes.h"
#include "ui/dialogs/option_dialogs.h"
#include "ui/main/form5.h"
#include "ui/main/frm_splash.h"
#include "ui/main/game_list_model.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <exception>

// The logo lives in this library's resource file; a static library must register it
// explicitly, from outside any namespace.
static void registerMainWindowResources() {
    Q_INIT_RESOURCE(main_window);
}

namespace kestrin {

// The platform adapters of the installed launcher, owned by the window that uses them.
struct Form1::OwnedPorts {
    DiskFiles files;
    QtMessageBoxes boxes;
    ProcessJobs jobs{boxes, ProcessJobs::interpreterBesideApplication()};
};

// The settings' holders: this window's check marks, and every dialog control through the
// dialogs' own access point so that their reactions run.
class Form1::MainHolders final : public Holders {
public:
    explicit MainHolders(Form1& form) : form_(form) {}

    bool mark(MenuMark item) const override { return form_.isMarked(item); }
    void setMark(MenuMark item, bool checked) override {
        form_.menuItem(item)->setChecked(checked);
    }
    void performMenuCommand(MenuMark item) override {
        switch (item) {
        case MenuMark::mnuoptjoykbd:
            return form_.Form1_mnuoptjoykbd_Click();
        case MenuMark::mnuoptjoyrev:
            return form_.Form1_mnuoptjoyrev_Click();
        case MenuMark::mnuoptcontroldrive:
            return form_.Form1_mnuoptcontroldrive_Click();
        case MenuMark::mnuoptsoundpc:
            return form_.Form1_mnuoptsoundpc_Click();
        case MenuMark::mnuoptsounddiag:
            return form_.Form1_mnuoptsounddiag_Click();
        case MenuMark::mnuoptsound15700:
            return form_.Form1_mnuoptsound15700_Click();
        case MenuMark::mnuoptsoundhi:
            return form_.Form1_mnuoptsoundhi_Click();
        case MenuMark::mnuoptsoundlow:
            return form_.Form1_mnuoptsoundlow_Click();
        case MenuMark::mnuoptsoundquiet:
            return form_.Form1_mnuoptsoundquiet_Click();
        case MenuMark::mnupcheck:
            return form_.Form1_mnupcheck_Click();
        }
    }

    int check(CheckBox box) const override { return form_.dialogs_->check(box); }
    bool enabled(CheckBox box) const override { return form_.dialogs_->enabled(box); }
    void setCheck(CheckBox box, int value) override { form_.dialogs_->setCheck(box, value); }
    std::string text(TextBox box) const override { return form_.dialogs_->text(box); }
    void setText(TextBox box, const std::string& text) override {
        form_.dialogs_->setText(box, text);
    }
    int selected(OptionGroup group) const override { return form_.dialogs_->selected(group); }
    void select(OptionGroup group, int index) override { form_.dialogs_->select(group, index); }

private:
    Form1& form_;
};

// The game Run Game starts: List1's selected entry and List2's entry at the same index.
class Form1::SelectedGame final : public GameList {
public:
    explicit SelectedGame(const Form1& form) : form_(form) {}

    int selectedIndex() const override { return form_.List1Index(); }
    std::string displayName() const override {
        const int index = form_.List1Index();
        return index < 0 ? std::string() : std::string(form_.List1Items->name(index));
    }
    std::string shortName() const override {
        const int index = form_.list2Index_;
        return index < 0 ? std::string()
                         : std::string(form_.list2_[static_cast<std::size_t>(index)]);
    }

private:
    const Form1& form_;
};

// Run Game's jobs: the window's own, with its waits for the game announced by `gameRunning`.
class Form1::RunWaits final : public Jobs {
public:
    explicit RunWaits(Form1& form) : form_(form) {}

    std::optional<TaskId> start(const std::string& batchFile, WindowStyle style,
                                bool reportErrors) override {
        return form_.jobs_.start(batchFile, style, reportErrors);
    }
    std::optional<std::string> waitUntilEnded(TaskId task) override {
        Waiting waiting(form_);
        return form_.jobs_.waitUntilEnded(task);
    }
    void waitForUserReturn(TaskId task) override {
        Waiting waiting(form_);
        form_.jobs_.waitForUserReturn(task);
    }
    void pause(double seconds) override {
        Waiting waiting(form_);
        form_.jobs_.pause(seconds);
    }

private:
    struct Waiting {
        explicit Waiting(Form1& form) : form(form) {
            if (form.runWaits_++ == 0)
                emit form.gameRunning(true);
        }
        ~Waiting() {
            if (--form.runWaits_ == 0)
                emit form.gameRunning(false);
        }
        Waiting(const Waiting&) = delete;
        Waiting& operator=(const Waiting&) = delete;
        Form1& form;
    };

    Form1& form_;
};

namespace {

// The game list. Qt makes the first row current, unselected, when the list gains the focus
// without a selection; the first Up or Down then selects that row instead of skipping it.
class GameListView final : public QListView {
public:
    using QListView::QListView;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QModelIndex current = currentIndex();
        const bool stepping = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
        if (stepping && current.isValid() && !selectionModel()->isSelected(current)) {
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
            event->accept();
            return;
        }
        QListView::keyPressEvent(event);
    }
};

std::size_t slot(MenuMark item) {
    return static_cast<std::size_t>(item);
}

// Start-up reports nothing: an operation that fails is skipped and the next one runs.
template <typename Step> void skippingFailure(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

} // namespace

Form1::Form1() : Form1(std::make_unique<OwnedPorts>()) {}

Form1::Form1(std::unique_ptr<OwnedPorts>&& ports)
    : Form1(std::move(ports), ports->boxes, ports->jobs, ports->files, [] {
          // Nothing is saved and no further handler runs: the process ends here.
          std::fflush(nullptr);
          std::_Exit(EXIT_SUCCESS);
      }) {}

Form1::Form1(MessageBoxes& boxes, Jobs& jobs, Files& files, std::function<void()> endProgram)
    : Form1(nullptr, boxes, jobs, files, std::move(endProgram)) {}

Form1::Form1(std::unique_ptr<OwnedPorts>&& ports, MessageBoxes& boxes, Jobs& jobs, Files& files,
             std::function<void()> endProgram)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      ownedPorts_(std::move(ports)), boxes_(boxes), jobs_(jobs), files_(files),
      endProgram_(std::move(endProgram)) {
    registerMainWindowResources();
    dialogs_ = std::make_unique<OptionDialogs>(boxes_,
                                               [this] { clearMark(MenuMark::mnuoptcontroldrive); });
    holders_ = std::make_unique<MainHolders>(*this);
    splash_ = std::make_unique<frmSplash>();

    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kestrin v1.1"));
    buildControls();
    buildMenus();
    // The window is as large as the menu bar and the client area, and cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    watchKeysOfAllControls();
    markFocusWhenShown(this);
}

Form1::~Form1() = default;

void Form1::buildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(429, 322);
    setCentralWidget(client);

    Frame1 = new QGroupBox(QStringLiteral("Games"), client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(16, 8, 257, 273);

    // A model over the scan's packed names: no item object or string object per game.
    List1Items = new GameListModel(this);
    List1 = new GameListView(Frame1);
    List1->setModel(List1Items);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("Games")); // a list takes no name from its frame
    List1->setGeometry(8, 24, 241, 238);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row has the same height, so thousands of games are laid out without measuring each.
    // Laying out a million rows still takes a tenth of a second: the first screenful and more
    // come with the window, the rest in steps of the event loop right after it, so the window
    // does not wait for rows nobody sees yet.
    List1->setUniformItemSizes(true);
    List1->setLayoutMode(QListView::Batched);
    List1->setBatchSize(10000);
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Form1_List1_Click(); });

    Command1 = new QPushButton(QStringLiteral("Run &Game"), client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(296, 152, 97, 49);
    connect(Command1, &QPushButton::clicked, this, [this] { Form1_Command1_Click(); });

    Command2 = new QPushButton(QStringLiteral("E&xit"), client);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(296, 224, 97, 49);
    connect(Command2, &QPushButton::clicked, this, [this] { Form1_Command2_Click(); });

    // Enter and Esc belong to the window's key handler, never to a default button.
    for (QPushButton* button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Kestrin logo")); // a picture has no caption
    Image1->setGeometry(280, 24, 134, 107);
    // Drawn for the screen's scale: the 1x picture, or the 2x one, scaled down in between.
    QIcon logo;
    logo.addFile(QStringLiteral(":/kestrin/logo.png"));
    logo.addFile(QStringLiteral(":/kestrin/logo@2x.png"));
    Image1->setPixmap(logo.pixmap(QSize(134, 107), devicePixelRatio()));
    // At its natural size; in a window grown for a larger font it stays centred in its place.
    Image1->setAlignment(Qt::AlignCenter);

    setTabOrder(Command1, Command2);
    setTabOrder(Command2, List1);
    growWithFont(client);
}

QAction* Form1::addMarkItem(QMenu* menu, MenuMark item, const char* name, const char* caption,
                            void (Form1::*handler)()) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    action->setChecked(false);
    // A checkable action has already toggled itself when `triggered` arrives; the command owns
    // its toggle, so the action's own one is undone first and the command toggles exactly once.
    connect(action, &QAction::triggered, this, [this, action, handler](bool checkedByQt) {
        action->setChecked(!checkedByQt);
        (this->*handler)();
    });
    marks_[slot(item)] = action;
    return action;
}

QAction* Form1::addCommandItem(QMenu* menu, const char* name, const char* caption,
                               void (Form1::*handler)()) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
}

void Form1::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menubar"));
    bar->setNativeMenuBar(false);

    auto submenu = [](QWidget* parent, const char* name, const char* caption) {
        QMenu* menu = nullptr;
        if (auto* menuBar = qobject_cast<QMenuBar*>(parent))
            menu = menuBar->addMenu(QString::fromUtf8(caption));
        else
            menu = static_cast<QMenu*>(parent)->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };

    QMenu* mnufile = submenu(bar, "mnufile", "&File");
    addCommandItem(mnufile, "mnufileexit", "E&xit", &Form1::Form1_mnufileexit_Click);

    QMenu* mnuopt = submenu(bar, "mnuopt", "&Options");
    QMenu* mnuoptcontrol = submenu(mnuopt, "mnuoptcontrol", "&Control");
    QMenu* mnuoptcontroljoy = submenu(mnuoptcontrol, "mnuoptcontroljoy", "&Joystick");
    addMarkItem(mnuoptcontroljoy, MenuMark::mnuoptjoykbd, "mnuoptjoykbd", "&Keyboard Only",
                &Form1::Form1_mnuoptjoykbd_Click);
    addMarkItem(mnuoptcontroljoy, MenuMark::mnuoptjoyrev, "mnuoptjoyrev", "&Reverse Joystick",
                &Form1::Form1_mnuoptjoyrev_Click);
    addCommandItem(mnuoptcontrol, "mnuoptcontrolpad", "&Paddle (F7)",
                   &Form1::Form1_mnuoptcontrolpad_Click);
    addCommandItem(mnuoptcontrol, "mnuoptlight", "&Lightgun (F8)", &Form1::Form1_mnuoptlight_Click);
    addCommandItem(mnuoptcontrol, "mnuoptcontrolkbdemu", "&Keyboard Emulation (F9)",
                   &Form1::Form1_mnuoptcontrolkbdemu_Click);
    addMarkItem(mnuoptcontrol, MenuMark::mnuoptcontroldrive, "mnuoptcontroldrive",
                "&Driving Controller", &Form1::Form1_mnuoptcontroldrive_Click);

    QMenu* mnuoptsound = submenu(mnuopt, "mnuoptsound", "&Sound");
    addMarkItem(mnuoptsound, MenuMark::mnuoptsoundpc, "mnuoptsoundpc", "PC Spe&aker",
                &Form1::Form1_mnuoptsoundpc_Click);
    addMarkItem(mnuoptsound, MenuMark::mnuoptsounddiag, "mnuoptsounddiag", "Show &Diagnostics",
                &Form1::Form1_mnuoptsounddiag_Click);
    addMarkItem(mnuoptsound, MenuMark::mnuoptsound15700, "mnuoptsound15700",
                "Force 15700 sample rate", &Form1::Form1_mnuoptsound15700_Click);
    QMenu* mnuoptsounddsp = submenu(mnuoptsound, "mnuoptsounddsp", "DSP Settings");
    addMarkItem(mnuoptsounddsp, MenuMark::mnuoptsoundhi, "mnuoptsoundhi", "&High",
                &Form1::Form1_mnuoptsoundhi_Click);
    addMarkItem(mnuoptsounddsp, MenuMark::mnuoptsoundlow, "mnuoptsoundlow", "&Low",
                &Form1::Form1_mnuoptsoundlow_Click);
    addMarkItem(mnuoptsound, MenuMark::mnuoptsoundquiet, "mnuoptsoundquiet", "&Quiet",
                &Form1::Form1_mnuoptsoundquiet_Click);

    QMenu* mnuoptmisc = submenu(mnuopt, "mnuoptmisc", "&Misc");
    addMarkItem(mnuoptmisc, MenuMark::mnupcheck, "mnupcheck", "Print Chec&ksum",
                &Form1::Form1_mnupcheck_Click);

    addCommandItem(mnuopt, "mnuoptvid", "&Video (F5)", &Form1::Form1_mnuoptvid_Click);
    addCommandItem(mnuopt, "mnuoptperform", "Per&formance (F6)", &Form1::Form1_mnuoptperform_Click);
    addCommandItem(mnuopt, "mnuoptclear", "C&lear All (F10)", &Form1::Form1_mnuoptclear_Click);

    QMenu* mnuhelp = submenu(bar, "mnuhelp", "&Help");
    addCommandItem(mnuhelp, "mnuhelpAbout", "&About (F1)", &Form1::Form1_mnuhelpAbout_Click);
}

void Form1::watchKeysOfAllControls() {
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Start-up

void Form1::Form1_Form_Load() {
    // Key preview: the filter installed at construction sees every key of this window first.
    skippingFailure([&] {
        splash_->show();
        splash_->activateWindow();
        splash_->repaint();
        QCoreApplication::processEvents();
    });

    GameCatalogue catalogue;
    skippingFailure([&] { catalogue = scanGames(files_, jobs_); });
    // A save killed before its rename left its temporary file; start-up clears it away, beside
    // the rest of the start-up, and before any save of this run.
    skippingFailure([&] {
        files_.removeLeftovers({settingsFileName, runBatchFileName, scanBatchFile});
    });
    skippingFailure([&] {
        // One batch: the view lays the rows out once, not once per game.
        List1Items->setNames(std::move(catalogue.displayNames));
        list2_ = std::move(catalogue.shortNames);
        list2Index_ = -1;
    });

    std::optional<std::string> unreadSettings;
    skippingFailure([&] { unreadSettings = restoreSettings(files_, *holders_); });
    skippingFailure([&] { splash_->hide(); });
    if (unreadSettings)
        boxes_.show(std::string("Could not read ") + settingsFileName + ": " + *unreadSettings +
                        ". Kestrin starts with the options cleared and leaves it as it is.",
                    "Kestrin", Buttons::Ok);
    // An empty list must not pass for a folder without games.
    if (!catalogue.problem.empty())
        boxes_.show("No games could be listed: " + catalogue.problem + ".", "Kestrin", Buttons::Ok);
    else if (catalogue.notListed > 0)
        boxes_.show(std::to_string(catalogue.notListed) +
                        (catalogue.notListed == 1 ? " game" : " games") +
                        " could not be listed: the game list holds at most " +
                        std::to_string(maxListedGames) + ".",
                    "Kestrin", Buttons::Ok);

    List1->selectionModel()->clear();
    Command1->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Buttons, list, ending the program

void Form1::Form1_Command1_Click() {
    SelectedGame game(*this);
    RunWaits jobs(*this);
    runGame(*holders_, game, files_, jobs, boxes_);
}

void Form1::Form1_Command2_Click() {
    endProgram();
}

void Form1::Form1_mnufileexit_Click() {
    endProgram();
}

void Form1::Form1_Form_Unload() {
    endProgram();
}

void Form1::endProgram() {
    endProgram_();
}

void Form1::closeEvent(QCloseEvent* event) {
    Form1_Form_Unload();
    event->accept();
}

int Form1::List1Index() const {
    const QModelIndexList chosen = List1->selectionModel()->selectedRows();
    return chosen.isEmpty() ? -1 : chosen.front().row();
}

void Form1::Form1_List1_Click() {
    // List2 follows List1's index; when the listings disagree and List2 has no entry there, it
    // is left without a current entry rather than pointing past its end.
    const int index = List1Index();
    list2Index_ = index >= 0 && static_cast<std::size_t>(index) < list2_.size() ? index : -1;
}

void Form1::Form1_mnuhelpAbout_Click() {
    if (!form5_)
        form5_ = std::make_unique<Form5>();
    form5_->showModal();
}

// ---------------------------------------------------------------------------------------------
// Hotkeys

bool Form1::Form1_Form_KeyDown(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Form1_Command1_Click();
        return true;
    case Qt::Key_F9:
        Form1_mnuoptcontrolkbdemu_Click();
        return true;
    case Qt::Key_F8:
        Form1_mnuoptlight_Click();
        return true;
    case Qt::Key_F7:
        Form1_mnuoptcontrolpad_Click();
        return true;
    case Qt::Key_F6:
        Form1_mnuoptperform_Click();
        return true;
    case Qt::Key_F5:
        Form1_mnuoptvid_Click();
        return true;
    case Qt::Key_F1:
        Form1_mnuhelpAbout_Click();
        return true;
    case Qt::Key_F10:
        Form1_mnuoptclear_Click();
        return true;
    case Qt::Key_Escape:
        endProgram();
        return true;
    default:
        return false;
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        // A key that the focused control ignores travels on to its parents, each watched too;
        // only its first receiver acts, so that one key press runs one action.
        QWidget* firstReceiver = QApplication::focusWidget();
        if (firstReceiver == nullptr || firstReceiver->window() != this)
            firstReceiver = this;
        const bool windowTakesKeys = isActiveWindow() &&
                                     QApplication::activeModalWidget() == nullptr &&
                                     QApplication::activePopupWidget() == nullptr;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (watched == firstReceiver && windowTakesKeys)
            Form1_Form_KeyDown(key);
        // The key goes on to the control as well, except Enter to a button: some desktop themes
        // let Enter press the focused button, which would then run its own action on release,
        // a second one for the same key (Run Game twice, or Exit after Run Game).
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && qobject_cast<QPushButton*>(watched) != nullptr)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Options menu: check marks

QAction* Form1::menuItem(MenuMark item) const {
    return marks_[slot(item)];
}

bool Form1::isMarked(MenuMark item) const {
    return menuItem(item)->isChecked();
}

void Form1::toggle(MenuMark item) {
    menuItem(item)->setChecked(!isMarked(item));
}

void Form1::clearMark(MenuMark item) {
    menuItem(item)->setChecked(false);
}

void Form1::Form1_mnuoptjoykbd_Click() {
    toggle(MenuMark::mnuoptjoykbd);
    clearMark(MenuMark::mnuoptjoyrev);
}

void Form1::Form1_mnuoptjoyrev_Click() {
    toggle(MenuMark::mnuoptjoyrev);
    clearMark(MenuMark::mnuoptjoykbd);
}

void Form1::Form1_mnuoptcontroldrive_Click() {
    toggle(MenuMark::mnuoptcontroldrive);
    if (isMarked(MenuMark::mnuoptcontroldrive)) {
        dialogs_->setCheck(CheckBox::Form2_Check1, 0);
        dialogs_->setCheck(CheckBox::Form6_Check1, 0);
        dialogs_->setCheck(CheckBox::Form7_Check1, 0);
    }
}

void Form1::Form1_mnuoptsoundpc_Click() {
    toggle(MenuMark::mnuoptsoundpc);
    clearMark(MenuMark::mnuoptsounddiag);
    clearMark(MenuMark::mnuoptsound15700);
    clearMark(MenuMark::mnuoptsoundhi);
    clearMark(MenuMark::mnuoptsoundlow);
}

void Form1::Form1_mnuoptsounddiag_Click() {
    toggle(MenuMark::mnuoptsounddiag);
}

void Form1::Form1_mnuoptsound15700_Click() {
    toggle(MenuMark::mnuoptsound15700);
    clearMark(MenuMark::mnuoptsoundpc);
}

void Form1::Form1_mnuoptsoundhi_Click() {
    toggle(MenuMark::mnuoptsoundhi);
    if (isMarked(MenuMark::mnuoptsoundhi))
        clearMark(MenuMark::mnuoptsoundlow);
    clearMark(MenuMark::mnuoptsoundpc);
}

void Form1::Form1_mnuoptsoundlow_Click() {
    toggle(MenuMark::mnuoptsoundlow);
    if (isMarked(MenuMark::mnuoptsoundlow))
        clearMark(MenuMark::mnuoptsoundhi);
    clearMark(MenuMark::mnuoptsoundpc);
}

void Form1::Form1_mnuoptsoundquiet_Click() {
    toggle(MenuMark::mnuoptsoundquiet);
}

void Form1::Form1_mnupcheck_Click() {
    toggle(MenuMark::mnupcheck);
}

// ---------------------------------------------------------------------------------------------
// Options menu: dialogs and Clear All

void Form1::Form1_mnuoptcontrolpad_Click() {
    dialogs_->showModal(Dialog::Form2);
}

void Form1::Form1_mnuoptlight_Click() {
    dialogs_->showModal(Dialog::Form6);
}

void Form1::Form1_mnuoptcontrolkbdemu_Click() {
    dialogs_->showModal(Dialog::Form7);
}

void Form1::Form1_mnuoptvid_Click() {
    dialogs_->showModal(Dialog::Form3);
}

void Form1::Form1_mnuoptperform_Click() {
    dialogs_->showModal(Dialog::Form4);
}

void Form1::Form1_mnuoptclear_Click() {
    clearAll(*holders_, files_, boxes_);
}

Holders& Form1::holders() {
    return *holders_;
}

OptionDialogs& Form1::optionDialogs() {
    return *dialogs_;
}

} // namespace kestrin

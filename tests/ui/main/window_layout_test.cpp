// The main window as built: its menu tree, controls, geometry and focus order.
#include "tests/ui/main/launcher_fakes.h"

#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kestrin::testing {
namespace {

struct MenuEntry {
    int depth;
    std::string name;
    std::string caption;
    bool checkable;
};

// Walks a menu depth first, the way it unfolds on screen.
void collect(const QList<QAction*>& actions, int depth, std::vector<MenuEntry>& out) {
    for (QAction* action : actions) {
        out.push_back({depth, action->objectName().toStdString(), action->text().toStdString(),
                       action->isCheckable()});
        if (QMenu* sub = action->menu())
            collect(sub->actions(), depth + 1, out);
    }
}

TEST(MainWindowMenu, TreeHasExactCaptionsNamesAndNesting) {
    Launcher launcher;
    std::vector<MenuEntry> entries;
    collect(launcher.window().menuBar()->actions(), 0, entries);

    const std::vector<MenuEntry> expected = {
        {0, "mnufile", "&File", false},
        {1, "mnufileexit", "E&xit", false},
        {0, "mnuopt", "&Options", false},
        {1, "mnuoptcontrol", "&Control", false},
        {2, "mnuoptcontroljoy", "&Joystick", false},
        {3, "mnuoptjoykbd", "&Keyboard Only", true},
        {3, "mnuoptjoyrev", "&Reverse Joystick", true},
        {2, "mnuoptcontrolpad", "&Paddle (F7)", false},
        {2, "mnuoptlight", "&Lightgun (F8)", false},
        {2, "mnuoptcontrolkbdemu", "&Keyboard Emulation (F9)", false},
        {2, "mnuoptcontroldrive", "&Driving Controller", true},
        {1, "mnuoptsound", "&Sound", false},
        {2, "mnuoptsoundpc", "PC Spe&aker", true},
        {2, "mnuoptsounddiag", "Show &Diagnostics", true},
        {2, "mnuoptsound15700", "Force 15700 sample rate", true},
        {2, "mnuoptsounddsp", "DSP Settings", false},
        {3, "mnuoptsoundhi", "&High", true},
        {3, "mnuoptsoundlow", "&Low", true},
        {2, "mnuoptsoundquiet", "&Quiet", true},
        {1, "mnuoptmisc", "&Misc", false},
        {2, "mnupcheck", "Print Chec&ksum", true},
        {1, "mnuoptvid", "&Video (F5)", false},
        {1, "mnuoptperform", "Per&formance (F6)", false},
        {1, "mnuoptclear", "C&lear All (F10)", false},
        {0, "mnuhelp", "&Help", false},
        {1, "mnuhelpAbout", "&About (F1)", false},
    };
    ASSERT_EQ(entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(entries[i].depth, expected[i].depth);
        EXPECT_EQ(entries[i].name, expected[i].name);
        EXPECT_EQ(entries[i].caption, expected[i].caption);
        EXPECT_EQ(entries[i].checkable, expected[i].checkable);
    }
}

TEST(MainWindowMenu, StartsWithoutMarksAndWithoutKeyBindings) {
    Launcher launcher;
    for (QAction* action : launcher.window().findChildren<QAction*>()) {
        SCOPED_TRACE(action->objectName().toStdString());
        EXPECT_FALSE(action->isChecked());
        EXPECT_TRUE(action->isEnabled());
        EXPECT_TRUE(action->isVisible());
        // The function keys belong to the window's key handler, not to the items.
        EXPECT_TRUE(action->shortcut().isEmpty());
    }
}

TEST(MainWindowLayout, CaptionSizeAndBorder) {
    Launcher launcher;
    Form1& form = launcher.window();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Kestrin v1.1"));
    form.show();
    EXPECT_EQ(form.centralWidget()->size(), QSize(429, 322));
    EXPECT_EQ(form.centralWidget()->y(), form.menuBar()->height());
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "the window must not be resizable";

    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));

    const QList<QSize> iconSizes = form.windowIcon().availableSizes();
    ASSERT_FALSE(iconSizes.isEmpty());
    EXPECT_EQ(iconSizes.front(), QSize(32, 32));
}

TEST(MainWindowLayout, ControlsListAndLogo) {
    Launcher launcher;
    auto* frame = launcher.find<QGroupBox>("Frame1");
    auto* list = launcher.find<QListView>("List1");
    auto* run = launcher.find<QPushButton>("Command1");
    auto* exit = launcher.find<QPushButton>("Command2");
    auto* logo = launcher.find<QLabel>("Image1");
    ASSERT_TRUE(frame && list && run && exit && logo);

    EXPECT_EQ(frame->title(), QStringLiteral("Games"));
    EXPECT_EQ(list->parentWidget(), frame);
    EXPECT_EQ(run->text(), QStringLiteral("Run &Game"));
    EXPECT_EQ(exit->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(logo->pixmap().size(), QSize(134, 107));
    EXPECT_TRUE(logo->pixmap().hasAlphaChannel()) << "the logo has a transparent colour";

    // Enter must reach the window's key handler, never a default button.
    for (QPushButton* button : {run, exit}) {
        EXPECT_FALSE(button->autoDefault());
        EXPECT_FALSE(button->isDefault());
    }
    EXPECT_EQ(list->model()->rowCount(), 0);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(MainWindowLayout, TabGoesFromRunGameToExitToTheList) {
    Launcher launcher;
    launcher.started();
    auto* list = launcher.find<QListView>("List1");
    auto* run = launcher.find<QPushButton>("Command1");
    auto* exit = launcher.find<QPushButton>("Command2");

    EXPECT_EQ(QApplication::focusWidget(), run);
    QTest::keyClick(run, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), exit);
    QTest::keyClick(exit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), list);
}

} // namespace
} // namespace kestrin::testing

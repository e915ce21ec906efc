// Set keeps what a dialog holds and its next opening takes that as the snapshot; Cancel, from
// the menu, the close box or Esc, puts the snapshot back with the controls' enable rules, an
// option group with nothing selected included.
#include "dialogs_fixture.h"

#include <variant>

namespace kestrin::testing {
namespace {

using Holder = std::variant<CheckBox, TextBox, OptionGroup>;
using Field = std::pair<Holder, Holder>; // a control with its backup
using Step = std::function<void()>;

Step click(QAbstractButton* button) {
    return [button] { button->click(); };
}
Step type(QLineEdit* box, const char* text) {
    return [box, text] { box->setText(text); };
}

struct CancelCase {
    Dialog which;
    std::vector<Field> fields;
    std::vector<QWidget*> dependents; // enabled or not by the dialog's rule
    std::vector<Step> fill, changeAll;
};

QAction* fileItem(OptionDialog& d, int index) {
    return d.menuBar()->actions().value(0)->menu()->actions().value(index);
}

TEST_F(DialogsTest, CancelPutsBackTheSnapshotOfTheLatestOpening) {
    Form2& f2 = dialogs.form2();
    Form3& f3 = dialogs.form3();
    Form4& f4 = dialogs.form4();
    Form6& f6 = dialogs.form6();
    Form7& f7 = dialogs.form7();
    const CancelCase cases[] = {
        {Dialog::Form2,
         {Field{CheckBox::Form2_Check1, CheckBox::Form2_Check2},
          Field{TextBox::Form2_Text1, TextBox::Form2_Text3},
          Field{TextBox::Form2_Text2, TextBox::Form2_Text4},
          Field{OptionGroup::Form2_Option1, OptionGroup::Form2_Option2}},
         {f2.Text1, f2.Text2},
         {click(f2.Check1), click(f2.Option1.member(0)), type(f2.Text1, "4"), type(f2.Text2, "1")},
         {click(f2.Check1), click(f2.Option1.member(1)), type(f2.Text1, "9"), type(f2.Text2, "2")}},
        {Dialog::Form3,
         {Field{TextBox::Form3_Text1, TextBox::Form3_Text2},
          Field{CheckBox::Form3_Check1, CheckBox::Form3_Check2},
          Field{OptionGroup::Form3_Option1, OptionGroup::Form3_Option2},
          Field{CheckBox::Form3_Check3, CheckBox::Form3_Check4},
          Field{CheckBox::Form3_Check5, CheckBox::Form3_Check6}},
         {f3.Check3},
         {type(f3.Text1, "4"), click(f3.Check1), click(f3.Option1.member(1)), click(f3.Check3),
          click(f3.Check5)},
         {type(f3.Text1, "6"), click(f3.Check1), click(f3.Check3), click(f3.Check5),
          click(f3.Option1.member(0))}},
        {Dialog::Form4,
         {Field{TextBox::Form4_Text1, TextBox::Form4_Text3},
          Field{TextBox::Form4_Text2, TextBox::Form4_Text4},
          Field{CheckBox::Form4_Check1, CheckBox::Form4_Check2}},
         {f4.Text2},
         {type(f4.Text1, "70"), click(f4.Check1), type(f4.Text2, "10")},
         {type(f4.Text1, "80"), click(f4.Check1), type(f4.Text2, "25")}},
        {Dialog::Form6,
         {Field{TextBox::Form6_Text1, TextBox::Form6_Text3},
          Field{TextBox::Form6_Text2, TextBox::Form6_Text4},
          Field{CheckBox::Form6_Check1, CheckBox::Form6_Check2}},
         {f6.Text1, f6.Text2},
         {click(f6.Check1), type(f6.Text1, "3"), type(f6.Text2, "2")},
         {click(f6.Check1), type(f6.Text1, "9"), type(f6.Text2, "8")}},
        {Dialog::Form7,
         {Field{CheckBox::Form7_Check1, CheckBox::Form7_Check2},
          Field{OptionGroup::Form7_Option1, OptionGroup::Form7_Option2}},
         {f7.Option1.member(0), f7.Option1.member(1), f7.Option1.member(2)},
         {click(f7.Check1), click(f7.Option1.member(2))},
         {click(f7.Option1.member(0)), click(f7.Check1)}}};
    const std::function<void(OptionDialog&)> cancelWays[] = {
        [](OptionDialog& d) { fileItem(d, 1)->trigger(); },
        [](OptionDialog& d) { EXPECT_FALSE(d.close()) << "the close request must be refused"; },
        [](OptionDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }};

    for (const CancelCase& c : cases) {
        OptionDialog& d = dialog(c.which);
        SCOPED_TRACE(d.objectName().toStdString());
        // The controls' values (or the backups') and, last, which dependents are enabled.
        const auto state = [&](bool backups) {
            std::vector<std::string> v;
            for (const auto& [control, backup] : c.fields)
                v.push_back(std::visit(
                    [&](auto holder) -> std::string {
                        if constexpr (std::is_same_v<decltype(holder), TextBox>)
                            return dialogs.text(holder);
                        else if constexpr (std::is_same_v<decltype(holder), CheckBox>)
                            return std::to_string(dialogs.check(holder));
                        else
                            return std::to_string(dialogs.selected(holder));
                    },
                    backups ? backup : control));
            v.emplace_back();
            for (QWidget* w : c.dependents)
                v.back() += w->isEnabled() ? '1' : '0';
            return v;
        };
        EXPECT_FALSE(openAndRun(c.which, [&] {
            for (const Step& step : c.fill)
                step();
            fileItem(d, 0)->trigger();
        }));
        const std::vector<std::string> set = state(false);
        for (const auto& cancel : cancelWays) {
            EXPECT_FALSE(openAndRun(c.which, [&] {
                for (const Step& step : c.changeAll)
                    step();
                const std::vector<std::string> changed = state(false);
                for (std::size_t i = 0; i < set.size(); ++i)
                    EXPECT_NE(changed[i], set[i]) << "the change must reach field " << i;
                cancel(d);
            }));
            EXPECT_EQ(state(false), set);
            std::vector<std::string> backups = state(true);
            backups.back() = set.back();
            EXPECT_EQ(backups, set) << "the backups hold the latest snapshot";
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// Set accepts a group with nothing selected, and Cancel deselects again what was selected
// since; becoming unselected is no selection, so the PAL rule does not run.
TEST_F(DialogsTest, CancelPutsBackAnOptionGroupWithNothingSelected) {
    dialogs.setCheck(CheckBox::Form7_Check1, 1); // the emulation on with no side chosen
    Form3& video = dialogs.form3();
    video.Check3->setEnabled(false); // so that only the PAL rule can enable it
    const std::pair<Dialog, OptionGroup> groups[] = {{Dialog::Form2, OptionGroup::Form2_Option1},
                                                     {Dialog::Form3, OptionGroup::Form3_Option1},
                                                     {Dialog::Form7, OptionGroup::Form7_Option1}};
    for (auto [which, group] : groups) {
        SCOPED_TRACE(static_cast<int>(which));
        EXPECT_FALSE(openAndRun(which, [&] { QTest::keyClick(&dialog(which), Qt::Key_Return); }));
        EXPECT_FALSE(openAndRun(which, [&] {
            dialogs.select(group, 1);
            ASSERT_EQ(dialogs.selected(group), 1);
            fileItem(dialog(which), 1)->trigger();
        }));
        EXPECT_EQ(dialogs.selected(group), noneSelected);
    }
    EXPECT_TRUE(video.Check3->isEnabled());
    EXPECT_TRUE(boxes.shown.empty());
}

// Colour loss is enabled only while PAL is selected; what a rule disables keeps its value.
TEST_F(DialogsTest, EnableRulesKeepWhatTheyDisable) {
    dialogs.setCheck(CheckBox::Form3_Check3, 1);
    dialogs.setText(TextBox::Form2_Text1, "4");
    dialogs.setText(TextBox::Form4_Text2, "10");
    dialogs.setText(TextBox::Form6_Text2, "3");
    dialogs.select(OptionGroup::Form7_Option1, 2);
    for (CheckBox box : {CheckBox::Form2_Check1, CheckBox::Form4_Check1, CheckBox::Form6_Check1,
                         CheckBox::Form7_Check1}) {
        dialogs.setCheck(box, 1);
        dialogs.setCheck(box, 0);
    }
    EXPECT_EQ(dialogs.text(TextBox::Form2_Text1), "4");
    EXPECT_EQ(dialogs.text(TextBox::Form4_Text2), "10");
    EXPECT_EQ(dialogs.text(TextBox::Form6_Text2), "3");
    EXPECT_EQ(dialogs.selected(OptionGroup::Form7_Option1), 2);
    const std::pair<int, bool> steps[] = {
        {noneSelected, true}, {0, false}, {1, true}, {0, false}, {noneSelected, false}};
    for (auto [option, enabled] : steps) {
        SCOPED_TRACE(option);
        dialogs.select(OptionGroup::Form3_Option1, option);
        EXPECT_EQ(dialogs.enabled(CheckBox::Form3_Check3), enabled);
        EXPECT_EQ(dialogs.check(CheckBox::Form3_Check3), 1);
    }
}

} // namespace
} // namespace kestrin::testing

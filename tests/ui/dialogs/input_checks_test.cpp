// What Set checks before it accepts: each range with its exclusive or inclusive bounds and
// fractions, both checks of one dialog in order with the dialog kept open, the lightgun's
// numeric check and where it puts the focus.
#include "dialogs_fixture.h"

#include <clocale>
#include <optional>

namespace kestrin::testing {
namespace {

using Messages = std::vector<ShownBox>;

ShownBox inputError(const std::string& text) {
    return {text, "Input Error", Buttons::Ok};
}
const ShownBox paddleSpeed = inputError("Please enter a value between 1 and 15 for Paddle Speed");
const ShownBox paddleNumber = inputError("Please enter a value between 0 and 3 for Paddle Number");
const ShownBox videoMode = inputError("Please enter a value between 1 and 14 for Video Mode");
const ShownBox speedSetting =
    inputError("Please enter a value between 1 and 254 for Speed Setting");
const ShownBox frameCount = inputError("Please enter a value > 0 for Performance Test");
const ShownBox notNumeric{"Please enter a numeric value", "Invalid Entry", Buttons::Ok};

struct Row {
    std::string first, second;
    Messages expected;
    int check = 0;
};

// Writes each row into the dialog's boxes and checks the messages of an Enter.
class InputChecksTest : public DialogsTest {
protected:
    void expectMessages(Dialog which, TextBox first, std::optional<TextBox> second,
                        std::optional<CheckBox> check, const std::vector<Row>& rows) {
        for (const Row& r : rows) {
            SCOPED_TRACE(r.first + " | " + r.second + " | " + std::to_string(r.check));
            dialogs.setText(first, r.first);
            if (second)
                dialogs.setText(*second, r.second);
            if (check)
                dialogs.setCheck(*check, r.check);
            EXPECT_EQ(messagesOfEnter(which), r.expected);
            EXPECT_EQ(dialogs.text(first), r.first) << "Set leaves the texts alone";
        }
    }
};

// Speed strictly between 0 and 16, number 0 to 3 inclusive, each read up to where its number
// ends; empty passes. The boxes are disabled (paddle off) and are checked all the same.
TEST_F(InputChecksTest, PaddleSpeedAndNumberRanges) {
    expectMessages(Dialog::Form2, TextBox::Form2_Text1, TextBox::Form2_Text2, std::nullopt,
                   {{"", "", {}},
                    {"0.5", "0", {}},
                    {"15.9", "3", {}},
                    {"3abc", "2.9", {}},
                    {"1", "letters", {}},
                    {"0", "", {paddleSpeed}},
                    {"16", "", {paddleSpeed}},
                    {"abc", "", {paddleSpeed}},
                    {"", "-0.5", {paddleNumber}},
                    {"", "3.5", {paddleNumber}},
                    {"99", "9", {paddleSpeed, paddleNumber}}});
}

TEST_F(InputChecksTest, VideoModeRange) {
    expectMessages(Dialog::Form3, TextBox::Form3_Text1, std::nullopt, std::nullopt,
                   {{"", "", {}},
                    {"0.5", "", {}},
                    {"14.9", "", {}},
                    {"7x", "", {}},
                    {"0", "", {videoMode}},
                    {"15", "", {videoMode}},
                    {"abc", "", {videoMode}}});
}

// Speed strictly between 0 and 255; the frame count, only while the test is on, above 0.
TEST_F(InputChecksTest, PerformanceSpeedAndFrameCount) {
    expectMessages(Dialog::Form4, TextBox::Form4_Text1, TextBox::Form4_Text2,
                   CheckBox::Form4_Check1,
                   {{"", "", {}, 0},
                    {"0.5", "abc", {}, 0},
                    {"254.9", "0", {}, 0},
                    {"12abc", "0.5", {}, 1},
                    {"", "500", {}, 1},
                    {"0", "", {speedSetting}, 0},
                    {"255", "", {speedSetting}, 0},
                    {"abc", "", {speedSetting}, 0},
                    {"", "", {frameCount}, 1},
                    {"", "0", {frameCount}, 1},
                    {"300", "abc", {speedSetting, frameCount}, 1}});
}

// Each adjustment is empty or one whole number; both are checked, scan lines first.
TEST_F(InputChecksTest, LightgunAdjustmentsMustBeNumeric) {
    std::setlocale(LC_NUMERIC, "C");
    expectMessages(Dialog::Form6, TextBox::Form6_Text1, TextBox::Form6_Text2, std::nullopt,
                   {{"", "", {}},
                    {"-1.5", " 4 ", {}},
                    {"1e2", "1,000", {}},
                    {"2x", "", {notNumeric}},
                    {"", "1 2", {notNumeric}},
                    {".", "abc", {notNumeric, notNumeric}}});
}

// The rejected box gets the focus, the cycle box when both fail; a disabled box passes it to
// the nearest control before it that can take it, the enable box.
TEST_F(InputChecksTest, LightgunFocusGoesToTheRejectedBox) {
    std::setlocale(LC_NUMERIC, "C");
    struct FocusRow {
        bool enabled;
        std::string scanlines, cycles;
        QString focused;
    };
    const FocusRow rows[] = {
        {true, "abc", "5", "Text1"}, {true, "abc", "x", "Text2"}, {false, "abc", "", "Check1"}};
    Form6& f = dialogs.form6();
    for (const FocusRow& r : rows) {
        SCOPED_TRACE(r.focused.toStdString());
        dialogs.setCheck(CheckBox::Form6_Check1, r.enabled ? 1 : 0);
        dialogs.setText(TextBox::Form6_Text1, r.scanlines);
        dialogs.setText(TextBox::Form6_Text2, r.cycles);
        EXPECT_TRUE(openAndRun(Dialog::Form6, [&] {
            f.Command1->setFocus();
            QTest::keyClick(f.Command1, Qt::Key_Return);
            ASSERT_NE(f.focusWidget(), nullptr);
            EXPECT_EQ(f.focusWidget()->objectName(), r.focused);
        }));
    }
}

} // namespace
} // namespace kestrin::testing

// The five option dialogs, created at the first access to any of their controls and kept until
// the program ends. Other windows reach the dialogs' controls only through this class, so that
// each change runs the reaction a click would run.
#pragma once

#include "core/holders.h"
#include "core/ports.h"

#include <functional>
#include <memory>
#include <string>

namespace kestrin {

class OptionDialog;
class Form2;
class Form3;
class Form4;
class Form6;
class Form7;

enum class Dialog { Form2, Form3, Form4, Form6, Form7 };

class OptionDialogs {
public:
    // `clearDrivingControllerMark` clears the main window's "&Driving Controller" mark without
    // running its command; the enable boxes call it when they are switched on.
    OptionDialogs(MessageBoxes& boxes, std::function<void()> clearDrivingControllerMark);
    ~OptionDialogs();
    OptionDialogs(const OptionDialogs&) = delete;
    OptionDialogs& operator=(const OptionDialogs&) = delete;

    // Shows the dialog modally and returns once it has hidden itself through Set or Cancel.
    void showModal(Dialog which);

    int check(CheckBox box);
    bool enabled(CheckBox box);
    void setCheck(CheckBox box, int value);
    std::string text(TextBox box);
    void setText(TextBox box, const std::string& text);
    int selected(OptionGroup group);
    void select(OptionGroup group, int index);

    // Whether the dialog exists yet (nothing has touched it when it does not).
    bool isCreated(Dialog which) const;

    // The windows themselves, created on first use.
    OptionDialog& window(Dialog which);
    Form2& form2();
    Form3& form3();
    Form4& form4();
    Form6& form6();
    Form7& form7();

private:
    MessageBoxes& boxes_;
    std::function<void()> clearDrivingControllerMark_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
    std::unique_ptr<Form4> form4_;
    std::unique_ptr<Form6> form6_;
    std::unique_ptr<Form7> form7_;
};

} // namespace kestrin

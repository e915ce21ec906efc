#include "ui/dialogs/option_dialogs.h"

#include "ui/dialogs/form2.h"
#include "ui/dialogs/form3.h"
#include "ui/dialogs/form4.h"
#include "ui/dialogs/form6.h"
#include "ui/dialogs/form7.h"

#include <stdexcept>

namespace kestrin {

namespace {

// A hidden backup option group is a member index; it takes what a click on a member would
// leave, and ignores members it does not have.
void selectBackup(int& backup, int index, int members) {
    if (index == noneSelected || (index >= 0 && index < members))
        backup = index;
}

int normalisedCheck(int value) {
    return value == 1 ? 1 : 0;
}

[[noreturn]] void unknownHolder() {
    throw std::invalid_argument("unknown dialog control");
}

} // namespace

OptionDialogs::OptionDialogs(MessageBoxes& boxes, std::function<void()> clearDrivingControllerMark)
    : boxes_(boxes), clearDrivingControllerMark_(std::move(clearDrivingControllerMark)) {}

OptionDialogs::~OptionDialogs() = default;

// The controller-type group on the dialogs' side: switching one enable box on clears the other
// two (through setCheck, so their own rules run) and the "&Driving Controller" mark.
Form2& OptionDialogs::form2() {
    if (!form2_)
        form2_ = std::make_unique<Form2>(boxes_, [this] {
            setCheck(CheckBox::Form6_Check1, 0);
            setCheck(CheckBox::Form7_Check1, 0);
            clearDrivingControllerMark_();
        });
    return *form2_;
}

Form3& OptionDialogs::form3() {
    if (!form3_)
        form3_ = std::make_unique<Form3>(boxes_);
    return *form3_;
}

Form4& OptionDialogs::form4() {
    if (!form4_)
        form4_ = std::make_unique<Form4>(boxes_);
    return *form4_;
}

Form6& OptionDialogs::form6() {
    if (!form6_)
        form6_ = std::make_unique<Form6>(boxes_, [this] {
            setCheck(CheckBox::Form2_Check1, 0);
            setCheck(CheckBox::Form7_Check1, 0);
            clearDrivingControllerMark_();
        });
    return *form6_;
}

Form7& OptionDialogs::form7() {
    if (!form7_)
        form7_ = std::make_unique<Form7>(boxes_, [this] {
            setCheck(CheckBox::Form2_Check1, 0);
            setCheck(CheckBox::Form6_Check1, 0);
            clearDrivingControllerMark_();
        });
    return *form7_;
}

bool OptionDialogs::isCreated(Dialog which) const {
    switch (which) {
    case Dialog::Form2:
        return form2_ != nullptr;
    case Dialog::Form3:
        return form3_ != nullptr;
    case Dialog::Form4:
        return form4_ != nullptr;
    case Dialog::Form6:
        return form6_ != nullptr;
    case Dialog::Form7:
        return form7_ != nullptr;
    }
    return false;
}

void OptionDialogs::showModal(Dialog which) {
    switch (which) {
    case Dialog::Form2:
        form2().showModal();
        return;
    case Dialog::Form3:
        form3().showModal();
        return;
    case Dialog::Form4:
        form4().showModal();
        return;
    case Dialog::Form6:
        form6().showModal();
        return;
    case Dialog::Form7:
        form7().showModal();
        return;
    }
}

int OptionDialogs::check(CheckBox box) {
    switch (box) {
    case CheckBox::Form2_Check1:
        return checkValue(form2().Check1);
    case CheckBox::Form2_Check2:
        return form2().backups.Check2;
    case CheckBox::Form3_Check1:
        return checkValue(form3().Check1);
    case CheckBox::Form3_Check2:
        return form3().backups.Check2;
    case CheckBox::Form3_Check3:
        return checkValue(form3().Check3);
    case CheckBox::Form3_Check4:
        return form3().backups.Check4;
    case CheckBox::Form3_Check5:
        return checkValue(form3().Check5);
    case CheckBox::Form3_Check6:
        return form3().backups.Check6;
    case CheckBox::Form4_Check1:
        return checkValue(form4().Check1);
    case CheckBox::Form4_Check2:
        return form4().backups.Check2;
    case CheckBox::Form6_Check1:
        return checkValue(form6().Check1);
    case CheckBox::Form6_Check2:
        return form6().backups.Check2;
    case CheckBox::Form7_Check1:
        return checkValue(form7().Check1);
    case CheckBox::Form7_Check2:
        return form7().backups.Check2;
    }
    unknownHolder();
}

bool OptionDialogs::enabled(CheckBox box) {
    switch (box) {
    case CheckBox::Form2_Check1:
        return form2().Check1->isEnabled();
    case CheckBox::Form3_Check1:
        return form3().Check1->isEnabled();
    case CheckBox::Form3_Check3:
        return form3().Check3->isEnabled();
    case CheckBox::Form3_Check5:
        return form3().Check5->isEnabled();
    case CheckBox::Form4_Check1:
        return form4().Check1->isEnabled();
    case CheckBox::Form6_Check1:
        return form6().Check1->isEnabled();
    case CheckBox::Form7_Check1:
        return form7().Check1->isEnabled();
    // The backups are data, never disabled; reading one still creates its dialog.
    case CheckBox::Form2_Check2:
        form2();
        return true;
    case CheckBox::Form3_Check2:
    case CheckBox::Form3_Check4:
    case CheckBox::Form3_Check6:
        form3();
        return true;
    case CheckBox::Form4_Check2:
        form4();
        return true;
    case CheckBox::Form6_Check2:
        form6();
        return true;
    case CheckBox::Form7_Check2:
        form7();
        return true;
    }
    unknownHolder();
}

void OptionDialogs::setCheck(CheckBox box, int value) {
    switch (box) {
    case CheckBox::Form2_Check1:
        return setCheckValue(form2().Check1, value);
    case CheckBox::Form2_Check2:
        form2().backups.Check2 = normalisedCheck(value);
        return;
    case CheckBox::Form3_Check1:
        return setCheckValue(form3().Check1, value);
    case CheckBox::Form3_Check2:
        form3().backups.Check2 = normalisedCheck(value);
        return;
    case CheckBox::Form3_Check3:
        return setCheckValue(form3().Check3, value);
    case CheckBox::Form3_Check4:
        form3().backups.Check4 = normalisedCheck(value);
        return;
    case CheckBox::Form3_Check5:
        return setCheckValue(form3().Check5, value);
    case CheckBox::Form3_Check6:
        form3().backups.Check6 = normalisedCheck(value);
        return;
    case CheckBox::Form4_Check1:
        return setCheckValue(form4().Check1, value);
    case CheckBox::Form4_Check2:
        form4().backups.Check2 = normalisedCheck(value);
        return;
    case CheckBox::Form6_Check1:
        return setCheckValue(form6().Check1, value);
    case CheckBox::Form6_Check2:
        form6().backups.Check2 = normalisedCheck(value);
        return;
    case CheckBox::Form7_Check1:
        return setCheckValue(form7().Check1, value);
    case CheckBox::Form7_Check2:
        form7().backups.Check2 = normalisedCheck(value);
        return;
    }
    unknownHolder();
}

std::string OptionDialogs::text(TextBox box) {
    switch (box) {
    case TextBox::Form2_Text1:
        return textOf(form2().Text1);
    case TextBox::Form2_Text2:
        return textOf(form2().Text2);
    case TextBox::Form2_Text3:
        return form2().backups.Text3;
    case TextBox::Form2_Text4:
        return form2().backups.Text4;
    case TextBox::Form3_Text1:
        return textOf(form3().Text1);
    case TextBox::Form3_Text2:
        return form3().backups.Text2;
    case TextBox::Form4_Text1:
        return textOf(form4().Text1);
    case TextBox::Form4_Text2:
        return textOf(form4().Text2);
    case TextBox::Form4_Text3:
        return form4().backups.Text3;
    case TextBox::Form4_Text4:
        return form4().backups.Text4;
    case TextBox::Form6_Text1:
        return textOf(form6().Text1);
    case TextBox::Form6_Text2:
        return textOf(form6().Text2);
    case TextBox::Form6_Text3:
        return form6().backups.Text3;
    case TextBox::Form6_Text4:
        return form6().backups.Text4;
    }
    unknownHolder();
}

void OptionDialogs::setText(TextBox box, const std::string& text) {
    switch (box) {
    case TextBox::Form2_Text1:
        return setTextOf(form2().Text1, text);
    case TextBox::Form2_Text2:
        return setTextOf(form2().Text2, text);
    case TextBox::Form2_Text3:
        form2().backups.Text3 = text;
        return;
    case TextBox::Form2_Text4:
        form2().backups.Text4 = text;
        return;
    case TextBox::Form3_Text1:
        return setTextOf(form3().Text1, text);
    case TextBox::Form3_Text2:
        form3().backups.Text2 = text;
        return;
    case TextBox::Form4_Text1:
        return setTextOf(form4().Text1, text);
    case TextBox::Form4_Text2:
        return setTextOf(form4().Text2, text);
    case TextBox::Form4_Text3:
        form4().backups.Text3 = text;
        return;
    case TextBox::Form4_Text4:
        form4().backups.Text4 = text;
        return;
    case TextBox::Form6_Text1:
        return setTextOf(form6().Text1, text);
    case TextBox::Form6_Text2:
        return setTextOf(form6().Text2, text);
    case TextBox::Form6_Text3:
        form6().backups.Text3 = text;
        return;
    case TextBox::Form6_Text4:
        form6().backups.Text4 = text;
        return;
    }
    unknownHolder();
}

int OptionDialogs::selected(OptionGroup group) {
    switch (group) {
    case OptionGroup::Form2_Option1:
        return form2().Option1.selected();
    case OptionGroup::Form2_Option2:
        return form2().backups.Option2;
    case OptionGroup::Form3_Option1:
        return form3().Option1.selected();
    case OptionGroup::Form3_Option2:
        return form3().backups.Option2;
    case OptionGroup::Form7_Option1:
        return form7().Option1.selected();
    case OptionGroup::Form7_Option2:
        return form7().backups.Option2;
    }
    unknownHolder();
}

void OptionDialogs::select(OptionGroup group, int index) {
    switch (group) {
    case OptionGroup::Form2_Option1:
        return form2().Option1.select(index);
    case OptionGroup::Form2_Option2:
        return selectBackup(form2().backups.Option2, index, form2().Option1.count());
    case OptionGroup::Form3_Option1:
        return form3().Option1.select(index);
    case OptionGroup::Form3_Option2:
        return selectBackup(form3().backups.Option2, index, form3().Option1.count());
    case OptionGroup::Form7_Option1:
        return form7().Option1.select(index);
    case OptionGroup::Form7_Option2:
        return selectBackup(form7().backups.Option2, index, form7().Option1.count());
    }
    unknownHolder();
}

} // namespace kestrin

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

OptionDialog& OptionDialogs::window(Dialog which) {
    switch (which) {
    case Dialog::Form2:
        return form2();
    case Dialog::Form3:
        return form3();
    case Dialog::Form4:
        return form4();
    case Dialog::Form6:
        return form6();
    case Dialog::Form7:
        return form7();
    }
    throw std::invalid_argument("unknown dialog");
}

void OptionDialogs::showModal(Dialog which) {
    window(which).showModal();
}

namespace {

// Where a holder lives: a visible control of its dialog, or a field of the dialog's backups.
// Finding it creates the dialog, as any first access does.
template <typename Control, typename Value> struct Place {
    Control* control = nullptr;
    Value* backup = nullptr;
};
using CheckPlace = Place<QCheckBox, int>;
using TextPlace = Place<QLineEdit, std::string>;

CheckPlace placeOf(OptionDialogs& d, CheckBox box) {
    switch (box) {
    case CheckBox::Form2_Check1:
        return {d.form2().Check1};
    case CheckBox::Form2_Check2:
        return {nullptr, &d.form2().backups.Check2};
    case CheckBox::Form3_Check1:
        return {d.form3().Check1};
    case CheckBox::Form3_Check2:
        return {nullptr, &d.form3().backups.Check2};
    case CheckBox::Form3_Check3:
        return {d.form3().Check3};
    case CheckBox::Form3_Check4:
        return {nullptr, &d.form3().backups.Check4};
    case CheckBox::Form3_Check5:
        return {d.form3().Check5};
    case CheckBox::Form3_Check6:
        return {nullptr, &d.form3().backups.Check6};
    case CheckBox::Form4_Check1:
        return {d.form4().Check1};
    case CheckBox::Form4_Check2:
        return {nullptr, &d.form4().backups.Check2};
    case CheckBox::Form6_Check1:
        return {d.form6().Check1};
    case CheckBox::Form6_Check2:
        return {nullptr, &d.form6().backups.Check2};
    case CheckBox::Form7_Check1:
        return {d.form7().Check1};
    case CheckBox::Form7_Check2:
        return {nullptr, &d.form7().backups.Check2};
    }
    unknownHolder();
}

TextPlace placeOf(OptionDialogs& d, TextBox box) {
    switch (box) {
    case TextBox::Form2_Text1:
        return {d.form2().Text1};
    case TextBox::Form2_Text2:
        return {d.form2().Text2};
    case TextBox::Form2_Text3:
        return {nullptr, &d.form2().backups.Text3};
    case TextBox::Form2_Text4:
        return {nullptr, &d.form2().backups.Text4};
    case TextBox::Form3_Text1:
        return {d.form3().Text1};
    case TextBox::Form3_Text2:
        return {nullptr, &d.form3().backups.Text2};
    case TextBox::Form4_Text1:
        return {d.form4().Text1};
    case TextBox::Form4_Text2:
        return {d.form4().Text2};
    case TextBox::Form4_Text3:
        return {nullptr, &d.form4().backups.Text3};
    case TextBox::Form4_Text4:
        return {nullptr, &d.form4().backups.Text4};
    case TextBox::Form6_Text1:
        return {d.form6().Text1};
    case TextBox::Form6_Text2:
        return {d.form6().Text2};
    case TextBox::Form6_Text3:
        return {nullptr, &d.form6().backups.Text3};
    case TextBox::Form6_Text4:
        return {nullptr, &d.form6().backups.Text4};
    }
    unknownHolder();
}

} // namespace

int OptionDialogs::check(CheckBox box) {
    const CheckPlace place = placeOf(*this, box);
    return place.control ? checkValue(place.control) : *place.backup;
}

// The backups are data, never disabled.
bool OptionDialogs::enabled(CheckBox box) {
    const CheckPlace place = placeOf(*this, box);
    return place.control ? place.control->isEnabled() : true;
}

// A visible box changes as a click would change it, so that its reaction runs.
void OptionDialogs::setCheck(CheckBox box, int value) {
    const CheckPlace place = placeOf(*this, box);
    if (place.control)
        setCheckValue(place.control, value);
    else
        *place.backup = normalisedCheck(value);
}

std::string OptionDialogs::text(TextBox box) {
    const TextPlace place = placeOf(*this, box);
    return place.control ? textOf(place.control) : *place.backup;
}

void OptionDialogs::setText(TextBox box, const std::string& text) {
    const TextPlace place = placeOf(*this, box);
    if (place.control)
        setTextOf(place.control, text);
    else
        *place.backup = text;
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

#include "fakes.h"

#include <sstream>
#include <stdexcept>

namespace kestrin::testing {

const char* nameOf(MenuMark item) {
    static const char* const names[] = {"mnuoptjoykbd",  "mnuoptjoyrev",    "mnuoptcontroldrive",
                                        "mnuoptsoundpc", "mnuoptsounddiag", "mnuoptsound15700",
                                        "mnuoptsoundhi", "mnuoptsoundlow",  "mnuoptsoundquiet",
                                        "mnupcheck"};
    return names[static_cast<int>(item)];
}

const char* nameOf(CheckBox box) {
    static const char* const names[] = {
        "Form2_Check1", "Form2_Check2", "Form3_Check1", "Form3_Check2", "Form3_Check3",
        "Form3_Check4", "Form3_Check5", "Form3_Check6", "Form4_Check1", "Form4_Check2",
        "Form6_Check1", "Form6_Check2", "Form7_Check1", "Form7_Check2"};
    return names[static_cast<int>(box)];
}

const char* nameOf(TextBox box) {
    static const char* const names[] = {"Form2_Text1", "Form2_Text2", "Form2_Text3", "Form2_Text4",
                                        "Form3_Text1", "Form3_Text2", "Form4_Text1", "Form4_Text2",
                                        "Form4_Text3", "Form4_Text4", "Form6_Text1", "Form6_Text2",
                                        "Form6_Text3", "Form6_Text4"};
    return names[static_cast<int>(box)];
}

const char* nameOf(OptionGroup group) {
    static const char* const names[] = {"Form2_Option1", "Form2_Option2", "Form3_Option1",
                                        "Form3_Option2", "Form7_Option1", "Form7_Option2"};
    return names[static_cast<int>(group)];
}

bool FakeHolders::mark(MenuMark item) const {
    auto found = marks.find(item);
    return found != marks.end() && found->second;
}

void FakeHolders::setMark(MenuMark item, bool checked) {
    calls.push_back(std::string("setMark ") + nameOf(item) + (checked ? " 1" : " 0"));
    marks[item] = checked;
}

void FakeHolders::performMenuCommand(MenuMark item) {
    calls.push_back(std::string("perform ") + nameOf(item));
    marks[item] = !mark(item);
    if (item == MenuMark::mnuoptsoundpc) {
        for (MenuMark partner : {MenuMark::mnuoptsounddiag, MenuMark::mnuoptsound15700,
                                 MenuMark::mnuoptsoundhi, MenuMark::mnuoptsoundlow})
            marks[partner] = false;
    } else if (item == MenuMark::mnuoptjoykbd) {
        marks[MenuMark::mnuoptjoyrev] = false;
    }
}

int FakeHolders::check(CheckBox box) const {
    auto found = checks.find(box);
    return found == checks.end() ? 0 : found->second;
}

bool FakeHolders::enabled(CheckBox box) const {
    auto found = enabledBoxes.find(box);
    return found == enabledBoxes.end() || found->second;
}

void FakeHolders::setCheck(CheckBox box, int value) {
    calls.push_back(std::string("setCheck ") + nameOf(box) + " " + std::to_string(value));
    checks[box] = value;
}

std::string FakeHolders::text(TextBox box) const {
    auto found = texts.find(box);
    return found == texts.end() ? std::string() : found->second;
}

void FakeHolders::setText(TextBox box, const std::string& value) {
    calls.push_back(std::string("setText ") + nameOf(box) + " [" + value + "]");
    texts[box] = value;
}

int FakeHolders::selected(OptionGroup group) const {
    auto found = selections.find(group);
    return found == selections.end() ? noneSelected : found->second;
}

void FakeHolders::select(OptionGroup group, int index) {
    calls.push_back(std::string("select ") + nameOf(group) + " " + std::to_string(index));
    selections[group] = index;
    if (group == OptionGroup::Form3_Option1)
        enabledBoxes[CheckBox::Form3_Check3] = index == 1;
}

std::optional<std::string> FakeFiles::replace(const std::string& name, std::string_view content) {
    events_.push_back("replace " + name);
    auto failure = failures.find(name);
    if (failure != failures.end())
        return failure->second;
    contents[name] = std::string(content);
    return std::nullopt;
}

std::optional<std::vector<std::string>>
FakeFiles::readLines(const std::string& name, std::size_t maxLines, std::size_t maxLineBytes) {
    events_.push_back("read " + name);
    lastMaxLines = maxLines;
    lastMaxLineBytes = maxLineBytes;
    auto found = contents.find(name);
    if (found == contents.end())
        return std::nullopt;
    std::vector<std::string> lines;
    const std::string& text = found->second;
    std::size_t start = 0;
    while (start < text.size() && lines.size() < maxLines) {
        std::size_t end = text.find('\n', start);
        std::size_t stop = end == std::string::npos ? text.size() : end;
        std::string line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line.substr(0, maxLineBytes));
        start = stop + 1;
    }
    return lines;
}

void FakeFiles::remove(const std::string& name) {
    events_.push_back("remove " + name);
    contents.erase(name);
}

std::optional<TaskId> FakeJobs::start(const std::string& batchFile, WindowStyle style,
                                      bool reportErrors) {
    events_.push_back("start " + batchFile);
    lastStyle = style;
    lastReportErrors = reportErrors;
    if (startFails)
        return std::nullopt;
    return TaskId{42};
}

void FakeJobs::waitUntilEnded(TaskId task) {
    events_.push_back("waitUntilEnded " + std::to_string(task));
    runningTime();
}

void FakeJobs::waitForUserReturn(TaskId task) {
    events_.push_back("waitForUserReturn " + std::to_string(task));
    runningTime();
}

void FakeJobs::pause(double seconds) {
    std::ostringstream event;
    event << "pause " << seconds;
    events_.push_back(event.str());
    runningTime();
}

void FakeJobs::runningTime() {
    if (whileRunning)
        whileRunning();
}

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            throw std::invalid_argument("text does not end with CR LF");
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace kestrin::testing

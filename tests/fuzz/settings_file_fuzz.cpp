// The settings file reader on any bytes: it only ever sets, selects one member of each of the
// two groups that both branches select, fills the holders with UTF-8 text only, and a file
// written from what it restored reads back to the same file.
#include "core/settings_file.h"
#include "tests/core/fake_holders.h"
#include "tests/fuzz/fuzz_rules.h"

#include <cstdint>

using namespace kestrin;

// Holders that trap on anything but setting, and count each group's selections.
struct OnlySetting : testing::FakeHolders {
    void setMark(MenuMark m, bool on) override { require(on), FakeHolders::setMark(m, on); }
    void performMenuCommand(MenuMark) override { require(false); }
    void setCheck(CheckBox b, int v) override { require(v == 1), FakeHolders::setCheck(b, v); }
    void select(OptionGroup g, int i) override { ++selects[int(g)], FakeHolders::select(g, i); }
    int selects[6] = {};
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    OnlySetting read;
    applySettingsLines(linesOf({reinterpret_cast<const char*>(data), size}), read);
    require(read.selects[int(OptionGroup::Form2_Option1)] == 1 &&
            read.selects[int(OptionGroup::Form3_Option1)] == 1);
    for (const auto& [name, value] : read.state)
        require(isUtf8(value));
    // Written and read again, the settings come back the same once the file no longer holds
    // what the file format cannot keep (no side selected, which it stores as "Left ").
    const auto rewritten = [](const SettingsSnapshot& settings) {
        testing::FakeHolders holders;
        applySettingsLines(linesOf(settingsFileText(settings)), holders);
        return readSettings(holders);
    };
    const SettingsSnapshot once = rewritten(readSettings(read));
    require(settingsFileText(rewritten(once)) == settingsFileText(once) &&
            linesOf(settingsFileText(once)).size() == 23);
    return 0;
}

#include "ui/main_window_rules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace pellion {
namespace {

using namespace std::string_literals;

TEST(MainWindowRules, DefaultInstallFolder) {
    struct Row {
        const char* windows;
        std::set<std::string> existing;
        const char* expected;
    } rows[] = {
        {"D:\\Win\\Sub", {"C:\\tovarin\\kx"}, "D:\\kx"},  // only the Windows folder's root counts
        {"", {}, "kx"},                                   // no Windows folder: relative forms
        {"", {"tovarin\\kx"}, "tovarin\\kx"},
        {"WINDOWS", {"tovarin\\kx"}, "tovarin\\kx"},  // no backslash: no root
        {"\\\\srv\\share", {}, "\\kx"},               // the root ends at the first backslash
    };
    for (const Row& r : rows) {
        auto exists = [&](const std::string& p) { return r.existing.count(p) > 0; };
        EXPECT_EQ(DefaultInstallFolder(r.windows, exists), r.expected) << r.windows;
    }
}

TEST(MainWindowRules, RecordedVersion) {
    struct Row {
        std::string bytes;
        std::optional<int> expected;
    } rows[] = {
        {"MZ\0\x01VESKPNX.EXE: Pellion Version 3.14 (sample)\r\n$"s, 314},
        {"Pellion Version 3.15", 315},  // at the very end
        {"Pellion Version 3.13.", 313},
        {"Pellion Version 12.05 x", 1205},
        {"Pellion Version 3.1 Pellion Version 3.14", 314},  // the first well-formed one
        {"Pellion Version 3.145 Pellion Version 2.00", 200},
        {"Pellion Version x Pellion Version 4.02", 402},
        {"Pellion Version 1234.56", std::nullopt},
        {"pellion version 3.14", std::nullopt},  // the text is matched exactly
        {"Pellion Version 3.", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& r : rows) EXPECT_EQ(FindRecordedVersion(r.bytes), r.expected) << r.bytes;
}

TEST(MainWindowRules, InstalledVersionQuestion) {
    const std::string tail = "\n\nIf you want to install this version anyway, click YES.";
    EXPECT_EQ(InstalledVersionQuestion({true, 315}),
              "A newer version of this program is already installed." + tail);
    EXPECT_EQ(InstalledVersionQuestion({true, 314}),
              "The same version of this program is already isntalled." + tail);
    EXPECT_EQ(InstalledVersionQuestion({true, 313}), "");
    EXPECT_EQ(InstalledVersionQuestion({true, 0}), "");  // a copy without a version
    EXPECT_EQ(InstalledVersionQuestion({false, 0}), "");
}

}  // namespace
}  // namespace pellion

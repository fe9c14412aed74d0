// The program's settings, the window placement and the parsing of the trace bits, read and written
// without the locale.
#include "editor/app/pad_settings.h"
#include "editor/app/trace_bits.h"
#include "editor/app/window_placement.h"
#include "platform/settings/private_profile.h"
#include "platform/ui/screens.h"
#include "tests/support/comma_locale.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

class Settings : public ::testing::Test {
protected:
    std::string value(const char* section, const char* key) {
        return platform::profileString(profile.path(), section, key).value_or("<none>");
    }

    TempFolder folder;
    PadProfile profile{folder / "ZortaPad.INI"};
};

TEST_F(Settings, AFirstRunWritesTheDefaultsAndAnUnchangedRunWritesOnlyTheLineLimit) {
    const PadSettings first = profile.read();
    EXPECT_EQ(value("Settings", "IVersion"), "1");
    EXPECT_EQ(value("Settings", "WordWrap"), "1");
    for (const char* section : {"Font", "PrintFont"}) {
        EXPECT_EQ(value(section, "FaceName"), "Courier New");
        EXPECT_EQ(value(section, "Height"), "-12");
        EXPECT_EQ(value(section, "Weight"), "700");
        EXPECT_EQ(value(section, "PitchAndFamily"), "49");
    }
    EXPECT_EQ(first.tabStops, 32);
    EXPECT_EQ(first.lineLimit, 5001);
    EXPECT_EQ(first.showCmd, 3);
    EXPECT_EQ(first.font.faceName, "Courier New");
    EXPECT_EQ(first.font.height, -12);

    const std::string before = readFile(profile.path());
    profile.write(profile.read());
    const std::string after = readFile(profile.path());
    EXPECT_EQ(after.substr(0, before.size()).size(), before.size());
    EXPECT_EQ(value("Settings", "ligne_max"), "5001");
    EXPECT_EQ(platform::profileKeys(profile.path(), "Settings")->size(), 3u) << after;
    EXPECT_EQ(after.size() - before.size(), std::string("ligne_max=5001\n").size()) << after;
}

TEST_F(Settings, ChangesAreWrittenAndGarbageReadsAsTheDefaults) {
    PadSettings settings = profile.read();
    settings.tabStops = 16;
    settings.showCmd = 1;
    settings.font.faceName = "DejaVu Sans Mono";
    settings.printFont.height = 0; // no printer font: its other fields stay as they were
    settings.printFont.faceName = "Ignored";
    profile.write(settings);
    const PadSettings again = profile.read();
    EXPECT_EQ(again.tabStops, 16);
    EXPECT_EQ(again.showCmd, 1);
    EXPECT_EQ(again.font.faceName, "DejaVu Sans Mono");
    EXPECT_EQ(again.printFont.height, 0);
    EXPECT_EQ(value("PrintFont", "FaceName"), "Courier New");

    platform::writeProfileString(profile.path(), "Settings", "TabStops", "-5");
    platform::writeProfileString(profile.path(), "Settings", "ligne_max", "0");
    platform::writeProfileString(profile.path(), "Settings", "WordWrap", "oui");
    platform::writeProfileString(profile.path(), "Font", "Height", "12px");
    platform::writeProfileString(profile.path(), "PrintFont", "Height", "999999999");
    const PadSettings garbage = profile.read();
    EXPECT_EQ(garbage.tabStops, 32);
    EXPECT_EQ(garbage.lineLimit, 5001);
    EXPECT_EQ(garbage.wordWrap, 1);
    EXPECT_EQ(garbage.font.height, 0);
    EXPECT_EQ(garbage.printFont.height, 0) << "a height no font can draw reads as none";
    platform::writeProfileString(profile.path(), "PrintFont", "Height", "-500");
    EXPECT_EQ(profile.read().printFont.height, -500);
}

TEST_F(Settings, NumbersIgnoreACommaLocale) {
    if (!useCommaLocale(folder.path())) GTEST_SKIP() << "no French locale";
    PadSettings settings = profile.read();
    settings.lineLimit = 12345;
    profile.write(settings);
    EXPECT_EQ(value("Settings", "ligne_max"), "12345");
    EXPECT_EQ(profile.read().lineLimit, 12345);
    EXPECT_EQ(parseTraceBits("4096"), 4096);
    restoreCLocale();
}

TEST(WindowPlacementText, OnlyTenNumbersOnAMonitorAreUsed) {
    setenv("ZORTA_MONITORS", "1920x1080+0+0;1280x1024-1280+0", 1);
    platform::resetScreens();
    CMonitors monitors;
    const std::optional<WindowPlacement> saved = usablePlacement("2,3,-1,-1,-8,-8,100,50,900,650", monitors);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->flags, WindowPlacement::kRestoreToMaximized);
    EXPECT_EQ(saved->normal.right, 900);
    EXPECT_EQ(formatPlacement(*saved), "2,3,-1,-1,-8,-8,100,50,900,650");
    EXPECT_EQ(startShowCommand(1, *saved), 3) << "the normal show takes the saved one";
    EXPECT_EQ(startShowCommand(6, *saved), 6);
    EXPECT_TRUE(usablePlacement("0,1,0,0,0,0,-1000,10,-900,110", monitors)) << "on the second monitor";

    EXPECT_FALSE(usablePlacement("0,1,0,0,0,0,100,50,900", monitors)) << "9 numbers";
    EXPECT_FALSE(usablePlacement("0,1,0,0,0,0,100,50,900,650,1", monitors)) << "11 numbers";
    EXPECT_FALSE(usablePlacement("a,b", monitors));
    EXPECT_FALSE(usablePlacement("0,1,0,0,0,0,3000,50,3800,650", monitors)) << "off every monitor";
    EXPECT_FALSE(usablePlacement("0,1,0,0,0,0,1860,0,1990,80", monitors))
        << "4,800 square pixels is not enough";
    EXPECT_TRUE(usablePlacement("0,1,0,0,0,0,1859,0,1990,80", monitors));
    unsetenv("ZORTA_MONITORS");
    platform::resetScreens();
}

TEST(TraceBits, HexadecimalOrDecimalAndNothingForText) {
    EXPECT_EQ(parseTraceBits("0x100"), 256);
    EXPECT_EQ(parseTraceBits(" 0X1F "), 31);
    EXPECT_EQ(parseTraceBits("256"), 256);
    EXPECT_EQ(parseTraceBits("0"), 0);
    EXPECT_FALSE(parseTraceBits("abc"));
    EXPECT_FALSE(parseTraceBits("0x"));
    EXPECT_FALSE(parseTraceBits("12a"));
    EXPECT_EQ(traceBitsInitialText(4095), "4095");
    EXPECT_EQ(traceBitsInitialText(4096), "0x1000");
    const std::string explanation = traceBitsExplanation(256);
    EXPECT_EQ(
        explanation.rfind("Valeure actuelle : 256 = 0x100\nSaisir un nombre ou une valeure HEXA de la forme "
                          "0x100\n\n+1 >> ",
                          0),
        0u);
}

} // namespace

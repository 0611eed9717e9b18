#include <gtest/gtest.h>

#include "app/IniText.h"

using settings::FindRawIniValue;

TEST(IniText, FindsTheValueAsTheProfileFunctionsWould) {
    const std::string ini =
        "; comment\r\n[Other]\r\nOutputDirectory=wrong\r\n[ options ]\r\n  outputdirectory =  C:\\Vid\xE9os\\ \r\n"
        "OutputFormat=\"AVI (*.avi)\"\r\nOutputDirectory=second\r\n";
    EXPECT_EQ(FindRawIniValue(ini, "Options", "OutputDirectory"), "C:\\Vid\xE9os\\");
    EXPECT_EQ(FindRawIniValue(ini, "Options", "OutputFormat"), "AVI (*.avi)") << "enclosing quotes dropped";
    EXPECT_EQ(FindRawIniValue(ini, "Options", "SameInput"), std::nullopt);
    EXPECT_EQ(FindRawIniValue(ini, "Missing", "OutputDirectory"), std::nullopt);
    EXPECT_EQ(FindRawIniValue("", "Options", "OutputDirectory"), std::nullopt);
    EXPECT_EQ(FindRawIniValue("[Options]\nA=1\n[Options]\nB=2\n", "Options", "B"), std::nullopt)
        << "only the first section of a name counts";
    EXPECT_EQ(FindRawIniValue("[Options]\nA=\n", "Options", "A"), "");
}

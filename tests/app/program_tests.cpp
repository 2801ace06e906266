#include "window/program.h"
#include "app/update_reminder.h"

#include <gtest/gtest.h>

TEST(Scale, DesignUnitsRoundHalvesToEven) {
    double scale = 0.96;
    EXPECT_EQ(scaled(788, scale), 756);
    EXPECT_EQ(scaled(547, scale), 525);
    scale = 1.2;
    EXPECT_EQ(scaled(788, scale), 946);
    EXPECT_EQ(scaled(547, scale), 656);
    scale = 0.5;
    EXPECT_EQ(scaled(5, scale), 2);
    EXPECT_EQ(scaled(7, scale), 4);
    scale = 1.0;
    EXPECT_EQ(scaled(740, scale), 740);
}

TEST(ManualPath, EveryExeIsRemoved) {
    EXPECT_EQ(manualPathFor(L"C:\\Tools\\App.EXE"), L"C:\\Tools\\App.chm");
    EXPECT_EQ(manualPathFor(L"C:\\Tools\\Setup.exe.exe"), L"C:\\Tools\\Setup.chm");
    EXPECT_EQ(manualPathFor(L"D:\\Ravlek\\Ravlek.exe"), L"D:\\Ravlek\\Ravlek.chm");
    EXPECT_EQ(manualPathFor(L"D:\\Tools.exe\\Ravlek.exe"), L"D:\\Tools.exe\\Ravlek.chm") << "folders keep their names";
}

TEST(UpdateReminder, MessageText) {
    EXPECT_EQ(updateReminderText(L"Ravlek", L"1.0", L"http://ravlek.example.com/"),
              L"You are using Ravlek v1.0\n\nAn update with bug fixes and/or new features could\n"
              L"be available at http://ravlek.example.com/ right now.  Click the\n"
              L"OK button if you'd like to go there and have a look.");
}

#include "window/program.h"
#include "app/update_reminder.h"
#include "toolkit/local_date.h"

#include "support/fixture.h"
#include "support/scripted_person.h"

#include <gtest/gtest.h>

namespace {

// The program's record as start-up fills it, for these tests alone.
Program& program() {
    static Program record;
    return record;
}

}  // namespace

namespace {

class Reminder : public ::testing::Test {
protected:
    void SetUp() override {
        nameProgram(program());
        program().settingsPath = makeFixtureFolder() + L"Ravlek.ini";
        program().firstRun = false;
    }
    static int thisYear() { return DateYear(NowLocal()); }
    static bool fileHasYear(int year) {
        return readBytes(program().settingsPath).find("Update_Check = " + std::to_string(year) + "\r\n") != std::string::npos;
    }
};

}  // namespace

TEST_F(Reminder, FirstRunShowsNothingAndStoresZero) {
    UseScriptedPerson script;
    program().firstRun = true;
    program().updateCheckYear = 0;
    runUpdateReminder(program());
    EXPECT_TRUE(script.person().messages.empty());
    EXPECT_TRUE(fileHasYear(0));
}

TEST_F(Reminder, SameYearShowsNothingButStillWrites) {
    UseScriptedPerson script;
    program().updateCheckYear = thisYear();
    runUpdateReminder(program());
    EXPECT_TRUE(script.person().messages.empty());
    EXPECT_TRUE(fileHasYear(thisYear()));
}

TEST_F(Reminder, AnyOtherYearAsksAndStoresThisYearWhateverTheAnswer) {
    for (int stored : {0, thisYear() - 1, thisYear() + 1}) {
        UseScriptedPerson script;
        script.person().answer = IDCANCEL;
        program().updateCheckYear = stored;
        runUpdateReminder(program());
        ASSERT_EQ(script.person().messages.size(), 1u) << stored;
        EXPECT_EQ(script.person().messages[0].caption, L"Yearly Update Check");
        EXPECT_EQ(script.person().messages[0].type, 0x52041u);
        EXPECT_TRUE(script.person().opened.empty()) << "Cancel opens nothing";
        EXPECT_TRUE(fileHasYear(thisYear()));
    }
}

TEST_F(Reminder, OkOpensTheMakersAddress) {
    UseScriptedPerson script;
    script.person().answer = IDOK;
    program().updateCheckYear = 1999;
    runUpdateReminder(program());
    ASSERT_EQ(script.person().opened.size(), 1u);
    EXPECT_EQ(script.person().opened[0], program().makerAddress);
}

#include "app/update_reminder.h"

#include "app/settings.h"
#include "toolkit/local_date.h"
#include "toolkit/person.h"
#include "window/program.h"

std::wstring updateReminderText(const std::wstring& name, const std::wstring& version, const std::wstring& address) {
    return L"You are using " + name + L" v" + version + L"\n\n" +
           L"An update with bug fixes and/or new features could\n" + L"be available at " + address +
           L" right now.  Click the\n" + L"OK button if you'd like to go there and have a look.";
}

void runUpdateReminder(Program& p) {
    const int year = DateYear(NowLocal());
    if (!p.firstRun && year != p.updateCheckYear) {
        // Stored before asking, so the year counts as reminded whatever the answer.
        p.updateCheckYear = year;
        int answer = ShowMessage(updateReminderText(p.name, p.version, p.makerAddress), L"Yearly Update Check",
                                 messageOkCancel | messageInformation);
        if (answer == answerOk) OpenAddress(p.makerAddress);
    }
    saveSettings(p);
}

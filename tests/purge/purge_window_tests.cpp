// Deleting and moving from the main window, judged by what is on the disk.
// Source files live on S: (searched), targets on E:.
#include "window/control_ids.h"
#include "window/main_window.h"
#include "app/event_loop.h"
#include "window/program.h"
#include "toolkit/native.h"
#include "results/size_text.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/file_ops.h"
#include "toolkit/handles.h"
#include "toolkit/paths.h"
#include "toolkit/person.h"

#include "support/disk_snapshot.h"
#include "support/fixture.h"
#include "support/gui.h"
#include "support/main_window_environment.h"
#include "support/scripted_person.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

[[maybe_unused]] const bool windowBuilt = (useMainWindow(), true);

const std::wstring source = L"S:\\files\\";
const std::wstring oneRefused = L"\n1 file was left because Windows refused (in use, read-only or protected).";

class Purge : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(startInEmptyFolder(L"S:", L"S:\\files"));
        target = makeFixtureFolder(L"E:");
        ControlSetState(idReadOnlyOption, 0);
        ControlSetState(idTempFilesOption, 0);
        ControlSetText(idMoveTargetField, L"");
        copyFileCall() = CopyFileExW;
        savedTemp = testApp().program.tempFolder;
        savedWindows = testApp().program.windowsFolder;
    }
    void TearDown() override {
        copyFileCall() = CopyFileExW;
        testApp().program.tempFolder = savedTemp;
        testApp().program.windowsFolder = savedWindows;
    }

    // Files with their own contents, so that a snapshot tells them apart.
    static void makeFile(const std::wstring& path, size_t size) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + (i * 7 + path.size()) % 26);
        makeTextFile(path, bytes);
    }
    // Lists every file below S:\files as a search would, largest first.
    static void listFiles() { searchByName(L"."); }
    static int rowOf(const std::wstring& path) {
        for (int row = 0; row < ControlItemCount(idResultsList); ++row)
            if (ControlItemText(idResultsList, row, 1) == path) return row;
        return -1;
    }
    static void tick(const std::wstring& path) {
        int row = rowOf(path);
        ASSERT_GE(row, 0) << "not listed";
        ControlSetItemState(idResultsList, row, 2);
    }
    static bool ticked(const std::wstring& path) {
        int row = rowOf(path);
        return row >= 0 && (ControlItemState(idResultsList, row) & 2);
    }
    void setTarget(const std::wstring& text) {
        ControlSetText(idMoveTargetField, text);
        dispatchControlEvent(testApp(), idMoveTargetField, kindChange);
    }
    Snapshot disk() const { return snapshot({source, target}); }
    // Files made in the source, listed, ticked and bound for the target.
    void filesToMove(std::initializer_list<std::pair<const wchar_t*, size_t>> files) {
        for (const auto& [name, size] : files) makeFile(source + name, size);
        listFiles();
        for (const auto& file : files) tick(source + file.first);
        setTarget(target);
    }

    std::wstring target, savedTemp, savedWindows;
};

}  // namespace

TEST_F(Purge, CancelInEitherConfirmationChangesNothing) {
    filesToMove({{L"a.bin", 100}, {L"b.bin", 200}});
    const Snapshot before = disk();
    for (int button : {idDeleteButton, idMoveButton}) {
        UseScriptedPerson script;
        script.person().answer = IDCANCEL;
        dispatchControlEvent(testApp(), button, kindClick);
        ASSERT_EQ(script.person().messages.size(), 1u) << "only the confirmation, no summary";
        EXPECT_EQ(script.person().messages[0].type & MB_DEFBUTTON2, static_cast<UINT>(MB_DEFBUTTON2));
    }
    EXPECT_EQ(disk(), before);
    EXPECT_EQ(ControlItemCount(idResultsList), 2);
    EXPECT_TRUE(ticked(source + L"a.bin"));
}

TEST_F(Purge, DeletesAdjacentTickedFilesAndReportsTheSpace) {
    makeFile(source + L"keep.bin", 300);
    makeFile(source + L"one.bin", 200);
    makeFile(source + L"two.bin", 100);
    makeFile(source + L"last.bin", 50);
    listFiles();
    tick(source + L"one.bin");
    tick(source + L"two.bin");
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    ASSERT_EQ(script.person().messages.size(), 2u);
    EXPECT_EQ(script.person().messages[0].caption, L"*** WARNING ***");
    EXPECT_EQ(script.person().messages[0].text,
              L"Ready to permanently delete all the ticked files?\nThey are NOT put in the Recycle Bin for recovery!");
    EXPECT_EQ(script.person().messages[0].type, 0x52131u);
    EXPECT_EQ(script.person().messages[1].text, L"Files purged from S: drive freed 300 bytes of space.");
    EXPECT_EQ(script.person().messages[1].caption, L"Ravlek");
    EXPECT_EQ(script.person().messages[1].type, 0x52040u);

    const Snapshot after = disk();
    EXPECT_EQ(after.size(), 2u);
    EXPECT_TRUE(after.count(source + L"keep.bin"));
    EXPECT_EQ(ControlItemCount(idResultsList), 2);
    EXPECT_EQ(ControlText(idDriveList).substr(0, 2), L"S:") << "the source drive is selected again";
    EXPECT_FALSE(IsWindow(ControlNativeHandle(idBusyNotice)));
    EXPECT_EQ(ControlFocus(), idResultsList);

    // The row that moved up past the removed ones is still the file it was found as.
    tick(source + L"last.bin");
    UseScriptedPerson again;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    EXPECT_EQ(again.person().messages.back().text, L"Files purged from S: drive freed 50 bytes of space.");
    EXPECT_EQ(disk().size(), 1u);
}

// "Freed" is space on the disk: a sparse file counts the nothing it held, one
// written only in places its written parts, an ordinary file its size; the
// drive's free space moves by what the summary says.
TEST_F(Purge, FreedSpaceIsWhatTheFilesHeldOnTheDisk) {
    constexpr long long megabyte = 1024 * 1024;
    makeSizedFile(source + L"sparse.vhd", 3072 * megabyte);
    makeSizedFile(source + L"islands.img", 2048 * megabyte);
    {
        FileHandle file(CreateFileW((source + L"islands.img").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        LARGE_INTEGER at;
        at.QuadPart = 1024 * megabyte;
        ASSERT_TRUE(SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN));
        const std::string island(static_cast<size_t>(3 * megabyte), 'i');
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), island.data(), static_cast<DWORD>(island.size()), &written, nullptr));
    }
    makeFile(source + L"ordinary.bin", 110 * 1024);
    auto allocation = [](const std::wstring& path) {
        FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        FILE_STANDARD_INFO standard{};
        EXPECT_TRUE(GetFileInformationByHandleEx(file.get(), FileStandardInfo, &standard, sizeof standard));
        return standard.AllocationSize.QuadPart;
    };
    ASSERT_LT(allocation(source + L"sparse.vhd"), megabyte) << "this host keeps sparse files sparse";
    const long long islands = allocation(source + L"islands.img");
    ASSERT_GE(islands, 3 * megabyte);
    ASSERT_LT(islands, 8 * megabyte);
    ASSERT_GE(allocation(source + L"ordinary.bin"), 110 * 1024) << "its size, not its clusters, is what it frees";
    const long long held = allocation(source + L"sparse.vhd") + islands + 110 * 1024;

    listFiles();
    for (const wchar_t* name : {L"sparse.vhd", L"islands.img", L"ordinary.bin"}) tick(source + name);
    ULARGE_INTEGER freeBefore{}, freeAfter{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"S:\\", &freeBefore, nullptr, nullptr));
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"S:\\", &freeAfter, nullptr, nullptr));
    EXPECT_EQ(script.person().messages.back().text,
              L"Files purged from S: drive freed " + sizeText(static_cast<double>(held)) + L" of space.");
    EXPECT_TRUE(disk().empty());
    const long long gained = static_cast<long long>(freeAfter.QuadPart) - static_cast<long long>(freeBefore.QuadPart);
    EXPECT_NEAR(static_cast<double>(gained), static_cast<double>(held), 64.0 * megabyte)
        << "the drive gained what the summary says, not the 5 GB the files measured";
}

// Drive N: (an NTFS image, its table read) holds a cloud file's placeholder:
// the delete's confirmation says what deleting it does before anything happens.
TEST_F(Purge, TheDeleteConfirmationNamesOnlineOnlyFiles) {
    ASSERT_TRUE(selectDrive(L"N:"));
    testApp().readVolumeTables = true;
    ControlSetState(idCriterionSelector, 0);
    dispatchControlEvent(testApp(), idCriterionSelector, kindChange);
    dispatchControlEvent(testApp(), idSearchButton, kindClick);
    tick(L"N:\\cloud\\online only.docx");
    tick(L"N:\\sizes\\big.img");
    UseScriptedPerson script;
    script.person().answer = IDCANCEL;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    ASSERT_EQ(script.person().messages.size(), 1u);
    EXPECT_EQ(script.person().messages[0].text,
              L"1 of the ticked files is online-only: deleting it frees no space on this PC and removes it from your "
              L"cloud storage too.\nReady to permanently delete all the ticked files?\nThey are NOT put in the Recycle "
              L"Bin for recovery!");
    EXPECT_EQ(script.person().messages[0].type & MB_DEFBUTTON2, static_cast<UINT>(MB_DEFBUTTON2));
    EXPECT_TRUE(ticked(L"N:\\cloud\\online only.docx"));
}

TEST_F(Purge, ReadOnlyFilesNeedTheOptionAndFilesInUseStay) {
    makeFile(source + L"locked.bin", 100);
    makeFile(source + L"busy.bin", 50);
    ASSERT_TRUE(SetFileAttributesW((source + L"locked.bin").c_str(), FILE_ATTRIBUTE_READONLY));
    listFiles();
    tick(source + L"locked.bin");
    tick(source + L"busy.bin");
    {
        FileHandle held(CreateFileW((source + L"busy.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        UseScriptedPerson script;
        dispatchControlEvent(testApp(), idDeleteButton, kindClick);
        EXPECT_EQ(script.person().messages.back().text,
                  L"Files purged from S: drive freed 0 bytes of space.\n2 files were left because Windows refused (in "
                  L"use, read-only or protected).");
    }
    EXPECT_EQ(disk().size(), 2u);
    EXPECT_TRUE(ticked(source + L"locked.bin"));
    EXPECT_TRUE(ticked(source + L"busy.bin"));

    ControlSetState(idReadOnlyOption, 1);
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    EXPECT_EQ(script.person().messages.back().text, L"Files purged from S: drive freed 150 bytes of space.");
    EXPECT_TRUE(disk().empty());
    EXPECT_EQ(ControlItemCount(idResultsList), 0);
}

TEST_F(Purge, ATickedFileOnTheWindowsDriveBringsTheNote) {
    makeFile(source + L"a.bin", 10);
    listFiles();
    tick(source + L"a.bin");
    testApp().program.windowsFolder = L"S:\\Windows\\";
    UseScriptedPerson script;
    script.person().answer = IDCANCEL;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    ASSERT_EQ(script.person().messages.size(), 1u);
    EXPECT_EQ(script.person().messages[0].text.substr(0, 53), L"Note: Altering your S: drive can wreck your PC.\nReady");
}

TEST_F(Purge, RefusedTargetsMoveNothing) {
    makeFile(source + L"a.bin", 10);
    listFiles();
    tick(source + L"a.bin");
    const Snapshot before = disk();
    for (const std::wstring& refused : {std::wstring(L"S:\\elsewhere"), std::wstring(L"s:\\files"), target + L"missing",
                                        std::wstring(L"R:\\"), std::wstring(L"\\"), std::wstring(L"")}) {
        setTarget(refused);
        UseScriptedPerson script;
        dispatchControlEvent(testApp(), idMoveButton, kindClick);
        ASSERT_EQ(script.person().messages.size(), 1u) << testing::PrintToString(refused);
        EXPECT_EQ(script.person().messages[0].text, L"The specified drive isn't valid, or files can't be moved there.");
        EXPECT_EQ(script.person().messages[0].type, 0x52030u);
        EXPECT_EQ(ControlFocus(), idMoveTargetField);
    }
    EXPECT_EQ(disk(), before);
}

TEST_F(Purge, TargetFieldTurnsRedForUnusableTargets) {
    setTarget(L"S:\\files");
    EXPECT_EQ(testApp().purge.moveTarget, L"S:\\files\\");
    EXPECT_EQ(ControlText(idMoveTargetField), L"S:\\files") << "the field keeps what was typed";
    setTarget(target + L"missing");
    setTarget(target.substr(0, target.size() - 1));
    EXPECT_EQ(testApp().purge.moveTarget, target);
}

TEST_F(Purge, MovesVerifiedCopiesAndNeverOverwrites) {
    makeFolder(source + L"one");
    makeFolder(source + L"two");
    makeFile(source + L"one\\same name.txt", 400);
    makeFile(source + L"two\\same name.txt", 300);
    makeFile(source + L"locked.bin", 200);
    makeFile(source + L"empty.dat", 0);
    makeFile(source + L"stays.bin", 50);
    ASSERT_TRUE(SetFileAttributesW((source + L"locked.bin").c_str(), FILE_ATTRIBUTE_READONLY));
    makeFile(target + L"same name.txt", 123);  // already in the target: must survive
    listFiles();
    for (auto name : {L"one\\same name.txt", L"two\\same name.txt", L"locked.bin", L"empty.dat"}) tick(source + name);
    setTarget(target.substr(0, target.size() - 1));  // typed without the backslash
    const Snapshot before = disk();

    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    ASSERT_EQ(script.person().messages.size(), 2u);
    EXPECT_EQ(script.person().messages[0].caption, L"Confirm");
    EXPECT_EQ(script.person().messages[0].text, L"Start moving all the ticked files to another drive?");
    EXPECT_EQ(script.person().messages[1].text, L"Files moved from S: drive freed 900 bytes of space.");

    const Snapshot after = disk();
    EXPECT_EQ(contents(after), contents(before)) << "every file exists exactly once";
    for (auto name : {L"one\\same name.txt", L"two\\same name.txt", L"locked.bin", L"empty.dat"})
        EXPECT_FALSE(after.count(source + name));
    EXPECT_TRUE(after.count(source + L"stays.bin"));
    EXPECT_EQ(after.at(target + L"same name.txt"), before.at(target + L"same name.txt"));
    EXPECT_EQ(ControlItemCount(idResultsList), 1);
    EXPECT_LE(ControlState(idProgressBar), 1) << "the bar is empty between files";
    EXPECT_EQ(ControlText(idDriveList).substr(0, 2), L"S:");
}

namespace {

// A copy that goes in quarters and reports each one, as a real copy would.
int progressSeen;
int cancelAtPercent;
ScriptedPerson* person;  // the copy presses Escape through it

BOOL WINAPI scriptedCopy(LPCWSTR from, LPCWSTR to, LPPROGRESS_ROUTINE progress, LPVOID data, LPBOOL, DWORD flags) {
    if ((flags & COPY_FILE_FAIL_IF_EXISTS) && GetFileAttributesW(to) != INVALID_FILE_ATTRIBUTES) {
        SetLastError(ERROR_FILE_EXISTS);
        return FALSE;
    }
    std::string bytes = readBytes(from);
    LARGE_INTEGER total, done, zero{};
    total.QuadPart = static_cast<LONGLONG>(bytes.size());
    for (int quarter = 1; quarter <= 4; ++quarter) {
        done.QuadPart = total.QuadPart * quarter / 4;
        makeTextFile(to, bytes.substr(0, static_cast<size_t>(done.QuadPart)));
        if (quarter * 25 >= cancelAtPercent) person->heldKeys.insert(VK_ESCAPE);
        if (progress(total, done, zero, zero, 1, CALLBACK_CHUNK_FINISHED, nullptr, nullptr, data) == PROGRESS_CANCEL) {
            person->heldKeys.erase(VK_ESCAPE);  // let go once the copy stops
            DeleteFileW(to);
            SetLastError(ERROR_REQUEST_ABORTED);
            return FALSE;
        }
        progressSeen = std::max(progressSeen, static_cast<int>(SendMessageW(
                                                  ControlNativeHandle(idProgressBar), PBM_GETPOS, 0, 0)));
        Sleep(20);
    }
    return TRUE;
}

// A copy that always comes out short.
BOOL WINAPI shortCopy(LPCWSTR from, LPCWSTR to, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD) {
    std::string bytes = readBytes(from);
    makeTextFile(to, bytes.substr(0, bytes.size() / 2));
    return TRUE;
}

}  // namespace

TEST_F(Purge, ProgressRisesAndEscapeDuringACopyLeavesNoPartialFile) {
    filesToMove({{L"first.bin", 4000}, {L"second.bin", 2000}});
    copyFileCall() = scriptedCopy;
    progressSeen = 0;
    cancelAtPercent = 1000;  // never
    {
        UseScriptedPerson script;
        person = &script.person();
        // Only the first file: the second waits for the next purge.
        ControlSetItemState(idResultsList, rowOf(source + L"second.bin"), 0);
        dispatchControlEvent(testApp(), idMoveButton, kindClick);
        EXPECT_EQ(script.person().messages.back().text, L"Files moved from S: drive freed 3.91 KB of space.");
    }
    EXPECT_GE(progressSeen, 50) << "the bar followed the copy";
    EXPECT_LE(ControlState(idProgressBar), 1);

    const Snapshot before = disk();
    ControlSetItemState(idResultsList, rowOf(source + L"second.bin"), 2);
    cancelAtPercent = 50;
    UseScriptedPerson script;
    person = &script.person();
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    EXPECT_EQ(script.person().messages.back().text, L"Files moved from S: drive freed 0 bytes of space.");
    EXPECT_EQ(disk(), before) << "no partial copy, the source in place";
    EXPECT_TRUE(ticked(source + L"second.bin"));
}

TEST_F(Purge, ACopyThatKeepsFailingIsPassedOverWithNothingLeftBehind) {
    filesToMove({{L"stubborn.bin", 1000}});
    copyFileCall() = shortCopy;
    const Snapshot before = disk();
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    EXPECT_EQ(script.person().messages.back().text, L"Files moved from S: drive freed 0 bytes of space." + oneRefused);
    EXPECT_EQ(disk(), before);
    EXPECT_TRUE(ticked(source + L"stubborn.bin"));
}

TEST_F(Purge, ASourceThatCannotBeDeletedTakesItsCopyBack) {
    filesToMove({{L"held.bin", 500}});
    const Snapshot before = disk();
    FileHandle held(CreateFileW((source + L"held.bin").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr));
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    EXPECT_EQ(script.person().messages.back().text, L"Files moved from S: drive freed 0 bytes of space." + oneRefused);
    EXPECT_EQ(disk(), before);
    EXPECT_TRUE(ticked(source + L"held.bin"));
}

TEST_F(Purge, TemporaryFilesAreEmptiedExceptWhatIsInUse) {
    const std::wstring temp = makeFixtureFolder(L"E:") + L"Temp\\";
    makeFolder(temp);
    makeFolder(temp + L"sub");
    makeFile(temp + L"old.tmp", 1000);
    makeFile(temp + L"sub\\deeper.tmp", 1000);
    makeFile(temp + L"open.tmp", 10);
    testApp().program.tempFolder = temp;
    FileHandle held(CreateFileW((temp + L"open.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr));
    listFiles();
    ControlSetState(idTempFilesOption, 1);
    dispatchControlEvent(testApp(), idTempFilesOption, kindClick);
    EXPECT_TRUE(IsWindowEnabled(ControlNativeHandle(idDeleteButton))) << "nothing ticked, yet a purge is possible";

    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    const std::wstring summary = script.person().messages.back().text;
    EXPECT_EQ(summary.substr(0, summary.find(L'\n')), L"Files purged from S: drive freed 0 bytes of space.");
    EXPECT_EQ(summary.substr(summary.find(L'\n') + 1, 29), L"Temporary files purged freed ");
    EXPECT_EQ(summary.substr(summary.size() - 10), L" of space.");
    const Snapshot left = snapshot({temp});
    EXPECT_EQ(left.size(), 1u);
    EXPECT_TRUE(left.count(temp + L"open.tmp"));
    EXPECT_EQ(PathSize(temp), -2) << "the folder is there afterwards";
}

TEST_F(Purge, ATemporaryFolderThatIsADriveRootIsLeftAlone) {
    const std::wstring sentinel = makeFixtureFolder(L"E:") + L"precious.txt";
    makeFile(sentinel, 64);
    for (const wchar_t* dangerous : {L"E:\\", L"\\", L"S:"}) {
        testApp().program.tempFolder = dangerous;
        ControlSetState(idTempFilesOption, 1);
        dispatchControlEvent(testApp(), idTempFilesOption, kindClick);
        UseScriptedPerson script;
        dispatchControlEvent(testApp(), idDeleteButton, kindClick);
        const std::wstring summary = script.person().messages.back().text;
        EXPECT_NE(summary.find(L"\nTemporary files were left alone: "), std::wstring::npos) << summary;
        EXPECT_EQ(readBytes(sentinel).size(), 64u);
    }
    testApp().program.tempFolder = testApp().program.windowsFolder + L"Temp\\";
    EXPECT_FALSE(testApp().program.tempFolder.empty());
}

// TEMP set to a person's own folder, to a relative path or in quotes: whatever the
// setting, no file of those folders goes, and the summary names the setting.
TEST_F(Purge, ATemporaryFolderThatIsAPersonsFolderIsNeverEmptied) {
    wchar_t profile[MAX_PATH] = L"", documents[MAX_PATH] = L"", desktop[MAX_PATH] = L"";
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, profile)));
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents)));
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, desktop)));
    const std::wstring users = PathFolderPart(profile);  // holds the profile with its folders
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    const std::vector<std::wstring> kept = {std::wstring(documents) + L"\\letter.doc",
                                            std::wstring(desktop) + L"\\note.txt",
                                            std::wstring(current) + L"\\beside the program.txt"};
    for (const std::wstring& file : kept) makeFile(file, 300);
    // The current folder is the tests' own, where other tests may write meanwhile:
    // the file put there is what is judged.
    const Snapshot before = snapshot({documents, desktop});
    const std::string besideTheProgram = readBytes(kept[2]);

    const struct {
        std::wstring setting, reason;
    } cases[] = {
        {documents, L"is your Documents folder"},     {desktop, L"is your Desktop folder"},
        {users, L"holds your profile folder"},        {L".", L"is not a full path to a folder"},
        {L"\"" + std::wstring(documents) + L"\"", L"is not a full path to a folder"},
    };
    for (const auto& [setting, reason] : cases) {
        SetEnvironmentVariableW(L"TMP", setting.c_str());
        testApp().program.tempFolder = TempFilesFolder();
        if (testApp().program.tempFolder.empty()) testApp().program.tempFolder = L"\\";
        ControlSetState(idTempFilesOption, 1);
        dispatchControlEvent(testApp(), idTempFilesOption, kindClick);
        UseScriptedPerson script;
        dispatchControlEvent(testApp(), idDeleteButton, kindClick);
        EXPECT_NE(script.person().messages.back().text.find(L"\nTemporary files were left alone: " + setting + L" " +
                                                            reason + L"."),
                  std::wstring::npos)
            << script.person().messages.back().text;
        EXPECT_EQ(snapshot({documents, desktop}), before) << testing::PrintToString(setting);
        EXPECT_EQ(readBytes(kept[2]), besideTheProgram) << testing::PrintToString(setting);
    }
    SetEnvironmentVariableW(L"TMP", nullptr);
    for (const std::wstring& file : kept) DeleteFileW(file.c_str());
}

// Names the ordinary path rules would change, and a source that another program
// holds open with delete sharing: every content stays exactly once.
TEST_F(Purge, LookAlikeNamesAndAHeldSourceLoseNothing) {
    makeFile(source + L"report", 100);
    makeFile(source + L"report.", 200);
    makeFile(source + L"notes.txt", 300);
    makeFile(source + L"notes.txt ", 400);
    makeFile(source + L"held.bin", 500);
    listFiles();
    tick(source + L"report.");
    const Snapshot before = disk();
    {
        UseScriptedPerson script;
        dispatchControlEvent(testApp(), idDeleteButton, kindClick);
        EXPECT_EQ(script.person().messages.back().text, L"Files purged from S: drive freed 200 bytes of space.");
    }
    Snapshot after = disk();
    EXPECT_EQ(after.size(), before.size() - 1);
    EXPECT_FALSE(after.count(source + L"report."));
    EXPECT_EQ(after.at(source + L"report"), before.at(source + L"report"));

    tick(source + L"notes.txt ");
    tick(source + L"held.bin");
    setTarget(target);
    {
        FileHandle holder(CreateFileW((source + L"held.bin").c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      0, nullptr));
        ASSERT_TRUE(holder.valid());
        UseScriptedPerson script;
        dispatchControlEvent(testApp(), idMoveButton, kindClick);
        EXPECT_EQ(script.person().messages.back().text, L"Files moved from S: drive freed 900 bytes of space.")
            << "a delete that waits for the holder counts";
    }  // the other program lets go only after the move
    after = disk();
    Snapshot expected = before;
    expected.erase(source + L"report.");
    EXPECT_EQ(contents(after), contents(expected)) << "every other content exactly once";
    EXPECT_EQ(after.at(target + L"notes.txt "), before.at(source + L"notes.txt "));
    EXPECT_EQ(after.at(target + L"held.bin"), before.at(source + L"held.bin"));
    EXPECT_EQ(after.at(source + L"notes.txt"), before.at(source + L"notes.txt"));
    EXPECT_EQ(rowOf(source + L"held.bin"), -1);
    EXPECT_EQ(rowOf(source + L"notes.txt "), -1);
}

TEST_F(Purge, ASourceTakenAwayAfterItsCopyKeepsTheCopy) {
    filesToMove({{L"vanishing.bin", 700}});
    const Snapshot before = disk();
    copyFileCall() = [](LPCWSTR from, LPCWSTR to, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD) -> BOOL {
        const BOOL copied = CopyFileExW(from, to, nullptr, nullptr, nullptr, 0);
        DeleteFileW(from);  // another program removes the source right after
        return copied;
    };
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    EXPECT_EQ(contents(disk()), contents(before)) << "the copy is the only one left, and it stays";
    EXPECT_TRUE(disk().count(target + L"vanishing.bin"));
}

TEST_F(Purge, AFailedCopyRemovesOnlyWhatItMade) {
    filesToMove({{L"contested.bin", 600}});
    copyFileCall() = [](LPCWSTR, LPCWSTR to, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD) -> BOOL {
        // Another program puts its own file at the name, then the copy fails.
        const std::wstring theirs = std::wstring(to) + L".theirs";
        makeTextFile(theirs, "their own data");
        MoveFileExW(theirs.c_str(), to, MOVEFILE_REPLACE_EXISTING);
        SetLastError(ERROR_SHARING_VIOLATION);
        return FALSE;
    };
    const Snapshot before = disk();
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    const Snapshot after = disk();
    EXPECT_EQ(after.at(source + L"contested.bin"), before.at(source + L"contested.bin"));
    EXPECT_EQ(after.size(), before.size() + 3) << "each attempt's file belongs to the other program and stays";
    EXPECT_TRUE(ticked(source + L"contested.bin"));
}

// Another program renames the target folder and puts a file in its place while a
// copy goes, then the copy fails: no partial copy is left, under either name.
TEST_F(Purge, ATargetFolderSwappedMidMoveKeepsNoPartialCopy) {
    filesToMove({{L"first.bin", 700}, {L"second.bin", 800}});
    static std::wstring targetFolder;
    targetFolder = target;
    copyFileCall() = [](LPCWSTR from, LPCWSTR to, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD) -> BOOL {
        makeTextFile(to, readBytes(from).substr(0, 100));  // a partial copy
        std::wstring folder = targetFolder;
        folder.pop_back();
        if (MoveFileW(folder.c_str(), (folder + L" renamed").c_str())) makeTextFile(folder, "a file now");
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    };
    const Snapshot sources = snapshot({source});
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    std::wstring renamed = target;
    renamed.insert(renamed.size() - 1, L" renamed");
    EXPECT_EQ(snapshot({source}), sources);
    EXPECT_TRUE(snapshot({target}).empty()) << "no partial copy under the old name";
    EXPECT_TRUE(snapshot({renamed}).empty()) << "nor under a new one";
    EXPECT_TRUE(ticked(source + L"first.bin"));
}

// What a drive letter given to another disk shows: a file of the same name, size
// and last-write time that is another file. It stays, red, and is counted.
TEST_F(Purge, ALookAlikeFileThatIsAnotherFileStays) {
    makeFile(source + L"twin.bin", 900);
    makeFile(source + L"plain.bin", 300);
    listFiles();
    tick(source + L"twin.bin");
    tick(source + L"plain.bin");
    FILETIME written{};
    {
        FileHandle old(CreateFileW((source + L"twin.bin").c_str(), FILE_READ_ATTRIBUTES, 7, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(GetFileTime(old.get(), nullptr, nullptr, &written));
    }
    // Made while the first still exists, so that it is another file, not its
    // index used again (which Linux file systems do at once).
    makeTextFile(source + L"twin.new", std::string(900, 'z'));
    {
        FileHandle now(CreateFileW((source + L"twin.new").c_str(), FILE_WRITE_ATTRIBUTES, 7, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(SetFileTime(now.get(), nullptr, nullptr, &written));
    }
    ASSERT_TRUE(DeleteFileW((source + L"twin.bin").c_str()));
    ASSERT_TRUE(MoveFileW((source + L"twin.new").c_str(), (source + L"twin.bin").c_str()));
    const std::string theirs = readBytes(source + L"twin.bin");
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    EXPECT_EQ(script.person().messages.back().text,
              L"Files purged from S: drive freed 300 bytes of space.\n1 file was left because it changed since the "
              L"search.");
    EXPECT_EQ(readBytes(source + L"twin.bin"), theirs);
    EXPECT_FALSE(exists(source + L"plain.bin"));
    EXPECT_EQ(ControlItemColor(idResultsList, rowOf(source + L"twin.bin"), 1, 1), warningRed);
}

TEST_F(Purge, AMoveIntoTheTemporaryFilesIsRefusedWhileTheyAreEmptied) {
    makeFile(source + L"a.bin", 10);
    const std::wstring temp = target + L"Temp\\";
    makeFolder(temp);
    testApp().program.tempFolder = temp;
    listFiles();
    tick(source + L"a.bin");
    ControlSetState(idTempFilesOption, 1);
    dispatchControlEvent(testApp(), idTempFilesOption, kindClick);
    const Snapshot before = disk();
    for (const std::wstring& into : {temp, target}) {  // in them, or around them
        setTarget(into);
        UseScriptedPerson script;
        dispatchControlEvent(testApp(), idMoveButton, kindClick);
        ASSERT_EQ(script.person().messages.size(), 1u);
        EXPECT_NE(script.person().messages[0].text.find(L"temporary-files option"), std::wstring::npos);
    }
    EXPECT_EQ(disk(), before);
    EXPECT_TRUE(ticked(source + L"a.bin"));
}

// Laid out natively: D:\native\temp-to-root -> E:\ and D:\native\temp-to-folder ->
// D:\native\ordinary-temp.
TEST_F(Purge, ATemporaryFolderIsJudgedWhereItsLinkLeads) {
    const std::wstring onE = makeFixtureFolder(L"E:");
    makeFile(onE + L"precious.txt", 64);
    const Snapshot eBefore = snapshot({onE});
    makeFile(L"D:\\native\\ordinary-temp\\junk.tmp", 100);
    ControlSetState(idTempFilesOption, 1);
    dispatchControlEvent(testApp(), idTempFilesOption, kindClick);

    testApp().program.tempFolder = L"D:\\native\\temp-to-root\\";
    {
        UseScriptedPerson script;
        dispatchControlEvent(testApp(), idDeleteButton, kindClick);
        EXPECT_NE(script.person().messages.back().text.find(L"\nTemporary files were left alone: "), std::wstring::npos);
    }
    EXPECT_EQ(snapshot({onE}), eBefore) << "a link to a drive root empties nothing";

    testApp().program.tempFolder = L"D:\\native\\temp-to-folder\\";
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idDeleteButton, kindClick);
    EXPECT_NE(script.person().messages.back().text.find(L"\nTemporary files purged freed "), std::wstring::npos);
    EXPECT_TRUE(snapshot({L"D:\\native\\ordinary-temp\\"}).empty());
    EXPECT_TRUE(PathIsLink(L"D:\\native\\temp-to-folder")) << "the link itself stays";
}

// Laid out natively: V: and W: report one volume serial.
TEST_F(Purge, TheSearchDriveUnderAnotherLetterIsRefused) {
    const std::wstring folder = makeFixtureFolder(L"V:"), other = makeFixtureFolder(L"W:");
    makeFile(folder + L"a.bin", 10);
    ASSERT_TRUE(selectDrive(L"V:"));
    listFiles();
    tick(folder + L"a.bin");
    setTarget(other);
    const Snapshot before = snapshot({folder, other});
    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    ASSERT_EQ(script.person().messages.size(), 1u);
    EXPECT_EQ(script.person().messages[0].text, L"The specified drive isn't valid, or files can't be moved there.");
    EXPECT_EQ(snapshot({folder, other}), before);
}

// The drive list moved to the target's drive after the search: the move still
// comes from the drive that was searched, which the target is not on.
TEST_F(Purge, AMoveAfterTheDriveListChangedComesFromTheSearchedDrive) {
    filesToMove({{L"a.bin", 10}});
    ASSERT_TRUE(selectDrive(target.substr(0, 2)));
    const Snapshot before = disk();

    UseScriptedPerson script;
    dispatchControlEvent(testApp(), idMoveButton, kindClick);
    ASSERT_EQ(script.person().messages.size(), 2u);
    EXPECT_EQ(script.person().messages[1].text, L"Files moved from S: drive freed 10 bytes of space.");
    const Snapshot after = disk();
    EXPECT_EQ(contents(after), contents(before));
    EXPECT_FALSE(after.count(source + L"a.bin"));
    EXPECT_TRUE(after.count(target + L"a.bin"));
    EXPECT_EQ(ControlText(idDriveList).substr(0, 2), L"S:") << "the searched drive is selected again";
}

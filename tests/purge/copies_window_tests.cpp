// "Tick extra copies" and "Save list as…" from the results list's menu, judged by
// the ticks, the status and the disk. Files live on S:\files, which the
// purge's tests empty as well.
#include "window/control_ids.h"
#include "app/event_loop.h"
#include "results/size_text.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/file_ops.h"
#include "toolkit/handles.h"
#include "toolkit/native.h"
#include "toolkit/person.h"
#include "toolkit/resources.h"

#include "support/disk_snapshot.h"
#include "support/fixture.h"
#include "support/gui.h"
#include "support/main_window_environment.h"
#include "support/scripted_person.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::wstring folder = L"S:\\files\\";

std::string bytesOf(size_t size, char seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(seed + (i * 31 + i / 4093) % 200);
    return bytes;
}

class Copies : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(startInEmptyFolder(L"S:", L"S:\\files")); }
    void TearDown() override { personCalls() = PersonCalls{}; }

    static void listFiles() { searchByName(L"."); }
    // The menu's entry chosen as the person would, below the rows (where no row is under it).
    static void chooseFromMenu(const std::wstring& entry) {
        static std::wstring wanted;
        wanted = entry;
        personCalls().chooseFromMenu = [](void*, const std::vector<std::wstring>& entries, long, long) {
            for (size_t i = 0; i < entries.size(); ++i)
                if (entries[i] == wanted) return static_cast<int>(i + 1);
            return 0;
        };
        HWND list = ControlNativeHandle(idResultsList);
        RECT client{};
        GetClientRect(list, &client);
        POINT below{20, client.bottom - 5};
        ClientToScreen(list, &below);
        SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(below.x, below.y));
        for (const SeenEvent& event : drainEvents(100))
            if (event.code == eventControl) dispatchControlEvent(testApp(), event.control, event.kind);
    }
    static int rowOf(const std::wstring& name) {
        for (int row = 0; row < ControlItemCount(idResultsList); ++row)
            if (ControlItemText(idResultsList, row, 1) == folder + name) return row;
        return -1;
    }
    static void tick(const std::wstring& name) { ControlSetItemState(idResultsList, rowOf(name), 2); }
    // The names ticked, in the order listed.
    static std::vector<std::wstring> tickedNames() {
        std::vector<std::wstring> names;
        for (int row = 0; row < ControlItemCount(idResultsList); ++row)
            if (ControlItemState(idResultsList, row) & 2) names.push_back(ControlItemText(idResultsList, row, 1).substr(folder.size()));
        return names;
    }
};

}  // namespace

// Copies are told byte for byte: one copy of each group stays unticked (the
// oldest), every other is ticked; files that differ in one byte anywhere, two
// names of one file, a file changed since the search and one that cannot be
// opened are never copies. Escape midway leaves every tick; no file changes.
TEST_F(Copies, ExtraCopiesAreTickedAndTheOldestKept) {
    const std::string three = bytesOf(3000, 'a'), two = bytesOf(2000, 'b');
    // Made first, and listed last (equal sizes are listed by path, last first): kept all the same.
    makeTextFile(folder + L"three-a.bin", three);
    makeTextFile(folder + L"three-b.bin", three);
    makeTextFile(folder + L"three-c.bin", three);
    makeTextFile(folder + L"two-a.bin", two);
    makeTextFile(folder + L"two-b.bin", two);
    // Many blocks long, so that the bytes that differ lie in the first block, one in the middle and the last.
    const size_t big = 3 * 1024 * 1024 + 17;
    const std::string original = bytesOf(big, 'c');
    std::string first = original, middle = original, last = original;
    first[0] ^= 1;
    middle[big / 2] ^= 1;
    last[big - 1] ^= 1;
    makeTextFile(folder + L"differs-not.bin", original);
    makeTextFile(folder + L"differs-first.bin", first);
    makeTextFile(folder + L"differs-middle.bin", middle);
    makeTextFile(folder + L"differs-last.bin", last);
    makeTextFile(folder + L"linked.bin", bytesOf(1500, 'd'));
    ASSERT_TRUE(CreateHardLinkW((folder + L"linked-too.bin").c_str(), (folder + L"linked.bin").c_str(), nullptr));
    makeTextFile(folder + L"changes-a.bin", bytesOf(2500, 'e'));
    makeTextFile(folder + L"changes-b.bin", bytesOf(2500, 'e'));
    makeTextFile(folder + L"held-a.bin", bytesOf(2200, 'f'));
    makeTextFile(folder + L"held-b.bin", bytesOf(2200, 'f'));
    makeTextFile(folder + L"written-a.bin", bytesOf(2300, 'h'));
    makeTextFile(folder + L"written-b.bin", bytesOf(2300, 'h'));
    listFiles();
    ASSERT_EQ(ControlItemCount(idResultsList), 17);
    tick(L"three-a.bin");   // the kept copy loses its tick
    tick(L"differs-not.bin");  // a file in no group keeps it
    // Changed after the search: same size, other bytes, a later write.
    makeTextFile(folder + L"changes-b.bin", bytesOf(2500, 'g'));
    FileHandle held(CreateFileW((folder + L"held-b.bin").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.valid());
    // Held for writing by another program that lets others read and write too (a
    // virtual disk, a database): written in place, it could change mid-comparison
    // with neither its size nor its time moving, so it is not compared at all.
    FileHandle writing(CreateFileW((folder + L"written-b.bin").c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
    ASSERT_TRUE(writing.valid());
    const Snapshot before = snapshot({folder});

    {
        // Escape pressed at the comparison's third question and let go soon after: nothing changes.
        UseScriptedPerson script;
        static std::atomic<int> asked{0};
        script.person().holds = [](int key) {
            const int question = key == VK_ESCAPE ? ++asked : 0;
            return question >= 3 && question <= 5;
        };
        chooseFromMenu(L"Tick e&xtra copies");
        EXPECT_GE(asked.load(), 3);
    }
    EXPECT_EQ(tickedNames(), (std::vector<std::wstring>{L"differs-not.bin", L"three-a.bin"}));
    EXPECT_EQ(StatusBarText(mainStatusBar, 0), L"Comparing stopped: every tick is as it was.");

    chooseFromMenu(L"Tick e&xtra copies");
    EXPECT_EQ(tickedNames(), (std::vector<std::wstring>{L"differs-not.bin", L"three-c.bin", L"three-b.bin", L"two-b.bin"}));
    EXPECT_EQ(StatusBarText(mainStatusBar, 0),
              L"Ticked 3 extra copies of 2 files: deleting them would free " + sizeText(8000) +
                  L" on the disk. One copy of each was left unticked. Left out: 1 changed since the search; 2 could "
                  L"not be read.");
    EXPECT_TRUE(IsWindowEnabled(ControlNativeHandle(idDeleteButton)));
    EXPECT_EQ(snapshot({folder}), before) << "nothing was written";

    // Two names of one file and nothing else: no copies.
    held.reset();
    writing.reset();
    FolderRemove(L"S:\\files", L"", removeRecursive | removeForce);
    makeFolder(L"S:\\files");
    makeTextFile(folder + L"linked.bin", bytesOf(1500, 'd'));
    ASSERT_TRUE(CreateHardLinkW((folder + L"linked-too.bin").c_str(), (folder + L"linked.bin").c_str(), nullptr));
    listFiles();
    chooseFromMenu(L"Tick e&xtra copies");
    EXPECT_TRUE(tickedNames().empty());
    EXPECT_EQ(StatusBarText(mainStatusBar, 0), L"No two listed files are identical.");
}

// The ticked rows only, as the dialog's second kind offers: written whole where
// the folder takes it, and where it does not (no such folder, a read-only file
// in the way) said, with nothing left behind and the old file as it was.
TEST_F(Copies, TheTickedRowsAreSavedWholeOrNotAtAll) {
    makeTextFile(folder + L"big, one.bin", bytesOf(3000, 'a'));
    makeTextFile(folder + L"small.bin", bytesOf(20, 'b'));
    listFiles();
    tick(L"big, one.bin");
    const std::wstring target = makeFixtureFolder(L"E:");
    static std::wstring savedAs;
    static std::vector<FileKind> offered;
    auto saveAs = [](const std::wstring& path) {
        savedAs = path;
        personCalls().chooseSaveFile = [](const std::wstring&, const std::wstring&, const std::vector<FileKind>& kinds,
                                          const std::wstring&) -> std::optional<SaveChoice> {
            offered = kinds;
            return SaveChoice{savedAs, 1};
        };
        chooseFromMenu(L"Sa&ve list as\u2026");
    };
    auto leftIn = [](const std::wstring& in) {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW entry;
        FindHandle find(FindFirstFileW((in + L"*").c_str(), &entry));
        if (find.valid())
            do {
                if (entry.cFileName[0] != L'.') names.push_back(entry.cFileName);
            } while (FindNextFileW(find.get(), &entry));
        return names;
    };

    UseScriptedPerson script;
    saveAs(target + L"missing\\list.csv");
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[1].description, L"CSV file, the ticked rows only (*.csv)");
    ASSERT_EQ(script.person().messages.size(), 1u);
    EXPECT_EQ(script.person().messages[0].text,
              L"The list could not be saved as " + target + L"missing\\list.csv. Nothing was written there.");
    EXPECT_TRUE(leftIn(target).empty());

    saveAs(target + L"list.csv");
    const std::string saved = "\xEF\xBB\xBFSize in bytes,Size,File,Read-only\r\n3000,2.93 KB,\"S:\\files\\big, one.bin\",no\r\n";
    EXPECT_EQ(readBytes(target + L"list.csv"), saved);
    EXPECT_EQ(StatusBarText(mainStatusBar, 0), L"Saved 1 row to " + target + L"list.csv.");

    ASSERT_TRUE(SetFileAttributesW((target + L"list.csv").c_str(), FILE_ATTRIBUTE_READONLY));
    tick(L"small.bin");
    saveAs(target + L"list.csv");
    EXPECT_EQ(script.person().messages.size(), 2u) << "a read-only file in the way is not written over";
    EXPECT_EQ(readBytes(target + L"list.csv"), saved) << "the old list as it was";
    EXPECT_EQ(leftIn(target), std::vector<std::wstring>{L"list.csv"});
    SetFileAttributesW((target + L"list.csv").c_str(), FILE_ATTRIBUTE_NORMAL);
}

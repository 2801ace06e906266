#include "app/command_line.h"

#include "app/save_list.h"
#include "results/list_csv.h"
#include "results/totals_csv.h"
#include "search/criteria.h"
#include "toolkit/console.h"
#include "toolkit/drives.h"
#include "toolkit/file_ops.h"
#include "toolkit/paths.h"
#include "toolkit/system.h"
#include "toolkit/text.h"
#include "window/program.h"
#include "window/work_aside.h"

#include <array>
#include <iterator>

namespace {

// The selector's six sizes as words, in its order.
constexpr std::array<const wchar_t*, 6> sizeWords = {L"100MB", L"256MB", L"512MB", L"650MB", L"1GB", L"4GB"};
static_assert(sizeWords.size() + 1 == std::size(criteria), "one word for each size the selector offers");

bool isOption(const std::wstring& word, const wchar_t* name) {
    return word.size() > 1 && (word[0] == L'/' || word[0] == L'-') && TextLower(word.substr(1)) == name;
}

// "D:", "d:" or "D:\" as the drive list shows it ("D:"); empty for anything else.
std::wstring driveOf(const std::wstring& word) {
    std::wstring drive = TextUpper(word);
    if (drive.size() == 3 && drive[2] == L'\\') drive.pop_back();
    if (drive.size() != 2 || drive[1] != L':' || drive[0] < L'A' || drive[0] > L'Z') return std::wstring();
    return drive;
}

// Stops the walk once the console asks, as Escape does in the window.
class ConsoleStopsTheWalk final : public WalkObserver {
public:
    bool stopRequested() override { return ConsoleStopRequested(); }
};

struct Output {
    const wchar_t* what;  // as the summary names it
    const std::wstring* path;
};

std::wstring itemsText(long long count, const wchar_t* one, const wchar_t* many) {
    return countText(count) + L" " + (count == 1 ? one : many);
}

ScriptEnd refuse(ScriptEnd end, const std::wstring& line) {
    ConsoleWriteLine(line, true);
    return end;
}

// The folder a file is to go in must be there and take a new file: checked
// before the search, so that a script learns it at once.
bool folderTakesFiles(const std::wstring& path) {
    const std::wstring folder = PathFolderPart(path);
    return !folder.empty() && PathSize(folder) == sizeFolder && FolderWritable(folder);
}

}  // namespace

std::vector<std::wstring> scriptUsage() {
    return {
        L"Ravlek /search D: [/at-least 100MB|256MB|512MB|650MB|1GB|4GB | /name TEXT] [/windows-folder]",
        L"       [/list FILE.csv] [/folders FILE.csv] [/kinds FILE.csv]",
        L"",
        L"Searches drive D: as the window does (files of 100 MB or larger unless told otherwise) and",
        L"writes the list of found files, every folder's size and the space by kind of file as CSV files,",
        L"each exactly as the window saves it; at least one file is asked for.",
        L"  /windows-folder  searches the Windows folder too",
        L"Exit codes: 0 done, 1 wrong arguments, 2 the drive cannot be searched, 3 a file cannot be",
        L"written, 4 stopped (Ctrl+C): nothing is written then.",
    };
}

std::optional<ScriptRequest> readScriptArguments(const std::vector<std::wstring>& words, std::wstring& wrong) {
    ScriptRequest request;
    if (words.size() == 1 && (words[0] == L"/?" || words[0] == L"-?" || isOption(words[0], L"help"))) {
        request.usageAsked = true;
        return request;
    }
    bool criterionGiven = false;
    request.search.sizeThreshold = criteria[0].threshold;  // the window's first criterion
    // The word after an option, or a said fault where there is none.
    auto valueAfter = [&](size_t& i) -> std::optional<std::wstring> {
        if (i + 1 >= words.size()) {
            wrong = words[i] + L" needs a value after it.";
            return std::nullopt;
        }
        return words[++i];
    };
    auto oneCriterion = [&]() {
        if (criterionGiven) wrong = L"Give one criterion: /at-least or /name, once.";
        criterionGiven = true;
        return wrong.empty();
    };
    auto outputPath = [&](size_t& i, std::wstring& path) {
        const std::optional<std::wstring> value = valueAfter(i);
        if (!value) return false;
        if (!path.empty()) {
            wrong = words[i - 1] + L" is given twice.";
            return false;
        }
        path = PathAbsolute(*value);
        if (path.empty() || PathNamePart(path).empty()) {
            wrong = L"\"" + *value + L"\" is no file name.";
            return false;
        }
        return true;
    };
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (isOption(word, L"search")) {
            const std::optional<std::wstring> value = valueAfter(i);
            if (!value) return std::nullopt;
            if (!request.search.drive.empty()) {
                wrong = L"Give one drive to /search.";
                return std::nullopt;
            }
            request.search.drive = driveOf(*value);
            if (request.search.drive.empty()) {
                wrong = L"\"" + *value + L"\" is no drive letter: give one such as D:.";
                return std::nullopt;
            }
        } else if (isOption(word, L"at-least")) {
            const std::optional<std::wstring> value = valueAfter(i);
            if (!value || !oneCriterion()) return std::nullopt;
            size_t chosen = sizeWords.size();
            for (size_t k = 0; k < sizeWords.size(); ++k)
                if (TextUpper(*value) == sizeWords[k]) chosen = k;
            if (chosen == sizeWords.size()) {
                wrong = L"\"" + *value + L"\" is not one of the sizes 100MB, 256MB, 512MB, 650MB, 1GB, 4GB.";
                return std::nullopt;
            }
            request.search.sizeThreshold = criteria[chosen].threshold;
        } else if (isOption(word, L"name")) {
            const std::optional<std::wstring> value = valueAfter(i);
            if (!value || !oneCriterion()) return std::nullopt;
            if (value->empty()) {
                wrong = L"/name needs a text or a file extension.";
                return std::nullopt;
            }
            request.search.textMode = true;
            request.search.sizeThreshold = -1;
            request.search.text = *value;
        } else if (isOption(word, L"windows-folder")) {
            request.search.searchWindowsFolder = true;
        } else if (isOption(word, L"list")) {
            if (!outputPath(i, request.listPath)) return std::nullopt;
        } else if (isOption(word, L"folders")) {
            if (!outputPath(i, request.foldersPath)) return std::nullopt;
        } else if (isOption(word, L"kinds")) {
            if (!outputPath(i, request.kindsPath)) return std::nullopt;
        } else {
            wrong = L"\"" + word + L"\" is no option of Ravlek's.";
            return std::nullopt;
        }
    }
    if (request.search.drive.empty()) {
        wrong = L"Say which drive to search: /search D:.";
        return std::nullopt;
    }
    if (request.listPath.empty() && request.foldersPath.empty() && request.kindsPath.empty()) {
        wrong = L"Say where to write what is found: /list, /folders or /kinds with a file name.";
        return std::nullopt;
    }
    const std::wstring* paths[] = {&request.listPath, &request.foldersPath, &request.kindsPath};
    for (size_t a = 0; a < 3; ++a)
        for (size_t b = a + 1; b < 3; ++b)
            if (!paths[a]->empty() && TextLower(*paths[a]) == TextLower(*paths[b])) {
                wrong = L"Two files are to be written as " + *paths[a] + L": give each its own name.";
                return std::nullopt;
            }
    return request;
}

ScriptEnd runFromScript(const std::vector<std::wstring>& words, const Program& program) {
    ConsoleAttach();
    std::wstring wrong;
    std::optional<ScriptRequest> asked = readScriptArguments(words, wrong);
    if (asked && asked->usageAsked) {
        for (const std::wstring& line : scriptUsage()) ConsoleWriteLine(line);
        return ScriptEnd::done;
    }
    if (!asked) {
        ConsoleWriteLine(wrong, true);
        for (const std::wstring& line : scriptUsage()) ConsoleWriteLine(line, true);
        return ScriptEnd::wrongArguments;
    }
    ScriptRequest& request = *asked;
    request.search.windowsFolder = program.windowsFolder;

    const DriveReading drive = DriveRead(request.search.drive[0]);
    const std::wstring cannot = L"Drive " + request.search.drive + L" cannot be searched: ";
    if (!drive.present) return refuse(ScriptEnd::driveNotSearchable, cannot + L"there is no such drive.");
    if (drive.totalBytes < 0) return refuse(ScriptEnd::driveNotSearchable, cannot + L"it is not ready.");
    const Output outputs[] = {{L"list", &request.listPath},
                              {L"folder sizes", &request.foldersPath},
                              {L"file kinds", &request.kindsPath}};
    for (const Output& output : outputs)
        if (!output.path->empty() && !folderTakesFiles(*output.path))
            return refuse(ScriptEnd::fileNotWritable, L"The " + std::wstring(output.what) + L" cannot be written as " +
                                                          *output.path + L": its folder is not there or takes no files.");

    SearchResults results;
    results.drive = request.search.drive;
    results.windowsFolderSearched = request.search.searchWindowsFolder;
    WalkCounts counts;
    WalkRequest walk = walkRequestFor(request.search);
    walk.counts = &counts;
    walk.totals = &results.totals;
    ConsoleStopsTheWalk stop;
    ConsoleWriteLine(L"Searching " + request.search.drive + L"\\ (Ctrl+C stops)\u2026");
    WorkAside walker([&] { collectFiles(walk, results, stop); }, walkStackBytes);
    unsigned long lastProgress = TickCount();
    walker.wait(
        [&counts, &lastProgress] {
            // Woken by every message too: one line a second at most.
            if (TickCount() - lastProgress < 1000) return;
            lastProgress = TickCount();
            ConsoleWriteLine(countText(counts.lookedAt.load(std::memory_order_relaxed)) + L" files looked at, " +
                             countText(counts.found.load(std::memory_order_relaxed)) + L" found");
        },
        20);  // the end of the work is seen at the next look
    if (results.walkStopped || ConsoleStopRequested())
        return refuse(ScriptEnd::stopped, L"Stopped: nothing was written.");

    // Read-only as the search saw it a moment ago: asking every file again costs
    // more than the search on a drive of many matches.
    std::vector<ListedRow> rows;
    for (size_t i = 0; i < results.found.count(); ++i) {
        rows.push_back(listedRowOf(results, results.found[i]));
        rows.back().readOnly = (results.found[i].marks & foundReadOnly) != 0;
    }
    std::wstring written;
    int marked = 0;
    for (const Output& output : outputs) {
        if (output.path->empty()) continue;
        const CsvText csv = output.path == &request.listPath      ? csvOfRows(rows)
                            : output.path == &request.foldersPath ? folderSizesCsv(results)
                                                                  : fileKindsCsv(results.totals);
        const std::optional<std::string> bytes = csv.bytes();
        if (!bytes || !FileWriteWhole(*output.path, *bytes))
            return refuse(ScriptEnd::fileNotWritable, L"The " + std::wstring(output.what) + L" could not be written as " +
                                                          *output.path + L". Nothing was written there.");
        marked += csv.marked();
        written += (written.empty() ? L" Wrote the " : L", the ") + std::wstring(output.what) + L" to " + *output.path;
    }
    ConsoleWriteLine(L"Found " + itemsText(static_cast<long long>(rows.size()), L"file", L"files") + L" among " +
                     countText(counts.lookedAt.load()) + L" looked at on " + request.search.drive +
                     L"." + written + L"." +
                     (marked == 0 ? L""
                                  : L" " + itemsText(marked, L"name holds", L"names hold") +
                                        L" a character UTF-8 cannot write: written as <U+...> in its place."));
    return ScriptEnd::done;
}

#pragma once
// Ravlek started with arguments, as a script or a scheduled task starts it: one
// search of a drive, its list, folder sizes and kinds written as CSV files, and
// an exit code; no window, nothing that waits for a person.
#include "search/search_command.h"

#include <optional>
#include <string>
#include <vector>

struct Program;

// What a script can test for.
enum class ScriptEnd {
    done = 0,
    wrongArguments = 1,    // said, with the usage
    driveNotSearchable = 2,
    fileNotWritable = 3,   // said with its path
    stopped = 4,           // Ctrl+C, Ctrl+Break or the console closing; nothing written
};

struct ScriptRequest {
    SearchRequest search;
    std::wstring listPath;     // "Save list as…", every row
    std::wstring foldersPath;  // "Save folder sizes as…"
    std::wstring kindsPath;    // the file kinds' save
    bool usageAsked = false;   // /? alone: the usage, and nothing searched
};

// The request the words make, or what is wrong with them in one line (`wrong`).
std::optional<ScriptRequest> readScriptArguments(const std::vector<std::wstring>& words, std::wstring& wrong);
// How to start Ravlek from a script, line by line.
std::vector<std::wstring> scriptUsage();

// Runs the search the words ask for, writing only to the console it was started
// from; the settings file is read by start-up and never written here.
ScriptEnd runFromScript(const std::vector<std::wstring>& words, const Program& program);

#pragma once
// The folders of a file table placed under the volume's root: which reach the
// root, which lie in the system's own folder ($Extend), and which cannot be real
// (a parent that is not there, a loop, a path longer than Windows allows). Each
// folder is placed once, climbing its parents in a loop however deep the chain,
// and keeps no more than its standing and its path's length: a path is joined
// only when a file in that folder is collected.
#include "search/table_records.h"

#include <cstdint>
#include <string>
#include <vector>

// The longest path Windows lets a program name.
constexpr uint32_t longestPath = 32767;

class TableFolders {
public:
    enum class Standing : uint8_t { unknown, user, system, broken, climbing };

    // `rootLength`: the characters of the root the paths begin with ("D:\").
    TableFolders(const TableRecords& table, uint32_t rootLength);

    // Where the folder a name points to stands (its sequence checked when given).
    Standing place(uint32_t folder, uint16_t sequence);
    // The characters of a user folder's path, its root and final "\" included.
    uint32_t pathLength(uint32_t folder) const { return lengths_[folder]; }
    // A user folder's path: `root`, then each folder's name and "\".
    std::wstring path(uint32_t folder, const std::wstring& root) const;

private:
    bool isFolderAt(uint32_t folder, uint16_t sequence) const;

    const TableRecords& table_;
    uint32_t rootLength_;
    KeptVector<Standing> standings_;
    KeptVector<uint16_t> lengths_;  // by folder; at most longestPath
    std::vector<uint32_t> chain_;  // the folders being climbed
};

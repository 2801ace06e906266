#include "search/table_folders.h"

TableFolders::TableFolders(const TableRecords& table, uint32_t rootLength)
    : table_(table), rootLength_(rootLength), standings_(table.recordCount(), Standing::unknown),
      lengths_(table.recordCount(), 0) {}

bool TableFolders::isFolderAt(uint32_t folder, uint16_t sequence) const {
    return folder < table_.recordCount() && table_.inUse(folder) && table_.isFolder(folder) &&
           (sequence == 0 || sequence == table_.sequence(folder));
}

TableFolders::Standing TableFolders::place(uint32_t folder, uint16_t sequence) {
    if (!isFolderAt(folder, sequence)) return Standing::broken;
    if (standings_[folder] != Standing::unknown) return standings_[folder];
    // Climb until a folder whose standing is known, the root or the system's folder.
    chain_.clear();
    Standing reached = Standing::broken;
    uint32_t at = folder;
    for (;;) {
        const Standing known = standings_[at];
        if (known == Standing::climbing) break;  // a loop
        if (known != Standing::unknown) {
            reached = known;
            break;
        }
        if (at == rootRecord) {
            standings_[at] = reached = Standing::user;
            lengths_[at] = static_cast<uint16_t>(rootLength_);
            break;
        }
        if (at == extendRecord) {
            standings_[at] = reached = Standing::system;
            break;
        }
        const TableName* name = table_.firstName(at);
        if (!name) break;
        standings_[at] = Standing::climbing;
        chain_.push_back(at);
        if (!isFolderAt(name->parent, name->parentSequence)) break;
        at = name->parent;
    }
    // Back down: each folder stands where its parent does, unless its path grows too long.
    for (size_t i = chain_.size(); i-- > 0;) {
        const uint32_t below = chain_[i];
        if (reached == Standing::user) {
            const TableName* name = table_.firstName(below);
            const uint32_t length = lengths_[name->parent] + name->length + 1u;
            if (length > longestPath) reached = Standing::broken;
            else lengths_[below] = static_cast<uint16_t>(length);
        }
        standings_[below] = reached;
    }
    return standings_[folder];
}

std::wstring TableFolders::path(uint32_t folder, const std::wstring& root) const {
    std::wstring joined(lengths_[folder] > root.size() ? lengths_[folder] : root.size(), L'\\');
    joined.replace(0, root.size(), root);
    size_t end = joined.size();
    for (uint32_t at = folder; at != rootRecord;) {
        const TableName* name = table_.firstName(at);
        const std::wstring_view text = table_.text(*name);
        end -= 1 + text.size();
        joined.replace(end, text.size(), text.data(), text.size());
        at = name->parent;
    }
    return joined;
}

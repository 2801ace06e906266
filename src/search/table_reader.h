#pragma once
// Reads a file table whose layout was checked, record by record in large
// sequential chunks, into the records the fast scan keeps.
#include "search/table_layout.h"
#include "search/table_records.h"

#include <functional>

class RawVolume;

enum class TableRead {
    whole,    // every record read, and the records agree with one another
    stopped,  // `stop` said so; the records read so far are kept
    refused,  // the volume could not be read, or a record is not sound
};

// `stop` is asked every few dozen records; `progress` is told how many were read.
TableRead readTable(RawVolume& volume, const Geometry& geometry, const TableLayout& layout, TableRecords& records,
                    const std::function<bool()>& stop, const std::function<void(uint32_t)>& progress);

#pragma once
// Reads a file table whose layout was checked, record by record in large
// sequential chunks, into the records the fast scan keeps.
#include "search/table_layout.h"
#include "search/table_records.h"

#include <functional>

class RawVolume;

// `stop` is asked every few dozen records; `progress` is told how many were read.
TableRead readTable(RawVolume& volume, const Geometry& geometry, const TableLayout& layout, TableRecords& records,
                    const std::function<bool()>& stop, const std::function<void(uint32_t)>& progress);

#pragma once
// Reads a file table whose layout was checked, in large stretches read and
// parsed on every core, into the records the fast scan keeps.
#include "search/table_layout.h"
#include "search/table_records.h"

#include <functional>

class RawVolume;

// `stop` is asked, and `progress` told how many records were read, once a stretch
// of a megabyte (a thousand records of 1 KB), from one thread at a time.
TableRead readTable(RawVolume& volume, const Geometry& geometry, const TableLayout& layout, TableRecords& records,
                    const std::function<bool()>& stop, const std::function<void(uint32_t)>& progress);

#pragma once
// Bits of a file's attributes as Windows gives them, in listings, through handles
// and in an NTFS volume's own table alike; some are newer than the headers of
// older systems. Nothing here needs the platform.

constexpr unsigned long attributeReadOnly = 0x00000001;
constexpr unsigned long attributeReparsePoint = 0x00000400;  // a link of some kind
// A cloud file's placeholder whose data lies only online.
constexpr unsigned long attributeOffline = 0x00001000;
constexpr unsigned long attributeRecallOnOpen = 0x00040000;
constexpr unsigned long attributeRecallOnDataAccess = 0x00400000;
constexpr unsigned long onlineOnlyAttributes = attributeRecallOnDataAccess | attributeRecallOnOpen | attributeOffline;

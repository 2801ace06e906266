// A saved CSV names every file exactly or unmistakably, and a text of any length
// converts whole.
#include "results/list_csv.h"
#include "toolkit/text.h"

#include <gtest/gtest.h>

// Half a surrogate pair is legal in an NTFS name but has no UTF-8: written as
// U+FFFD it named no file at all. A whole pair is written exactly.
TEST(ListCsv, ANameUtf8CannotHoldIsMarkedAndCounted) {
    std::vector<ListedRow> rows(3);
    rows[0].path = L"D:\\lone \xD800 high.bin";
    rows[1].path = L"D:\\pair \xD83D\xDE00 and lone \xDC00.bin";
    rows[2].path = L"D:\\plain, \"quoted\".bin";
    const CsvText csv = csvOfRows(rows);
    EXPECT_EQ(csv.marked(), 2);
    const std::optional<std::string> bytes = csv.bytes();
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "\xEF\xBB\xBFSize in bytes,Size,File,Read-only\r\n"
                      "0,,D:\\lone <U+D800> high.bin,no\r\n"
                      "0,,D:\\pair \xF0\x9F\x98\x80 and lone <U+DC00>.bin,no\r\n"
                      "0,,\"D:\\plain, \"\"quoted\"\".bin\",no\r\n");
}

// Converted a piece at a time, a pair split by a piece's end is kept whole.
TEST(ListCsv, ATextConvertsInPiecesAsItDoesWhole) {
    std::wstring text;
    for (int i = 0; i < 50; ++i) text += L"ab\xD83D\xDE00\u00E9";
    for (size_t piece : {size_t{2}, size_t{3}, size_t{4}, size_t{7}})
        EXPECT_EQ(TextToUtf8Whole(text, piece), TextToUtf8Whole(text)) << piece;
    EXPECT_EQ(TextToUtf8Whole(text)->size(), 50u * (1 + 1 + 4 + 2));
}

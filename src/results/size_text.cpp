#include "results/size_text.h"

#include "toolkit/numbers.h"
#include "toolkit/text.h"

std::wstring sizeText(double bytes) {
    std::wstring number = L"0";
    int exponent = 0;
    if (bytes >= 1.0) {
        // The unit comes from single-precision logarithms, so a size at or just above
        // a power of 1024 may keep the smaller unit ("1024 MB").
        exponent = static_cast<int>(MathRound(MathLog(bytes) / MathLog(1024.0), 0));
        number = TextFromDouble(bytes / MathPow(1024.0, exponent), exponent % 2 == 1 ? 2 : 0);
        if (TextRight(number, 3) == L".00") number = TextLeft(number, TextLength(number) - 3);
    }
    std::wstring result = number + L" " + TextField(L"by KB MB GB TB PB EB", exponent + 1, L" ");
    if (TextRight(result, 2) == L"by") result += L"tes";
    return result;
}

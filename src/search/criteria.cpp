#include "search/criteria.h"

#include "window/main_window.h"

#include "toolkit/controls.h"

namespace {

constexpr long long megabyte = 1048576;

}  // namespace

const wchar_t* const textCriterion = L"For files with specific text in their name";

const Criterion criteria[7] = {
    {L"For files 100 MB or larger", 100 * megabyte},
    {L"For files 256 MB or larger (quarter GB)", 256 * megabyte},
    {L"For files 512 MB or larger (half GB)", 512 * megabyte},
    {L"For files 650 MB or larger (CD images)", 650 * megabyte},
    {L"For files 1 GB or larger", 1024 * megabyte},
    {L"For files 4 GB or larger (DVD images)", 4096 * megabyte},
    {textCriterion, -1},
};

long long thresholdForCriterion(const std::wstring& criterionText) {
    for (const Criterion& criterion : criteria)
        if (criterionText == criterion.text) return criterion.threshold;
    return -1;
}

void listCriteria(MainWindow& window) {
    for (const Criterion& criterion : criteria) window.addCriterion(criterion.text);
    window.chooseFirstCriterion();
}

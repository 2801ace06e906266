#pragma once
// The selector's criteria, in the order it lists them: six sizes, then the name criterion.
class MainWindow;

#include <string>

struct Criterion {
    const wchar_t* text;
    long long threshold;  // a file must be larger; -1 for the name criterion (every size)
};

extern const Criterion criteria[7];
extern const wchar_t* const textCriterion;  // "For files with specific text in their name"

// Fills the window's criterion selector with them, the name criterion last (the
// window tells it by that place), and chooses the first.
void listCriteria(MainWindow& window);
// The size threshold a criterion's text stands for; -1 (every file) for the name criterion.
long long thresholdForCriterion(const std::wstring& criterionText);

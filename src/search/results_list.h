#pragma once
#include <string>

void clearResults();

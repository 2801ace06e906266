#pragma once
#include <string>

// A byte count as the short text users see: "0 bytes", "1.50 KB", "1024 MB", "4 GB".
std::wstring sizeText(double bytes);

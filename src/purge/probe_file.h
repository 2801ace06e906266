#pragma once
#include <string>

// True when a new file can be created in the folder (which ends in "\"). The probe
// file has a random name that was free, is created so that it can never replace a
// file that appeared meanwhile, and is deleted at once.
bool probeWritable(const std::wstring& folder);

#pragma once
// The window's pictures: one-image icon files, 16 x 16 in 32-bit colour.

constexpr unsigned iconFileSize = 1150;
extern const unsigned char searchRowIcon[iconFileSize];
extern const unsigned char optionsRowIcon[iconFileSize];
extern const unsigned char actionRowIcon[iconFileSize];
extern const unsigned char manualIcon[iconFileSize];
extern const unsigned char resultsTabIcon[iconFileSize];
extern const unsigned char folderSizesTabIcon[iconFileSize];
extern const unsigned char typeInfoTabIcon[iconFileSize];
extern const unsigned char exactInfoTabIcon[iconFileSize];

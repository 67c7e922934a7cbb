// COption: the user's settings, nine switches and the recent folder, kept in the per-user
// store under ZELLORY/TAVIMO. g_option is the one record of the process.
#pragma once

#include <cstdint>
#include <string>

class COption {
public:
    COption();
    virtual ~COption();
    void Load();
    void Save();

    std::int32_t bFlipPage = 0;
    std::int32_t bInterpolation = 1;
    std::int32_t bSharpen = 0;
    std::int32_t bStretech = 1;
    std::int32_t bView2Page = 0;
    std::int32_t bCacheNextFile = 1;
    std::int32_t bAutoDetectWidth = 0;
    std::int32_t bIsMaximized = 0;
    std::string sRecentFolder;
    std::int32_t bRotate = 0;
};

extern COption g_option;

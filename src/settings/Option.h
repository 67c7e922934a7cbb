// COption: the user's settings, the switches and the recent folder, kept in the per-user
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

    // The switches take their defaults from the value table, which Load applies.
    std::int32_t bFlipPage;
    std::int32_t bInterpolation;
    std::int32_t bSharpen;
    std::int32_t bStretech;
    std::int32_t bView2Page;
    std::int32_t bCacheNextFile;
    std::int32_t bAutoDetectWidth;
    std::int32_t bIsMaximized;
    std::string sRecentFolder;
    std::int32_t bRotate;
    // Books on the recent list open on the page last shown.
    std::int32_t bResumePage;
};

extern COption g_option;

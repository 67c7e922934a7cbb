// COption: loads itself from the store when constructed and saves itself when destroyed,
// one value per field, in declaration order.
#include "Option.h"

#include "RegStore.h"

COption g_option;

namespace {

// The value names of the switches and their defaults, in the order they are read and
// written; the recent folder follows them.
struct SwitchField {
    const char* name;
    std::int32_t COption::*field;
    std::int32_t def;
};

constexpr SwitchField kSwitches[] = {
    {"bFlipPage", &COption::bFlipPage, 0},
    {"bInterpolation", &COption::bInterpolation, 1},
    {"bSharpen", &COption::bSharpen, 0},
    {"bStretech", &COption::bStretech, 1},
    {"bView2Page", &COption::bView2Page, 0},
    {"bCacheNextFile", &COption::bCacheNextFile, 1},
    {"bAutoDetectWidth", &COption::bAutoDetectWidth, 0},
    {"bIsMaximized", &COption::bIsMaximized, 0},
    {"bRotate", &COption::bRotate, 0},
    {"bResumePage", &COption::bResumePage, 0},
};

constexpr const char* kRecentFolder = "sRecentFolder";

} // namespace

COption::COption()
{
    Load();
}

COption::~COption()
{
    Save();
}

void COption::Load()
{
    for (const SwitchField& s : kSwitches)
        GetRegDword(kTavimoKey, s.name, this->*s.field, s.def);
    GetRegString(kTavimoKey, kRecentFolder, sRecentFolder);
}

void COption::Save()
{
    for (const SwitchField& s : kSwitches)
        SetRegDword(kTavimoKey, s.name, this->*s.field);
    SetRegString(kTavimoKey, kRecentFolder, sRecentFolder);
}

// OptionSwitches: keeps the settings record's switches for the length of a test and puts
// them back, so one test's toggles never leak into the next.
#pragma once

#include "settings/Option.h"

#include <array>
#include <cstdint>

// Fit on and every other switch off: pages drawn by the plain scaler at once, with no
// reading ahead, so a test sees exactly the page it turned to.
inline void SetPlainSwitches()
{
    g_option.bFlipPage = 0;
    g_option.bInterpolation = 0;
    g_option.bSharpen = 0;
    g_option.bStretech = 1;
    g_option.bView2Page = 0;
    g_option.bCacheNextFile = 0;
    g_option.bAutoDetectWidth = 0;
    g_option.bIsMaximized = 0;
    g_option.bRotate = 0;
    g_option.bResumePage = 0;
}

class OptionSwitches {
public:
    OptionSwitches()
    {
        for (std::size_t i = 0; i < kSwitches.size(); ++i)
            m_saved[i] = g_option.*kSwitches[i];
    }
    ~OptionSwitches()
    {
        for (std::size_t i = 0; i < kSwitches.size(); ++i)
            g_option.*kSwitches[i] = m_saved[i];
    }
    OptionSwitches(const OptionSwitches&) = delete;
    OptionSwitches& operator=(const OptionSwitches&) = delete;

private:
    static constexpr std::array<std::int32_t COption::*, 10> kSwitches = {
        &COption::bFlipPage,      &COption::bInterpolation,   &COption::bSharpen,     &COption::bStretech, &COption::bView2Page,
        &COption::bCacheNextFile, &COption::bAutoDetectWidth, &COption::bIsMaximized, &COption::bRotate,
        &COption::bResumePage};
    std::array<std::int32_t, 10> m_saved{};
};

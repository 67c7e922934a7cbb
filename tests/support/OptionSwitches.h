// The settings record's switches at known values for a test, and put back after it, so that
// one test's toggles never leak into the next.
#pragma once

#include "settings/Option.h"

#include <array>

inline constexpr std::array<std::int32_t COption::*, 10> kOptionSwitches = {
    &COption::bFlipPage,        &COption::bInterpolation, &COption::bSharpen, &COption::bStretech,
    &COption::bView2Page,       &COption::bCacheNextFile, &COption::bRotate,  &COption::bResumePage,
    &COption::bAutoDetectWidth, &COption::bIsMaximized};

// Fit on and every other switch off: pages drawn by the plain scaler at once, with no
// reading ahead, so a test sees exactly the page it turned to.
inline void SetPlainSwitches() {
    for (std::int32_t COption::*field : kOptionSwitches)
        g_option.*field = field == &COption::bStretech;
}

class OptionSwitches {
public:
    OptionSwitches() {
        for (std::size_t i = 0; i < m_saved.size(); ++i)
            m_saved[i] = g_option.*kOptionSwitches[i];
    }
    ~OptionSwitches() {
        for (std::size_t i = 0; i < m_saved.size(); ++i)
            g_option.*kOptionSwitches[i] = m_saved[i];
    }

private:
    std::array<std::int32_t, kOptionSwitches.size()> m_saved{};
};

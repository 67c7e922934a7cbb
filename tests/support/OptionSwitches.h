// OptionSwitches: keeps the settings record's switches for the length of a test and puts
// them back, so one test's toggles never leak into the next.
#pragma once

#include "settings/Option.h"

#include <cstdint>

class OptionSwitches {
public:
    OptionSwitches() : m_saved(Read()) {}
    ~OptionSwitches() { Write(m_saved); }
    OptionSwitches(const OptionSwitches&) = delete;
    OptionSwitches& operator=(const OptionSwitches&) = delete;

private:
    struct Values {
        std::int32_t flip, interpolation, sharpen, stretch, twoPages, cache, autoWidth, maximized, rotate;
    };
    static Values Read() {
        const COption& o = g_option;
        return {o.bFlipPage,      o.bInterpolation,   o.bSharpen,     o.bStretech, o.bView2Page,
                o.bCacheNextFile, o.bAutoDetectWidth, o.bIsMaximized, o.bRotate};
    }
    static void Write(const Values& v) {
        COption& o = g_option;
        o.bFlipPage = v.flip;
        o.bInterpolation = v.interpolation;
        o.bSharpen = v.sharpen;
        o.bStretech = v.stretch;
        o.bView2Page = v.twoPages;
        o.bCacheNextFile = v.cache;
        o.bAutoDetectWidth = v.autoWidth;
        o.bIsMaximized = v.maximized;
        o.bRotate = v.rotate;
    }
    Values m_saved;
};

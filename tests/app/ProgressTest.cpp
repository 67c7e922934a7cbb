// The progress bar's colours.
#include "app/ProgressColors.h"

#include <QPalette>
#include <gtest/gtest.h>

TEST(ProgressColors, BarIsTheLightColourLessFifteenWithBlueRaisedInsideTheByteRange) {
    const std::pair<QColor, QColor> cases[] = {
        {QColor(255, 0, 0), QColor(240, 240, 255)},  {QColor(200, 10, 90), QColor(185, 185, 215)},
        {QColor(10, 255, 255), QColor(0, 0, 25)},    {QColor(0, 0, 0), QColor(0, 0, 15)},
        {QColor(250, 0, 0), QColor(235, 235, 255)},
    };
    for (const auto& [light, bar] : cases)
        EXPECT_EQ(ProgressBarColor(light), bar) << light.name().toStdString();

    QPalette source;
    source.setColor(QPalette::Light, QColor(255, 255, 255));
    source.setColor(QPalette::Window, QColor(12, 34, 56));
    QPalette target;
    ApplyProgressColors(source, target);
    EXPECT_EQ(target.color(QPalette::Highlight), QColor(240, 240, 255));
    EXPECT_EQ(target.color(QPalette::Window), QColor(12, 34, 56)) << "the background is the menu colour";
    EXPECT_EQ(target.color(QPalette::Base), QColor(12, 34, 56));
}

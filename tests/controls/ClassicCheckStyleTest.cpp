// Check boxes with the classic indicator: a tick shows what is ticked.
#include <gtest/gtest.h>

#include "ui/DarkParent.h"

#include <QCheckBox>
#include <QStyleOptionButton>

#include "controls/ClassicCheckStyle.h"

namespace sonoria {
namespace {

struct Counts {
    int black = 0;
    int white = 0;
    int grey = 0;
};

// What the box's indicator shows.
Counts IndicatorPixels(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    const QImage image = box->grab().toImage();
    Counts counts;
    for (int y = indicator.top(); y <= indicator.bottom(); ++y) {
        for (int x = indicator.left(); x <= indicator.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(0, 0, 0)) ++counts.black;
            if (c == QColor(255, 255, 255)) ++counts.white;
            if (c == QColor(128, 128, 128)) ++counts.grey;
        }
    }
    return counts;
}

TEST(ClassicCheckStyle, ATickedBoxShowsATickOnItsWhiteField) {
    auto parent = test::MakeDarkParent(QSize(200, 40), QColor(32, 32, 32));
    auto* box = new QCheckBox(QStringLiteral("MFS"), parent.get());
    box->setStyle(ClassicCheckStyleInstance());
    box->setGeometry(10, 10, 65, 19);

    const Counts clear = IndicatorPixels(box);
    EXPECT_EQ(clear.black, 0);
    EXPECT_GE(clear.white, 81) << "a 9 x 9 white field";

    box->setChecked(true);
    const Counts ticked = IndicatorPixels(box);
    EXPECT_GE(ticked.black, 15) << "a tick three pixels thick";
    EXPECT_GE(ticked.white, 30) << "on the white field";

    box->setEnabled(false);
    const Counts disabled = IndicatorPixels(box);
    EXPECT_EQ(disabled.black, 0);
    EXPECT_GE(disabled.grey, 15 + 20) << "a grey tick, and the frame's grey edge";
}

}  // namespace
}  // namespace sonoria

// The image slider: where the thumb is drawn, how clicks, drags, the wheel
// and the arrow keys move it, and what the owner is told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "controls/CXBmpSlider.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

constexpr int kSliderId = 1106;
constexpr int kTrackWidth = 173;
constexpr int kTrackHeight = 19;
constexpr int kThumbWidth = 16;
constexpr int kThumbHeight = 17;

// Solid colours, so that a pixel tells which image is drawn there.
const QColor kTrackColor(60, 60, 60);
const QColor kFillColor(30, 110, 240);
const QColor kThumbColor(200, 200, 200);
const QColor kFocusedColor(250, 160, 20);
const QColor kDisabledColor(100, 100, 100);

QImage Solid(int width, int height, const QColor& color) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

void GiveTestImages(CXBmpSlider& slider, bool vertical = false) {
    const int w = vertical ? kTrackHeight : kTrackWidth;
    const int h = vertical ? kTrackWidth : kTrackHeight;
    slider.SetTrackImages(Solid(w, h, kTrackColor), Solid(w, h, kFillColor));
    slider.SetThumbImages(Solid(kThumbWidth, kThumbHeight, kThumbColor),
                          Solid(kThumbWidth, kThumbHeight, kFocusedColor),
                          Solid(kThumbWidth, kThumbHeight, kDisabledColor));
}

void Wheel(QWidget* widget, int dy, int dx = 0) {
    const QPointF pos(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(pos, widget->mapToGlobal(pos), QPoint(), QPoint(dx, dy), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

QColor PixelAt(QWidget& widget, int x, int y) { return widget.grab().toImage().pixelColor(x, y); }

// The main window's mic slider: range 0..127, margins 5/4/1/1, in a window.
class BmpSliderTest : public ::testing::Test {
protected:
    BmpSliderTest() : slider(new CXBmpSlider(&window)), spy(slider, &CXBmpSlider::sliderChanged) {
        window.resize(260, 80);
        slider->setGeometry(20, 30, kTrackWidth, kTrackHeight);
        slider->setControlId(kSliderId);
        GiveTestImages(*slider);
        slider->SetMargins(5, 4, 1, 1);
        slider->SetRange(0, 127);
    }

    // Positions reported so far, in order.
    std::vector<int> Reported() const {
        std::vector<int> positions;
        for (const QList<QVariant>& call : spy) {
            EXPECT_EQ(call.at(0).toInt(), kSliderId);
            positions.push_back(call.at(1).toInt());
        }
        return positions;
    }

    void ShowActive() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window, test::kEventTimeoutMs));
    }

    QWidget window;
    CXBmpSlider* slider;
    QSignalSpy spy;
};

TEST_F(BmpSliderTest, ThumbIsPlacedByTruncatedProportion) {
    EXPECT_EQ(slider->ValueToPixel(0), 5);
    EXPECT_EQ(slider->ValueToPixel(64), 79);   // trunc(148 / 127 * 64 + 5)
    EXPECT_EQ(slider->ValueToPixel(127), 153);
    slider->SetPos(64);
    EXPECT_EQ(slider->ThumbRect(), QRect(79, 1, kThumbWidth, kThumbHeight));
}

// Pictures twice as dense (a high-density screen) take the same room, and the
// fill still reaches exactly to the thumb.
TEST_F(BmpSliderTest, DensePicturesKeepTheLayout) {
    auto dense = [](int width, int height, const QColor& color) {
        QImage image = Solid(width * 2, height * 2, color);
        image.setDevicePixelRatio(2.0);
        return image;
    };
    slider->SetTrackImages(dense(kTrackWidth, kTrackHeight, kTrackColor), dense(kTrackWidth, kTrackHeight, kFillColor));
    slider->SetThumbImages(dense(kThumbWidth, kThumbHeight, kThumbColor),
                           dense(kThumbWidth, kThumbHeight, kFocusedColor),
                           dense(kThumbWidth, kThumbHeight, kDisabledColor));
    EXPECT_EQ(slider->sizeHint(), QSize(kTrackWidth, kTrackHeight));
    slider->SetPos(64);
    EXPECT_EQ(slider->ThumbRect(), QRect(79, 1, kThumbWidth, kThumbHeight));
    window.show();
    EXPECT_EQ(PixelAt(*slider, 40, 9), kFillColor);
    EXPECT_EQ(PixelAt(*slider, 78, 9), kFillColor);
    EXPECT_EQ(PixelAt(*slider, 85, 9), kThumbColor);
    EXPECT_EQ(PixelAt(*slider, 120, 9), kTrackColor);
}

TEST_F(BmpSliderTest, SetPosClampsAndTellsNobody) {
    slider->SetPos(500);
    EXPECT_EQ(slider->GetPos(), 127);
    slider->SetPos(-3);
    EXPECT_EQ(slider->GetPos(), 0);
    slider->SetPos(77);
    EXPECT_EQ(slider->GetPos(), 77);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(BmpSliderTest, TrackClicksStepByOneTowardTheClick) {
    slider->SetPos(64);  // thumb 79..94, centre x 87
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(160, 10));
    EXPECT_EQ(slider->GetPos(), 65);  // one step, not to the click point
    slider->SetPos(64);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(slider->GetPos(), 63);
    // Below the thumb, exactly under its centre: at or left of the centre steps down.
    slider->SetPos(64);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(87, 18));
    EXPECT_EQ(slider->GetPos(), 63);
    slider->SetPos(64);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(88, 18));
    EXPECT_EQ(slider->GetPos(), 65);
    EXPECT_EQ(Reported(), (std::vector<int>{65, 63, 63, 65}));
    EXPECT_FALSE(slider->IsDragging());
}

TEST_F(BmpSliderTest, ClicksAtTheEndsStayInRangeButStillReport) {
    slider->SetPos(127);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(170, 10));
    slider->SetPos(0);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(1, 10));
    EXPECT_EQ(Reported(), (std::vector<int>{127, 0}));
}

TEST_F(BmpSliderTest, OtherButtonsDoNothing) {
    slider->SetPos(64);
    QTest::mouseClick(slider, Qt::RightButton, {}, QPoint(160, 10));
    EXPECT_EQ(slider->GetPos(), 64);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(BmpSliderTest, PressOnTheThumbReportsUnchangedAndDrags) {
    slider->SetPos(64);
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(87, 9));
    EXPECT_TRUE(slider->IsDragging());
    EXPECT_EQ(slider->GetPos(), 64);
    // p = x - 8; the single-precision step makes the last pixel one short.
    QTest::mouseMove(slider, QPoint(13, 9));
    EXPECT_EQ(slider->GetPos(), 0);
    QTest::mouseMove(slider, QPoint(161, 9));
    EXPECT_EQ(slider->GetPos(), 126);
    QTest::mouseMove(slider, QPoint(162, 9));
    EXPECT_EQ(slider->GetPos(), 127);
    // Past either end: clamped, and every move is reported.
    QTest::mouseMove(slider, QPoint(400, 9));
    QTest::mouseMove(slider, QPoint(401, 9));
    QTest::mouseMove(slider, QPoint(-90, 50));
    EXPECT_EQ(slider->GetPos(), 0);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(-90, 50));
    EXPECT_FALSE(slider->IsDragging());
    EXPECT_EQ(Reported(), (std::vector<int>{64, 0, 126, 127, 127, 127, 0}));
}

TEST_F(BmpSliderTest, MovesAfterAClickOnTheTrackDoNotDrag) {
    slider->SetPos(64);
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(150, 9));
    QTest::mouseMove(slider, QPoint(20, 9));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(20, 9));
    EXPECT_EQ(slider->GetPos(), 65);
    EXPECT_EQ(Reported(), (std::vector<int>{65}));
}

TEST_F(BmpSliderTest, WheelStepsByOneAndAlwaysReports) {
    slider->SetPos(10);
    Wheel(slider, -120);
    EXPECT_EQ(slider->GetPos(), 9);
    Wheel(slider, 120);
    Wheel(slider, 15);  // a fine-grained wheel still steps by one
    EXPECT_EQ(slider->GetPos(), 11);
    Wheel(slider, 0);
    EXPECT_EQ(slider->GetPos(), 11);
    slider->SetPos(127);
    Wheel(slider, 120);
    EXPECT_EQ(slider->GetPos(), 127);
    EXPECT_EQ(Reported(), (std::vector<int>{9, 10, 11, 11, 127}));
}

TEST_F(BmpSliderTest, SidewaysWheelIsLeftToOthers) {
    slider->SetPos(10);
    Wheel(slider, 0, 120);
    EXPECT_EQ(slider->GetPos(), 10);
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(BmpSliderTest, ArrowKeysStepAndReport) {
    slider->SetPos(50);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Up);
    EXPECT_EQ(slider->GetPos(), 52);
    QTest::keyClick(slider, Qt::Key_Left);
    QTest::keyClick(slider, Qt::Key_Down);
    QTest::keyClick(slider, Qt::Key_Down);
    EXPECT_EQ(slider->GetPos(), 49);
    QTest::keyClick(slider, Qt::Key_A);
    QTest::keyClick(slider, Qt::Key_PageUp);
    EXPECT_EQ(slider->GetPos(), 49);
    slider->SetPos(0);
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(slider->GetPos(), 0);
    EXPECT_EQ(Reported(), (std::vector<int>{51, 52, 51, 50, 49, 0}));
}

TEST_F(BmpSliderTest, DisabledSliderIgnoresClicksKeysAndWheel) {
    ShowActive();
    slider->SetPos(64);
    slider->SetSliderEnabled(false);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(160, 10));
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(87, 9));
    QTest::mouseMove(slider, QPoint(150, 9));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(150, 9));
    QTest::keyClick(slider, Qt::Key_Right);
    Wheel(slider, 120);
    EXPECT_EQ(slider->GetPos(), 64);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_FALSE(slider->hasFocus());
    EXPECT_EQ(PixelAt(*slider, 87, 9), kDisabledColor);

    // Enabled again it answers as before.
    slider->SetSliderEnabled(true);
    Wheel(slider, 120);
    EXPECT_EQ(slider->GetPos(), 65);
}

TEST_F(BmpSliderTest, DisabledWidgetActsAsDisabledSlider) {
    slider->SetPos(64);
    slider->setEnabled(false);
    EXPECT_FALSE(slider->IsSliderEnabled());
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(160, 10));
    QTest::keyClick(slider, Qt::Key_Right);
    Wheel(slider, 120);
    EXPECT_EQ(slider->GetPos(), 64);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(PixelAt(*slider, 87, 9), kDisabledColor);
}

TEST_F(BmpSliderTest, ClickTakesFocusAndTabPassesItOn) {
    auto* next = new QPushButton("next", &window);
    next->setGeometry(20, 55, 60, 20);
    ShowActive();
    next->setFocus();
    slider->SetPos(64);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(87, 9));
    ASSERT_TRUE(slider->hasFocus());
    EXPECT_EQ(PixelAt(*slider, 87, 9), kFocusedColor);

    // Keys go to the focused widget, here the slider.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(slider->GetPos(), 65);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_EQ(PixelAt(*slider, slider->ThumbRect().center().x(), 9), kThumbColor);
    // Tab never lands on the slider by itself.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(slider->hasFocus());
    EXPECT_EQ(Reported(), (std::vector<int>{64, 65}));
}

TEST_F(BmpSliderTest, FillReachesTheThumbsLeftEdge) {
    slider->SetPos(64);  // thumb 79..94
    const QImage image = slider->grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), kFillColor);
    EXPECT_EQ(image.pixelColor(78, 0), kFillColor);
    EXPECT_EQ(image.pixelColor(79, 0), kTrackColor);  // above the thumb, top margin 1
    EXPECT_EQ(image.pixelColor(79, 1), kThumbColor);
    EXPECT_EQ(image.pixelColor(94, 17), kThumbColor);
    EXPECT_EQ(image.pixelColor(95, 9), kTrackColor);
    EXPECT_EQ(image.pixelColor(172, 18), kTrackColor);
}

TEST_F(BmpSliderTest, RangeWithoutWidthRestsAtTheStart) {
    slider->SetRange(5, 5);
    slider->SetPos(9);
    EXPECT_EQ(slider->GetPos(), 5);
    EXPECT_EQ(slider->ValueToPixel(5), 5);
    EXPECT_EQ(slider->PixelToValue(100), 5);
    EXPECT_EQ(PixelAt(*slider, 6, 9), kThumbColor);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(150, 9));
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(10, 9));
    QTest::mouseMove(slider, QPoint(120, 9));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(120, 9));
    Wheel(slider, 120);
    EXPECT_EQ(slider->GetPos(), 5);
    EXPECT_EQ(Reported(), (std::vector<int>{5, 5, 5, 5}));
}

TEST_F(BmpSliderTest, MissingImagesLeaveAWorkingSlider) {
    CXBmpSlider bare(&window);
    bare.SetTrackImages(QImage(), QImage());
    bare.SetThumbImages(QImage(), QImage(), QImage());
    bare.resize(50, 20);
    QSignalSpy bareSpy(&bare, &CXBmpSlider::sliderChanged);
    EXPECT_FALSE(bare.grab().isNull());
    QTest::mouseClick(&bare, Qt::LeftButton, {}, QPoint(40, 10));
    QTest::keyClick(&bare, Qt::Key_Right);
    EXPECT_EQ(bare.GetPos(), 2);
    EXPECT_EQ(bareSpy.count(), 2);
}

TEST(BmpSlider, SliderWithoutParentReportsNothing) {
    CXBmpSlider slider;
    QSignalSpy spy(&slider, &CXBmpSlider::sliderChanged);
    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(slider.GetPos(), 1);
    EXPECT_EQ(spy.count(), 0);
}

// Vertical: maximum at the top, the fill below the thumb.
class BmpSliderVerticalTest : public ::testing::Test {
protected:
    BmpSliderVerticalTest() : slider(new CXBmpSlider(&window)), spy(slider, &CXBmpSlider::sliderChanged) {
        slider->setGeometry(0, 0, kTrackHeight, kTrackWidth);
        slider->SetVertical(true);
        GiveTestImages(*slider, true);
        slider->SetMargins(1, 1, 5, 4);  // thumb x 1; travel from y 5 down to y 5 + 151 - 1
        slider->SetRange(0, 100);
    }

    QWidget window;
    CXBmpSlider* slider;
    QSignalSpy spy;
};

TEST_F(BmpSliderVerticalTest, MaximumIsAtTheTop) {
    // span = 173 - 17 - 4 - 5 = 147
    EXPECT_EQ(slider->ValueToPixel(100), 5);
    EXPECT_EQ(slider->ValueToPixel(0), 152);
    EXPECT_EQ(slider->ValueToPixel(50), 78);
    slider->SetPos(50);
    EXPECT_EQ(slider->ThumbRect(), QRect(1, 78, kThumbWidth, kThumbHeight));
    const QImage image = slider->grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 77), kTrackColor);
    EXPECT_EQ(image.pixelColor(0, 78), kFillColor);
    EXPECT_EQ(image.pixelColor(0, 172), kFillColor);
    EXPECT_EQ(image.pixelColor(8, 85), kThumbColor);
}

TEST_F(BmpSliderVerticalTest, ClicksAboveStepUpAndBelowStepDown) {
    slider->SetPos(50);  // thumb 78..94, centre y 86
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(9, 20));
    EXPECT_EQ(slider->GetPos(), 51);
    slider->SetPos(50);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(9, 150));
    EXPECT_EQ(slider->GetPos(), 49);
    // Beside the thumb at its centre height counts as above.
    slider->SetPos(50);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(18, 86));
    EXPECT_EQ(slider->GetPos(), 51);
    slider->SetPos(50);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(18, 87));
    EXPECT_EQ(slider->GetPos(), 49);
    EXPECT_EQ(spy.count(), 4);
}

TEST_F(BmpSliderVerticalTest, DraggingUpRaisesThePosition) {
    slider->SetPos(0);  // thumb 152..168
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(9, 160));
    QTest::mouseMove(slider, QPoint(9, 13));  // p = 13 - 8 = 5, the maximum's pixel
    EXPECT_EQ(slider->GetPos(), 100);
    QTest::mouseMove(slider, QPoint(9, 300));
    EXPECT_EQ(slider->GetPos(), 0);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(9, 300));
    EXPECT_EQ(spy.count(), 3);
}

TEST_F(BmpSliderVerticalTest, RangeWithoutWidthRestsAtTheBottom) {
    slider->SetRange(0, 0);
    EXPECT_EQ(slider->ValueToPixel(0), 152);
    EXPECT_EQ(slider->PixelToValue(10), 0);
    EXPECT_EQ(slider->grab().toImage().pixelColor(8, 160), kThumbColor);
}

// Renders sliders at several positions and states for a look by eye.
TEST(BmpSliderScreenshot, RendersPositionsAndStates) {
    const QString dir = QStringLiteral(SONORIA_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    QWidget window;
    window.resize(200, 230);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(32, 32, 32));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    const int positions[] = {0, 1, 40, 64, 100, 126, 127};
    std::vector<CXBmpSlider*> sliders;
    int y = 6;
    for (int position : positions) {
        auto* slider = new CXBmpSlider(&window);
        slider->SetTrackImages();
        slider->SetThumbImages(CXBmpSlider::kDarkThumbImageId);
        // Stand-ins while the drawn images are not there.
        if (slider->sizeHint().width() != kTrackWidth) GiveTestImages(*slider);
        slider->SetMargins(5, 4, 1, 1);
        slider->SetRange(0, 127);
        slider->SetPos(position);
        slider->setGeometry(10, y, kTrackWidth, kTrackHeight);
        y += 28;
        sliders.push_back(slider);
    }
    sliders.back()->SetSliderEnabled(false);
    sliders[3]->SetBackgroundColor(0xFF202020);
    const QImage image = window.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(dir + "/bmp_slider.png"));
}

}  // namespace
}  // namespace sonoria

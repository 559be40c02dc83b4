// The image button: which pre-built picture each state shows, what the
// pictures are made of, and where the caption goes.
#include <gtest/gtest.h>

#include "ui/DarkParent.h"

#include <QDir>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <memory>

#include "controls/CGdipButton.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using State = CGdipButton::State;

const QColor kDark(32, 32, 32);
const QColor kFace(100, 150, 200);
const QColor kMarker(250, 10, 10);
const QColor kAlternateFace(20, 200, 40);
constexpr int kButtonW = 40;
constexpr int kButtonH = 20;
const QPoint kButtonPos(10, 20);

// A picture of the button's size: one colour with a marker in its top-left
// pixel, so that a shift shows.
QImage FaceImage(const QColor& face, bool marker = true, QSize size = {kButtonW, kButtonH}) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(face);
    if (marker) image.setPixelColor(0, 0, kMarker);
    return image;
}

int Hot(int c) { return std::clamp(static_cast<int>(std::lround(1.05 * c + 0.05 * 255)), 0, 255); }
int Grey(const QColor& c) {
    return static_cast<int>(std::lround(0.3 * c.red() + 0.59 * c.green() + 0.11 * c.blue()));
}

void ExpectNear(const QColor& actual, const QColor& expected, int tolerance = 1) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << "red";
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << "green";
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << "blue";
}

QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

class GdipButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = test::MakeDarkParent(QSize(200, 100), kDark);
        button = new CGdipButton(parent.get());
        button->setGeometry(QRect(kButtonPos, QSize(kButtonW, kButtonH)));
    }

    // Paints the button as the screen would and returns what it drew.
    QImage Paint() { return button->grab().toImage(); }

    void Hover() {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(button->mapToGlobal(QPoint(5, 5))));
        QCoreApplication::sendEvent(button, &enter);
    }
    void Leave() {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(button, &leave);
    }

    std::unique_ptr<QWidget> parent;
    CGdipButton* button = nullptr;
};

TEST_F(GdipButtonTest, StandardStatesAreBuiltOnceFromTheImageAtTheFirstPaint) {
    ASSERT_TRUE(button->SetStandardImage(FaceImage(kFace)));
    EXPECT_FALSE(button->StatesBuilt());
    Paint();
    ASSERT_TRUE(button->StatesBuilt());
    EXPECT_EQ(button->CurrentState(), State::StandardNormal);

    const QImage& normal = button->StateImage(State::StandardNormal);
    ASSERT_EQ(normal.size(), QSize(kButtonW, kButtonH));
    ExpectNear(Pixel(normal, 0, 0), kMarker, 0);
    ExpectNear(Pixel(normal, 20, 10), kFace, 0);

    // Pressed: the same picture one pixel right and down; the parent's
    // background shows in the uncovered row and column.
    const QImage& pressed = button->StateImage(State::StandardPressed);
    ExpectNear(Pixel(pressed, 0, 0), kDark, 0);
    ExpectNear(Pixel(pressed, 5, 0), kDark, 0);
    ExpectNear(Pixel(pressed, 0, 5), kDark, 0);
    ExpectNear(Pixel(pressed, 1, 1), kMarker, 0);
    ExpectNear(Pixel(pressed, kButtonW - 1, kButtonH - 1), kFace, 0);

    // Hot: each component brightened to 1.05 c + 0.05.
    const QImage& hot = button->StateImage(State::StandardHot);
    ExpectNear(Pixel(hot, 20, 10), QColor(Hot(kFace.red()), Hot(kFace.green()), Hot(kFace.blue())));
    ExpectNear(Pixel(hot, 0, 0), QColor(255, Hot(kMarker.green()), Hot(kMarker.blue())));

    // Grey: 0.3 R + 0.59 G + 0.11 B in every component.
    const QImage& greyed = button->StateImage(State::Greyed);
    const int g = Grey(kFace);
    ExpectNear(Pixel(greyed, 20, 10), QColor(g, g, g));

    // No alternate image, no alternate states.
    EXPECT_TRUE(button->StateImage(State::AlternateNormal).isNull());
    EXPECT_TRUE(button->StateImage(State::AlternatePressed).isNull());
    EXPECT_TRUE(button->StateImage(State::AlternateHot).isNull());

    // Built once: a new image after the first paint changes nothing.
    button->SetStandardImage(FaceImage(kAlternateFace));
    Paint();
    ExpectNear(Pixel(button->StateImage(State::StandardNormal), 20, 10), kFace, 0);
}

TEST_F(GdipButtonTest, WithoutAStandardImageNoStatesAreBuilt) {
    EXPECT_FALSE(button->SetStandardImage(99999));  // no such PNG
    EXPECT_TRUE(button->StandardImage().IsEmpty());
    EXPECT_TRUE(button->SetAlternateImage(FaceImage(kAlternateFace)));
    button->SetBackground(parent->grab());
    button->setText("M1");
    const QImage drawn = Paint();
    EXPECT_FALSE(button->StatesBuilt());
    for (int s = 0; s < CGdipButton::kStateCount; ++s)
        EXPECT_TRUE(button->StateImage(static_cast<State>(s)).isNull()) << "state " << s;
    // What shows is the background behind the button.
    ExpectNear(Pixel(drawn, 1, 1), kDark, 0);
    ExpectNear(Pixel(drawn, kButtonW - 1, kButtonH - 1), kDark, 0);
}

TEST_F(GdipButtonTest, BackgroundIsTheAreaOfTheGivenPictureUnderTheButton) {
    // A parent picture whose every pixel tells where it came from.
    QImage parentPicture(200, 100, QImage::Format_ARGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) parentPicture.setPixelColor(x, y, QColor(x, y, 77));
    button->SetBackground(QPixmap::fromImage(parentPicture));
    ASSERT_EQ(button->Background().size(), QSize(kButtonW, kButtonH));
    ExpectNear(Pixel(button->Background(), 0, 0), QColor(kButtonPos.x(), kButtonPos.y(), 77), 0);
    ExpectNear(Pixel(button->Background(), kButtonW - 1, kButtonH - 1),
               QColor(kButtonPos.x() + kButtonW - 1, kButtonPos.y() + kButtonH - 1, 77), 0);

    // Transparent parts of the picture let that background through.
    QImage ring = FaceImage(kFace, false);
    ring.setPixelColor(7, 3, Qt::transparent);
    button->SetStandardImage(ring);
    Paint();
    const QImage& normal = button->StateImage(State::StandardNormal);
    ExpectNear(Pixel(normal, 7, 3), QColor(kButtonPos.x() + 7, kButtonPos.y() + 3, 77), 0);
    ExpectNear(Pixel(normal, 8, 3), kFace, 0);
}

TEST_F(GdipButtonTest, WithoutABackgroundTheParentsOwnPaintingIsTaken) {
    button->SetStandardImage(FaceImage(kFace));
    Paint();
    ASSERT_FALSE(button->Background().isNull());
    ExpectNear(Pixel(button->Background(), 3, 3), kDark, 0);
}

TEST_F(GdipButtonTest, ParentBackgroundIsTakenDuringTheFirstOnScreenPaint) {
    button->SetStandardImage(FaceImage(kFace));
    parent->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get(), test::kEventTimeoutMs));
    button->repaint();
    ASSERT_TRUE(button->StatesBuilt());
    ExpectNear(Pixel(button->Background(), 3, 3), kDark, 0);
    ExpectNear(Pixel(button->StateImage(State::StandardPressed), 0, 0), kDark, 0);
    ExpectNear(Pixel(button->StateImage(State::StandardPressed), 1, 1), kMarker, 0);
}

TEST_F(GdipButtonTest, PictureOfTheWholeWindowShowsTheButtonOverTheParentsBackground) {
    QImage holed = FaceImage(kFace);
    holed.setPixelColor(5, 5, Qt::transparent);
    button->SetStandardImage(holed);
    const QImage window = parent->grab().toImage();
    ASSERT_TRUE(button->StatesBuilt());
    EXPECT_EQ(window.pixelColor(kButtonPos + QPoint(5, 5)), kDark);
    EXPECT_EQ(window.pixelColor(kButtonPos + QPoint(6, 5)), kFace);
    EXPECT_EQ(window.pixelColor(kButtonPos), kMarker);
}

TEST_F(GdipButtonTest, SmallerImagesAreStretchedOverTheButton) {
    button->SetStandardImage(FaceImage(kFace, false, QSize(10, 5)));
    Paint();
    const QImage& normal = button->StateImage(State::StandardNormal);
    ExpectNear(Pixel(normal, 0, 0), kFace, 0);
    ExpectNear(Pixel(normal, kButtonW - 1, kButtonH - 1), kFace, 0);
}

TEST_F(GdipButtonTest, MouseAndFlagsChooseTheShownState) {
    button->SetStandardImage(FaceImage(kFace));
    button->SetAlternateImage(FaceImage(kAlternateFace));
    parent->show();

    Paint();
    EXPECT_EQ(button->CurrentState(), State::StandardNormal);
    ASSERT_FALSE(button->StateImage(State::AlternateHot).isNull());

    Hover();
    EXPECT_TRUE(button->IsHovered());
    QImage drawn = Paint();
    EXPECT_EQ(button->CurrentState(), State::StandardHot);
    ExpectNear(Pixel(drawn, 20, 10), QColor(Hot(kFace.red()), Hot(kFace.green()), Hot(kFace.blue())));

    // Pressed wins over hover.
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    drawn = Paint();
    EXPECT_EQ(button->CurrentState(), State::StandardPressed);
    ExpectNear(Pixel(drawn, 1, 1), kMarker, 0);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));

    // Selected: the same states from the alternate picture.
    button->SetSelected(true);
    drawn = Paint();
    EXPECT_EQ(button->CurrentState(), State::AlternateHot);
    Leave();
    EXPECT_FALSE(button->IsHovered());
    drawn = Paint();
    EXPECT_EQ(button->CurrentState(), State::AlternateNormal);
    ExpectNear(Pixel(drawn, 20, 10), kAlternateFace, 0);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    Paint();
    EXPECT_EQ(button->CurrentState(), State::AlternatePressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));

    // Greyed wins over everything.
    button->SetGreyed(true);
    Hover();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    drawn = Paint();
    EXPECT_EQ(button->CurrentState(), State::Greyed);
    const int g = Grey(kFace);
    ExpectNear(Pixel(drawn, 20, 10), QColor(g, g, g));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(GdipButtonTest, PlainMouseMovesOverTheButtonMakeItHot) {
    button->SetStandardImage(FaceImage(kFace));
    QMouseEvent move(QEvent::MouseMove, QPointF(4, 4), button->mapToGlobal(QPointF(4, 4)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &move);
    Paint();
    EXPECT_EQ(button->CurrentState(), State::StandardHot);
}

TEST_F(GdipButtonTest, SelectedWithoutAnAlternateImageShowsTheStandardPicture) {
    button->SetStandardImage(FaceImage(kFace));
    button->SetSelected(true);
    const QImage drawn = Paint();
    EXPECT_EQ(button->CurrentState(), State::AlternateNormal);
    ExpectNear(Pixel(drawn, 20, 10), kFace, 0);
}

TEST_F(GdipButtonTest, ToggleModeFlipsTheSelectionOnEachPressUnlessGreyed) {
    button->SetStandardImage(FaceImage(kFace));
    button->SetAlternateImage(FaceImage(kAlternateFace));
    button->SetToggleMode(true);
    parent->show();

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(button->IsSelected());
    Paint();
    EXPECT_EQ(button->CurrentState(), State::AlternatePressed);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(button->IsSelected());

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(button->IsSelected());

    button->SetGreyed(true);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(button->IsSelected());

    // Without toggle mode a press leaves the selection alone.
    button->SetGreyed(false);
    button->SetToggleMode(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(button->IsSelected());
}

TEST_F(GdipButtonTest, ADoubleClickIsTwoClicks) {
    button->SetStandardImage(FaceImage(kFace));
    parent->show();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 2);
}

class GdipButtonCaptionTest : public GdipButtonTest {
protected:
    // The state picture with the caption drawn where it belongs: centred with
    // one extra pixel to the right, vertically by integer division.
    QImage Expected(State state, const QString& caption, QPoint offset = {}) {
        QImage image = button->StateImage(state).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setFont(button->CaptionFont());
        painter.setPen(button->CaptionColor());
        const QFontMetrics metrics(button->CaptionFont(), button);
        const int x = (kButtonW - metrics.horizontalAdvance(caption)) / 2 + 1;
        const int y = (kButtonH - metrics.height()) / 2;
        painter.drawText(QPoint(x, y + metrics.ascent()) + offset, caption);
        return image;
    }
    static bool Same(const QImage& a, const QImage& b) {
        return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
    }
};

TEST_F(GdipButtonCaptionTest, CaptionIsCentredWithOneExtraPixelToTheRight) {
    button->SetStandardImage(FaceImage(kFace, false));
    button->SetCaptionColor(Qt::white);
    button->setText("M1");
    const QImage drawn = Paint();
    EXPECT_TRUE(Same(drawn, Expected(State::StandardNormal, "M1")));
    EXPECT_FALSE(Same(drawn, Expected(State::StandardNormal, "M1", QPoint(-1, 0))));
    EXPECT_FALSE(Same(drawn, Expected(State::StandardNormal, "M1", QPoint(0, 1))));
    EXPECT_FALSE(Same(drawn, button->StateImage(State::StandardNormal)));
}

TEST_F(GdipButtonCaptionTest, CaptionStaysInPlaceWhenPressedAndFollowsTheText) {
    button->SetStandardImage(FaceImage(kFace, false));
    button->SetCaptionColor(Qt::white);
    button->setText("OK");
    parent->show();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage pressed = Paint();
    EXPECT_TRUE(Same(pressed, Expected(State::StandardPressed, "OK")));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));

    button->setText("Go");
    const QImage renamed = Paint();
    EXPECT_TRUE(Same(renamed, Expected(State::StandardNormal, "Go")));
}

TEST_F(GdipButtonCaptionTest, CaptionColourAndFontAreTheOwnersChoice) {
    button->SetStandardImage(FaceImage(kFace, false));
    button->setText("EQ");
    const QFont defaultFont = button->CaptionFont();
    EXPECT_EQ(defaultFont.pixelSize(), 12);
    EXPECT_EQ(button->CaptionColor(), QColor(Qt::black));

    button->SetCaptionColor(QColor(255, 255, 0));
    QFont big = defaultFont;
    big.setPixelSize(16);
    button->SetCaptionFont(big);
    const QImage drawn = Paint();
    EXPECT_TRUE(Same(drawn, Expected(State::StandardNormal, "EQ")));
    EXPECT_FALSE(Same(drawn, Expected(State::StandardNormal, "")));

    button->ResetCaptionFont();
    EXPECT_EQ(button->CaptionFont(), defaultFont);
}

TEST(GdipButtonIds, ControlIdIsKept) {
    CGdipButton button;
    EXPECT_EQ(button.controlId(), 0);
    button.setControlId(1021);
    EXPECT_EQ(button.controlId(), 1021);
    EXPECT_EQ(button.property("controlId").toInt(), 1021);
}

}  // namespace
}  // namespace sonoria

namespace sonoria {
namespace {

TEST(GdipButtonCaption, DoubleAmpersandsShowOneAndMnemonicMarksVanish) {
    EXPECT_EQ(CGdipButton::WithoutMnemonics("C&&S To Rear L&&R"), "C&S To Rear L&R");
    EXPECT_EQ(CGdipButton::WithoutMnemonics("&Open"), "Open");
    EXPECT_EQ(CGdipButton::WithoutMnemonics("A&"), "A");
    EXPECT_EQ(CGdipButton::WithoutMnemonics(QString::fromUtf8("功能")), QString::fromUtf8("功能"));
}

}  // namespace
}  // namespace sonoria

namespace sonoria {
namespace {

TEST(GdipButtonCaption, ACaptionTooWideForItsFaceIsSetSmallerThenElided) {
    QWidget parent;
    CGdipButton button(&parent);
    button.setGeometry(0, 0, 82, 26);
    // A pill with a transparent margin of five pixels in 150.
    QImage pill(150, 45, QImage::Format_ARGB32);
    pill.fill(Qt::transparent);
    QPainter(&pill).fillRect(5, 5, 140, 35, QColor(0, 118, 116));
    button.SetStandardImage(pill);

    button.setText("Mic 127");
    EXPECT_EQ(button.ShownCaption().font.pixelSize(), 12);
    EXPECT_EQ(button.ShownCaption().text, "Mic 127");

    button.setText("Delay 85.31ms");
    const FittedText delay = button.ShownCaption();
    EXPECT_TRUE(delay.whole);
    EXPECT_EQ(delay.text, "Delay 85.31ms");
    EXPECT_LT(delay.font.pixelSize(), 12);
    EXPECT_GE(delay.font.pixelSize(), 10);

    button.setText("Delay 341.32ms and more");
    const FittedText elided = button.ShownCaption();
    EXPECT_FALSE(elided.whole);
    EXPECT_EQ(elided.font.pixelSize(), 10);
    EXPECT_TRUE(elided.text.endsWith(QChar(0x2026))) << elided.text.toStdString();
    EXPECT_TRUE(elided.text.startsWith("Delay 3"));
}

}  // namespace
}  // namespace sonoria

// The drawn group box: where its frame, caption gap and caption band go, and
// how its caption and settings behave.
#include <gtest/gtest.h>

#include "ui/DarkParent.h"

#include <QFontMetrics>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <memory>

#include "controls/CXPGroupBox.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

const QColor kDark(32, 32, 32);
const QColor kFrame(0, 144, 120);
const QColor kCaptionFill(90, 0, 0);
const QColor kBodyFill(0, 0, 90);
constexpr int kBoxW = 120;
constexpr int kBoxH = 80;

class GroupBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = test::MakeDarkParent(QSize(200, 120), kDark);
        box = new CXPGroupBox(parent.get());
        box->setGeometry(20, 10, kBoxW, kBoxH);
        box->SetFrameColor(kFrame);
    }

    // The box as it shows over its parent, in the box's coordinates.
    QImage Paint() { return parent->grab(box->geometry()).toImage(); }

    std::unique_ptr<QWidget> parent;
    CXPGroupBox* box = nullptr;
};

TEST_F(GroupBoxTest, WithoutCaptionTheFrameRunsOnePixelInsideTheBox) {
    const QImage drawn = Paint();
    EXPECT_EQ(drawn.pixelColor(60, 1), kFrame) << "top edge";
    EXPECT_EQ(drawn.pixelColor(60, 0), kDark);
    EXPECT_EQ(drawn.pixelColor(1, 40), kFrame) << "left edge";
    EXPECT_EQ(drawn.pixelColor(0, 40), kDark);
    EXPECT_EQ(drawn.pixelColor(kBoxW - 2, 40), kFrame) << "right edge";
    EXPECT_EQ(drawn.pixelColor(kBoxW - 1, 40), kDark);
    EXPECT_EQ(drawn.pixelColor(60, kBoxH - 2), kFrame) << "bottom edge";
    EXPECT_EQ(drawn.pixelColor(60, kBoxH - 1), kDark);
    // Hollow inside, rounded corners.
    EXPECT_EQ(drawn.pixelColor(60, 40), kDark);
    EXPECT_EQ(drawn.pixelColor(1, 1), kDark);
    EXPECT_EQ(box->ComputeLayout().caption.size(), QSize(0, 0));
}

TEST_F(GroupBoxTest, CaptionFromTheWindowTextCutsAGapIntoTheTopEdge) {
    box->SetFillColor(kCaptionFill).SetCaptionColor(Qt::white);
    box->setText("Reverb");
    const QImage drawn = Paint();
    EXPECT_EQ(box->Caption(), " Reverb ");

    const QFontMetrics metrics(box->CaptionFont());
    const int cx = metrics.horizontalAdvance(" Reverb ");
    const int cy = metrics.height();
    const QRect caption = box->ComputeLayout().caption;
    EXPECT_EQ(caption, QRect(11, 1, cx, cy));

    const int frameTop = 1 + cy / 2;
    EXPECT_NE(drawn.pixelColor(60, 1), kFrame) << "the edge moved down";
    EXPECT_EQ(drawn.pixelColor(caption.left() - 3, frameTop), kFrame);
    EXPECT_EQ(drawn.pixelColor(caption.right() + 3, frameTop), kFrame);
    // The leading blank is pure fill, where the frame line would run.
    EXPECT_EQ(drawn.pixelColor(caption.left() + 1, frameTop), kCaptionFill);

    // The text is drawn inside the caption rectangle and nowhere else.
    int inside = 0, outside = 0;
    for (int y = 0; y < kBoxH; ++y)
        for (int x = 0; x < kBoxW; ++x)
            if (qGray(drawn.pixel(x, y)) > 200) ++(caption.contains(x, y) ? inside : outside);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

TEST_F(GroupBoxTest, CaptionIsTakenFromTheWindowTextOnceAndThenOnlyBySetCaption) {
    box->setText("Echo");
    Paint();
    box->setText("Reverb");
    Paint();
    EXPECT_EQ(box->Caption(), " Echo ");
    box->SetCaption("Delay");
    EXPECT_EQ(box->Caption(), " Delay ");
}

TEST_F(GroupBoxTest, EmptyOrNullCaptionIsTwoBlanksThatStillOpenAGap) {
    box->SetFillColor(kCaptionFill);
    for (const QString& text : {QString(), QString("")}) {
        box->SetCaption(text);
        EXPECT_EQ(box->Caption(), "  ");
        const QRect caption = box->ComputeLayout().caption;
        EXPECT_EQ(caption.width(), QFontMetrics(box->CaptionFont()).horizontalAdvance("  "));
        EXPECT_GT(caption.width(), 0);
        const QImage drawn = Paint();
        EXPECT_EQ(drawn.pixelColor(caption.left(), 1 + caption.height() / 2), kCaptionFill);
    }
}

TEST_F(GroupBoxTest, CaptionAlignment) {
    box->SetCaption("Mix");
    const int cx = QFontMetrics(box->CaptionFont()).horizontalAdvance(" Mix ");
    const int inner = kBoxW - 2;

    box->SetCaptionAlignment(2);
    EXPECT_EQ(box->ComputeLayout().caption.left(), (kBoxW - 1) - 10 - cx) << "right";
    box->SetCaptionAlignment(1);
    EXPECT_EQ(box->ComputeLayout().caption.left(), 1 + (inner - cx) / 2) << "centred";
    for (int other : {3, -1, 0}) {
        box->SetCaptionAlignment(other);
        EXPECT_EQ(box->CaptionAlignment(), 0);
        EXPECT_EQ(box->ComputeLayout().caption.left(), 11) << other;
    }

    // A centred caption wider than the box starts left of the frame.
    box->setGeometry(20, 10, 30, 30);
    box->SetCaption("A caption far wider than the box").SetCaptionAlignment(1);
    EXPECT_LT(box->ComputeLayout().caption.left(), 1);
}

TEST_F(GroupBoxTest, WindowStyleDrawsACaptionBandAndAFilledBody) {
    box->SetFillColors(kCaptionFill, kBodyFill);
    for (int style : {1, 2, -7}) {
        box->SetBoxStyle(style);
        box->SetCaption(QString());
        const int cy = QFontMetrics(box->CaptionFont()).height();
        const int bodyTop = 1 + cy + 4;
        const CXPGroupBox::Layout layout = box->ComputeLayout();
        EXPECT_EQ(layout.body.top(), bodyTop);
        EXPECT_EQ(layout.caption.topLeft(), QPoint(3, 3));

        const QImage drawn = Paint();
        EXPECT_EQ(drawn.pixelColor(60, 1), kFrame) << "top of the band";
        EXPECT_EQ(drawn.pixelColor(60, bodyTop - 1), kCaptionFill) << "band";
        EXPECT_EQ(drawn.pixelColor(60, bodyTop), kFrame) << "line under the band";
        EXPECT_EQ(drawn.pixelColor(60, bodyTop + 10), kBodyFill) << "body";
        EXPECT_EQ(drawn.pixelColor(60, kBoxH - 2), kFrame) << "bottom";
    }

    box->SetCaptionAlignment(2);
    const int cx = QFontMetrics(box->CaptionFont()).horizontalAdvance("  ");
    EXPECT_EQ(box->ComputeLayout().caption.left(), (kBoxW - 1) - 2 - cx);
}

TEST_F(GroupBoxTest, SettersChainAndKeepTheirValues) {
    CXPGroupBox& same = box->SetCaptionColor(Qt::yellow).SetFillColors(Qt::red, Qt::blue).SetBoxStyle(5);
    EXPECT_EQ(&same, box);
    EXPECT_EQ(box->CaptionColor(), QColor(Qt::yellow));
    EXPECT_EQ(box->CaptionFillColor(), QColor(Qt::red));
    EXPECT_EQ(box->BodyFillColor(), QColor(Qt::blue));
    EXPECT_EQ(box->BoxStyle(), 5);
    box->SetFillColor(Qt::green);
    EXPECT_EQ(box->CaptionFillColor(), QColor(Qt::green));
    EXPECT_EQ(box->BodyFillColor(), QColor(Qt::green));
}

TEST_F(GroupBoxTest, DefaultColoursComeFromTheSystemPalette) {
    CXPGroupBox fresh;
    EXPECT_EQ(fresh.FrameColor(), fresh.palette().color(QPalette::Dark));
    EXPECT_EQ(fresh.CaptionFillColor(), fresh.palette().color(QPalette::Button));
    EXPECT_EQ(fresh.BodyFillColor(), fresh.palette().color(QPalette::Button));
    EXPECT_EQ(fresh.CaptionColor(), fresh.palette().color(QPalette::WindowText));
    EXPECT_EQ(fresh.BoxStyle(), 0);
    EXPECT_EQ(fresh.CaptionAlignment(), 0);
    EXPECT_TRUE(fresh.Caption().isEmpty());
}

TEST_F(GroupBoxTest, CaptionFontSettings) {
    // Until changed, the caption font is the box's own font.
    QFont given("WenQuanYi Micro Hei");
    given.setPixelSize(15);
    box->setFont(given);
    EXPECT_EQ(box->CaptionFont().pixelSize(), 15);

    box->SetCaptionBold(true);
    EXPECT_EQ(box->CaptionFont().weight(), QFont::Bold);
    box->SetCaptionBold(false);
    EXPECT_EQ(box->CaptionFont().weight(), QFont::Normal);
    box->SetCaptionItalic(true).SetCaptionUnderline(true);
    EXPECT_TRUE(box->CaptionFont().italic());
    EXPECT_TRUE(box->CaptionFont().underline());

    box->SetCaptionFace(QString(40, QChar('F')), 134);
    EXPECT_EQ(box->CaptionFont().family(), QString(31, QChar('F')));
    EXPECT_EQ(box->CaptionCharSet(), 134);

    box->SetCaptionPointSize(9);
    EXPECT_EQ(box->CaptionFont().pixelSize(), std::lround(9.0 * box->logicalDpiY() / 72));
    EXPECT_TRUE(box->CaptionFont().italic()) << "other attributes kept";

    // Once set, the caption font no longer follows the box's font.
    QFont other = given;
    other.setPixelSize(22);
    box->setFont(other);
    EXPECT_NE(box->CaptionFont().pixelSize(), 22);

    QFont whole("WenQuanYi Micro Hei");
    whole.setPixelSize(18);
    box->SetCaptionFont(whole);
    EXPECT_EQ(box->CaptionFont(), whole);
}

TEST_F(GroupBoxTest, ClicksPassThroughToTheControlsItFrames) {
    auto* framed = new QPushButton("Framed", parent.get());
    framed->setGeometry(40, 30, 60, 24);
    box->raise();  // even when the box lies on top
    parent->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(parent.get(), test::kEventTimeoutMs));
    QSignalSpy clicks(framed, &QPushButton::clicked);
    QTest::mouseClick(parent->windowHandle(), Qt::LeftButton, {}, QPoint(60, 40));
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
}  // namespace sonoria

// Pictures of the image button, the group box and the page host on a dark
// window, saved for a look by eye.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <memory>

#include "controls/CGdipButton.h"
#include "controls/CTabWnd.h"
#include "controls/CXPGroupBox.h"
#include "controls/ImageLoader.h"

namespace sonoria {
namespace {

const QColor kDark(32, 32, 32);

std::unique_ptr<QWidget> DarkWindow(QSize size) {
    auto window = std::make_unique<QWidget>();
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kDark);
    palette.setColor(QPalette::WindowText, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->resize(size);
    return window;
}

// The program's picture when it is there, else a glowing pill of our own.
QImage PillImage(int id, QSize size, const QColor& colour) {
    QImage image;
    if (LoadPngImage(id, image) == 1) return image;
    image = QImage(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, colour.lighter(160));
    gradient.setColorAt(0.5, colour);
    gradient.setColorAt(1, colour.darker(180));
    QPainterPath pill;
    const QRectF body = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(3, 3, -3, -3);
    pill.addRoundedRect(body, body.height() / 2, body.height() / 2);
    painter.setPen(QPen(colour.lighter(130), 2));
    painter.setBrush(gradient);
    painter.drawPath(pill);
    return image;
}

QString SavePath(const char* name) {
    QDir().mkpath(SONORIA_SCREENSHOT_DIR);
    return QDir(SONORIA_SCREENSHOT_DIR).filePath(name);
}

// How many pixels differ from the window's own colour.
int LitPixels(const QImage& image) {
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) lit += image.pixelColor(x, y) != kDark;
    return lit;
}

TEST(GdipButtonScreenshot, EveryStateOnADarkWindow) {
    auto window = DarkWindow({520, 190});
    const QImage teal = PillImage(291, {150, 45}, QColor(0, 150, 140));
    const QImage glow = PillImage(296, {150, 45}, QColor(40, 200, 60));

    struct Item {
        const char* caption;
        QPoint pos;
    };
    const Item items[] = {{"Normal", {15, 15}}, {"Hot", {185, 15}},      {"Pressed", {355, 15}},
                          {"Greyed", {15, 75}}, {"Selected", {185, 75}}, {"Sel. hot", {355, 75}}};
    CGdipButton* buttons[6];
    for (int i = 0; i < 6; ++i) {
        buttons[i] = new CGdipButton(window.get());
        buttons[i]->setGeometry(QRect(items[i].pos, QSize(150, 45)));
        buttons[i]->SetStandardImage(teal);
        buttons[i]->SetAlternateImage(glow);
        buttons[i]->SetCaptionColor(Qt::white);
        buttons[i]->setText(items[i].caption);
    }
    // Small mode labels, one highlighted.
    for (int m = 0; m < 4; ++m) {
        auto* mode = new CGdipButton(window.get());
        mode->setGeometry(15 + m * 48, 140, 38, 24);
        mode->SetStandardImage(PillImage(330 + m, {38, 24}, QColor(60, 60, 70)));
        mode->SetAlternateImage(PillImage(334 + m, {38, 24}, QColor(230, 180, 0)));
        mode->SetCaptionColor(Qt::white);
        mode->setText(QStringLiteral("M%1").arg(m + 1));
        mode->SetSelected(m == 1);
    }

    auto hover = [](CGdipButton* button) {
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(button->mapToGlobal(QPoint(5, 5))));
        QCoreApplication::sendEvent(button, &enter);
    };
    hover(buttons[1]);
    buttons[2]->setDown(true);
    buttons[3]->SetGreyed(true);
    buttons[4]->SetSelected(true);
    buttons[5]->SetSelected(true);
    hover(buttons[5]);

    const QImage picture = window->grab().toImage();
    EXPECT_EQ(picture.pixelColor(2, 2), kDark);
    EXPECT_GT(LitPixels(picture), 6 * 150 * 45 / 2);
    EXPECT_EQ(buttons[1]->CurrentState(), CGdipButton::State::StandardHot);
    EXPECT_EQ(buttons[2]->CurrentState(), CGdipButton::State::StandardPressed);
    EXPECT_EQ(buttons[3]->CurrentState(), CGdipButton::State::Greyed);
    EXPECT_EQ(buttons[5]->CurrentState(), CGdipButton::State::AlternateHot);
    EXPECT_TRUE(picture.save(SavePath("image_button_states.png")));
}

TEST(GroupBoxScreenshot, BoxesAndAPageHostOnADarkWindow) {
    auto window = DarkWindow({520, 260});

    auto* plain = new CXPGroupBox(window.get());
    plain->setGeometry(10, 10, 160, 110);
    plain->SetFrameColor(QColor(0, 144, 120));

    auto* captioned = new CXPGroupBox(window.get());
    captioned->setGeometry(180, 10, 160, 110);
    captioned->SetFrameColor(QColor(255, 180, 0)).SetFillColor(kDark).SetCaptionColor(Qt::white);
    captioned->SetCaption("Reverb").SetCaptionAlignment(1);

    auto* banded = new CXPGroupBox(window.get());
    banded->setGeometry(350, 10, 160, 110);
    banded->SetFrameColor(QColor(0, 144, 120))
        .SetFillColors(QColor(0, 90, 75), QColor(24, 40, 38))
        .SetCaptionColor(Qt::white)
        .SetBoxStyle(1);
    banded->SetCaption("Echo");

    // The page host framed by a box, as the main window has it.
    auto* frame = new CXPGroupBox(window.get());
    frame->setGeometry(10, 130, 500, 120);
    frame->SetFrameColor(QColor(0, 144, 120));
    auto* host = new CTabWnd(frame->parentWidget());
    host->setGeometry(20, 140, 480, 100);
    const QColor pageColours[] = {QColor(70, 30, 30), QColor(30, 70, 30), QColor(30, 30, 70)};
    for (int i = 0; i < 3; ++i) {
        auto* page = new QLabel(QStringLiteral("Page %1").arg(i));
        page->setAlignment(Qt::AlignCenter);
        page->setAutoFillBackground(true);
        QPalette palette = page->palette();
        palette.setColor(QPalette::Window, pageColours[i]);
        palette.setColor(QPalette::WindowText, Qt::white);
        page->setPalette(palette);
        host->AddPage(page, 255 + i);
    }
    host->LayoutPages();
    host->ShowPage(1);

    const QImage picture = window->grab().toImage();
    EXPECT_EQ(picture.pixelColor(10 + 80, 11), QColor(0, 144, 120)) << "top edge of the plain box";
    EXPECT_EQ(picture.pixelColor(20 + 5, 140 + 5), pageColours[1]) << "the shown page";
    EXPECT_TRUE(picture.save(SavePath("group_box_and_page_host.png")));
}

}  // namespace
}  // namespace sonoria

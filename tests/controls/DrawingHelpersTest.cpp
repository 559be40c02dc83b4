// The page host, the off-screen drawing surface and the number-text filter.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPdfWriter>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "controls/CMemGdiPlusDC.h"
#include "controls/CTabWnd.h"
#include "controls/KeepNumericChars.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

// ---- Page host ------------------------------------------------------------

class TabWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<CTabWnd>();
        host->resize(300, 200);
    }
    // Adds `count` pages with template ids 200, 201, ...
    std::vector<QWidget*> AddPages(int count) {
        std::vector<QWidget*> pages;
        for (int i = 0; i < count; ++i) {
            pages.push_back(new QWidget);
            host->AddPage(pages.back(), 200 + i);
        }
        return pages;
    }
    std::vector<bool> Shown(const std::vector<QWidget*>& pages) {
        std::vector<bool> shown;
        for (QWidget* page : pages) shown.push_back(page->isVisibleTo(host.get()));
        return shown;
    }

    std::unique_ptr<CTabWnd> host;
};

TEST_F(TabWndTest, PagesAreAddedInOrderUpToTwelve) {
    const auto pages = AddPages(13);
    EXPECT_EQ(host->PageCount(), CTabWnd::kMaxPages);
    for (int i = 0; i < CTabWnd::kMaxPages; ++i) {
        EXPECT_EQ(host->Page(i), pages[i]);
        EXPECT_EQ(host->PageTemplateId(i), 200 + i);
        EXPECT_EQ(pages[i]->parentWidget(), host.get());
        EXPECT_FALSE(pages[i]->isWindow());
    }
    // The thirteenth was ignored: not adopted, its id not stored.
    EXPECT_EQ(pages[12]->parentWidget(), nullptr);
    EXPECT_EQ(host->Page(12), nullptr);
    EXPECT_EQ(host->PageTemplateId(12), 0);
    EXPECT_EQ(host->ShowPage(12), -1);
    delete pages[12];
}

TEST_F(TabWndTest, LayoutSizesEveryPageToTheHostAndShowsPageZero) {
    const auto pages = AddPages(4);
    EXPECT_EQ(host->ShowPage(2), 0);
    host->LayoutPages();
    for (QWidget* page : pages) EXPECT_EQ(page->geometry(), QRect(0, 0, 300, 200));
    EXPECT_EQ(Shown(pages), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(host->CurrentPage(), 2) << "layout leaves the current page alone";
}

TEST_F(TabWndTest, ShowPageShowsExactlyOneAndReturnsThePreviousPage) {
    const auto pages = AddPages(4);
    host->LayoutPages();
    EXPECT_EQ(host->ShowPage(3), 0);
    EXPECT_EQ(Shown(pages), (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(host->ShowPage(1), 3);
    EXPECT_EQ(Shown(pages), (std::vector<bool>{false, true, false, false}));
    // The current page again: shown again, same index back.
    EXPECT_EQ(host->ShowPage(1), 1);
    EXPECT_EQ(Shown(pages), (std::vector<bool>{false, true, false, false}));

    // At or above the count: nothing changes.
    for (int index : {4, 5, 100}) {
        EXPECT_EQ(host->ShowPage(index), -1);
        EXPECT_EQ(Shown(pages), (std::vector<bool>{false, true, false, false}));
        EXPECT_EQ(host->CurrentPage(), 1);
    }
    // Negative: every page hidden, the current page kept and returned.
    EXPECT_EQ(host->ShowPage(-1), 1);
    EXPECT_EQ(Shown(pages), (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(host->CurrentPage(), 1);
}

TEST_F(TabWndTest, EmptySlotsKeepTheirIndexAndAreSkipped) {
    auto* first = new QWidget;
    auto* third = new QWidget;
    host->AddPage(first, 255);
    host->AddPage(nullptr, 249);  // a page that could not be built
    host->AddPage(third, 259);
    EXPECT_EQ(host->PageCount(), 3);
    EXPECT_EQ(host->Page(1), nullptr);
    EXPECT_EQ(host->PageTemplateId(1), 249);
    host->LayoutPages();
    EXPECT_EQ(host->ShowPage(1), 0);
    EXPECT_EQ(host->CurrentPage(), 0) << "an empty slot never becomes current";
    EXPECT_FALSE(first->isVisibleTo(host.get()));
    EXPECT_FALSE(third->isVisibleTo(host.get()));
    EXPECT_EQ(host->ShowPage(2), 0);
    EXPECT_TRUE(third->isVisibleTo(host.get()));

    // A page its owner deleted leaves its slot empty too.
    delete first;
    EXPECT_EQ(host->Page(0), nullptr);
    EXPECT_EQ(host->ShowPage(0), 2);
    host->show();
    host->resize(310, 210);
    EXPECT_EQ(third->geometry(), QRect(0, 0, 310, 209));
}

TEST_F(TabWndTest, AfterAResizePagesAreOnePixelLessHigh) {
    const auto pages = AddPages(3);
    host->LayoutPages();
    host->ShowPage(2);
    host->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get(), test::kEventTimeoutMs));
    // Showing the laid-out host is no resize.
    EXPECT_EQ(pages[0]->geometry(), QRect(0, 0, 300, 200));

    host->resize(400, 250);
    for (QWidget* page : pages) EXPECT_EQ(page->geometry(), QRect(0, 0, 400, 249));
    EXPECT_EQ(Shown(pages), (std::vector<bool>{false, false, true})) << "visibility unchanged";

    host->LayoutPages();
    for (QWidget* page : pages) EXPECT_EQ(page->geometry(), QRect(0, 0, 400, 250));
}

// ---- Off-screen surface ---------------------------------------------------

const QColor kBefore(10, 20, 30);
const QColor kPainted(200, 40, 40);

QImage Target() {
    QImage image(50, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(kBefore);
    return image;
}

TEST(MemDCTest, PictureReachesTheTargetOnlyWhenTheSurfaceEnds) {
    QImage target = Target();
    QPainter painter(&target);
    {
        CMemGdiPlusDC dc(&painter, QRect(10, 5, 20, 15));
        EXPECT_EQ(dc.memoryMode(), 1);
        EXPECT_NE(dc.painter(), &painter);
        // The target's coordinates.
        dc->fillRect(QRect(10, 5, 20, 15), kPainted);
        dc->fillRect(QRect(29, 19, 1, 1), Qt::white);
        painter.end();
        EXPECT_EQ(target.pixelColor(10, 5), kBefore) << "nothing copied yet";
        painter.begin(&target);
    }
    painter.end();
    EXPECT_EQ(target.pixelColor(10, 5), kPainted);
    EXPECT_EQ(target.pixelColor(28, 18), kPainted);
    EXPECT_EQ(target.pixelColor(29, 19), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(9, 5), kBefore);
    EXPECT_EQ(target.pixelColor(10, 4), kBefore);
    EXPECT_EQ(target.pixelColor(30, 10), kBefore);
    EXPECT_EQ(target.pixelColor(15, 20), kBefore);
}

TEST(MemDCTest, TheCopyReplacesWhatWasUnderIt) {
    QImage target = Target();
    QPainter painter(&target);
    {
        CMemGdiPlusDC dc(&painter, QRect(0, 0, 10, 10));
        dc->fillRect(QRect(0, 0, 10, 10), QColor(0, 0, 255, 128));
    }
    painter.end();
    const QColor copied = target.pixelColor(5, 5);
    EXPECT_EQ(copied.alpha(), 128);
    EXPECT_EQ(copied.red(), 0) << "not blended with what was there";
}

TEST(MemDCTest, AnAllZeroRectangleCoversTheClipBox) {
    QImage target = Target();
    QPainter painter(&target);
    {
        CMemGdiPlusDC dc(&painter);
        EXPECT_EQ(dc.rect(), QRect(0, 0, 50, 40)) << "unclipped: the whole target";
        dc->fillRect(dc.rect(), kBefore);
    }
    painter.setClipRect(QRect(5, 6, 12, 8));
    {
        CMemGdiPlusDC dc(&painter, QRect(0, 0, 0, 0));
        EXPECT_EQ(dc.rect(), QRect(5, 6, 12, 8));
        dc->fillRect(dc.rect(), kPainted);
    }
    painter.end();
    EXPECT_EQ(target.pixelColor(5, 6), kPainted);
    EXPECT_EQ(target.pixelColor(16, 13), kPainted);
    EXPECT_EQ(target.pixelColor(17, 13), kBefore);
}

TEST(MemDCTest, OnAHighDensityTargetTheClipBoxIsInLogicalPixels) {
    QImage target(100, 80, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2);
    target.fill(kBefore);
    QPainter painter(&target);
    {
        CMemGdiPlusDC dc(&painter);
        EXPECT_EQ(dc.rect(), QRect(0, 0, 50, 40));
        dc->fillRect(QRect(10, 10, 5, 5), kPainted);
    }
    painter.end();
    EXPECT_EQ(target.pixelColor(20, 20), kPainted);
    EXPECT_EQ(target.pixelColor(29, 29), kPainted);
    EXPECT_EQ(target.pixelColor(30, 30), QColor(Qt::transparent)) << "unpainted parts are copied too";
}

TEST(MemDCTest, APrintingTargetIsDrawnOnDirectly) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    QPainter painter(&writer);
    ASSERT_TRUE(painter.isActive());
    CMemGdiPlusDC dc(&painter, QRect(0, 0, 100, 100));
    EXPECT_EQ(dc.memoryMode(), 0);
    EXPECT_EQ(dc.painter(), &painter);
}

// ---- Number text ----------------------------------------------------------

TEST(NumericCharsTest, KeepsOnlyTheCharactersOfANumber) {
    struct Case {
        const char* input;
        const char* kept;
    };
    const Case cases[] = {
        {"-12.5dB", "-12.5"},
        {"1.2kHz", "1.2"},  // the multiplier is lost
        {"", ""},
        {"+3 dB", "+3"},
        {"250Hz", "250"},
        {"20.0ms", "20.0"},
        {"Q=0.70", "0.70"},
        {"1,000 Hz", "1000"},
        {"1e3", "13"},
        {"OFF", ""},
        {"--1..5", "--1..5"},  // kept as they come, not validated
        {" 0 ", "0"},
    };
    for (const Case& c : cases) EXPECT_EQ(KeepNumericChars(QString::fromUtf8(c.input)), c.kept) << c.input;

    // Only ASCII digits and signs count.
    EXPECT_EQ(KeepNumericChars(QString::fromUtf8("１２３")), "");
    EXPECT_EQ(KeepNumericChars(QString::fromUtf8("−6dB")), "6") << "a typographic minus is not '-'";
    EXPECT_EQ(KeepNumericChars(QString::fromUtf8("延时 12.5 毫秒")), "12.5");
}

}  // namespace
}  // namespace sonoria

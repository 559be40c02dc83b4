// The main window's own behaviour on screen: its size, and where the hand
// cursor shows.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "app/CSonoriaDlg.h"
#include "app/FlowPanel.h"
#include "app/MainWindowTemplate.h"
#include "app/Settings.h"
#include "controls/DialogTemplate.h"
#include "ui/Waits.h"
#include "ui/WindowState.h"

namespace sonoria {
namespace {

class MainWindowLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsFileForTesting(settingsDir.filePath("settings.ini"));
        window = std::make_unique<CSonoriaDlg>();
        window->Session().SetStartupDelay(24 * 3600 * 1000);  // no device needed here
        window->show();
    }
    test::WindowStateGuard state;
    QTemporaryDir settingsDir;
    std::unique_ptr<CSonoriaDlg> window;
};

TEST_F(MainWindowLookTest, MadeSmallerItReturnsToItsInitialSizeItself) {
    const QSize initial = window->size();
    const QPoint corner = window->pos();
    // As a window manager that ignores the minimum size would.
    window->setMinimumSize(0, 0);
    window->resize(initial.width() - 120, initial.height() + 40);
    EXPECT_TRUE(test::WaitUntil([&] { return window->size() == initial; })) << window->width();
    EXPECT_EQ(window->pos(), corner);

    // Larger is fine, and the page host grows with it.
    const int hostWidth = FindControl(window.get(), IDC_PAGE_HOST)->width();
    window->resize(initial + QSize(100, 50));
    ASSERT_TRUE(test::WaitUntil([&] { return window->size() == initial + QSize(100, 50); }));
    EXPECT_EQ(FindControl(window.get(), IDC_PAGE_HOST)->width(), hostWidth + 100);
}

TEST_F(MainWindowLookTest, TheHandShowsOverWhatAClickOpensOnly) {
    for (int id = IDC_MODE_1; id < IDC_MODE_1 + 4; ++id)
        EXPECT_EQ(FindControl(window.get(), id)->cursor().shape(), Qt::PointingHandCursor) << id;
    for (int id = IDC_FLOW_FIRST; id <= IDC_FLOW_LAST; ++id) {
        const QWidget* block = FindControl(window.get(), id);
        const bool opens = !block->isHidden() && block->isEnabled();
        EXPECT_EQ(block->cursor().shape(), opens ? Qt::PointingHandCursor : Qt::ArrowCursor) << id;
    }
    // The output labels open nothing; the main mix blocks open their popups.
    EXPECT_EQ(FindControl(window.get(), IDC_FLOW_MAIN_L_LABEL)->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(FindControl(window.get(), IDC_FLOW_MAIN_MIC)->cursor().shape(), Qt::PointingHandCursor);
}

}  // namespace
}  // namespace sonoria

// The information window and the synchronisation progress window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "admin/CInfoDlg.h"
#include "admin/CSynDlg.h"
#include "controls/DialogTemplate.h"
#include "state/Language.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

TEST(InfoWindow, ShowsTheTextAndClosesItselfAfterItsTime) {
    SetCurrentLanguage(1);
    QPointer<CInfoDlg> info = new CInfoDlg(nullptr);
    EXPECT_EQ(info->windowTitle(), "Information");
    info->ShowText(QString::fromUtf8("话筒音量已经被锁定!"), 150);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->Text(), QString::fromUtf8("话筒音量已经被锁定!"));
    // A new text restarts the time: the first one's end no longer counts.
    info->ShowText("Load mode locked!", 60000);
    ASSERT_TRUE(test::LetTimersDueWithinFire(std::chrono::milliseconds(150)));
    test::ProcessQueuedEvents();
    ASSERT_FALSE(info.isNull());
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->Text(), "Load mode locked!");
    info->ShowText("Load mode locked!", 150);
    EXPECT_TRUE(test::WaitUntil([&] { return info.isNull(); }));  // deletes itself
    SetCurrentLanguage(0);
    QPointer<CInfoDlg> chinese = new CInfoDlg(nullptr);
    EXPECT_EQ(chinese->windowTitle(), QString::fromUtf8("信息"));
    delete chinese.data();
}

TEST(InfoWindow, EscapeClosesItEnterDoesNot) {
    QPointer<CInfoDlg> info = new CInfoDlg(nullptr);
    info->ShowText("x", 60000);
    QTest::keyClick(info.data(), Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_FALSE(info.isNull());
    EXPECT_TRUE(info->isVisible());
    QTest::keyClick(info.data(), Qt::Key_Escape);
    EXPECT_TRUE(test::WaitUntil([&] { return info.isNull(); }));
}

TEST(InfoWindow, NoticesAreBlackOnALightGroundAndWhole) {
    SetCurrentLanguage(1);
    QPointer<CInfoDlg> info = new CInfoDlg(nullptr);
    info->ShowText(QString(), 60000);
    auto* label = FindControlAs<QLabel>(info.data(), kInfoTextId);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    // Black on the picture under the label keeps a contrast of 7:1 at least.
    const QImage ground = info->grab().toImage();
    double darkest = 1.0;
    for (int y = label->geometry().top(); y <= label->geometry().bottom(); ++y) {
        for (int x = label->geometry().left(); x <= label->geometry().right(); ++x) {
            const QColor c = ground.pixelColor(x, y);
            const auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            darkest = std::min(darkest, 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) +
                                            0.0722 * linear(c.blueF()));
        }
    }
    EXPECT_GE((darkest + 0.05) / 0.05, 7.0);

    // A notice wider than the label is set a little smaller, not cut.
    const QString longNotice = QStringLiteral("Save remote control key successed !");
    info->ShowText(longNotice, 60000);
    EXPECT_EQ(info->Text(), longNotice);
    EXPECT_EQ(label->text(), longNotice);
    EXPECT_LT(label->font().pixelSize(), 25);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(longNotice), label->width());
    info->ShowText(QString::fromUtf8("话筒音量已经被锁定!"), 60000);
    EXPECT_EQ(label->font().pixelSize(), 25);
    delete info.data();
}

TEST(ProgressWindow, RunsModallyUntilTheSynchronisationEnds) {
    bool synchronising = false;
    std::vector<bool> flags;
    CSynDlg progress(nullptr, {[&](bool on) { synchronising = on; flags.push_back(on); }, nullptr});
    QTimer::singleShot(50, [&] {
        EXPECT_TRUE(synchronising);
        QTest::keyClick(&progress, Qt::Key_Escape);  // the user cannot end it
        QTest::keyClick(&progress, Qt::Key_Return);
        progress.close();
        EXPECT_TRUE(progress.isVisible());
    });
    QTimer::singleShot(400, [&] {
        EXPECT_GT(progress.Progress(), 0);  // the activity bar moves
        progress.CloseSyncProgress();
    });
    EXPECT_EQ(progress.exec(), QDialog::Rejected);
    EXPECT_FALSE(synchronising);
    EXPECT_EQ(flags, (std::vector<bool>{true, false}));
    EXPECT_EQ(progress.cursor().shape(), Qt::WaitCursor);
}

TEST(ProgressWindow, GivesUpAfterItsTimeAndSuggestsReconnecting) {
    QString info;
    int infoMs = 0;
    bool synchronising = false;
    CSynDlg::Hooks hooks{[&](bool on) { synchronising = on; },
                         [&](const QString& text, int ms) {
                             info = text;
                             infoMs = ms;
                         },
                         200};
    CSynDlg progress(nullptr, hooks);
    EXPECT_EQ(progress.exec(), QDialog::Rejected);
    EXPECT_FALSE(synchronising);
    EXPECT_EQ(info, QString::fromUtf8("错误,建议重连设备"));
    EXPECT_EQ(infoMs, 1800);
    EXPECT_EQ(progress.windowTitle(), QString::fromUtf8("同步过程"));
}

}  // namespace
}  // namespace sonoria

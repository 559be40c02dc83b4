// The information window and the synchronisation progress window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "admin/CInfoDlg.h"
#include "admin/CSynDlg.h"
#include "state/Language.h"

namespace sonoria {
namespace {

TEST(InfoWindow, ShowsTheTextAndClosesItselfAfterItsTime) {
    SetCurrentLanguage(1);
    QPointer<CInfoDlg> info = new CInfoDlg(nullptr);
    EXPECT_EQ(info->windowTitle(), "Information");
    info->ShowText(QString::fromUtf8("话筒音量已经被锁定!"), 150);
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->Text(), QString::fromUtf8("话筒音量已经被锁定!"));
    QTest::qWait(80);
    info->ShowText("Load mode locked!", 150);  // restarts the time
    QTest::qWait(100);
    ASSERT_FALSE(info.isNull());
    EXPECT_EQ(info->Text(), "Load mode locked!");
    EXPECT_TRUE(QTest::qWaitFor([&] { return info.isNull(); }, 3000));  // deletes itself
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
    EXPECT_TRUE(QTest::qWaitFor([&] { return info.isNull(); }, 3000));
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

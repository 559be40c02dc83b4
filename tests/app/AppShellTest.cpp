// Settings, the single-instance hand-over and the hot keys.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUuid>

#include "app/HotKeys.h"
#include "app/Settings.h"
#include "app/SingleInstance.h"
#include "ui/WindowState.h"

namespace sonoria {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetSettingsFileForTesting(dir.filePath("settings.ini")); }
    test::WindowStateGuard state;
    QTemporaryDir dir;
};

TEST_F(SettingsTest, TheLanguageTogglePersistsAndUnknownValuesReadAsEnglish) {
    EXPECT_EQ(ReadSettingDword("language"), 0u);  // missing reads as 0: Chinese
    EXPECT_EQ(ReadLanguageSetting(), 0);
    WriteSettingDword("language", 1);
    EXPECT_EQ(ReadLanguageSetting(), 1);
    WriteSettingDword("language", 0);
    EXPECT_EQ(ReadLanguageSetting(), 0);
    WriteSettingDword("language", 7);
    EXPECT_EQ(ReadSettingDword("language"), 7u);
    EXPECT_EQ(ReadLanguageSetting(), 1);
}

QString UniqueName() { return QStringLiteral("Sonoria-Test-") + QUuid::createUuid().toString(QUuid::Id128); }

// Each test is a user of its own: its runtime folder is a fresh one.
class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir runtime;
    QString folder = runtime.path();
};

TEST_F(SingleInstanceTest, ASecondStartHandsOverToTheFirst) {
    const QString name = UniqueName();
    SingleInstance first(name, folder);
    ASSERT_EQ(first.Check(), SingleInstance::Outcome::First);
    ASSERT_TRUE(first.Listen());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);

    // The second copy blocks while it connects; the first answers on the event loop.
    SingleInstance second(name, folder);
    SingleInstance::Outcome outcome = SingleInstance::Outcome::Failed;
    QTimer::singleShot(0, [&] { outcome = second.Check(); });
    EXPECT_TRUE(activated.wait(5000));
    EXPECT_EQ(outcome, SingleInstance::Outcome::HandedOver);
}

TEST_F(SingleInstanceTest, ACopyWithoutWindowIsReportedAndAFreedMarkIsTakenAgain) {
    const QString name = UniqueName();
    {
        SingleInstance first(name, folder);
        ASSERT_EQ(first.Check(), SingleInstance::Outcome::First);
        SingleInstance second(name, folder);
        EXPECT_EQ(second.Check(), SingleInstance::Outcome::WindowNotFound);  // no window listens yet
    }
    SingleInstance later(name, folder);
    EXPECT_EQ(later.Check(), SingleInstance::Outcome::First);
}

TEST_F(SingleInstanceTest, TheRuleIsPerUserAndLivesInTheUsersRuntimeFolder) {
    const QString name = UniqueName();
    SingleInstance mine(name, folder);
    ASSERT_EQ(mine.Check(), SingleInstance::Outcome::First);
    ASSERT_TRUE(mine.Listen());
    EXPECT_TRUE(QFileInfo::exists(QDir(folder).filePath(name + ".lock")));
    EXPECT_TRUE(QFileInfo(QDir(folder).filePath(name)).exists());  // the socket

    QTemporaryDir otherUser;
    SingleInstance theirs(name, otherUser.path());
    EXPECT_EQ(theirs.Check(), SingleInstance::Outcome::First);
    EXPECT_TRUE(theirs.Listen());

    // Without a runtime folder nothing can be marked: start-up stops, saying so.
    EXPECT_EQ(SingleInstance(name, QStringLiteral("/nonexistent/runtime")).Check(), SingleInstance::Outcome::Failed);
}

class HotKeysTest : public ::testing::Test {
protected:
    HotKeysTest()
        : keys({[this] { return synchronising; }, [this] { ++settingsOpened; }, [this] { ++logoOpened; },
                [this] { ++undone; }, [this] { ++redone; }}) {
        target.installEventFilter(&keys);
    }
    bool synchronising = false;
    int settingsOpened = 0;
    int logoOpened = 0;
    int undone = 0;
    int redone = 0;
    HotKeys keys;
    QWidget target;
};

TEST_F(HotKeysTest, ActOnReleaseOnlyAndNotWhileSynchronising) {
    QTest::keyPress(&target, Qt::Key_F7);
    EXPECT_EQ(settingsOpened, 0);
    QTest::keyRelease(&target, Qt::Key_F7);
    EXPECT_EQ(settingsOpened, 1);
    QTest::keyRelease(&target, Qt::Key_F6);
    EXPECT_EQ(logoOpened, 0);  // F6 needs Ctrl
    QTest::keyRelease(&target, Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(logoOpened, 1);
    synchronising = true;
    QTest::keyRelease(&target, Qt::Key_F7);
    QTest::keyRelease(&target, Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(logoOpened, 1);
}

TEST_F(HotKeysTest, UndoAndRedoActOnThePressOfTheirKeysOnly) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int undone, redone;
    } rows[] = {
        {Qt::Key_Z, Qt::ControlModifier, 1, 0},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 1, 1},
        {Qt::Key_Y, Qt::ControlModifier, 1, 2},
        {Qt::Key_Z, Qt::NoModifier, 1, 2},
        {Qt::Key_Y, Qt::ControlModifier | Qt::AltModifier, 1, 2},
    };
    for (const auto& row : rows) {
        QTest::keyPress(&target, row.key, row.modifiers);
        QTest::keyRelease(&target, row.key, row.modifiers);
        EXPECT_EQ(undone, row.undone);
        EXPECT_EQ(redone, row.redone);
    }
    synchronising = true;
    QTest::keyPress(&target, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undone, 1);
}

TEST(HotKeysGuard, AKeyReleasedWhileItsWindowOpensDoesNotOpenItAgain) {
    QWidget target;
    int opened = 0;
    HotKeys keys({nullptr,
                  [&] {
                      ++opened;
                      QTest::keyRelease(&target, Qt::Key_F7);  // as if a modal window saw F7 again
                  },
                  nullptr, nullptr, nullptr});
    target.installEventFilter(&keys);
    QTest::keyRelease(&target, Qt::Key_F7);
    EXPECT_EQ(opened, 1);
    QTest::keyRelease(&target, Qt::Key_F7);
    EXPECT_EQ(opened, 2);
}

}  // namespace
}  // namespace sonoria

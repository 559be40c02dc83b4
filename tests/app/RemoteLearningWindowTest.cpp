// Remote-control learning through the main window's opener, on the virtual
// device: a learned code arrives and the learning window closes by itself;
// every other end of it stops the device listening; Apply, and the remote
// code files.
#include "app/MainWindowFixture.h"

#include <QFile>
#include <QLineEdit>

#include "admin/CRemoteDlg.h"
#include "admin/CRemoteStudyDlg.h"
#include "app/ModeFileDialogs.h"
#include "files/FileIo.h"
#include "controls/ControlText.h"
#include "link/CommandSender.h"
#include "ui/Waits.h"
#include "ui/WindowState.h"

namespace sonoria::test {
namespace {

using namespace std::chrono_literals;

class RemoteLearningWindowTest : public MainWindowTest {
protected:
    CRemoteDlg* OpenRemote() {
        window->ShowRemoteLearning();
        CRemoteDlg* remote = window->RemoteWindow();
        EXPECT_NE(remote, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(remote, test::kEventTimeoutMs));
        return remote;
    }
    void ClickKey(CRemoteDlg* remote, int key) {
        QTest::mouseClick(FindControl(remote, CRemoteDlg::KeyAreaId(key)), Qt::LeftButton);
    }
    void Click(QWidget* dialog, int id) { QTest::mouseClick(FindControl(dialog, id), Qt::LeftButton); }
    std::vector<Report> WithCode(int code) const {
        std::vector<Report> found;
        for (const Report& r : device->Received()) {
            if (r[1] == code) found.push_back(r);
        }
        return found;
    }
    std::array<std::uint8_t, 16> Block() const {
        std::array<std::uint8_t, 16> block{};
        for (std::size_t i = 0; i < block.size(); ++i) block[i] = g_Device.remote[i].load();
        return block;
    }
    QString InfoText() const { return window->InfoWindow() ? window->InfoWindow()->Text() : QString(); }
    WindowStateGuard state;
    QTemporaryDir files;
};

TEST_F(RemoteLearningWindowTest, ALearnedCodeIsShownStoredAndTheWindowClosesByItself) {
    Open();
    CRemoteDlg* remote = OpenRemote();
    device->SetLearnDelay(150ms);
    device->SetLearnedCode(0x3A);
    device->ClearRecord();
    ClickKey(remote, 7);
    CRemoteStudyDlg* progress = remote->Progress();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isModal());
    EXPECT_EQ(progress->Prompt(), QString::fromUtf8("您正在学习的键：增加音乐音量"));
    EXPECT_EQ(WithCode(CMD_LEARN_KEY), (std::vector<Report>{BuildCommandReport(CMD_LEARN_KEY, {7})}));

    ASSERT_TRUE(test::WaitUntil([&] { return progress->CodeArrived(); }));
    EXPECT_EQ(progress->CodeText(), "3A");
    EXPECT_FALSE(FindControl(progress, kStudyCancelId)->isVisible());
    EXPECT_TRUE(FindControl(progress, kStudyCloseId)->isVisible());
    EXPECT_EQ(ControlText(FindControl(progress, kStudyNoticeId)), QString::fromUtf8("窗口将自动关闭"));
    EXPECT_EQ(g_Device.remote[7].load(), 0x3A);
    EXPECT_EQ(g_Device.remote[0].load(), 0xFF);  // the remote's own code

    QPointer<CRemoteStudyDlg> watched(progress);
    ASSERT_TRUE(test::WaitUntil([&] { return watched.isNull(); }));
    EXPECT_EQ(remote->Progress(), nullptr);
    EXPECT_TRUE(WithCode(CMD_END_LEARN).empty());
    EXPECT_TRUE(remote->isVisible());
}

TEST_F(RemoteLearningWindowTest, CancelEscapeAndTheCloseBoxStopTheDeviceListeningButEnterDoesNothing) {
    Open();
    CRemoteDlg* remote = OpenRemote();
    // Long enough that no key is heard before the stop goes out.
    device->SetLearnDelay(std::chrono::duration_cast<std::chrono::milliseconds>(kEventTimeout));
    const auto block = Block();
    const std::function<void(CRemoteStudyDlg*)> ends[] = {
        [this](CRemoteStudyDlg* p) { Click(p, kStudyCancelId); },
        [](CRemoteStudyDlg* p) { QTest::keyClick(p, Qt::Key_Escape); },
        [](CRemoteStudyDlg* p) { p->close(); },
    };
    int turn = 0;
    for (const auto& end : ends) {
        SCOPED_TRACE(turn++);
        device->ClearRecord();
        ClickKey(remote, 3);
        QPointer<CRemoteStudyDlg> progress(remote->Progress());
        ASSERT_FALSE(progress.isNull());
        QTest::keyClick(progress, Qt::Key_Return);
        ProcessQueuedEvents();
        ASSERT_FALSE(progress.isNull());
        EXPECT_TRUE(progress->isVisible());
        EXPECT_TRUE(WithCode(CMD_END_LEARN).empty());

        end(progress);
        EXPECT_EQ(WithCode(CMD_END_LEARN).size(), 1u);
        ASSERT_TRUE(test::WaitUntil([&] { return progress.isNull(); }));
        EXPECT_EQ(remote->Progress(), nullptr);
    }
    // The device heard no key afterwards: nothing reached the block.
    ASSERT_TRUE(DeviceHasSaidEverything(*device));
    EXPECT_EQ(Block(), block);
    EXPECT_EQ(device->RemoteBlock()[3], block[3]);
}

TEST_F(RemoteLearningWindowTest, ApplySendsTheBlockAndSaysSoOnlyWhenTheDeviceTookIt) {
    Open();
    CRemoteDlg* remote = OpenRemote();
    g_Device.remote[4].store(0x21);
    device->ClearRecord();
    Click(remote, kRemoteApplyId);
    const auto sets = WithCode(CMD_SET_REMOTE);
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0][2], 0xFF);
    EXPECT_EQ(sets[0][6], 0x21);
    EXPECT_EQ(InfoText(), QString::fromUtf8("遥控器键码保存成功!"));
    EXPECT_TRUE(remote->isVisible());

    device->Unplug();
    ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 0; }));
    QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);  // English
    Click(remote, kRemoteApplyId);
    EXPECT_EQ(InfoText(), "Device is disconnected!");
}

TEST_F(RemoteLearningWindowTest, SaveAndLoadGoThroughRemoteCodeFiles) {
    Open();
    CRemoteDlg* remote = OpenRemote();
    g_Device.remote[9].store(0x77);
    const QString chosen = files.filePath("codes.txt");
    SetSaveFileHandler([&](const QString& filter) {
        EXPECT_EQ(filter, "Remote Data File(*.remo)");
        return chosen;
    });
    Click(remote, kRemoteSaveId);
    EXPECT_EQ(InfoText(), QString::fromUtf8("保存遥控文件成功"));
    QFile saved(files.filePath("codes.remo"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    ASSERT_EQ(bytes.size(), 16);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[9]), 0x77);
    saved.close();

    // A 10-byte file changes bytes 0..9 and the whole block is sent.
    QFile shorter(files.filePath("short.remo"));
    ASSERT_TRUE(shorter.open(QIODevice::WriteOnly));
    shorter.write(QByteArray(10, char(0x11)));
    shorter.close();
    g_Device.remote[12].store(0x42);
    SetOpenFileHandler([&](const QString&) { return files.filePath("short.dat"); });
    device->ClearRecord();
    Click(remote, kRemoteLoadId);
    EXPECT_EQ(InfoText(), QString::fromUtf8("载入遥控文件成功"));
    EXPECT_EQ(g_Device.remote[9].load(), 0x11);
    EXPECT_EQ(g_Device.remote[12].load(), 0x42);
    ASSERT_EQ(WithCode(CMD_SET_REMOTE).size(), 1u);
    EXPECT_EQ(device->RemoteBlock()[12], 0x42);

    // Refused or cancelled: nothing is sent, a refusal is told.
    device->ClearRecord();
    SetOpenFileHandler([&](const QString&) { return files.filePath("missing.remo"); });
    Click(remote, kRemoteLoadId);
    EXPECT_EQ(InfoText(), QString::fromUtf8("载入遥控文件失败"));
    window->InfoWindow()->close();
    ProcessQueuedEvents();
    SetOpenFileHandler([&](const QString&) { return QString(); });
    Click(remote, kRemoteLoadId);
    EXPECT_EQ(window->InfoWindow(), nullptr);
    EXPECT_TRUE(WithCode(CMD_SET_REMOTE).empty());

    InstallWriteFailureBox(window.get());
    SetSaveFileHandler([&](const QString&) { return files.filePath("no/such/folder/codes"); });
    messages.clear();
    Click(remote, kRemoteSaveId);
    SetWriteFailureHandler({});
    EXPECT_EQ(InfoText(), QString::fromUtf8("保存遥控文件失败"));
    ASSERT_EQ(messages.size(), 1u);  // the write-failure box came first
    EXPECT_TRUE(messages[0].contains("codes.remo"));
}

TEST_F(RemoteLearningWindowTest, OneWindowThatCancelHidesAndAClickInTheMainWindowDestroys) {
    Open();
    CRemoteDlg* remote = OpenRemote();
    g_Device.remote[2].store(0x12);
    Click(remote, kRemoteCancelId);
    EXPECT_FALSE(remote->isVisible());
    window->ShowRemoteLearning();
    EXPECT_EQ(window->RemoteWindow(), remote);
    EXPECT_TRUE(remote->isVisible());
    QTest::keyClick(remote, Qt::Key_Escape);
    EXPECT_FALSE(remote->isVisible());
    EXPECT_EQ(g_Device.remote[2].load(), 0x12);

    // Key 13's area is never shown; the others show the hand.
    EXPECT_FALSE(FindControl(remote, CRemoteDlg::KeyAreaId(13))->isVisibleTo(remote));
    EXPECT_EQ(FindControl(remote, CRemoteDlg::KeyAreaId(1))->cursor().shape(), Qt::PointingHandCursor);

    window->ShowRemoteLearning();
    QPointer<CRemoteDlg> watched(remote);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), test::kEventTimeoutMs));
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(test::WaitUntil([&] { return watched.isNull(); }));
    EXPECT_EQ(window->RemoteWindow(), nullptr);

    // Owned by another window: gone with it.
    auto* owner = new QDialog(window.get());
    window->ShowRemoteLearning(owner);
    EXPECT_EQ(window->RemoteWindow()->parentWidget(), owner);
    delete owner;
    EXPECT_EQ(window->RemoteWindow(), nullptr);
    // A learned key with no learning window open goes nowhere.
    window->Session().Send(WM_KEY_LEARNED, 0x10, 0);
    ProcessQueuedEvents();
}

TEST_F(RemoteLearningWindowTest, ScreenshotsInBothLanguages) {
    Open();
    for (const char* language : {"zh", "en"}) {
        window->ShowRemoteLearning();
        CRemoteDlg* remote = window->RemoteWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(remote, test::kEventTimeoutMs));
        QDir().mkpath(SONORIA_SCREENSHOT_DIR);
        remote->grab().save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/remote-learning-%1.png").arg(language));
        device->SetLearnDelay(30s);
        ClickKey(remote, 5);
        CRemoteStudyDlg* progress = remote->Progress();
        ASSERT_NE(progress, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(progress, test::kEventTimeoutMs));
        progress->grab().save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/remote-study-%1.png").arg(language));
        progress->OnKeyLearned(0x5C);
        progress->grab().save(QStringLiteral(SONORIA_SCREENSHOT_DIR "/remote-study-learned-%1.png").arg(language));
        QPointer<CRemoteStudyDlg> watched(progress);
        ASSERT_TRUE(test::WaitUntil([&] { return watched.isNull(); }));
        // A new window comes up in the new language.
        window->CloseTransientWindows();
        ProcessQueuedEvents();
        if (QString::fromLatin1(language) == "zh") {
            QTest::mouseClick(FindControl(window.get(), IDC_LANGUAGE), Qt::LeftButton);
        }
    }
    window->ShowRemoteLearning();
    EXPECT_EQ(window->RemoteWindow()->windowTitle(), "Study remoter control");  // the table reader trims
    EXPECT_EQ(ControlText(FindControl(window->RemoteWindow(), kRemoteApplyId)), "Apply");
}

}  // namespace
}  // namespace sonoria::test

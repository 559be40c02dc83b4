// The Function window on the virtual device: the stored modes, the machine
// reset, mode files (good, refused, and a removal while one is written), the
// key locks, the buttons that open other windows, and what it does without a
// device.
#include "app/MainWindowFixture.h"

#include <QAbstractButton>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <thread>

#include "admin/CDlgFunction.h"
#include "app/ControlFactories.h"
#include "files/ModeFile.h"
#include "link/CommandSender.h"
#include "link/HostMessages.h"
#include "ui/Waits.h"
#include "ui/WindowState.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;

const QString kNotConnected = QString::fromUtf8("机器没有连接!");

class FunctionWindowTest : public test::MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SetOpenFileHandler([this](const QString& filter) {
            filters.push_back(filter);
            return fileToOpen;
        });
    }
    CDlgFunction* OpenFunction() {
        window->ShowFunction();
        return window->FunctionWindow();
    }
    void Click(int id) {
        auto* button = FindControlAs<QAbstractButton>(window->FunctionWindow(), id);
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }
    QString InfoText() const { return window->InfoWindow() != nullptr ? window->InfoWindow()->Text() : QString(); }
    void ClearInfo() {
        if (window->InfoWindow() != nullptr) delete window->InfoWindow();
    }
    std::vector<Report> Commands(int code) const {
        std::vector<Report> found;
        for (const Report& r : device->Received()) {
            if (r[1] == code) found.push_back(r);
        }
        return found;
    }
    std::vector<Report> AllButMeterPolls() const {
        std::vector<Report> found;
        for (const Report& r : device->Received()) {
            if (r[1] != CMD_GET_METERS) found.push_back(r);
        }
        return found;
    }
    bool NothingStored() const { return Commands(CMD_SELECT_MODE).empty() && Commands(CMD_SAVE_MODE).empty(); }
    // Waits until the link's read thread has seen a broken link, without
    // letting the window handle the loss yet.
    static void WaitForReadThreadEnd() {
        ASSERT_TRUE(test::Eventually([] { return g_bReadThreadEnd.load() == 1; }));
    }
    // A mode data file of the image with one recognisable value.
    QString WriteModeFileWith(const QString& name, std::uint8_t marker) {
        const ParamBytes before = GetParam(3, 5);
        SetParam(3, 5, {marker, static_cast<std::uint8_t>(marker + 1)});
        const QString path = settingsDir.filePath(name);
        EXPECT_EQ(WriteModeFile(path.toStdString()), 1);
        SetParam(3, 5, before);
        return path;
    }

    test::WindowStateGuard state;
    QString fileToOpen;
    std::vector<QString> filters;
};

TEST_F(FunctionWindowTest, ModeButtonsLoadSaveAndRecallTheStoredModes) {
    Open();
    CDlgFunction* function = OpenFunction();
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function, OpenFunction());  // one window, shown again

    device->ClearRecord();
    Click(CDlgFunction::kLoadMode1 + 2);  // runs the read-all behind the progress window
    WaitForSync();
    ASSERT_FALSE(device->Received().empty());
    EXPECT_EQ(device->Received().front()[1], CMD_LOAD_MODE);
    EXPECT_EQ(device->Received().front()[2], 2);
    EXPECT_EQ(g_Device.currentMode.load(), 2);
    for (int slot = 0; slot < 4; ++slot) {
        auto* button = FindControlAs<CGdipButton>(function, CDlgFunction::kLoadMode1 + slot);
        EXPECT_EQ(button->IsSelected(), slot == 2);
        EXPECT_EQ(button->CaptionColor(), slot == 2 ? QColor(0, 228, 86) : QColor(Qt::white));
    }
    EXPECT_TRUE(FindControlAs<CGdipButton>(window.get(), IDC_MODE_1 + 2)->IsSelected());

    // Saving: command 4, then "Saved" in the current language, and the mode becomes current.
    device->ClearRecord();
    g_Device.modified.store(1);
    Click(CDlgFunction::kSaveMode1 + 1);
    ASSERT_EQ(Commands(CMD_SAVE_MODE).size(), 1u);
    EXPECT_EQ(Commands(CMD_SAVE_MODE)[0][2], 1);
    EXPECT_EQ(InfoText(), QString::fromUtf8("已储存模式二"));
    EXPECT_EQ(g_Device.modified.load(), 0);
    EXPECT_TRUE(FindControlAs<CGdipButton>(window.get(), IDC_MODE_1 + 1)->IsSelected());
    EXPECT_TRUE(FindControlAs<CGdipButton>(function, CDlgFunction::kLoadMode1 + 1)->IsSelected());
    SetCurrentLanguage(kLanguageEnglish);
    Click(CDlgFunction::kSaveMode1 + 2);
    EXPECT_EQ(InfoText(), QStringLiteral("Saved Mode3"));

    // The factory mode is recalled only after the question, asked in Chinese in both languages.
    device->ClearRecord();
    answer = MessageAnswer::No;
    Click(CDlgFunction::kDefaultMode1 + 3);
    EXPECT_EQ(messages, std::vector<QString>{QString::fromUtf8("您确定调用默认模式四")});
    EXPECT_TRUE(device->Received().empty());
    answer = MessageAnswer::Yes;
    Click(CDlgFunction::kDefaultMode1 + 3);
    WaitForSync();
    ASSERT_FALSE(device->Received().empty());
    EXPECT_EQ(device->Received().front()[1], CMD_DEFAULT_MODE);
    EXPECT_EQ(device->Received().front()[2], 3);
    EXPECT_FALSE(Commands(CMD_GET_NAME).empty());  // the read-all followed
    EXPECT_TRUE(FindControlAs<CGdipButton>(function, CDlgFunction::kLoadMode1 + 3)->IsSelected());
}

TEST_F(FunctionWindowTest, KeyLocksStopTheirButtonsOnly) {
    Open();
    OpenFunction();
    g_Device.machineDevice[KeyLockEnable].store(1);
    g_Device.machineDevice[KeyLockBits].store(0x10);  // load locked
    device->ClearRecord();
    Click(CDlgFunction::kLoadMode1);
    EXPECT_EQ(InfoText(), QString::fromUtf8("载入模式已锁定!"));
    ClearInfo();
    Click(CDlgFunction::kDefaultMode1);
    EXPECT_EQ(InfoText(), QString::fromUtf8("载入模式已锁定!"));
    EXPECT_TRUE(messages.empty());  // not even asked
    EXPECT_TRUE(device->Received().empty());
    Click(CDlgFunction::kSaveMode1 + 3);
    EXPECT_EQ(Commands(CMD_SAVE_MODE).size(), 1u);

    g_Device.machineDevice[KeyLockBits].store(0x20);  // save locked
    device->ClearRecord();
    SetCurrentLanguage(kLanguageEnglish);
    Click(CDlgFunction::kSaveMode1);
    EXPECT_EQ(InfoText(), QStringLiteral("Save mode locked!"));
    EXPECT_TRUE(device->Received().empty());

    // Locks out of force: the bits alone lock nothing.
    g_Device.machineDevice[KeyLockEnable].store(0);
    Click(CDlgFunction::kSaveMode1);
    EXPECT_EQ(Commands(CMD_SAVE_MODE).size(), 1u);
}

TEST_F(FunctionWindowTest, WithoutADeviceModeButtonsDoNothingAndFilesAreRefused) {
    device->Unplug();
    Open(false);
    ASSERT_TRUE(test::LetTimersDueWithinFire(10ms));  // the start-up connection found nothing
    OpenFunction();
    for (int id = CDlgFunction::kLoadMode1; id <= CDlgFunction::kDefaultMode1 + 3; ++id) Click(id);
    EXPECT_EQ(window->InfoWindow(), nullptr);
    EXPECT_TRUE(messages.empty());
    Click(CDlgFunction::kLoadFileId);
    EXPECT_EQ(InfoText(), kNotConnected);
    EXPECT_TRUE(filters.empty());  // no file was asked for
    ClearInfo();
    Click(CDlgFunction::kSaveFileId);
    EXPECT_EQ(InfoText(), kNotConnected);
    // The reset asks first, then says the device is missing.
    answer = MessageAnswer::Yes;
    Click(CDlgFunction::kResetId);
    EXPECT_EQ(messages, std::vector<QString>{QString::fromUtf8("您确定将机器复位吗?")});
    EXPECT_EQ(InfoText(), QString::fromUtf8("请先连接设备再执行此操作!"));
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);
}

TEST_F(FunctionWindowTest, ASaveThatNeverReachedTheDeviceIsNotCalledSaved) {
    Open();
    OpenFunction();
    device->BreakLink();
    WaitForReadThreadEnd();
    g_Device.modified.store(1);
    Click(CDlgFunction::kSaveMode1 + 2);
    EXPECT_EQ(InfoText(), kNotConnected);
    EXPECT_EQ(g_Device.modified.load(), 1);  // still unsaved
    EXPECT_TRUE(Commands(CMD_SAVE_MODE).empty());
}

TEST_F(FunctionWindowTest, TheResetIsSentOnlyOnYesAndReadsNothingBack) {
    device->SetMachineRecord({1, 20, 30, 100, 100, 40, 40, 1, 0xFF, 0, 0, 0, 0, 0});
    Open();
    OpenFunction();
    SetCurrentLanguage(kLanguageEnglish);
    device->ClearRecord();
    Click(CDlgFunction::kResetId);
    EXPECT_EQ(messages, std::vector<QString>{QString::fromUtf8("您确定将机器复位吗?")});
    EXPECT_TRUE(device->Received().empty());
    answer = MessageAnswer::Yes;
    Click(CDlgFunction::kResetId);
    // Its answer handled, nothing was read back.
    ASSERT_TRUE(test::DeviceHasSaidEverything(*device));
    EXPECT_FALSE(SyncWorkersRunning());
    const std::vector<Report> sent = AllButMeterPolls();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0][1], CMD_RESET_MACHINE);
    EXPECT_EQ(sent[0][2], kResetMachineKey);
    EXPECT_EQ(device->MachineRecord(), sim::FactoryMachineRecord());
}

TEST_F(FunctionWindowTest, AModeFileIsWrittenToTheDeviceAndStoredInTheModeItsNameGives) {
    Open();
    OpenFunction();
    fileToOpen = WriteModeFileWith(QStringLiteral("M2 vocal.k71x"), 77);
    device->ClearRecord();
    Click(CDlgFunction::kLoadFileId);  // the write-all runs behind the progress window
    ASSERT_TRUE(test::WaitUntil([&] { return !SyncWorkersRunning() && window->SyncWindow() == nullptr; }));
    EXPECT_EQ(filters, std::vector<QString>{QStringLiteral("Mode Files (*.k71x)")});
    EXPECT_EQ(device->Param(3, 5).first, 77);
    EXPECT_EQ(device->Param(3, 5).second, 78);
    ASSERT_EQ(Commands(CMD_SELECT_MODE).size(), 1u);
    EXPECT_EQ(Commands(CMD_SELECT_MODE)[0][2], 1);
    ASSERT_EQ(Commands(CMD_SAVE_MODE).size(), 1u);
    EXPECT_EQ(Commands(CMD_SAVE_MODE)[0][2], 1);
    EXPECT_EQ(device->StoredParam(1, 3, 5).first, 77);
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);
    // The mode is stored after the whole file was written.
    const auto received = device->Received();
    const auto lastSet = std::find_if(received.rbegin(), received.rend(), [](const Report& r) { return r[1] == CMD_SET_PARAM; });
    const auto select = std::find_if(received.rbegin(), received.rend(), [](const Report& r) { return r[1] == CMD_SELECT_MODE; });
    EXPECT_LT(select - received.rbegin(), lastSet - received.rbegin());

    // A name that designates no mode: written, not stored.
    fileToOpen = WriteModeFileWith(QStringLiteral("vocal m2.k71x"), 12);
    device->ClearRecord();
    Click(CDlgFunction::kLoadFileId);
    // The mode is stored before the progress window closes, if ever.
    ASSERT_TRUE(test::WaitUntil([&] { return !SyncWorkersRunning() && window->SyncWindow() == nullptr; }));
    EXPECT_EQ(device->Param(3, 5).first, 12);
    EXPECT_TRUE(NothingStored());

    // Cancelled: nothing.
    fileToOpen.clear();
    device->ClearRecord();
    Click(CDlgFunction::kLoadFileId);
    EXPECT_TRUE(device->Received().empty());
}

TEST_F(FunctionWindowTest, AFileIsReadBackAndWhatTheDeviceDidNotTakeIsCounted) {
    Open();
    OpenFunction();
    const struct {
        std::size_t dropEvery;  // 0: the device takes every write
        int language;
        QString text;
    } rows[] = {
        {0, kLanguageChinese, QString()},
        {1, kLanguageChinese, QString::fromUtf8("设备有 1 个参数没有接受!")},
        {1, kLanguageEnglish, QStringLiteral("The device did not take 1 parameter of the file!")},
    };
    std::uint8_t marker = 20;
    for (const auto& row : rows) {
        SetCurrentLanguage(row.language);
        ClearInfo();
        fileToOpen = WriteModeFileWith(QStringLiteral("room.k71x"), marker += 2);  // one value the device lacks
        device->SetDropWrites(row.dropEvery);
        device->ClearRecord();
        Click(CDlgFunction::kLoadFileId);
        ASSERT_TRUE(test::WaitUntil([&] { return !SyncWorkersRunning() && window->SyncWindow() == nullptr; }));
        EXPECT_FALSE(Commands(CMD_GET_NAME).empty());  // read back after the write-all
        EXPECT_EQ(InfoText(), row.text);
        device->SetDropWrites(0);
    }
}

TEST_F(FunctionWindowTest, ARefusedFileSendsNothingAndLeavesNoModeToStoreLater) {
    Open();
    OpenFunction();
    const QString bad = settingsDir.filePath(QStringLiteral("m3 broken.k71x"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a mode file");
    file.close();
    fileToOpen = bad;
    device->ClearRecord();
    Click(CDlgFunction::kLoadFileId);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].contains(QString::fromUtf8("无法载入文件")));
    EXPECT_TRUE(device->Received().empty());
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);
    EXPECT_FALSE(SyncWorkersRunning());

    // The next read-all (a mode load) stores nothing anywhere.
    FindControlAs<CGdipButton>(window.get(), IDC_MODE_1)->click();
    WaitForSync();
    EXPECT_TRUE(NothingStored());
}

TEST_F(FunctionWindowTest, ARemovalDuringTheWriteAllLeavesNoModeToStoreOnTheNextConnection) {
    Open();
    OpenFunction();
    fileToOpen = WriteModeFileWith(QStringLiteral("m4 party.k71x"), 55);
    device->SetAnswerDelay(20ms);  // a write-all long enough to pull the plug in
    bool pulledDuringWriteAll = false;
    QTimer::singleShot(300, [&] {
        pulledDuringWriteAll = SyncWorkersRunning() && window->Session().PendingModeSlot() == 3;
        device->Unplug();
    });
    Click(CDlgFunction::kLoadFileId);
    ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 0 && window->SyncWindow() == nullptr; }));
    EXPECT_TRUE(pulledDuringWriteAll);
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);

    device->SetAnswerDelay(0ms);
    device->ClearRecord();
    device->Plug();
    WaitForSync();
    EXPECT_FALSE(Commands(CMD_GET_NAME).empty());
    EXPECT_TRUE(NothingStored());
    EXPECT_NE(device->StoredParam(3, 3, 5).first, 55);
}

TEST_F(FunctionWindowTest, OnlyASuccessfulWriteAllStoresThePendingMode) {
    Open();
    window->Session().SetPendingModeSlot(2);
    device->ClearRecord();
    window->Session().Post(WM_SYNC_DONE, kSyncReadAll, 1);  // some other read-all ends first
    test::ProcessQueuedEvents();
    EXPECT_TRUE(NothingStored());
    EXPECT_EQ(window->Session().PendingModeSlot(), 2);
    window->Session().Post(WM_SYNC_DONE, kSyncWriteAll, 1);
    ASSERT_TRUE(test::WaitUntil([&] { return Commands(CMD_SAVE_MODE).size() == 1; }));
    EXPECT_EQ(Commands(CMD_SELECT_MODE)[0][2], 2);
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);

    // A new connection starts without one.
    window->Session().SetPendingModeSlot(1);
    device->Unplug();
    ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 0; }));
    window->Session().SetPendingModeSlot(1);  // however it got there
    device->Plug();
    WaitForSync();
    EXPECT_EQ(window->Session().PendingModeSlot(), -1);
}

TEST_F(FunctionWindowTest, SaveFileWritesTheImage) {
    Open();
    OpenFunction();
    const QString path = settingsDir.filePath(QStringLiteral("party"));
    SetSaveFileHandler([&](const QString&) { return path; });
    Click(CDlgFunction::kSaveFileId);
    EXPECT_EQ(QFile(path + QStringLiteral(".k71x")).size(), 948);
}

TEST_F(FunctionWindowTest, TheWirelessButtonFollowsTheModelWhateverItsCase) {
    device->SetModel("kr710qx");
    Open();
    CDlgFunction* function = OpenFunction();
    EXPECT_FALSE(FindControl(function, CDlgFunction::kWirelessId)->isHidden());
    EXPECT_FALSE(Commands(CMD_WMIC_GET).empty());  // the read-all asked for the microphones too
    device->Unplug();
    device->SetModel("KR710Q");
    device->Plug();
    WaitForSync();
    EXPECT_TRUE(FindControl(function, CDlgFunction::kWirelessId)->isHidden());
}

TEST_F(FunctionWindowTest, AClickInTheMainWindowClosesItAndTheNextPressOpensAFreshOne) {
    Open();
    QPointer<CDlgFunction> first = OpenFunction();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), test::kEventTimeoutMs));
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(5, 5));
    // The main window lets go at once, before Qt deletes the window.
    EXPECT_EQ(window->FunctionWindow(), nullptr);
    QPointer<CDlgFunction> second = OpenFunction();
    EXPECT_NE(second.data(), nullptr);
    EXPECT_NE(first.data(), second.data());
    test::ProcessQueuedEvents();
    EXPECT_TRUE(first.isNull());
}

// The main window hands the Function window's buttons to the real windows.
TEST_F(FunctionWindowTest, ItsButtonsOpenTheProgramsWindows) {
    device->SetModel("KR710QX");
    Open();
    OpenFunction();
    Click(CDlgFunction::kAutoSubId);
    EXPECT_NE(window->AutoSubWindow(), nullptr);
    Click(CDlgFunction::kRemoteId);
    EXPECT_NE(window->RemoteWindow(), nullptr);
    Click(CDlgFunction::kWirelessId);
    ASSERT_NE(window->WirelessWindow(), nullptr);
    // The wireless window belongs to the main window and outlives the Function window.
    EXPECT_EQ(window->WirelessWindow()->parentWidget(), window.get());
    Click(CDlgFunction::kAboutId);
    EXPECT_NE(window->AboutWindow(), nullptr);
    Click(CDlgFunction::kUpgradeId);
    EXPECT_NE(window->UpgradeWindow(), nullptr);
}

TEST(FunctionWindowButtons, OpenTheirWindowsWithTheFunctionWindowAsOwner) {
    RegisterControlFactories();  // the image buttons and frames, as the program has them
    std::vector<std::pair<const char*, QWidget*>> calls;
    CDlgFunction::Hooks hooks;
    hooks.showAbout = [&](QWidget* owner) { calls.emplace_back("about", owner); };
    hooks.showRemoteLearning = [&](QWidget* owner) { calls.emplace_back("remote", owner); };
    hooks.showAutoSub = [&](QWidget* owner) { calls.emplace_back("autosub", owner); };
    hooks.showWirelessMics = [&](QWidget* owner) { calls.emplace_back("wireless", owner); };
    hooks.showFirmwareUpgrade = [&] { calls.emplace_back("upgrade", nullptr); };
    hooks.toggleLanguage = [&] { calls.emplace_back("language", nullptr); };
    CDlgFunction function(nullptr, hooks);
    for (int id : {CDlgFunction::kAboutId, CDlgFunction::kRemoteId, CDlgFunction::kAutoSubId,
                   CDlgFunction::kWirelessId, CDlgFunction::kUpgradeId, CDlgFunction::kLanguageId}) {
        FindControlAs<QAbstractButton>(&function, id)->click();
    }
    const std::vector<std::pair<const char*, QWidget*>> expected = {
        {"about", &function}, {"remote", &function}, {"autosub", &function},
        {"wireless", &function}, {"upgrade", nullptr}, {"language", nullptr}};
    ASSERT_EQ(calls.size(), expected.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_STREQ(calls[i].first, expected[i].first);
        EXPECT_EQ(calls[i].second, expected[i].second);
    }
    // The upgrade and language buttons stay hidden; the wireless one waits for its model.
    for (int id : {CDlgFunction::kUpgradeId, CDlgFunction::kLanguageId, CDlgFunction::kWirelessId}) {
        EXPECT_TRUE(FindControl(&function, id)->isHidden()) << id;
    }
}

}  // namespace
}  // namespace sonoria

// The machine settings window on the virtual device: what it shows, what each
// control changes, the live power-on volumes, and APPLY with and without a
// device that takes the record.
#include "app/MainWindowFixture.h"

#include <QAbstractButton>

#include <chrono>
#include <thread>

#include "admin/COtherDlg.h"
#include "state/MachineSettings.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

using namespace std::chrono_literals;
using Record = sim::MachineRecord;

// Power-on mic 255 (off), music 80; ceilings 110, 100, 30, 20; locks off with
// the music-volume and IR bits set; volumes kept per mode; reserved bytes.
const Record kDeviceRecord = {1, 255, 80, 110, 100, 30, 20, 0, 0x42, 9, 8, 7, 6, 5};

class MachineSettingsTest : public test::MainWindowTest {
protected:
    COtherDlg* OpenSettings() {
        window->ShowMachineSettings();
        return window->MachineSettingsWindow();
    }
    QAbstractButton* Button(int id) const { return FindControlAs<QAbstractButton>(window->MachineSettingsWindow(), id); }
    CXBmpSlider* SettingsSlider(int id) const { return FindControlAs<CXBmpSlider>(window->MachineSettingsWindow(), id); }
    QString LabelText(int id) const { return FindControlAs<QLabel>(window->MachineSettingsWindow(), id)->text(); }
    // A slider moved by the user.
    void Drag(int id, int position) {
        CXBmpSlider* slider = SettingsSlider(id);
        slider->SetPos(position);
        emit slider->sliderChanged(id, position);
        EXPECT_TRUE(test::EditsReachedDevice());
    }
    static Record Copy(const std::array<AtomicByte, kMachineRecordSize>& bytes) {
        Record record{};
        for (std::size_t i = 0; i < record.size(); ++i) record[i] = bytes[i].load();
        return record;
    }
    std::vector<Report> SetMachineReports() const {
        std::vector<Report> found;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_MACHINE) found.push_back(r);
        }
        return found;
    }
    QString InfoText() const { return window->InfoWindow() != nullptr ? window->InfoWindow()->Text() : QString(); }
};

TEST_F(MachineSettingsTest, OpeningShowsTheDeviceCopyAndStartsTheEditFromIt) {
    device->SetMachineRecord(kDeviceRecord);
    Open();
    g_Device.machineEdit[MaxMicVolume].store(3);  // an edit left from before
    OpenSettings();
    EXPECT_EQ(Copy(g_Device.machineEdit), kDeviceRecord);

    EXPECT_FALSE(Button(COtherDlg::kPowerOnMicCheck)->isChecked());
    EXPECT_FALSE(SettingsSlider(COtherDlg::kPowerOnMicSlider)->IsSliderEnabled());
    EXPECT_EQ(LabelText(2000), QString::fromUtf8("无效"));
    EXPECT_TRUE(Button(COtherDlg::kPowerOnMusicCheck)->isChecked());
    EXPECT_EQ(SettingsSlider(COtherDlg::kPowerOnMusicSlider)->GetPos(), 80);
    EXPECT_EQ(LabelText(2001), QStringLiteral("40"));
    EXPECT_EQ(SettingsSlider(COtherDlg::kMaxMicSlider)->GetPos(), 110);
    EXPECT_EQ(LabelText(2002), QStringLiteral("55"));
    EXPECT_EQ(LabelText(2003), QStringLiteral("50"));
    // The hidden output ceilings: as stored, within their range.
    EXPECT_EQ(SettingsSlider(COtherDlg::kMaxCenterSlider)->GetRangeMax(), 49);
    EXPECT_EQ(LabelText(2004), QStringLiteral("30"));
    EXPECT_TRUE(Button(COtherDlg::kByModeRadio)->isChecked());
    EXPECT_FALSE(Button(COtherDlg::kByRandomRadio)->isChecked());
    // Locks out of force: the checks keep their states but cannot be changed.
    EXPECT_FALSE(Button(COtherDlg::kLockOnCheck)->isChecked());
    for (int id = COtherDlg::kFirstLockCheck; id < COtherDlg::kFirstLockCheck + 8; ++id) {
        EXPECT_FALSE(Button(id)->isEnabled()) << id;
        EXPECT_EQ(Button(id)->isChecked(), id == 2322 || id == 2328) << id;
    }
}

TEST_F(MachineSettingsTest, ApplySendsTheWholeEditedRecordAndTheMainWindowTakesItsCeilings) {
    device->SetMachineRecord(kDeviceRecord);
    Open();
    OpenSettings();
    device->ClearRecord();
    Drag(COtherDlg::kMaxMicSlider, 90);
    Drag(COtherDlg::kMaxMusicSlider, 64);
    Button(COtherDlg::kByRandomRadio)->click();
    Button(COtherDlg::kLockOnCheck)->click();
    for (int id : {2321, 2322, 2325, 2327}) Button(id)->click();  // bits 0 and 4 on, 1 off, 7 on
    EXPECT_EQ(LabelText(2002), QStringLiteral("45"));
    EXPECT_TRUE(device->Received().empty());  // nothing before APPLY

    Button(COtherDlg::kApplyId)->click();
    const Record expected = {0, 255, 80, 90, 64, 30, 20, 1, 0xD1, 9, 8, 7, 6, 5};
    const auto sets = SetMachineReports();
    ASSERT_EQ(sets.size(), 1u);
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(sets[0][2 + i], expected[i]) << i;
    ASSERT_TRUE(test::WaitUntil([&] { return device->MachineRecord() == expected; }));
    EXPECT_EQ(Copy(g_Device.machineDevice), expected);
    EXPECT_EQ(InfoText(), QString::fromUtf8("保存设置成功!"));
    EXPECT_EQ(Slider(IDC_MIC_SLIDER)->GetRangeMax(), 90);
    EXPECT_EQ(Slider(IDC_MUSIC_SLIDER)->GetRangeMax(), 64);

    // Locks switched off again: the checks are greyed and still sent as they are.
    Button(COtherDlg::kLockOnCheck)->click();
    EXPECT_FALSE(Button(2321)->isEnabled());
    SetCurrentLanguage(kLanguageEnglish);
    Button(COtherDlg::kApplyId)->click();
    EXPECT_EQ(SetMachineReports().back()[2 + KeyLockEnable], 0);
    EXPECT_EQ(SetMachineReports().back()[2 + KeyLockBits], 0xD1);
    EXPECT_EQ(InfoText(), QStringLiteral("Setting saved"));
}

TEST_F(MachineSettingsTest, AnApplyIsOneStepUndoneByApplyingTheRecordTheDeviceHad) {
    device->SetMachineRecord(kDeviceRecord);
    Open();
    OpenSettings();
    Drag(COtherDlg::kMaxMicSlider, 90);
    QTest::mouseClick(Button(COtherDlg::kApplyId), Qt::LeftButton);
    ASSERT_TRUE(test::EditsReachedDevice());
    const Record applied = device->MachineRecord();
    ASSERT_NE(applied, kDeviceRecord);
    for (const bool undo : {true, false}) {
        device->ClearRecord();
        undo ? window->Session().Undo() : window->Session().Redo();
        ASSERT_TRUE(test::EditsReachedDevice());
        EXPECT_EQ(SetMachineReports().size(), 1u);
        EXPECT_EQ(device->MachineRecord(), undo ? kDeviceRecord : applied);
        EXPECT_EQ(Copy(g_Device.machineDevice), undo ? kDeviceRecord : applied);
    }
}

TEST_F(MachineSettingsTest, ApplyWithoutADeviceOrWithAFailedWriteChangesNothing) {
    device->SetMachineRecord(kDeviceRecord);
    Open();
    OpenSettings();
    Drag(COtherDlg::kMaxMicSlider, 20);
    device->BreakLink();
    ASSERT_TRUE(test::Eventually([] { return g_bReadThreadEnd.load() == 1; }));  // the events wait
    ASSERT_EQ(g_bDeviceOpen.load(), 1);  // the loss is not handled yet: the write itself fails
    Button(COtherDlg::kApplyId)->click();
    EXPECT_EQ(InfoText(), QString::fromUtf8("设备没有连接!"));
    EXPECT_EQ(Copy(g_Device.machineDevice), kDeviceRecord);
    EXPECT_EQ(Slider(IDC_MIC_SLIDER)->GetRangeMax(), 110);

    ASSERT_TRUE(test::WaitUntil([&] { return g_bDeviceOpen.load() == 0; }));
    device->ClearRecord();
    SetCurrentLanguage(kLanguageEnglish);
    Button(COtherDlg::kApplyId)->click();
    EXPECT_EQ(InfoText(), QStringLiteral("Device is disconnected!"));
    EXPECT_EQ(Copy(g_Device.machineDevice), kDeviceRecord);
    EXPECT_TRUE(device->Received().empty());
    EXPECT_EQ(device->MachineRecord(), kDeviceRecord);
}

TEST_F(MachineSettingsTest, PowerOnVolumesStartFromTheLiveVolumeAndMoveItAtOnce) {
    device->SetMachineRecord(kDeviceRecord);
    device->SetParam(1, 24, 90, 0);
    Open();
    OpenSettings();
    device->ClearRecord();
    Button(COtherDlg::kPowerOnMicCheck)->click();
    EXPECT_TRUE(SettingsSlider(COtherDlg::kPowerOnMicSlider)->IsSliderEnabled());
    EXPECT_EQ(SettingsSlider(COtherDlg::kPowerOnMicSlider)->GetPos(), 90);
    EXPECT_EQ(LabelText(2000), QStringLiteral("45"));
    EXPECT_EQ(g_Device.machineEdit[PowerOnMicVolume].load(), 90);
    EXPECT_TRUE(device->Received().empty());  // ticking sends nothing

    Drag(COtherDlg::kPowerOnMicSlider, 101);
    ASSERT_EQ(Sets(1, 24).size(), 1u);
    EXPECT_EQ(Sets(1, 24)[0][4], 101);
    EXPECT_EQ(LabelText(2000), QStringLiteral("50"));
    Drag(COtherDlg::kPowerOnMusicSlider, 70);
    EXPECT_EQ(Sets(4, 2).size(), 1u);
    EXPECT_EQ(g_Device.machineEdit[PowerOnMusicVolume].load(), 70);

    // A language change redraws what will be sent, halved as on opening.
    window->RefreshLanguage();
    EXPECT_EQ(LabelText(2000), QStringLiteral("50"));
    EXPECT_EQ(LabelText(2001), QStringLiteral("35"));

    SetCurrentLanguage(kLanguageEnglish);
    Button(COtherDlg::kPowerOnMusicCheck)->click();
    EXPECT_EQ(LabelText(2001), QStringLiteral("Invalid"));
    EXPECT_EQ(g_Device.machineEdit[PowerOnMusicVolume].load(), kPowerOnVolumeUnset);
    EXPECT_FALSE(SettingsSlider(COtherDlg::kPowerOnMusicSlider)->IsSliderEnabled());
}

TEST_F(MachineSettingsTest, EditsNotAppliedAreNeverSentAndReopeningShowsTheDevice) {
    device->SetMachineRecord(kDeviceRecord);
    Open();
    OpenSettings();
    device->ClearRecord();
    Drag(COtherDlg::kMaxMusicSlider, 12);
    Button(COtherDlg::kLockOnCheck)->click();
    window->MachineSettingsWindow()->close();
    EXPECT_EQ(window->MachineSettingsWindow(), nullptr);
    test::ProcessQueuedEvents();
    OpenSettings();
    EXPECT_EQ(SettingsSlider(COtherDlg::kMaxMusicSlider)->GetPos(), 100);
    EXPECT_FALSE(Button(COtherDlg::kLockOnCheck)->isChecked());
    EXPECT_EQ(Copy(g_Device.machineEdit), kDeviceRecord);
    // A synchronisation shows the device's settings again too.
    Drag(COtherDlg::kMaxMusicSlider, 12);
    FindControlAs<CGdipButton>(window.get(), IDC_MODE_1)->click();
    WaitForSync();
    EXPECT_EQ(SettingsSlider(COtherDlg::kMaxMusicSlider)->GetPos(), 100);
    EXPECT_TRUE(SetMachineReports().empty());
    EXPECT_EQ(device->MachineRecord(), kDeviceRecord);
}

TEST(MachineSettingsLocks, EachCheckOwnsOneBit) {
    const std::pair<int, int> bits[] = {{2321, 0}, {2322, 1}, {2323, 2}, {2324, 3}, {2325, 4},
                                        {2326, 5}, {2328, 6}, {2327, 7}, {2320, -1}};
    for (const auto& [id, bit] : bits) EXPECT_EQ(COtherDlg::LockBitOf(id), bit) << id;
}

}  // namespace
}  // namespace sonoria

// Undo and redo in the main window: each user action is one step, undone by
// sending the old values through the same senders in the order the action
// sent them (the rear mirror too), and redone with the new ones.
#include "app/MainWindowFixture.h"

#include <QComboBox>
#include <QSignalSpy>

#include "app/FlowPanel.h"
#include "app/MainWindowTemplate.h"
#include "effects/CEfxDlg.h"
#include "effects/CTapDlg.h"
#include "eq/ui/CEqPanel.h"
#include "state/EditHistory.h"
#include "ui/Waits.h"

namespace sonoria::test {
namespace {

struct Write {
    int block, index, first, second;
    friend bool operator==(const Write&, const Write&) = default;
};

std::ostream& operator<<(std::ostream& out, const Write& w) {
    return out << w.block << "/" << w.index << "=" << w.first << "," << w.second;
}

class UndoRedoTest : public MainWindowTest {
protected:
    // The parameter writes since the record was cleared: each address once,
    // where it was first written, with the last value written to i
    std::vector<Write> Writes() const {
        std::vector<Write> writes;
        for (const Report& r : device->Received()) {
            if (r[1] != CMD_SET_PARAM) continue;
            const Write w{r[2], r[3], r[4], r[5]};
            auto same = std::find_if(writes.begin(), writes.end(),
                                     [&](const Write& o) { return o.block == w.block && o.index == w.index; });
            if (same == writes.end()) {
                writes.push_back(w);
            } else {
                *same = w;
            }
        }
        return writes;
    }
    void RouteToRear() {
        QTest::mouseClick(FindControl(window.get(), IDC_REAR_SWITCH), Qt::LeftButton);
        ASSERT_TRUE(WaitUntil([&] { return !window->Panel()->RoutingChangeRunning(); }));
        ASSERT_TRUE(WaitUntil([&] { return window->SyncWindow() == nullptr; }));
    }
    void CheckUndoRedo(bool rear, const std::function<void()>& act);
    void DragEqBand(CEqPanel* panel, int index) {
        panel->repaint();
        const EqBand band = panel->GetBand(index);
        const QPoint marker(CEqPanel::kPlotLeft + band.x, CEqPanel::kPlotTop + band.y);
        QTest::mousePress(panel, Qt::LeftButton, {}, marker);
        QTest::mouseMove(panel, marker + QPoint(10, -20));
        QTest::mouseMove(panel, marker + QPoint(20, -40));
        QTest::mouseRelease(panel, Qt::LeftButton, {}, marker + QPoint(20, -40));
    }
};

// Runs one user action, then undo and redo, checking each against the
// device's record: undo writes the old value of every address the action
// changed, in the order it first wrote them; redo the last values it wrote.
void UndoRedoTest::CheckUndoRedo(bool rear, const std::function<void()>& act) {
    Open();
    if (rear) RouteToRear();
    ASSERT_TRUE(EditsReachedDevice());
    const sim::ParamSet before = device->Memory().working;
    device->ClearRecord();
    act();
    ASSERT_TRUE(EditsReachedDevice());
    // A value written again as it was is no change: the step leaves it out.
    std::vector<Write> done;
    std::vector<Write> old;
    for (const Write& w : Writes()) {
        const sim::ParamBytes was = before.Get(w.block, w.index);
        if (was.first == w.first && was.second == w.second) continue;
        done.push_back(w);
        old.push_back({w.block, w.index, was.first, was.second});
    }
    ASSERT_FALSE(done.empty());
    device->ClearRecord();
    window->Session().Undo();
    ASSERT_TRUE(EditsReachedDevice());
    EXPECT_EQ(Writes(), old);
    device->ClearRecord();
    window->Session().Redo();
    ASSERT_TRUE(EditsReachedDevice());
    EXPECT_EQ(Writes(), done);
}

TEST_F(UndoRedoTest, SliderKey) {
    CheckUndoRedo(false, [this] {
        Slider(IDC_MIC_SLIDER)->setFocus();
        QTest::keyClick(Slider(IDC_MIC_SLIDER), Qt::Key_Down);
    });
}

TEST_F(UndoRedoTest, SliderDrag) {
    CheckUndoRedo(false, [this] {
        CXBmpSlider* slider = Slider(IDC_MUSIC_SLIDER);
        const QPoint centre = slider->rect().center();
        QTest::mousePress(slider, Qt::LeftButton, {}, centre);
        for (int down = 4; down <= 24; down += 4) QTest::mouseMove(slider, centre + QPoint(0, down));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, centre + QPoint(0, 24));
    });
    EXPECT_EQ(EditStepCount(), 1u);  // press to release, one step
}

TEST_F(UndoRedoTest, EqDrag) {
    CheckUndoRedo(false, [this] {
        QTest::mouseClick(FindControl(window.get(), IDC_FLOW_MAIN_MIC_PEQ), Qt::LeftButton);
        DragEqBand(window->MainEqPage()->Panel(), 1);
    });
}

TEST_F(UndoRedoTest, EqDragInRearRouting) {
    CheckUndoRedo(true, [this] {
        QTest::mouseClick(FindControl(window.get(), IDC_FLOW_CENTER_MUSIC_PEQ), Qt::LeftButton);
        DragEqBand(window->CenterEqPage()->Panel(), 0);
    });
}

TEST_F(UndoRedoTest, EqResetInRearRouting) {
    CheckUndoRedo(true, [this] {
        QTest::mouseClick(FindControl(window.get(), IDC_FLOW_CENTER_MUSIC_PEQ), Qt::LeftButton);
        QTest::mouseClick(window->CenterEqPage()->ResetButton(), Qt::LeftButton);
    });
}

TEST_F(UndoRedoTest, EffectProgramChange) {
    CheckUndoRedo(false, [this] {
        window->ShowEffect();
        auto* list = FindControlAs<QComboBox>(window->EffectWindow(), CEfxDlg::kReverbPresetList);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
    });
}

TEST_F(UndoRedoTest, ARoutingSwitchIsUndoneBySwitchingBack) {
    Open();
    RouteToRear();
    ASSERT_TRUE(RearCopyActive());
    for (const bool undo : {true, false}) {
        undo ? window->Session().Undo() : window->Session().Redo();
        ASSERT_TRUE(WaitUntil([&] { return !window->Panel()->RoutingChangeRunning() && !SyncWorkersRunning(); }));
        ProcessQueuedEvents();
        EXPECT_EQ(RearCopyActive(), !undo);
    }
}

TEST_F(UndoRedoTest, ANewActionDropsTheRedoAndAReadAllClearsTheHistory) {
    Open();
    Slider(IDC_MIC_SLIDER)->setFocus();
    QTest::keyClick(Slider(IDC_MIC_SLIDER), Qt::Key_Down);
    QTest::keyClick(Slider(IDC_MIC_SLIDER), Qt::Key_Down);
    EXPECT_EQ(EditStepCount(), 2u);  // one step per key
    window->Session().Undo();
    EXPECT_TRUE(CanRedoEdit());
    QTest::keyClick(Slider(IDC_MIC_SLIDER), Qt::Key_Up);
    EXPECT_FALSE(CanRedoEdit());
    ASSERT_TRUE(EditsReachedDevice());

    // A mode load reads everything back: what was before it is not undone.
    window->Session().LoadStoredMode(1);
    WaitForSync();
    EXPECT_FALSE(CanUndoEdit());
    device->ClearRecord();
    window->Session().Undo();
    EXPECT_TRUE(Writes().empty());
}

TEST_F(UndoRedoTest, DisconnectedUndoSendsNothingAndSaysSo) {
    Open();
    Slider(IDC_MIC_SLIDER)->setFocus();
    QTest::keyClick(Slider(IDC_MIC_SLIDER), Qt::Key_Down);
    ASSERT_TRUE(EditsReachedDevice());
    device->Unplug();
    ASSERT_TRUE(WaitUntil([&] { return g_bDeviceOpen.load() == 0; }));
    ProcessQueuedEvents();
    device->ClearRecord();
    QSignalSpy notices(&window->Session(), &DeviceSession::notice);
    window->Session().Undo();
    EXPECT_TRUE(device->Received().empty());
    ASSERT_EQ(notices.count(), 1);
    EXPECT_TRUE(notices[0][0].toString().contains(QString::fromUtf8("撤销")));
}

}  // namespace
}  // namespace sonoria::test

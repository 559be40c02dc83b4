// Filter files into and out of every EQ graph of the windows, on the virtual
// device: the preview sends nothing and leaves the graph as the image has it
// when it ends any way but Apply, Apply sends the changed bands and nothing
// else, a refused file changes nothing, and an exported file imports back to
// the bands it was written from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <utility>
#include <vector>

#include "app/Localization.h"
#include "app/MessageService.h"
#include "app/ModeFileDialogs.h"
#include "controls/DialogTemplate.h"
#include "effects/CEfxDlg.h"
#include "effects/CTapDlg.h"
#include "eq/ui/CCenterDlg.h"
#include "eq/ui/CEqImportPreview.h"
#include "eq/ui/CEqPanel.h"
#include "eq/ui/CMainDlg.h"
#include "eq/ui/CMicHLDlg.h"
#include "eq/ui/EqFilePorter.h"
#include "files/FileIo.h"
#include "link/CommandCodes.h"
#include "ui/WindowOnDevice.h"
#include "ui/Waits.h"

namespace sonoria {
namespace {

// The page host's size in the main window.
constexpr QSize kPageSize(878, 330);
// A filter each graph has a band for, a preamp, and a line the program does not use.
constexpr const char* kPeakFile = "Preamp: -4.5 dB\nFilter 1: ON PK Fc 1200 Hz Gain -3.5 dB Q 2.0\nChannel: L\n";
constexpr const char* kShelfFile = "Preamp: -4.5 dB\nFilter 1: ON HS Fc 1500 Hz Gain 4 dB Q 0.707\nChannel: L\n";
const char* const kUnusedLine = "line 3: Channel: L (command not used: Channel)";

struct Graph {
    const char* name;
    QWidget* (*open)();
    CEqPanel* (*panel)(QWidget*);
    EqFilePorter* (*files)(QWidget*);
    int importId, exportId;
    EqView view;
    const char* file;
};

template <typename Page>
QWidget* OpenPage() {
    auto* page = new Page(nullptr);
    page->resize(kPageSize);
    page->show();
    return page;
}
QWidget* OpenEffect() {
    auto* window = new CEfxDlg(nullptr);
    window->show();
    return window;
}
CEqPanel* PagePanel(QWidget* page) { return static_cast<CEqPage*>(page)->Panel(); }
EqFilePorter* PageFiles(QWidget* page) { return static_cast<CEqPage*>(page)->FilePorter(); }
CEfxDlg* Effect(QWidget* window) { return static_cast<CEfxDlg*>(window); }

const Graph kGraphs[] = {
    {"mic page", OpenPage<CMicHLDlg>, PagePanel, PageFiles, CEqPage::kImportId, CEqPage::kExportId, EqView::Mic,
     kPeakFile},
    {"main output page", OpenPage<CMainDlg>, PagePanel, PageFiles, CEqPage::kImportId, CEqPage::kExportId,
     EqView::MainMic, kPeakFile},
    {"centre page", OpenPage<CCenterDlg>, PagePanel, PageFiles, CEqPage::kImportId, CEqPage::kExportId,
     EqView::CenterMic, kPeakFile},
    {"reverb graph", OpenEffect, [](QWidget* w) { return Effect(w)->ReverbPanel(); },
     [](QWidget* w) { return Effect(w)->ReverbFiles(); }, CEfxDlg::kReverbImportId, CEfxDlg::kReverbExportId,
     EqView::Reverb, kShelfFile},
    {"echo graph", OpenEffect, [](QWidget* w) { return Effect(w)->EchoPanel(); },
     [](QWidget* w) { return Effect(w)->EchoFiles(); }, CEfxDlg::kEchoImportId, CEfxDlg::kEchoExportId, EqView::Echo,
     kShelfFile},
};

using Values = std::vector<std::array<float, 3>>;

Values ValuesOf(const CEqPanel& panel) {
    Values values;
    for (int i = 0; i < panel.GetBandCount(); ++i) {
        const EqBand& band = panel.GetBand(i);
        values.push_back({band.frequency, band.gain, band.q});
    }
    return values;
}

Values ValuesOf(const EqImport& import) {
    Values values;
    for (int i = 0; i < import.count; ++i) values.push_back({import.bands[i].frequency, import.bands[i].gain, import.bands[i].q});
    return values;
}

class EqFileImportTest : public test::WindowOnDeviceTest {
protected:
    void SetUp() override {
        WindowOnDeviceTest::SetUp();
        LoadLanguage(kLanguageEnglish);
        SetMessageHandler([this](const MessageRequest& request) {
            messages.push_back(request.text);
            return MessageAnswer::Ok;
        });
        SetOpenFileHandler([this](const QString&) { return openPath; });
        SetSaveFileHandler([this](const QString&) { return savePath; });
    }
    void TearDown() override {
        delete window.data();
        test::ProcessQueuedEvents();
    }
    QString Write(const QString& name, const QByteArray& text) const {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    }
    void Click(QWidget* control) const { QTest::mouseClick(control, Qt::LeftButton); }
    // The parameters the device was told to set, in order.
    std::vector<std::pair<int, int>> Sets() const {
        EXPECT_TRUE(test::EditsReachedDevice());
        std::vector<std::pair<int, int>> sets;
        for (const Report& r : device->Received()) {
            if (r[1] == CMD_SET_PARAM) sets.emplace_back(r[2], r[3]);
        }
        return sets;
    }
    // What one edit of each changed band writes, band after band, each value with its twin.
    static std::vector<std::pair<int, int>> SendsOf(EqView view, const EqImport& import) {
        std::vector<std::pair<int, int>> sends;
        for (int band : import.changed) {
            for (const EqViewValue& value : EqViewSendOrder(view, band)) {
                sends.emplace_back(value.param->address.block, value.param->address.index);
                if (const auto twin = value.param->twin) sends.emplace_back(twin->block, twin->index);
            }
        }
        return sends;
    }

    QTemporaryDir dir;
    QString openPath, savePath;
    std::vector<QString> messages;
    QPointer<QWidget> window;
};

TEST_F(EqFileImportTest, OnEveryGraphThePreviewSendsNothingCancelRestoresApplySendsTheChangedBandsAndExportReadsBack) {
    for (const Graph& graph : kGraphs) {
        SCOPED_TRACE(graph.name);
        window = graph.open();
        CEqPanel* panel = graph.panel(window);
        EqFilePorter* files = graph.files(window);
        const Values before = ValuesOf(*panel);
        openPath = Write("import.txt", graph.file);
        device->ClearRecord();

        Click(FindControl(window, graph.importId));
        QPointer<CEqImportPreview> preview = files->Preview();
        ASSERT_NE(preview, nullptr);
        ASSERT_NE(files->Shown(), nullptr);
        const EqImport shown = *files->Shown();
        ASSERT_FALSE(shown.changed.empty());
        EXPECT_EQ(ValuesOf(*panel), ValuesOf(shown));
        EXPECT_NE(ValuesOf(*panel), before);
        EXPECT_TRUE(panel->HasTargetCurve());
        EXPECT_EQ(preview->UnusedLines(), QStringList{kUnusedLine});
        EXPECT_FALSE(FindControl(preview, CEqImportPreview::kPreampId)->isHidden());
        // Neither the graph's own signals, a second import, nor choosing the other way sends or stacks.
        emit panel->bandChanged(panel->GetBand(shown.changed.front()), panel->controlId());
        files->Import();
        EXPECT_EQ(files->Preview(), preview.data());
        QWidget* fit = FindControl(preview, CEqImportPreview::kFitId);
        QTest::mouseClick(fit, Qt::LeftButton, {}, QPoint(4, fit->height() / 2));
        EXPECT_EQ(preview->Way(), EqImportWay::Fit);
        EXPECT_TRUE(Sets().empty());

        Click(FindControl(preview, CEqImportPreview::kCancelId));
        test::ProcessQueuedEvents();
        EXPECT_EQ(preview, nullptr);
        EXPECT_EQ(ValuesOf(*panel), before);
        EXPECT_FALSE(panel->HasTargetCurve());
        EXPECT_TRUE(Sets().empty());

        files->Import();
        const EqImport applied = *files->Shown();
        Click(FindControl(files->Preview(), CEqImportPreview::kApplyId));
        EXPECT_EQ(files->Preview(), nullptr);
        EXPECT_EQ(Sets(), SendsOf(graph.view, applied));
        EXPECT_EQ(ValuesOf(*panel), ValuesOf(applied));

        // A name without an extension gets ".txt"; what it holds comes back as the same bands.
        savePath = dir.filePath(QString::fromUtf8(graph.name));
        EXPECT_TRUE(files->Export());
        openPath = savePath + QStringLiteral(".txt");
        files->Import();
        ASSERT_NE(files->Shown(), nullptr) << messages.front().toStdString();
        EXPECT_EQ(ValuesOf(*files->Shown()), ValuesOf(applied));
        files->CancelPreview();
        EXPECT_TRUE(messages.empty());
        delete window.data();
        test::ProcessQueuedEvents();
    }
}

TEST_F(EqFileImportTest, ARefusedFileChangesNothingAndSaysWhy) {
    window = OpenPage<CMicHLDlg>();
    CEqPanel* panel = PagePanel(window);
    const Values before = ValuesOf(*panel);
    const struct {
        QString path;
        const char* why;
    } cases[] = {
        {dir.path(), "is not a regular file"},
        {Write("large.txt", QByteArray(64 * 1024 + 1, '#')), "larger than 64 KiB"},
        {Write("none.txt", "Preamp: -3 dB\n"), "holds no filter line"},
    };
    device->ClearRecord();
    for (const auto& c : cases) {
        messages.clear();
        openPath = c.path;
        Click(FindControl(window, CEqPage::kImportId));
        ASSERT_EQ(messages.size(), 1u) << c.why;
        EXPECT_TRUE(messages.front().contains(QString::fromUtf8(c.why))) << messages.front().toStdString();
        EXPECT_EQ(PageFiles(window)->Preview(), nullptr);
        EXPECT_FALSE(panel->HasTargetCurve());
        EXPECT_EQ(ValuesOf(*panel), before);
    }
    // A file that cannot be written is told by the file writer's box, and is no success.
    InstallWriteFailureBox(window);
    messages.clear();
    savePath = dir.filePath(QStringLiteral("no such folder/eq.txt"));
    EXPECT_FALSE(PageFiles(window)->Export());
    SetWriteFailureHandler({});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages.front().contains(QStringLiteral("Can't write to file")));
    EXPECT_TRUE(Sets().empty());
}

TEST_F(EqFileImportTest, HidingRefreshingOrClosingTheWindowEndsThePreviewUnsent) {
    openPath = Write("import.txt", kPeakFile);
    const auto previewing = [&](EqFilePorter* files) {
        files->Import();
        return QPointer<CEqImportPreview>(files->Preview());
    };
    const auto endsUnsent = [&](QPointer<CEqImportPreview>& preview, const CEqPanel& panel, const Values& before) {
        test::ProcessQueuedEvents();
        EXPECT_EQ(preview, nullptr);
        EXPECT_EQ(ValuesOf(panel), before);
        EXPECT_TRUE(Sets().empty());
    };
    auto* page = static_cast<CEqPage*>(OpenPage<CMicHLDlg>());
    window = page;
    const Values before = ValuesOf(*page->Panel());
    device->ClearRecord();
    for (void (*end)(CEqPage*) : {+[](CEqPage* p) { p->hide(); }, +[](CEqPage* p) { p->RefreshEq(); }}) {
        page->show();
        QPointer<CEqImportPreview> preview = previewing(page->FilePorter());
        ASSERT_NE(preview, nullptr);
        end(page);
        endsUnsent(preview, *page->Panel(), before);
    }
    // The page going takes its preview with it.
    QPointer<CEqImportPreview> preview = previewing(page->FilePorter());
    ASSERT_NE(preview, nullptr);
    delete page;
    EXPECT_EQ(preview, nullptr);

    openPath = Write("shelf.txt", kShelfFile);
    window = OpenEffect();
    CEqPanel* echo = Effect(window)->EchoPanel();
    const Values echoBefore = ValuesOf(*echo);
    preview = previewing(Effect(window)->EchoFiles());
    ASSERT_NE(preview, nullptr);
    // Before the window goes, the graph shows the image again.
    Effect(window)->close();
    EXPECT_EQ(ValuesOf(*echo), echoBefore);
    test::ProcessQueuedEvents();
    EXPECT_EQ(preview, nullptr);
    EXPECT_EQ(window, nullptr);
    EXPECT_TRUE(Sets().empty());
}

}  // namespace
}  // namespace sonoria

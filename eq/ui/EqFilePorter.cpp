#include "eq/ui/EqFilePorter.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "controls/FileDialogHooks.h"
#include "eq/EqViewSend.h"
#include "eq/FilterExport.h"
#include "eq/FilterFile.h"
#include "eq/FilterTarget.h"
#include "eq/ui/CEqImportPreview.h"
#include "eq/ui/CEqPanel.h"
#include "files/FileIo.h"
#include "state/Language.h"

namespace sonoria {
namespace {

// Pixels between the preview and its graph, and what a title bar may take.
constexpr int kPreviewGap = 4;
constexpr int kTitleBarAllowance = 32;

QString Say(const char* chinese, const char* english) { return QString::fromUtf8(IsEnglish() ? english : chinese); }

QString ImportCaption() { return Say("导入滤波器文件", "Import filter file"); }

// The one preview open in the program, whichever graph it belongs to.
QPointer<CEqImportPreview>& OpenPreview() {
    static QPointer<CEqImportPreview> open;
    return open;
}

std::vector<EqBand> PanelBands(const CEqPanel& panel) {
    std::vector<EqBand> bands;
    for (int i = 0; i < panel.GetBandCount(); ++i) bands.push_back(panel.GetBand(i));
    return bands;
}

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The preview's place: right-aligned with the graph and just above it, so
// that the whole graph stays in view; just below it where the screen has no
// room above; over it where there is neither.
void PlaceBeside(QWidget* preview, const CEqPanel& panel) {
    const QRect graph(panel.mapToGlobal(QPoint(0, 0)), panel.size());
    // The title bar is not there before the window is shown.
    const int tall = preview->height() + kTitleBarAllowance;
    QPoint at(graph.right() - preview->width(), graph.top() - tall - kPreviewGap);
    if (const QScreen* screen = panel.screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() < room.top()) at.setY(graph.bottom() + kPreviewGap);
        if (at.y() + tall > room.bottom()) at.setY(graph.top() + CEqPanel::kPlotTop);
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - preview->width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - tall)));
    }
    preview->move(at);
}

}  // namespace

EqFilePorter::EqFilePorter(QObject* parent, Host host) : QObject(parent), m_host(std::move(host)) {}

EqFilePorter::~EqFilePorter() {
    // The graph may be gone already: only the preview is ours to end.
    if (CEqImportPreview* preview = m_preview.data()) {
        preview->disconnect(this);
        delete preview;
    }
}

bool EqFilePorter::Previewing() const { return !m_preview.isNull(); }

CEqImportPreview* EqFilePorter::Preview() const { return m_preview.data(); }

const EqImport* EqFilePorter::Shown() const {
    if (!Previewing()) return nullptr;
    const auto& import = m_choice.Way(m_way);
    return import ? &*import : nullptr;
}

void EqFilePorter::Import() {
    if (CEqImportPreview* open = OpenPreview().data()) {
        open->raise();
        open->activateWindow();
        return;
    }
    if (m_host.prepare) m_host.prepare();
    const QString chosen = ChooseFileToOpen(
        m_host.owner, Say("滤波器文件 (*.txt);;所有文件 (*)", "Filter files (*.txt);;All files (*)"));
    if (chosen.isEmpty()) return;
    const FilterFileRead read = ReadFilterFile(std::filesystem::path(LocalPath(chosen)));
    if (!read.file) {
        WarnAbout(m_host.owner, Say("无法导入该文件：\n", "The file cannot be imported:\n") + QString::fromStdString(read.error),
                  ImportCaption());
        return;
    }
    const EqView view = m_host.view();
    EqImportChoice choice = PlanFilterImport(view, PanelBands(*m_host.panel), *read.file);
    const EqImportWay other = choice.preferred == EqImportWay::Values ? EqImportWay::Fit : EqImportWay::Values;
    const EqImportWay way = choice.Way(choice.preferred) ? choice.preferred : other;
    if (!choice.Way(way)) {
        WarnAbout(m_host.owner,
                  Say("这个均衡无法导入该文件：", "This EQ cannot take the file:") + QStringLiteral("\n%1: %2\n%3: %4")
                      .arg(ImportWayName(EqImportWay::Values),
                           QString::fromStdString(choice.Refusal(EqImportWay::Values)),
                           ImportWayName(EqImportWay::Fit), QString::fromStdString(choice.Refusal(EqImportWay::Fit))),
                  ImportCaption());
        return;
    }
    m_view = view;
    m_choice = std::move(choice);
    auto* preview = new CEqImportPreview(m_host.owner->window(), QFileInfo(chosen).fileName(), *read.file, m_choice, way);
    m_preview = preview;
    OpenPreview() = preview;
    connect(preview, &CEqImportPreview::wayChosen, this, &EqFilePorter::ShowOnPanel);
    connect(preview, &QDialog::finished, this, [this](int result) { Finish(result == QDialog::Accepted); });
    m_host.panel->SetTargetCurve(FilterFileTarget(read.file->filters));
    ShowOnPanel(way);
    PlaceBeside(preview, *m_host.panel);
    preview->show();
}

void EqFilePorter::ShowOnPanel(EqImportWay way) {
    m_way = way;
    const auto& import = m_choice.Way(way);
    if (!import) return;
    // Values written in report nothing: the graph's own signals stay silent.
    for (int i = 0; i < import->count; ++i) {
        const EqBand& band = import->bands[static_cast<std::size_t>(i)];
        m_host.panel->SetBandValue(i, EqField::Frequency, band.frequency);
        m_host.panel->SetBandValue(i, EqField::Gain, band.gain);
        m_host.panel->SetBandValue(i, EqField::Q, band.q);
    }
}

void EqFilePorter::Finish(bool apply) {
    // The preview is closing: it is forgotten before anything else happens.
    if (OpenPreview() == m_preview) OpenPreview() = nullptr;
    m_preview = nullptr;
    m_host.panel->ClearTargetCurve();
    if (const auto& import = m_choice.Way(m_way); apply && import) SendEqImport(m_view, *import);
    m_host.refresh();
}

void EqFilePorter::DropPreview() {
    CEqImportPreview* preview = m_preview.data();
    if (preview == nullptr) return;
    if (OpenPreview() == preview) OpenPreview() = nullptr;
    m_preview = nullptr;
    preview->disconnect(this);
    m_host.panel->ClearTargetCurve();
    preview->close();
}

void EqFilePorter::CancelPreview() {
    if (!Previewing()) return;
    DropPreview();
    m_host.refresh();
}

bool EqFilePorter::Export() {
    // The graph shows an import not sent: that is not what the device holds.
    if (CEqImportPreview* open = OpenPreview().data()) {
        open->raise();
        return false;
    }
    QString path = ChooseFileToSave(m_host.owner, Say("滤波器文件 (*.txt)", "Filter files (*.txt)"));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".txt");
        // The dialog asked about the name as typed, not about this one.
        if (QFileInfo::exists(path) &&
            !AskToConfirm(m_host.owner,
                          Say("%1 已存在。要替换它吗？", "%1 already exists. Replace it?").arg(QFileInfo(path).fileName()),
                          Say("导出滤波器文件", "Export filter file"))) {
            return false;
        }
    }
    const std::string text = ExportFilterText(FilterExportFormat::Apo, m_host.view(), PanelBands(*m_host.panel));
    return WriteFileBytes(LocalPath(path),
                          std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace sonoria

#include "eq/ui/CEqImportPreview.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "controls/ControlText.h"
#include "controls/DialogTemplate.h"
#include "controls/LanguageTexts.h"
#include "controls/TemplateControls.h"
#include "state/Language.h"

namespace sonoria {
namespace {

constexpr int kTextWidth = 216;
constexpr int kLinePitch = 11;  // of the one-line rows a file may leave empty
// In the order of their rows, top to bottom.
const ControlSpec kControls[] = {
    {CEqImportPreview::kFileId, ControlKind::Label, "", 7, 7, kTextWidth, 8},
    {CEqImportPreview::kByValuesId, ControlKind::RadioButton, "By values", 7, 19, 84, 10},
    {CEqImportPreview::kFitId, ControlKind::RadioButton, "Fit", 96, 19, 84, 10},
    {CEqImportPreview::kErrorsId, ControlKind::Label, "", 7, 33, kTextWidth, 8},
    {CEqImportPreview::kNoteId, ControlKind::Label, "", 7, 33 + kLinePitch, kTextWidth, 8},
    {CEqImportPreview::kPreampId, ControlKind::Label, "", 7, 33 + 2 * kLinePitch, kTextWidth, 8},
    {CEqImportPreview::kUnusedTitleId, ControlKind::Label, "", 7, 35 + 3 * kLinePitch, kTextWidth, 8},
    {CEqImportPreview::kUnusedListId, ControlKind::Frame, "", 7, 78, kTextWidth, 54},
    {CEqImportPreview::kLegendId, ControlKind::Label, "Dashed line on the graph: the file's curve", 7, 137, kTextWidth, 8},
    {CEqImportPreview::kApplyId, ControlKind::PushButton, "Apply", 118, 152, 50, 14},
    {CEqImportPreview::kCancelId, ControlKind::PushButton, "Cancel", 173, 152, 50, 14},
};
const DialogSpec kTemplate{CEqImportPreview::kDialogId, "Import filter file", 230, 173, kDialogFont8, kControls};

// A text in the current language.
QString Say(const char* chinese, const char* english) { return QString::fromUtf8(IsEnglish() ? english : chinese); }

int Slot(EqImportWay way) { return way == EqImportWay::Values ? 0 : 1; }

// The text shortened to the label's width; the whole text in its tip.
void SetFittedText(QLabel* label, const QString& text, Qt::TextElideMode mode) {
    SetControlText(label, label->fontMetrics().elidedText(text, mode, label->contentsRect().width()));
    label->setToolTip(text);
}

QString UnusedLine(const SkippedLine& line) {
    const QString text = QString::fromStdString(line.text);
    const QString reason = QString::fromStdString(line.reason);
    return IsEnglish() ? QStringLiteral("line %1: %2 (%3)").arg(line.line).arg(text, reason)
                       : QString::fromUtf8("第 %1 行：%2（%3）").arg(line.line).arg(text, reason);
}

}  // namespace

QString ImportWayName(EqImportWay way) {
    return way == EqImportWay::Values ? Say("按数值", "By values") : Say("拟合", "Fit");
}

CEqImportPreview::CEqImportPreview(QWidget* owner, const QString& fileName, const FilterFile& file,
                                   const EqImportChoice& choice, EqImportWay way)
    : QDialog(owner), m_way(way) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The graph under it shows the import: nothing else in its window may be
    // edited until Apply or Cancel.
    setWindowModality(Qt::WindowModal);
    BuildDialog(this, kTemplate);
    ApplyWindowLanguageTexts(this, kDialogId);

    for (const EqImportWay each : {EqImportWay::Values, EqImportWay::Fit}) {
        if (const auto& import = choice.Way(each)) m_errors[Slot(each)] = WayErrors{import->rmsErrorDb, import->maxErrorDb};
    }
    m_errorsLabel = FindControlAs<QLabel>(this, kErrorsId);
    SetFittedText(FindControlAs<QLabel>(this, kFileId), Say("文件：", "File: ") + fileName, Qt::ElideMiddle);

    // A way that gave nothing cannot be chosen; the note says why.
    QString note;
    for (const EqImportWay each : {EqImportWay::Values, EqImportWay::Fit}) {
        auto* radio = FindControlAs<QRadioButton>(this, each == EqImportWay::Values ? kByValuesId : kFitId);
        if (radio == nullptr) continue;
        radio->setChecked(each == way);
        radio->setEnabled(m_errors[Slot(each)].has_value());
        if (!m_errors[Slot(each)]) {
            note = ImportWayName(each) + Say("不可用：", " is not possible: ") + QString::fromStdString(choice.Refusal(each));
        }
        connect(radio, &QRadioButton::toggled, this, [this, each](bool checked) {
            if (!checked || each == m_way) return;
            ShowWay(each);
            emit wayChosen(each);
        });
    }
    auto* noteLabel = FindControlAs<QLabel>(this, kNoteId);
    if (noteLabel != nullptr) {
        SetFittedText(noteLabel, note, Qt::ElideRight);
        noteLabel->setVisible(!note.isEmpty());
    }
    if (auto* preamp = FindControlAs<QLabel>(this, kPreampId)) {
        if (file.preampDb) {
            SetControlText(preamp, Say("文件的前级增益 %1 dB（不导入）", "The file's preamp: %1 dB (not imported)")
                                       .arg(QString::asprintf("%+.1f", *file.preampDb)));
        }
        preamp->setVisible(file.preampDb.has_value());
    }
    if (QWidget* title = FindControl(this, kUnusedTitleId)) {
        SetControlText(title, file.skipped.empty() ? Say("文件的每一行都已使用", "Every line of the file was used")
                                                   : Say("未使用的行（%1）：", "Lines not used (%1):")
                                                         .arg(file.skipped.size()));
    }
    // Long lines wrap: the whole of each stays in view.
    m_unused = new QPlainTextEdit(this);
    TakePlaceOf(FindControl(this, kUnusedListId), m_unused);
    m_unused->setReadOnly(true);
    m_unused->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QStringList unused;
    for (const SkippedLine& line : file.skipped) unused.append(UnusedLine(line));
    m_unused->setPlainText(unused.join(QLatin1Char('\n')));
    CloseUpEmptyLines();

    // Enter applies nothing by itself: only a click on Apply sends.
    for (const int id : {kApplyId, kCancelId}) {
        if (auto* button = FindControlAs<QPushButton>(this, id)) {
            button->setAutoDefault(false);
            button->setDefault(false);
            connect(button, &QPushButton::clicked, this, id == kApplyId ? &QDialog::accept : &QDialog::reject);
        }
    }
    ShowWay(way);
}

QStringList CEqImportPreview::UnusedLines() const {
    const QString text = m_unused->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void CEqImportPreview::CloseUpEmptyLines() {
    const int pitch = DialogUnitsToPixels(kTemplate.font, 0, 0, 0, kLinePitch).height();
    int lift = 0;
    for (const ControlSpec& row : kControls) {
        QWidget* control = FindControl(this, row.id);
        if (control == nullptr) continue;
        if ((row.id == kNoteId || row.id == kPreampId) && control->isHidden()) {
            lift += pitch;
        } else {
            control->move(control->x(), control->y() - lift);
        }
    }
    resize(width(), height() - lift);
}

void CEqImportPreview::ShowWay(EqImportWay way) {
    m_way = way;
    const std::optional<WayErrors>& errors = m_errors[Slot(way)];
    if (m_errorsLabel == nullptr || !errors) return;
    SetControlText(m_errorsLabel, Say("%1：均方根误差 %2 dB，最大误差 %3 dB", "%1: RMS error %2 dB, largest %3 dB")
                                      .arg(ImportWayName(way), QString::asprintf("%.2f", errors->rms),
                                           QString::asprintf("%.2f", errors->largest)));
}

void CEqImportPreview::keyPressEvent(QKeyEvent* event) {
    // Enter and Return do nothing; Escape cancels, as the close box does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace sonoria

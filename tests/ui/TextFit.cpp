#include "ui/TextFit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>
#include <optional>

#include "controls/CGdipButton.h"
#include "controls/CXPGroupBox.h"
#include "controls/DialogTemplate.h"

namespace sonoria::test {
namespace {

// A face pixel this opaque belongs to the button's body or outline; the
// softer pixels around it are its shadow or glow.
constexpr int kOpaqueAlpha = 200;

struct Measure {
    QString text;
    int needed;
    int available;
};

int OwningDialogId(const QWidget* control) {
    for (const QWidget* w = control->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (const int id = DialogId(w); id > 0) return id;
    }
    return 0;
}

int WidestLine(const QFontMetrics& metrics, const QString& text, int flags = 0) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.size(flags, line).width());
    return widest;
}

std::optional<Measure> MeasureLabel(const QLabel* label) {
    if (label->text().isEmpty() || !label->pixmap().isNull()) return std::nullopt;
    const int available = label->contentsRect().width() - 2 * label->margin();
    return Measure{label->text(), WidestLine(label->fontMetrics(), label->text()), available};
}

// Where the face's body begins and ends on its middle row, in button pixels.
std::pair<int, int> FaceInsets(const QImage& face, int buttonWidth) {
    if (face.isNull()) return {0, 0};
    const QImage argb = face.convertToFormat(QImage::Format_ARGB32);
    const int y = argb.height() / 2;
    int left = 0;
    while (left < argb.width() && qAlpha(argb.pixel(left, y)) < kOpaqueAlpha) ++left;
    int right = 0;
    while (right < argb.width() && qAlpha(argb.pixel(argb.width() - 1 - right, y)) < kOpaqueAlpha) ++right;
    const double scale = double(buttonWidth) / argb.width();
    // The outline is the body's outermost pixel; the text stays inside it.
    return {int(std::ceil(left * scale)) + 1, int(std::ceil(right * scale)) + 1};
}

std::optional<Measure> MeasureImageButton(const CGdipButton* button) {
    const QString caption = CGdipButton::WithoutMnemonics(button->text());
    if (caption.isEmpty()) return std::nullopt;
    // Measured as drawn, in the size the button chose for it.
    const FittedText shown = button->ShownCaption();
    const QFontMetrics metrics(shown.font, const_cast<CGdipButton*>(button));
    const int width = button->width();
    const auto [left, right] = FaceInsets(button->StandardImage().Image(), width);
    // The caption sits where the button draws it: centred, one pixel right.
    const auto fits = [&](int textWidth) {
        const int x = (width - textWidth) / 2 + 1;
        return x >= left && x + textWidth <= width - right;
    };
    // Both edges move outwards as the text grows: the widest text that fits is the room.
    int available = width;
    while (available > 0 && !fits(available)) --available;
    // An elided caption is not whole: it counts at its full width.
    return Measure{caption, metrics.horizontalAdvance(shown.whole ? shown.text : caption), available};
}

std::optional<Measure> MeasureButton(const QAbstractButton* button) {
    if (button->text().isEmpty()) return std::nullopt;
    const QString shown = CGdipButton::WithoutMnemonics(button->text());
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle* style = button->style();
    const int textWidth = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width();
    const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
    if (radio || qobject_cast<const QCheckBox*>(button) != nullptr) {
        // The text starts where the style puts it, after the indicator and its spacing.
        const QRect contents =
            style->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, button);
        return Measure{shown, contents.left() + textWidth, button->width()};
    }
    const int margins = style->pixelMetric(QStyle::PM_ButtonMargin, &option, button) +
                        2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button);
    return Measure{shown, textWidth + margins, button->width()};
}

std::optional<Measure> MeasureFrameBox(const CXPGroupBox* box) {
    const CXPGroupBox::Layout layout = box->ComputeLayout();
    if (layout.caption.width() == 0) return std::nullopt;
    const QString caption = box->Caption().isEmpty() ? box->text() : box->Caption().trimmed();
    // The caption must stay inside the frame on both sides.
    const int before = std::max(0, layout.caption.left() - layout.inner.left());
    const int needed = before + layout.caption.width() + std::max(0, layout.inner.left() - layout.caption.left());
    return Measure{caption, needed, layout.inner.width()};
}

std::optional<Measure> MeasureGroupBox(const QGroupBox* box) {
    if (box->title().isEmpty()) return std::nullopt;
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.subControls = QStyle::SC_GroupBoxLabel;
    const QRect label = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const int text = box->fontMetrics().size(Qt::TextShowMnemonic, box->title()).width();
    return Measure{CGdipButton::WithoutMnemonics(box->title()), label.left() + text, box->width()};
}

std::optional<Measure> MeasureControl(const QWidget* control) {
    if (const auto* button = qobject_cast<const CGdipButton*>(control)) return MeasureImageButton(button);
    if (const auto* box = qobject_cast<const CXPGroupBox*>(control)) return MeasureFrameBox(box);
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return MeasureButton(button);
    if (const auto* label = qobject_cast<const QLabel*>(control)) return MeasureLabel(label);
    if (const auto* box = qobject_cast<const QGroupBox*>(control)) return MeasureGroupBox(box);
    return std::nullopt;
}

}  // namespace

std::vector<ClippedText> FindClippedTexts(const QWidget* window) {
    std::vector<ClippedText> clipped;
    for (const QWidget* control : window->findChildren<const QWidget*>()) {
        if (!control->isVisibleTo(window)) continue;
        const std::optional<Measure> measure = MeasureControl(control);
        if (!measure || measure->needed <= measure->available) continue;
        clipped.push_back({OwningDialogId(control), ControlId(control), measure->text, measure->needed,
                           measure->available});
    }
    return clipped;
}

QString UnallowedClippings(const QWidget* window, std::span<const FitAllowance> allowed) {
    QString report;
    for (const ClippedText& c : FindClippedTexts(window)) {
        const bool accepted = std::any_of(allowed.begin(), allowed.end(), [&](const FitAllowance& a) {
            return a.dialogId == c.dialogId && a.controlId == c.controlId;
        });
        if (accepted) continue;
        report += QStringLiteral("window %1, control %2 \"%3\": needs %4 px, has %5 px\n")
                      .arg(c.dialogId)
                      .arg(c.controlId)
                      .arg(c.text)
                      .arg(c.needed)
                      .arg(c.available);
    }
    return report;
}

}  // namespace sonoria::test

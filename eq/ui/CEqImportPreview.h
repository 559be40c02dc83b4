// The small window over an EQ graph while a filter file's import is shown on
// it: how close the graph comes to the file's curve (RMS and largest error),
// the way the bands were found and, where both ways apply, the choice
// between them, the file's lines that were not used, its preamp, and Apply
// or Cancel. It only shows and chooses: whoever opened it changes the graph
// and sends on Apply (the dialog's Accepted result); every other end is a
// cancel.
#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <optional>
#include <vector>

#include "eq/EqFit.h"
#include "eq/FilterFile.h"

class QLabel;
class QPlainTextEdit;
class QRadioButton;

namespace sonoria {

// "By values" or "Fit", in the current language.
QString ImportWayName(EqImportWay way);

class CEqImportPreview : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 372;
    static constexpr int kFileId = 1001;
    static constexpr int kByValuesId = 1002;
    static constexpr int kFitId = 1003;
    static constexpr int kErrorsId = 1004;
    static constexpr int kNoteId = 1005;
    static constexpr int kPreampId = 1006;
    static constexpr int kUnusedTitleId = 1007;
    static constexpr int kUnusedListId = 1008;
    static constexpr int kLegendId = 1009;
    static constexpr int kApplyId = 1;
    static constexpr int kCancelId = 2;

    // Shows `way` of `choice` first (a way that gave an import).
    CEqImportPreview(QWidget* owner, const QString& fileName, const FilterFile& file, const EqImportChoice& choice,
                     EqImportWay way);

    EqImportWay Way() const { return m_way; }
    // The unused lines as listed.
    QStringList UnusedLines() const;

signals:
    // The user chose the other way; the errors shown are already its own.
    void wayChosen(sonoria::EqImportWay way);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct WayErrors {
        double rms = 0;
        double largest = 0;
    };

    void ShowWay(EqImportWay way);
    // Rows a file leaves empty (no note, no preamp) take no room.
    void CloseUpEmptyLines();

    std::array<std::optional<WayErrors>, 2> m_errors;  // by values, fit
    EqImportWay m_way;
    QLabel* m_errorsLabel = nullptr;
    QPlainTextEdit* m_unused = nullptr;
};

}  // namespace sonoria

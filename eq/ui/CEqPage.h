// What the three EQ pages of the main window share: a grey page with a title,
// a hint line, the buttons that import and export filter files, a reset
// button and the EQ graph under them. The page shows one
// view (eq/EqViews.h) at a time, fills the graph from the device image and
// sends every change the user makes to a band through the senders at once.
// It keeps no EQ values of its own.
#pragma once

#include <QWidget>

#include <initializer_list>

#include "controls/DialogTemplate.h"
#include "eq/EqViews.h"

namespace sonoria {

class CEqPanel;
class CGdipButton;
class EqFilePorter;
struct EqBand;

class CEqPage : public QWidget {
    Q_OBJECT

public:
    // Control ids the pages share.
    static constexpr int kPanelId = 1015;
    static constexpr int kHintId = 1106;
    static constexpr int kImportId = 1300;
    static constexpr int kExportId = 1301;
    // The hint as the pages' templates carry it; the language tables give both languages.
    static constexpr const char* kHintTemplateText =
        "鼠标右键点击控制点后左右移动可调节Q值，键盘左右键微调频率，上下键(鼠标滚轮)微调增益，+ - 键微调Q值";
    // The rows of the top line every page's template has: the hint, and the
    // file buttons between it and the reset button. The graph takes the right
    // button for its Q drag, so the file actions are buttons, not a menu.
    static constexpr ControlSpec kHintRow{kHintId, ControlKind::Label, kHintTemplateText, 81, 3, 368, 8, kCentered};
    static constexpr ControlSpec kImportRow{kImportId, ControlKind::ImageButton, "Import…", 452, 0, 37, 13};
    static constexpr ControlSpec kExportRow{kExportId, ControlKind::ImageButton, "Export…", 491, 0, 37, 13};

    ~CEqPage() override;

    // Sets the graph to the view's layout and fills it from the device image
    // (an import being previewed ends unsent). Sends nothing.
    void RefreshEq();
    // The language table's texts, the title of the view and the graph's info
    // line in the program's language.
    void ApplyLanguage();
    // Puts the view's EQ back to its factory curve on the device, then refreshes.
    void ResetEq();

    // Given by the main window; the pages behave the same either way.
    void SetNotBaseModel(bool notBaseModel) { m_notBaseModel = notBaseModel; }
    bool NotBaseModel() const { return m_notBaseModel; }

    EqView View() const { return m_view; }
    CEqPanel* Panel() const { return m_panel; }
    CGdipButton* ResetButton() const { return m_resetButton; }
    EqFilePorter* FilePorter() const { return m_files; }
    int DialogTemplateId() const { return m_dialogId; }
    // The title the page shows for its view in that language.
    QString TitleText(bool english) const;

protected:
    CEqPage(QWidget* parent, const DialogSpec& table, int resetButtonId, int titleId, EqView initialView);

    // Chooses the view; the caller refreshes and re-texts.
    void SetView(EqView view) { m_view = view; }
    // The template's hidden source buttons get their pictures; nothing shows them.
    void PrepareHiddenButtons(std::initializer_list<int> ids);

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A page put away takes back an import it was previewing.
    void hideEvent(QHideEvent* event) override;

private:
    // A band the user changed: its values go to the device in the view's order.
    void OnBandChanged(const EqBand& band);

    int m_dialogId;
    int m_titleId;
    EqView m_view;
    bool m_notBaseModel = false;
    QPoint m_panelOrigin;
    CEqPanel* m_panel = nullptr;
    CGdipButton* m_resetButton = nullptr;
    EqFilePorter* m_files = nullptr;
};

}  // namespace sonoria

// The multi-tap echo window: the main tap's volume and, for three further
// taps, their volumes and their delays as shares of the whole echo delay.
// Owned by the effect window; every slider move goes to the device at once.
#pragma once

#include <QDialog>
#include <QPointer>

namespace sonoria {

class CEfxDlg;
class CXBmpSlider;

class CTapDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDialogId = 246;

    // Built, filled from the device image and re-texted, centred over `owner`.
    explicit CTapDlg(CEfxDlg* owner);
    // Lets a live effect window that is not closing show the echo values again.
    ~CTapDlg() override;

    // The seven sliders and their value labels from the device image.
    void RefreshTaps();
    // The language table's texts.
    void ApplyLanguage();

    CXBmpSlider* Slider(int id) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnSlider(int id, int position);
    void ShowValue(int sliderId);

    QPointer<CEfxDlg> m_owner;
};

}  // namespace sonoria

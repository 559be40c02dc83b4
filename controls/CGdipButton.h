// Push button drawn from a PNG picture over a copy of its parent's background,
// in one of seven pre-built states, with its caption centred on top.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <array>

#include "controls/CGdiPlusBitmap.h"
#include "controls/FittedText.h"

namespace sonoria {

class CGdipButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(int controlId READ controlId WRITE setControlId)

public:
    // The pre-built pictures; None before the first paint.
    enum class State {
        None = -1,
        StandardNormal,
        StandardPressed,
        StandardHot,
        AlternateNormal,
        AlternatePressed,
        AlternateHot,
        Greyed,
    };
    static constexpr int kStateCount = 7;

    explicit CGdipButton(QWidget* parent = nullptr);
    ~CGdipButton() override;

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    // Pictures: by PNG resource id, or given directly. A missing picture
    // leaves the image empty. Set them before the button is first painted:
    // the states are built once.
    bool SetStandardImage(int id);
    bool SetStandardImage(const QImage& image);
    bool SetAlternateImage(int id);
    bool SetAlternateImage(const QImage& image);

    // Keeps the part of `parentBackground` (a picture of the parent's client
    // area) that lies under the button.
    void SetBackground(const QPixmap& parentBackground);
    void SetBackground(const QImage& parentBackground);

    void SetCaptionColor(const QColor& color);
    QColor CaptionColor() const { return m_captionColor; }
    void SetCaptionFont(const QFont& font);
    // Back to the default caption font.
    void ResetCaptionFont();
    const QFont& CaptionFont() const { return m_captionFont; }

    // Draw from the alternate picture instead of the standard one.
    void SetSelected(bool selected);
    bool IsSelected() const { return m_alternateSelected; }
    // Draw the grey state whatever the mouse does.
    void SetGreyed(bool greyed);
    bool IsGreyed() const { return m_greyed; }
    // A press flips the selected flag.
    void SetToggleMode(bool toggle);
    bool IsToggleMode() const { return m_toggleMode; }

    void SetHintText(const QString& text) { m_hintText = text; }
    const QString& HintText() const { return m_hintText; }

    // Builds the state pictures from the background and the images; does
    // nothing without a standard image or when they are built already.
    void BuildStateImages();

    bool HasAlternateImage() const { return m_hasAlternateImage; }
    bool StatesBuilt() const { return m_statesBuilt; }
    bool IsHovered() const { return m_hover; }
    State CurrentState() const { return m_currentState; }
    // Null when that state was not built.
    const QImage& StateImage(State state) const;
    const QImage& Background() const { return m_background; }
    const CGdiPlusBitmapResource& StandardImage() const { return m_standardImage; }
    const CGdiPlusBitmapResource& AlternateImage() const { return m_alternateImage; }

    QSize sizeHint() const override;

    // The caption as it is drawn: in the caption font, up to two pixels
    // smaller where the text would run over the face's outline, and elided on
    // one line where even that is too wide.
    FittedText ShownCaption() const;

    // The state a paint shows for these flags.
    // The caption as shown: "&&" becomes "&", a lone "&" marks a mnemonic and is dropped.
    static QString WithoutMnemonics(const QString& text);
    static State ChooseState(bool greyed, bool pressed, bool hover, bool alternateSelected);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnPressed();
    void TakeBackgroundFromParent();
    QRect RectInParent() const;
    QImage RenderState(const QImage& image, const QRect& destination) const;
    const QImage& SurfaceToDraw(State state) const;
    // Whether a caption this wide, drawn where captions go, stays inside the
    // face's outline (inside the button when there is no face).
    bool CaptionFits(int textWidth) const;

    int m_controlId = 0;
    bool m_hasAlternateImage = false;
    bool m_statesBuilt = false;
    bool m_greyed = false;
    bool m_toggleMode = false;
    bool m_hover = false;
    bool m_tracking = false;
    bool m_alternateSelected = false;
    CGdiPlusBitmapResource m_alternateImage;
    CGdiPlusBitmapResource m_standardImage;
    QString m_hintText;
    QColor m_captionColor = Qt::black;
    QFont m_captionFont;
    QImage m_background;
    std::array<QImage, kStateCount> m_states;
    State m_currentState = State::None;
};

}  // namespace sonoria

// Group box drawn by the program: a rounded frame in a chosen colour with an
// optional caption set into the frame line (frame style) or on a caption band
// (window style). It draws only; the controls it frames are its siblings.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

namespace sonoria {

class CXPGroupBox : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(int controlId READ controlId WRITE setControlId)

public:
    enum BoxStyleValue { FrameStyle = 0, WindowStyle = 1 };
    enum CaptionAlignmentValue { AlignLeft = 0, AlignCentre = 1, AlignRight = 2 };

    explicit CXPGroupBox(QWidget* parent = nullptr);
    ~CXPGroupBox() override;

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }

    // Each setter stores its values and repaints the box and the parent's
    // area under it at once; they chain.
    CXPGroupBox& SetFrameColor(const QColor& color);
    CXPGroupBox& SetCaptionColor(const QColor& color);
    CXPGroupBox& SetFillColors(const QColor& captionFill, const QColor& bodyFill);
    CXPGroupBox& SetFillColor(const QColor& fill);
    // 0 frame style, any other value window style.
    CXPGroupBox& SetBoxStyle(int style);
    // The caption becomes " " + text + " " (a null text counts as empty).
    CXPGroupBox& SetCaption(const QString& text);
    CXPGroupBox& SetCaptionBold(bool bold);
    // At most 31 characters of the face are kept. The character set is
    // recorded; Qt picks glyphs by script itself.
    CXPGroupBox& SetCaptionFace(const QString& face, int charSet);
    CXPGroupBox& SetCaptionUnderline(bool underline);
    CXPGroupBox& SetCaptionItalic(bool italic);
    CXPGroupBox& SetCaptionPointSize(int points);
    CXPGroupBox& SetCaptionFont(const QFont& font);
    // 1 centred, 2 right, any other value left.
    CXPGroupBox& SetCaptionAlignment(int alignment);

    const QString& Caption() const { return m_caption; }
    QColor FrameColor() const { return m_frameColor; }
    QColor CaptionFillColor() const { return m_captionFillColor; }
    QColor BodyFillColor() const { return m_bodyFillColor; }
    QColor CaptionColor() const { return m_captionColor; }
    int BoxStyle() const { return m_boxStyle; }
    int CaptionAlignment() const { return m_captionAlignment; }
    int CaptionCharSet() const { return m_captionCharSet; }
    const QFont& CaptionFont() const { return m_captionFont; }

    // Where the frame and the caption go for the current caption and size.
    struct Layout {
        QRect inner;    // client rectangle shrunk by one pixel on each side
        QRect frame;    // frame outline (the rounded rectangle), right/bottom exclusive
        QRect body;     // window style: body rectangle below the band, right/bottom exclusive
        QRect caption;  // caption rectangle T
    };
    Layout ComputeLayout() const;

    static constexpr int kMaxFaceChars = 31;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RedrawBox();
    void CaptionFontChanged();

    int m_controlId = 0;
    QString m_caption;
    QColor m_frameColor;
    QColor m_captionFillColor;
    QColor m_bodyFillColor;
    QColor m_captionColor;
    int m_boxStyle = FrameStyle;
    int m_captionAlignment = AlignLeft;
    int m_captionCharSet = 0;
    QFont m_captionFont;
    // Until a setter changes the caption font it follows the box's own font,
    // which the window that builds the box gives it after construction.
    bool m_captionFontSet = false;
};

}  // namespace sonoria

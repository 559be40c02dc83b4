// Level meters drawn as rows (or columns) of LED-like segments in green,
// yellow and red over a dimmed copy of the full scale. Values are handed in
// from outside; in between, a timer lets the levels and their held peaks
// fall by themselves, so a meter fed a few times a second still moves smoothly.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <span>
#include <vector>

class QPainter;

namespace sonoria {

class CPeakMeterCtrl : public QWidget {
    Q_OBJECT
    // Set by the window builder, which finds the meter by it.
    Q_PROPERTY(int controlId READ controlId WRITE setControlId)

public:
    static constexpr int kDefaultChannels = 8;
    static constexpr int kDefaultSegments = 8;
    static constexpr int kDefaultLowMid = 50;
    static constexpr int kDefaultMidHigh = 60;
    static constexpr int kDefaultMaximum = 70;
    static constexpr int kDefaultPeakHold = 10;
    static constexpr int kDefaultTimerPeriodMs = 35;

    explicit CPeakMeterCtrl(QWidget* parent = nullptr);
    ~CPeakMeterCtrl() override;

    void setControlId(int id) { m_controlId = id; }
    int controlId() const { return m_controlId; }

    // Rows with segment 0 at the left; otherwise columns with segment 0 at
    // the bottom (the initial layout).
    void SetHorizontal(bool horizontal);
    bool IsHorizontal() const { return m_horizontal; }

    void SetBackgroundColor(const QColor& color);
    QColor GetBackgroundColor() const { return m_background; }
    // Lit colours of the three bands.
    void SetColorsNormal(const QColor& low, const QColor& mid, const QColor& high);
    // Unlit colours of the three bands, shown behind the lit segments.
    void SetColorsBack(const QColor& low, const QColor& mid, const QColor& high);

    // Band boundaries and full scale, in level units.
    void SetRanges(int lowMid, int midHigh, int maximum);
    int GetMaximum() const { return m_maximum; }

    // Call ResetChannels after changing the number of channels.
    void SetMeterBands(int channels, int segments);
    int GetNumChannels() const { return m_channels; }
    int GetNumSegments() const { return m_segments; }

    // Ticks a new peak is held before it starts to fall.
    void SetPeakHold(int ticks);
    void ShowGrid(bool show);
    // A line at each column's peak (columns only).
    void ShowPeakLine(bool show);

    // One entry per channel, all at full scale with a fresh hold, so that the
    // meter falls from the top once the decay runs.
    void ResetChannels();

    // Hands over the value of channel `channel`, which is values[channel].
    // Fails, changing nothing, when there is no value for it. A channel the
    // meter does not have is ignored. Restarts the decay if it was started.
    bool SetData(int channel, std::span<const int> values);

    // Starts the decay, one DecayStep every `periodMs`; from then on every
    // SetData restarts it after the meter came to rest.
    bool StartDecayTimer(int periodMs = kDefaultTimerPeriodMs);
    void StopDecayTimer();
    bool IsDecayTimerRunning() const { return m_timer.isActive(); }
    int GetTimerPeriod() const { return m_timerPeriod; }

    // One tick of the decay: levels fall by a step, holds count down, and
    // peaks whose hold ran out fall by half a step. Stops the timer when
    // nothing moved.
    void DecayStep();

    int GetLevel(int channel) const;
    int GetPeak(int channel) const;
    int GetHoldCount(int channel) const;

    // Segments per row or column, derived from the configuration.
    int ScaleSegments() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Channel {
        int level = 0;
        int peak = 0;
        int hold = 0;
    };
    enum class Pass { Background, Lit };

    // A change of style: the cached scale is drawn anew.
    void Restyle();
    bool Drawable() const;
    void Draw(QPainter& painter, Pass pass) const;
    void DrawHorizontal(QPainter& painter, Pass pass) const;
    void DrawVertical(QPainter& painter, Pass pass) const;
    QColor SegmentColor(int segment, int colouredCount, Pass pass) const;
    int ColouredCount(int channel, Pass pass) const;
    int LevelStep() const;
    int PeakStep() const;
    // What the lit pass draws: per channel the lit segments and, where a peak
    // line is drawn, its height in pixels.
    std::vector<int> ShownState() const;
    // Repaints only when the picture would differ: the decay ticks many times
    // between visible steps, and the main window's meters run all the time.
    void UpdateIfShownChanged();

    int m_controlId = 0;
    bool m_horizontal = false;
    QColor m_background;
    QColor m_low{0, 255, 0};
    QColor m_mid{255, 255, 0};
    QColor m_high{255, 0, 0};
    QColor m_dimLow{2, 128, 2};
    QColor m_dimMid{128, 128, 2};
    QColor m_dimHigh{128, 2, 2};
    int m_lowMid = kDefaultLowMid;
    int m_midHigh = kDefaultMidHigh;
    int m_maximum = kDefaultMaximum;
    int m_channels = kDefaultChannels;
    int m_segments = kDefaultSegments;
    int m_peakHold = kDefaultPeakHold;
    bool m_grid = false;
    bool m_peakLine = true;

    // Set once the owner started the decay; SetData restarts the timer then.
    bool m_decayStarted = false;
    int m_timerPeriod = kDefaultTimerPeriodMs;
    QTimer m_timer;
    std::vector<Channel> m_channelList;
    std::vector<int> m_shown;
    QPixmap m_scale;  // the background pass at the current size
};

}  // namespace sonoria

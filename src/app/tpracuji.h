#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;

namespace vaha::app {

// The waiting animation: a band fading from the dialog colour to black that sweeps across the
// strip, one step every 15 ms counted from its creation.
class WaitingGradient : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBandWidth = 50;
    static constexpr int kIntervalMs = 15;
    static constexpr int kStepPixels = 2;

    explicit WaitingGradient(QWidget* parent = nullptr);

    // Steps taken since creation.
    qint64 steps() const { return m_clock.elapsed() / kIntervalMs; }
    // Left edge of the band: from -kBandWidth (entering) up to the strip's width (gone).
    int bandLeft() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QElapsedTimer m_clock;
    QTimer m_repaint; // runs only while shown; the position follows the clock
};

// The busy window: a small frameless box with a text and a waiting animation, always on top
// and centred on the screen, shown while the program does something that blocks it.
class Tpracuji : public QDialog {
    Q_OBJECT
public:
    explicit Tpracuji(QWidget* parent = nullptr);
    ~Tpracuji() override;

    QLabel* Label1 = nullptr;
    WaitingGradient* JvWaitingGradient1 = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

} // namespace vaha::app

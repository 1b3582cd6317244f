#pragma once

#include <QWidget>

class QToolButton;

namespace vaha::lookup {

// The skinned title bar of a frameless window: its caption on a coloured band, one close
// button, and dragging the band moves the window.
class SkinTitleBar : public QWidget {
    Q_OBJECT
public:
    enum class Style { DeepBlue, WinXP };

    explicit SkinTitleBar(QWidget* parent = nullptr);

    void setSkinStyle(Style style);
    Style skinStyle() const { return m_style; }
    static QString styleName(Style style);
    // "WinXP" or "DeepBlue", letter case ignored; anything else is DeepBlue.
    static Style styleFromName(const QString& name);

    QToolButton* closeButton() const { return m_close; }

Q_SIGNALS:
    void closeClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Style m_style = Style::DeepBlue;
    QToolButton* m_close;
    QPoint m_dragOffset;
    bool m_dragging = false;
};

} // namespace vaha::lookup

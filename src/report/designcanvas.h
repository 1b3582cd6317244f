#pragma once

#include "report/templateeditor.h"

#include <QWidget>

namespace vaha::report {

// The designer's page: the paper at scale with its margins, bands and text objects. A click
// selects, a drag moves the selected object or, on one of its handles, resizes it; the arrow
// keys move it by 1 mm (with Ctrl by 0.1 mm), with Shift they resize it; Delete removes it.
class DesignCanvas : public QWidget {
    Q_OBJECT
public:
    explicit DesignCanvas(TemplateEditor& editor, QWidget* parent = nullptr);

    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    double pixelsPerMm() const;
    // Widget pixels and page millimetres.
    QPointF toPage(QPointF widgetPoint) const;
    QPointF toWidget(QPointF pagePoint) const;
    QSize sizeHint() const override;

Q_SIGNALS:
    void editTextRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Handles: 0 top-left, 1 top, 2 top-right, 3 right, 4 bottom-right, 5 bottom, 6 bottom-left,
    // 7 left; -1 none.
    int handleAt(QPointF widgetPoint) const;
    QList<QRectF> handleRects(const QRectF& pageRect) const;
    void dragTo(QPointF widgetPoint);

    TemplateEditor& m_editor;
    double m_zoom = 1;
    enum class Drag { None, Move, Resize } m_drag = Drag::None;
    int m_handle = -1;
    QPointF m_pressPoint;  // page millimetres
    QRectF m_originalRect; // band-relative
};

} // namespace vaha::report

#include "report/designcanvas.h"

#include "report/layout.h"
#include "report/render.h"
#include "util/widgets/guarded.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace vaha::report {
namespace {

constexpr int kBorder = 20;        // pixels of grey around the paper
constexpr double kHandle = 6;      // handle size in pixels
constexpr double kMouseStep = 0.5; // mouse moves snap to half millimetres

double snap(double v) {
    return std::round(v / kMouseStep) * kMouseStep;
}

} // namespace

DesignCanvas::DesignCanvas(TemplateEditor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor) {
    setObjectName(QStringLiteral("DesignCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    connect(&m_editor, &TemplateEditor::changed, this, [this] {
        resize(sizeHint());
        update();
    });
    connect(&m_editor, &TemplateEditor::selectionChanged, this, qOverload<>(&QWidget::update));
}

void DesignCanvas::setZoom(double zoom) {
    m_zoom = zoom;
    resize(sizeHint());
    update();
}

double DesignCanvas::pixelsPerMm() const {
    return logicalDpiX() / 25.4 * m_zoom;
}

QPointF DesignCanvas::toPage(QPointF p) const {
    return (p - QPointF(kBorder, kBorder)) / pixelsPerMm();
}

QPointF DesignCanvas::toWidget(QPointF p) const {
    return p * pixelsPerMm() + QPointF(kBorder, kBorder);
}

QSize DesignCanvas::sizeHint() const {
    if (m_editor.report().pages.empty())
        return {2 * kBorder, 2 * kBorder};
    const Page& page = m_editor.page();
    return {int(std::ceil(page.width * pixelsPerMm())) + 2 * kBorder,
            int(std::ceil(page.height * pixelsPerMm())) + 2 * kBorder};
}

QList<QRectF> DesignCanvas::handleRects(const QRectF& pageRect) const {
    const QRectF r(toWidget(pageRect.topLeft()), toWidget(pageRect.bottomRight()));
    const QPointF points[8] = {
        r.topLeft(),     {r.center().x(), r.top()},    r.topRight(),   {r.right(), r.center().y()},
        r.bottomRight(), {r.center().x(), r.bottom()}, r.bottomLeft(), {r.left(), r.center().y()}};
    QList<QRectF> handles;
    for (const QPointF& p : points)
        handles << QRectF(p.x() - kHandle / 2, p.y() - kHandle / 2, kHandle, kHandle);
    return handles;
}

int DesignCanvas::handleAt(QPointF widgetPoint) const {
    const ObjectRef selection = m_editor.selection();
    if (!selection.isValid())
        return -1;
    const QList<QRectF> handles = handleRects(m_editor.objectRectOnPage(selection));
    for (int i = 0; i < handles.size(); ++i) {
        if (handles[i].adjusted(-2, -2, 2, 2).contains(widgetPoint))
            return i;
    }
    return -1;
}

void DesignCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (m_editor.report().pages.empty())
        return;
    const Page& page = m_editor.page();
    const double ppm = pixelsPerMm();
    auto widgetRect = [this](const QRectF& pageRect) {
        return QRectF(toWidget(pageRect.topLeft()), toWidget(pageRect.bottomRight()));
    };

    const QRectF paper = widgetRect({0, 0, page.width, page.height});
    painter.fillRect(paper.translated(3, 3), QColor(0, 0, 0, 90));
    painter.fillRect(paper, Qt::white);
    painter.setPen(QPen(QColor(180, 180, 180), 0, Qt::DotLine));
    painter.drawRect(widgetRect({page.marginLeft, page.marginTop, page.bandWidth(),
                                 page.height - page.marginTop - page.marginBottom}));

    // Bands, each with its name in its top-left corner.
    QFont labelFont = font();
    labelFont.setPointSizeF(7);
    for (int b = 0; b < int(page.bands.size()); ++b) {
        const Band& band = page.bands[std::size_t(b)];
        const QRectF r = widgetRect(page.bandRect(band));
        painter.fillRect(r, band.type == BandType::PageFooter ? QColor(232, 240, 255)
                                                              : QColor(255, 252, 236));
        const bool selected = !m_editor.selection().isValid() && m_editor.selectedBand() == b;
        painter.setPen(QPen(selected ? QColor(0, 90, 200) : QColor(200, 190, 150), 0));
        painter.drawRect(r);
        painter.setFont(labelFont);
        painter.setPen(QColor(150, 140, 110));
        painter.drawText(r.adjusted(2, 1, -2, -1), Qt::AlignRight | Qt::AlignTop,
                         QStringLiteral("%1: %2").arg(band.name, bandTypeName(band.type)));
    }

    // Objects as they print, showing their expressions, with a faint outline.
    PreparedPage shown;
    shown.size = {page.width, page.height};
    for (const Band& band : page.bands) {
        const QPointF origin = page.bandRect(band).topLeft();
        for (const TextObject& object : band.objects) {
            shown.texts.push_back(layoutText(object, object.text, origin));
            painter.setPen(QPen(QColor(170, 170, 170), 0, Qt::DashLine));
            painter.drawRect(widgetRect(object.rect().translated(origin)));
        }
    }
    painter.save();
    painter.translate(kBorder, kBorder);
    renderPage(painter, shown, ppm);
    painter.restore();

    const ObjectRef selection = m_editor.selection();
    if (selection.isValid()) {
        painter.setPen(QPen(QColor(0, 90, 200), 0));
        painter.drawRect(widgetRect(m_editor.objectRectOnPage(selection)));
        painter.setBrush(QColor(0, 90, 200));
        for (const QRectF& h : handleRects(m_editor.objectRectOnPage(selection)))
            painter.drawRect(h);
    }
}

void DesignCanvas::mousePressEvent(QMouseEvent* event) {
    ui::runGuarded(this, [&] {
        setFocus();
        if (event->button() != Qt::LeftButton || m_editor.report().pages.empty())
            return;
        m_pressPoint = toPage(event->position());
        m_handle = handleAt(event->position());
        if (m_handle < 0) {
            const ObjectRef hit = m_editor.objectAt(m_pressPoint);
            if (hit.isValid())
                m_editor.select(hit);
            else
                m_editor.selectBand(m_editor.bandAt(m_pressPoint));
        }
        if (TextObject* o = m_editor.selectedObject()) {
            m_originalRect = o->rect();
            m_drag = m_handle >= 0 ? Drag::Resize : Drag::Move;
        }
    });
}

void DesignCanvas::dragTo(QPointF widgetPoint) {
    const QPointF delta = toPage(widgetPoint) - m_pressPoint;
    const double dx = snap(delta.x()), dy = snap(delta.y());
    QRectF r = m_originalRect;
    if (m_drag == Drag::Move) {
        r.translate(dx, dy);
    } else {
        if (m_handle == 0 || m_handle == 6 || m_handle == 7)
            r.setLeft(std::min(r.left() + dx, r.right() - 1));
        if (m_handle >= 2 && m_handle <= 4)
            r.setRight(std::max(r.right() + dx, r.left() + 1));
        if (m_handle <= 2)
            r.setTop(std::min(r.top() + dy, r.bottom() - 1));
        if (m_handle >= 4 && m_handle <= 6)
            r.setBottom(std::max(r.bottom() + dy, r.top() + 1));
    }
    if (TextObject* o = m_editor.selectedObject(); o && o->rect() != r)
        m_editor.setGeometry(r);
}

void DesignCanvas::mouseMoveEvent(QMouseEvent* event) {
    ui::runGuarded(this, [&] {
        if (m_drag != Drag::None && (event->buttons() & Qt::LeftButton)) {
            dragTo(event->position());
            return;
        }
        static const Qt::CursorShape shapes[8] = {
            Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor,
            Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor, Qt::SizeHorCursor};
        const int handle = handleAt(event->position());
        if (handle >= 0)
            setCursor(shapes[handle]);
        else if (m_editor.objectAt(toPage(event->position())).isValid())
            setCursor(Qt::SizeAllCursor);
        else
            unsetCursor();
    });
}

void DesignCanvas::mouseReleaseEvent(QMouseEvent* event) {
    ui::runGuarded(this, [&] {
        if (m_drag != Drag::None && event->button() == Qt::LeftButton)
            dragTo(event->position());
        m_drag = Drag::None;
        m_handle = -1;
    });
}

void DesignCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    ui::runGuarded(this, [&] {
        if (m_editor.objectAt(toPage(event->position())).isValid())
            Q_EMIT editTextRequested();
    });
}

void DesignCanvas::keyPressEvent(QKeyEvent* event) {
    const bool fine = event->modifiers() & Qt::ControlModifier;
    const bool resize = event->modifiers() & Qt::ShiftModifier;
    const double step = fine ? 0.1 : 1.0;
    double dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -step;
        break;
    case Qt::Key_Right:
        dx = step;
        break;
    case Qt::Key_Up:
        dy = -step;
        break;
    case Qt::Key_Down:
        dy = step;
        break;
    case Qt::Key_Delete:
        ui::runGuarded(this, [this] { m_editor.deleteSelected(); });
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (!m_editor.selection().isValid()) {
        QWidget::keyPressEvent(event);
        return;
    }
    ui::runGuarded(this, [&] {
        if (resize)
            m_editor.resizeBy(dx, dy);
        else
            m_editor.moveBy(dx, dy);
    });
}

} // namespace vaha::report

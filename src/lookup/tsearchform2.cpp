#include "lookup/tsearchform2.h"

#include "db/query.h"
#include "lookup/searchlistmodel.h"
#include "lookup/skintitlebar.h"
#include "ui_tsearchform2.h"
#include "util/widgets/guarded.h"
#include "util/widgets/messages.h"
#include "util/widgets/waitcursor.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace vaha::lookup {
namespace {

// The list is drawn in Courier New; where it is missing, a monospaced font with every Czech
// letter stands in (the program maps the family at start, a test may not).
void ensureCourierStandIn() {
    const QString courier = QStringLiteral("Courier New");
    if (QFont::substitutes(courier).isEmpty())
        QFont::insertSubstitutions(
            courier, {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
}

// One fixed-height row per entry: its text 1 pixel right of and below the row's corner, over
// the row filled one pixel taller than the row.
class EntryDelegate : public QStyledItemDelegate {
public:
    EntryDelegate(int rowHeight, QObject* parent)
        : QStyledItemDelegate(parent), m_rowHeight(rowHeight) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width() > 0 ? option.rect.width() : 100, m_rowHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        painter->fillRect(option.rect.adjusted(0, 0, 0, 1),
                          selected ? pal.color(QPalette::Active, QPalette::Highlight)
                                   : pal.color(QPalette::Base));
        painter->setFont(option.font);
        painter->setPen(selected ? pal.color(QPalette::Active, QPalette::HighlightedText)
                                 : pal.color(QPalette::Text));
        painter->drawText(option.rect.adjusted(1, 1, 0, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(pal.color(QPalette::HighlightedText), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
    }

private:
    int m_rowHeight;
};

bool isNavigationKey(int key) {
    return key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up ||
           key == Qt::Key_Down;
}

bool isEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TSearchForm2::TSearchForm2(QWidget* owner, db::Query* dataSet, const QStringList& fieldList,
                           const QString& field, bool selectFields, int width,
                           const QString& okCaption, const QString& templateText,
                           const QString& caption)
    : QDialog(owner), m_ui(std::make_unique<Ui::TSearchForm2>()), m_owner(owner),
      m_dataSet(dataSet) {
    ensureCourierStandIn();
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    if (owner)
        setFont(owner->window()->font());
    m_rowHeight = QFontMetrics(m_ui->lbfindvalues->font()).height() + 2;

    m_model = new SearchListModel(m_lists, this);
    m_ui->lbfindvalues->setItemDelegate(new EntryDelegate(m_rowHeight, m_ui->lbfindvalues));
    m_ui->lbfindvalues->setModel(m_model);

    resize(width, height());
    if (m_dataSet)
        m_savedPosition = m_dataSet->bookmark();
    m_ui->btok->setText(okCaption);
    m_initialTemplate = templateText;
    m_captionText = caption;

    connect(m_ui->suiForm1, &SkinTitleBar::closeClicked, this, &TSearchForm2::reject);
    connect(m_ui->btok, &QPushButton::clicked, this, ui::guarded(this, &TSearchForm2::btokClick));
    connect(m_ui->btcancel, &QPushButton::clicked, this, &TSearchForm2::reject);
    connect(m_ui->suiButton1, &QPushButton::clicked, this,
            ui::guarded(this, &TSearchForm2::suiButton1Click));
    connect(m_ui->ckExtendedSearch, &QCheckBox::toggled, this,
            ui::guarded(this, &TSearchForm2::ckExtendedSearchClick));
    connect(m_ui->ckContext, &QCheckBox::toggled, this,
            ui::guarded(this, &TSearchForm2::ckContextClick));
    connect(m_ui->cbFields, &QComboBox::activated, this,
            ui::guarded(this, &TSearchForm2::cbFieldsChange));
    connect(m_ui->edtemplate, &QLineEdit::textChanged, this, [this] {
        if (m_templateAttached)
            ui::runGuarded(this, [this] { edtemplateChange(); });
    });
    connect(m_ui->lbfindvalues->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                ui::runGuarded(this, [this, current] { entrySelected(current); });
            });
    connect(m_ui->lbfindvalues, &QListView::doubleClicked, m_ui->btok, &QPushButton::click);

    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    if (m_dataSet)
        fillFieldChooser(fieldList, field);
    if (!selectFields) {
        m_ui->laFields->hide();
        m_ui->cbFields->hide();
    }
}

TSearchForm2::~TSearchForm2() = default;

void TSearchForm2::fillFieldChooser(const QStringList& fieldList, const QString& field) {
    QSignalBlocker block(m_ui->cbFields);
    m_ui->cbFields->clear();
    auto add = [this](int index) {
        m_ui->cbFields->addItem(m_dataSet->field(index).displayLabel(), index);
    };
    if (!fieldList.isEmpty()) {
        for (const QString& name : fieldList) {
            const int index = m_dataSet->fieldIndex(name);
            if (index >= 0)
                add(index);
        }
    } else {
        for (int i = 0; i < m_dataSet->fieldCount(); ++i) {
            const db::Field& f = m_dataSet->field(i);
            if (f.visible && !f.isBlob())
                add(i);
        }
    }
    m_hasFields = m_ui->cbFields->count() > 0;
    if (!m_hasFields)
        return;
    const int wanted = m_dataSet->fieldIndex(field);
    const int choice = wanted >= 0 ? m_ui->cbFields->findData(wanted) : -1;
    m_ui->cbFields->setCurrentIndex(choice >= 0 ? choice : 0);
    m_ui->cbFields->setMaxVisibleItems(m_ui->cbFields->count());
    cbFieldsChange();
}

void TSearchForm2::applySearchKind(TSearchKind kind) {
    if (kind != skNormal) {
        {
            QSignalBlocker block(m_ui->ckExtendedSearch);
            m_ui->ckExtendedSearch->setChecked(true);
        }
        ckExtendedSearchClick();
    }
    if (kind == skContext) {
        {
            QSignalBlocker block(m_ui->ckContext);
            m_ui->ckContext->setChecked(true);
        }
        ckContextClick();
    }
}

SearchMode TSearchForm2::mode() const {
    if (!m_ui->ckExtendedSearch->isChecked())
        return SearchMode::Plain;
    return m_ui->ckContext->isChecked() ? SearchMode::PartOfText : SearchMode::Prefix;
}

QString TSearchForm2::searchFieldName() const {
    return m_dataSet && m_field >= 0 ? m_dataSet->field(m_field).name : QString();
}

QString TSearchForm2::skinStyleName() const {
    return SkinTitleBar::styleName(m_ui->suiForm1->skinStyle());
}

void TSearchForm2::cbFieldsChange() {
    if (!m_dataSet)
        return;
    m_field = m_ui->cbFields->currentData().toInt();
    // Every field of a query holds data of its own, so each one can be located and plain
    // mode stays available.
    m_ui->ckExtendedSearch->setEnabled(true);
    if (mode() != SearchMode::Plain)
        buildList();
    else
        setTemplate(QString(), true);
    if (isVisible() && !m_ui->cbFields->view()->isVisible())
        m_ui->edtemplate->setFocus();
    UpdateDefaultButton();
}

void TSearchForm2::buildList() {
    {
        ui::WaitCursor wait;
        m_model->setShown({});
        m_lists.build(*m_dataSet, m_field, m_text);
        m_model->setShown(lookup::FilterValues(QString(), false, m_lists, m_text));
    }
    const bool wasAttached = m_templateAttached;
    m_templateAttached = false;
    try {
        if (mode() == SearchMode::PartOfText)
            setTemplate(QString(), false);
        else if (m_model->count() > 0)
            setTemplate(m_lists.value(m_model->entry(0)), false);
        if (m_model->count() > 0)
            selectRow(0);
    } catch (...) {
        m_templateAttached = wasAttached;
        throw;
    }
    m_templateAttached = wasAttached;
}

void TSearchForm2::ckExtendedSearchClick() {
    m_ui->ckContext->setVisible(m_ui->ckExtendedSearch->isChecked());
    layOut();
    cbFieldsChange();
}

void TSearchForm2::ckContextClick() {
    if (isVisible())
        m_ui->edtemplate->setFocus();
    else
        setTemplate(QString(), true);
    FilterValues(m_ui->edtemplate->text());
    m_ui->edtemplate->selectAll();
    UpdateDefaultButton();
}

void TSearchForm2::FilterValues(const QString& text) {
    if (mode() == SearchMode::Plain)
        return;
    const bool partOfText = m_ui->ckContext->isChecked();
    m_model->setShown(lookup::FilterValues(text, partOfText, m_lists, m_text));
    if (!partOfText && m_model->count() > 0)
        setTemplate(m_lists.value(m_model->entry(0)), true);
    if (m_model->count() > 0)
        selectRow(0);
    UpdateDefaultButton();
}

Nearest TSearchForm2::FindNearest(const QString& text) const {
    return lookup::FindNearest(text, m_lists, m_model->shown(), m_text);
}

void TSearchForm2::edtemplateChange() {
    switch (mode()) {
    case SearchMode::Plain:
        break;
    case SearchMode::PartOfText:
        FilterValues(m_ui->edtemplate->text());
        break;
    case SearchMode::Prefix: {
        const Nearest nearest = FindNearest(m_ui->edtemplate->text());
        if (nearest.found)
            selectRow(nearest.index);
        break;
    }
    }
    UpdateDefaultButton();
}

void TSearchForm2::selectRow(int row) {
    m_ui->lbfindvalues->setCurrentIndex(m_model->index(row));
}

QString TSearchForm2::selectedText() const {
    const QModelIndex current = m_ui->lbfindvalues->currentIndex();
    return current.isValid() ? m_lists.value(m_model->entry(current.row())) : QString();
}

void TSearchForm2::entrySelected(const QModelIndex& index) {
    if (!index.isValid() || mode() == SearchMode::Plain)
        return;
    const int entry = m_model->entry(index.row());
    const QString& mark = m_lists.bookmark(entry);
    if (m_dataSet && m_dataSet->bookmark() != mark)
        m_dataSet->gotoBookmark(mark);
    if (m_ui->lbfindvalues->hasFocus()) {
        if (mode() == SearchMode::Prefix)
            setTemplate(m_lists.value(entry), false);
        m_ui->edtemplate->selectAll();
    }
    UpdateDefaultButton();
}

void TSearchForm2::setTemplate(const QString& text, bool attached) {
    if (m_ui->edtemplate->text() == text)
        return;
    const bool wasAttached = m_templateAttached;
    {
        QSignalBlocker block(m_ui->edtemplate);
        m_ui->edtemplate->setText(text);
    }
    if (attached && wasAttached)
        edtemplateChange();
}

void TSearchForm2::UpdateDefaultButton() {
    m_acceptDefault = lookup::acceptIsDefault(mode(), m_ui->lbfindvalues->currentIndex().isValid(),
                                              m_ui->edtemplate->text(), selectedText());
    m_ui->btok->setDefault(m_acceptDefault);
}

bool TSearchForm2::LocateRecord() {
    ui::WaitCursor wait;
    return m_dataSet && m_dataSet->locate(searchFieldName(), m_ui->edtemplate->text());
}

void TSearchForm2::btokClick() {
    if (mode() != SearchMode::Plain) {
        accept();
        return;
    }
    if (LocateRecord()) {
        accept();
        return;
    }
    ui::showNotFound(this, QStringLiteral("Record not found"));
}

void TSearchForm2::suiButton1Click() {
    setTemplate(QString(), true);
}

void TSearchForm2::reject() {
    if (m_dataSet && !m_savedPosition.isEmpty())
        m_dataSet->gotoBookmark(m_savedPosition);
    QDialog::reject();
}

void TSearchForm2::layOut() {
    const bool listMode = m_ui->ckExtendedSearch->isChecked();
    setUpdatesEnabled(false);
    m_ui->pamiddle->setVisible(listMode);
    const int h = layout::clientHeight(listMode, m_rowHeight);
    resize(width(), h);
    setFixedHeight(h);
    setUpdatesEnabled(true);
}

void TSearchForm2::takeOwnersSkin() {
    SkinTitleBar::Style style = SkinTitleBar::Style::DeepBlue;
    if (m_owner) {
        for (const QObject* child : m_owner->findChildren<QObject*>()) {
            if (child->objectName().compare(QStringLiteral("suithememanager1"),
                                            Qt::CaseInsensitive) == 0) {
                style = SkinTitleBar::styleFromName(child->property("skinStyle").toString());
                break;
            }
        }
    }
    m_ui->suiForm1->setSkinStyle(style);
}

void TSearchForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    ui::runGuarded(this, [this] {
        takeOwnersSkin();
        layOut();
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        m_ui->edtemplate->setFocus();
        if (!m_captionText.isEmpty())
            setWindowTitle(m_captionText);
        if (!m_initialTemplate.isEmpty())
            setTemplate(m_initialTemplate, true);
    });
}

void TSearchForm2::anchorTemplateRow() {
    // The template grows with the window; "X" keeps to the right edge.
    const int w = m_ui->patop->width();
    QRect edit = m_ui->edtemplate->geometry();
    edit.setWidth(qMax(20, w - edit.left() - 28));
    m_ui->edtemplate->setGeometry(edit);
    m_ui->suiButton1->move(edit.right() + 1, m_ui->suiButton1->y());
}

bool TSearchForm2::refuseCharacter(QKeyEvent* key) const {
    if (!m_dataSet || m_field < 0 || key->text().isEmpty())
        return false;
    if (mode() != SearchMode::Plain && m_model->count() == 0)
        return false;
    const db::Field& f = m_dataSet->field(m_field);
    for (const QChar c : key->text()) {
        if (c.unicode() >= 32 && !f.acceptsCharacter(c))
            return true;
    }
    return false;
}

bool TSearchForm2::handleKey(QObject* watched, QKeyEvent* key) {
    const int code = key->key();
    if (code == Qt::Key_Escape)
        return true; // no function
    if (isEnterKey(code)) {
        if (watched == m_ui->cbFields || m_ui->cbFields->hasFocus())
            m_ui->edtemplate->setFocus();
        else if (m_acceptDefault)
            m_ui->btok->click();
        return true;
    }
    if (mode() != SearchMode::Plain && !m_ui->cbFields->hasFocus()) {
        if (isNavigationKey(code) && watched != m_ui->lbfindvalues) {
            QKeyEvent copy(key->type(), code, key->modifiers(), key->text());
            QCoreApplication::sendEvent(m_ui->lbfindvalues, &copy);
            QCoreApplication::processEvents();
            if (mode() == SearchMode::Prefix && m_ui->lbfindvalues->currentIndex().isValid()) {
                setTemplate(selectedText(), false);
                m_ui->edtemplate->selectAll();
            }
            UpdateDefaultButton();
            return true;
        }
    }
    if (watched == m_ui->edtemplate && refuseCharacter(key)) {
        QApplication::beep();
        return true;
    }
    return false;
}

bool TSearchForm2::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        bool handled = false;
        ui::runGuarded(this, [&] { handled = handleKey(watched, static_cast<QKeyEvent*>(event)); });
        return handled;
    }
    case QEvent::FocusIn:
        // An entry drawn as focused takes the template with it, also a click on the entry
        // that was selected already.
        if (watched == m_ui->lbfindvalues) {
            const QModelIndex current = m_ui->lbfindvalues->currentIndex();
            ui::runGuarded(this, [this, current] { entrySelected(current); });
        }
        break;
    case QEvent::Resize:
        if (watched == m_ui->patop)
            anchorTemplateRow();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TSearchForm2::keyPressEvent(QKeyEvent* event) {
    bool handled = false;
    ui::runGuarded(this, [&] { handled = handleKey(this, event); });
    if (!handled)
        QDialog::keyPressEvent(event);
}

void TSearchForm2::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TSearchForm2::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange)
        m_ui->suiForm1->update();
}

} // namespace vaha::lookup

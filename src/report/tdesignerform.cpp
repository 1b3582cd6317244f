#include "report/tdesignerform.h"

#include "report/designcanvas.h"
#include "report/modal.h"
#include "report/report.h"
#include "report/reportdocument.h"
#include "report/tpagesetupform.h"
#include "report/tpreviewform.h"
#include "util/widgets/guarded.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vaha::report {
namespace {

QDoubleSpinBox* lengthBox(QWidget* parent, const char* name, double minimum = -1000) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(2);
    box->setRange(minimum, 1000);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    box->setKeyboardTracking(false);
    return box;
}

void setValue(QDoubleSpinBox* box, double value) {
    if (box->value() != value) {
        const QSignalBlocker block(box);
        box->setValue(value);
    }
}

void setChecked(QCheckBox* box, bool checked) {
    const QSignalBlocker block(box);
    box->setChecked(checked);
}

void setIndex(QComboBox* box, int index) {
    const QSignalBlocker block(box);
    box->setCurrentIndex(index);
}

void setLine(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) {
        const QSignalBlocker block(edit);
        edit->setText(text);
    }
}

// The reference to a column or variable as a text object writes it.
QString referenceOf(QTreeWidgetItem* item) {
    const QString kind = item->data(0, Qt::UserRole).toString();
    if (kind == u"field") {
        return QStringLiteral("[%1.\"%2\"]").arg(item->parent()->text(0), item->text(0));
    }
    if (kind == u"variable")
        return QStringLiteral("[%1]").arg(item->text(0));
    return {};
}

} // namespace

TDesignerForm::TDesignerForm(ReportDocument& document, const QString& suggestedFileName,
                             QWidget* parent)
    : QDialog(parent), m_document(document), m_suggested(suggestedFileName),
      m_editor(document.reportTemplate()) {
    setObjectName(QStringLiteral("frxDesignerForm"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setWindowFlag(Qt::WindowMinimizeButtonHint);
    setSizeGripEnabled(true);
    m_editor.ensurePage();
    m_editor.setModified(false);
    buildUi();
    connect(&m_editor, &TemplateEditor::selectionChanged, this, [this] { refreshInspector(); });
    connect(&m_editor, &TemplateEditor::changed, this, [this] {
        refreshInspector();
        updateTitle();
    });
    connect(m_canvas, &DesignCanvas::editTextRequested, this, [this] {
        m_text->setFocus();
        m_text->selectAll();
    });
    refreshInspector();
    refreshVariables();
    refreshData();
    updateTitle();
    resize(1200, 800);
    setWindowState(windowState() | Qt::WindowMaximized);
}

TDesignerForm::~TDesignerForm() = default;

void TDesignerForm::keyPressEvent(QKeyEvent* event) {
    // Closing never asks to save, so a stray Esc (say, while typing a text) must not close.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TDesignerForm::buildUi() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("DesignerToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(bar);
    auto add = [this, bar](const char* name, const QString& text, const QKeySequence& key,
                           void (TDesignerForm::*handler)()) {
        QAction* action = bar->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, ui::guarded(this, handler));
        return action;
    };
    add("SaveB", QStringLiteral("Uložit"), QKeySequence::Save, &TDesignerForm::SaveBClick);
    add("SaveAsB", QStringLiteral("Uložit jako…"), QKeySequence::SaveAs,
        &TDesignerForm::SaveAsBClick);
    bar->addSeparator();
    add("InsertTextB", QStringLiteral("Nový text"), QKeySequence(Qt::Key_Insert),
        &TDesignerForm::InsertTextBClick);
    add("DeleteB", QStringLiteral("Smazat"), {}, &TDesignerForm::DeleteBClick);
    add("PageSetupB", QStringLiteral("Stránka…"), {}, &TDesignerForm::PageSetupBClick);
    bar->addSeparator();
    add("PreviewB", QStringLiteral("Náhled"), QKeySequence::Print, &TDesignerForm::PreviewBClick);
    m_zoom = new QComboBox(bar);
    m_zoom->setObjectName(QStringLiteral("ZoomCB"));
    for (int z : {50, 75, 100, 150, 200})
        m_zoom->addItem(QStringLiteral("%1 %").arg(z), z / 100.0);
    m_zoom->setCurrentIndex(2);
    connect(m_zoom, &QComboBox::activated, this,
            [this] { m_canvas->setZoom(m_zoom->currentData().toDouble()); });
    bar->addWidget(m_zoom);
    bar->addSeparator();
    QAction* close = bar->addAction(QStringLiteral("Zavřít"));
    close->setObjectName(QStringLiteral("CloseB"));
    connect(close, &QAction::triggered, this, &QDialog::accept);

    auto* splitter = new QSplitter(this);
    m_scroll = new QScrollArea(splitter);
    m_scroll->setObjectName(QStringLiteral("DesignScroll"));
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_canvas = new DesignCanvas(m_editor);
    m_scroll->setWidget(m_canvas);
    m_canvas->resize(m_canvas->sizeHint());
    auto* tabs = new QTabWidget(splitter);
    tabs->setObjectName(QStringLiteral("DesignerTabs"));
    tabs->addTab(buildInspector(), QStringLiteral("Objekt"));
    tabs->addTab(buildVariables(), QStringLiteral("Proměnné"));
    tabs->addTab(buildData(), QStringLiteral("Data"));
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);
}

QWidget* TDesignerForm::buildInspector() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);

    m_objectBox = new QGroupBox(QStringLiteral("Textový objekt"), page);
    auto* form = new QFormLayout(m_objectBox);
    m_name = new QLineEdit(m_objectBox);
    m_name->setObjectName(QStringLiteral("NameE"));
    connect(m_name, &QLineEdit::editingFinished, this,
            ui::guarded(this, &TDesignerForm::applyName));
    form->addRow(QStringLiteral("Jméno"), m_name);
    m_left = lengthBox(m_objectBox, "LeftE");
    m_top = lengthBox(m_objectBox, "TopE");
    m_width = lengthBox(m_objectBox, "WidthE", 1);
    m_height = lengthBox(m_objectBox, "HeightE", 1);
    for (QDoubleSpinBox* box : {m_left, m_top, m_width, m_height}) {
        connect(box, &QDoubleSpinBox::valueChanged, this,
                ui::guarded(this, &TDesignerForm::applyGeometry));
    }
    form->addRow(QStringLiteral("Vlevo"), m_left);
    form->addRow(QStringLiteral("Nahoře"), m_top);
    form->addRow(QStringLiteral("Šířka"), m_width);
    form->addRow(QStringLiteral("Výška"), m_height);
    m_text = new QPlainTextEdit(m_objectBox);
    m_text->setObjectName(QStringLiteral("TextE"));
    m_text->setTabChangesFocus(true);
    connect(m_text, &QPlainTextEdit::textChanged, this,
            ui::guarded(this, &TDesignerForm::applyText));
    form->addRow(QStringLiteral("Text"), m_text);

    m_fontFamily = new QComboBox(m_objectBox);
    m_fontFamily->setObjectName(QStringLiteral("FontCB"));
    m_fontFamily->setEditable(true);
    m_fontFamily->addItems({QStringLiteral("Arial"), QStringLiteral("Tahoma"),
                            QStringLiteral("Times New Roman"), QStringLiteral("Courier New"),
                            QStringLiteral("Verdana")});
    connect(m_fontFamily, &QComboBox::currentTextChanged, this,
            ui::guarded(this, &TDesignerForm::applyFont));
    form->addRow(QStringLiteral("Písmo"), m_fontFamily);
    m_fontSize = new QDoubleSpinBox(m_objectBox);
    m_fontSize->setObjectName(QStringLiteral("FontSizeE"));
    m_fontSize->setRange(1, 200);
    m_fontSize->setDecimals(1);
    m_fontSize->setSuffix(QStringLiteral(" b."));
    m_fontSize->setKeyboardTracking(false);
    connect(m_fontSize, &QDoubleSpinBox::valueChanged, this,
            ui::guarded(this, &TDesignerForm::applyFont));
    form->addRow(QStringLiteral("Velikost"), m_fontSize);
    auto* style = new QHBoxLayout;
    m_bold = new QCheckBox(QStringLiteral("tučné"), m_objectBox);
    m_bold->setObjectName(QStringLiteral("BoldCB"));
    m_italic = new QCheckBox(QStringLiteral("kurzíva"), m_objectBox);
    m_italic->setObjectName(QStringLiteral("ItalicCB"));
    m_underline = new QCheckBox(QStringLiteral("podtržené"), m_objectBox);
    m_underline->setObjectName(QStringLiteral("UnderlineCB"));
    for (QCheckBox* box : {m_bold, m_italic, m_underline}) {
        connect(box, &QCheckBox::toggled, this, ui::guarded(this, &TDesignerForm::applyFont));
        style->addWidget(box);
    }
    form->addRow(QStringLiteral("Řez"), style);
    m_align = new QComboBox(m_objectBox);
    m_align->setObjectName(QStringLiteral("AlignCB"));
    m_align->addItems(
        {QStringLiteral("vlevo"), QStringLiteral("na střed"), QStringLiteral("vpravo")});
    m_valign = new QComboBox(m_objectBox);
    m_valign->setObjectName(QStringLiteral("VAlignCB"));
    m_valign->addItems(
        {QStringLiteral("nahoru"), QStringLiteral("na střed"), QStringLiteral("dolů")});
    for (QComboBox* box : {m_align, m_valign}) {
        connect(box, &QComboBox::activated, this,
                ui::guarded(this, &TDesignerForm::applyAlignment));
    }
    form->addRow(QStringLiteral("Zarovnání"), m_align);
    form->addRow(QStringLiteral("Svisle"), m_valign);
    m_wordWrap = new QCheckBox(QStringLiteral("zalamovat slova"), m_objectBox);
    m_wordWrap->setObjectName(QStringLiteral("WordWrapCB"));
    connect(m_wordWrap, &QCheckBox::toggled, this,
            ui::guarded(this, &TDesignerForm::applyWordWrap));
    form->addRow(QString(), m_wordWrap);
    m_format = new QLineEdit(m_objectBox);
    m_format->setObjectName(QStringLiteral("FormatE"));
    m_format->setPlaceholderText(QStringLiteral("např. dd.mm.yyyy"));
    connect(m_format, &QLineEdit::editingFinished, this,
            ui::guarded(this, &TDesignerForm::applyFormat));
    form->addRow(QStringLiteral("Formát data"), m_format);
    column->addWidget(m_objectBox);

    m_bandBox = new QGroupBox(QStringLiteral("Pás"), page);
    auto* bandForm = new QFormLayout(m_bandBox);
    m_bandHeight = lengthBox(m_bandBox, "BandHeightE", 1);
    connect(m_bandHeight, &QDoubleSpinBox::valueChanged, this,
            ui::guarded(this, &TDesignerForm::applyBandHeight));
    bandForm->addRow(QStringLiteral("Výška"), m_bandHeight);
    column->addWidget(m_bandBox);
    column->addStretch();
    return page;
}

QWidget* TDesignerForm::buildVariables() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    m_variables = new QTableWidget(0, 2, page);
    m_variables->setObjectName(QStringLiteral("VariablesGrid"));
    m_variables->setHorizontalHeaderLabels({QStringLiteral("Jméno"), QStringLiteral("Hodnota")});
    m_variables->horizontalHeader()->setStretchLastSection(true);
    m_variables->verticalHeader()->hide();
    connect(m_variables, &QTableWidget::itemChanged, this,
            ui::guarded(this, &TDesignerForm::applyVariables));
    column->addWidget(m_variables);
    auto* buttons = new QHBoxLayout;
    auto* addButton = new QPushButton(QStringLiteral("Přidat"), page);
    addButton->setObjectName(QStringLiteral("AddVariableB"));
    connect(addButton, &QPushButton::clicked, this,
            ui::guarded(this, &TDesignerForm::AddVariableBClick));
    auto* deleteButton = new QPushButton(QStringLiteral("Odebrat"), page);
    deleteButton->setObjectName(QStringLiteral("DeleteVariableB"));
    connect(deleteButton, &QPushButton::clicked, this,
            ui::guarded(this, &TDesignerForm::DeleteVariableBClick));
    buttons->addWidget(addButton);
    buttons->addWidget(deleteButton);
    buttons->addStretch();
    column->addLayout(buttons);
    return page;
}

QWidget* TDesignerForm::buildData() {
    m_data = new QTreeWidget;
    m_data->setObjectName(QStringLiteral("DataTree"));
    m_data->setHeaderLabel(QStringLiteral("Dvojklik vloží hodnotu do textu"));
    connect(m_data, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        ui::runGuarded(this, [&] { insertReference(item); });
    });
    return m_data;
}

void TDesignerForm::updateTitle() {
    const QString file = m_document.fileName().isEmpty()
                             ? QStringLiteral("(nová šablona)")
                             : QFileInfo(m_document.fileName()).fileName();
    setWindowTitle(QStringLiteral("Návrh sestavy – %1%2")
                       .arg(file, m_editor.isModified() ? QStringLiteral(" *") : QString()));
}

void TDesignerForm::refreshInspector() {
    const TextObject* o = m_editor.selectedObject();
    m_objectBox->setEnabled(o != nullptr);
    const int band = m_editor.selectedBand();
    m_bandBox->setEnabled(band >= 0);
    if (band >= 0)
        setValue(m_bandHeight, m_editor.page().bands[std::size_t(band)].height);
    if (!o) {
        setLine(m_name, QString());
        const QSignalBlocker block(m_text);
        m_text->clear();
        return;
    }
    setLine(m_name, o->name);
    setValue(m_left, o->left);
    setValue(m_top, o->top);
    setValue(m_width, o->width);
    setValue(m_height, o->height);
    if (m_text->toPlainText() != o->text) {
        const QSignalBlocker block(m_text);
        m_text->setPlainText(o->text);
    }
    if (m_fontFamily->currentText() != o->font.family) {
        const QSignalBlocker block(m_fontFamily);
        m_fontFamily->setCurrentText(o->font.family);
    }
    setValue(m_fontSize, o->font.size);
    setChecked(m_bold, o->font.bold);
    setChecked(m_italic, o->font.italic);
    setChecked(m_underline, o->font.underline);
    setIndex(m_align, int(o->hAlign));
    setIndex(m_valign, int(o->vAlign));
    setChecked(m_wordWrap, o->wordWrap);
    setLine(m_format, o->format);
}

void TDesignerForm::refreshVariables() {
    const QSignalBlocker block(m_variables);
    const auto& variables = m_editor.report().variables;
    m_variables->setRowCount(int(variables.size()));
    for (int i = 0; i < int(variables.size()); ++i) {
        m_variables->setItem(i, 0, new QTableWidgetItem(variables[std::size_t(i)].name));
        m_variables->setItem(i, 1, new QTableWidgetItem(variables[std::size_t(i)].value));
    }
}

void TDesignerForm::refreshData() {
    m_data->clear();
    for (const QString& name : m_document.dataSetNames()) {
        auto* dataSet = new QTreeWidgetItem(m_data, {name});
        for (const QString& field : m_document.fieldNames(name)) {
            auto* item = new QTreeWidgetItem(dataSet, {field});
            item->setData(0, Qt::UserRole, QStringLiteral("field"));
        }
    }
    auto* variables = new QTreeWidgetItem(m_data, {QStringLiteral("Proměnné")});
    for (const Variable& v : m_editor.report().variables) {
        auto* item = new QTreeWidgetItem(variables, {v.name});
        item->setData(0, Qt::UserRole, QStringLiteral("variable"));
    }
    m_data->expandAll();
}

void TDesignerForm::applyName() {
    try {
        m_editor.rename(m_name->text());
    } catch (...) {
        refreshInspector();
        throw;
    }
}

void TDesignerForm::applyGeometry() {
    m_editor.setGeometry({m_left->value(), m_top->value(), m_width->value(), m_height->value()});
}

void TDesignerForm::applyText() {
    m_editor.setText(m_text->toPlainText());
}

void TDesignerForm::applyFont() {
    if (!m_editor.selectedObject())
        return;
    TextFont font;
    font.family = m_fontFamily->currentText().trimmed();
    if (font.family.isEmpty())
        return;
    font.size = m_fontSize->value();
    font.bold = m_bold->isChecked();
    font.italic = m_italic->isChecked();
    font.underline = m_underline->isChecked();
    m_editor.setFont(font);
}

void TDesignerForm::applyAlignment() {
    m_editor.setHAlign(HAlign(m_align->currentIndex()));
    m_editor.setVAlign(VAlign(m_valign->currentIndex()));
}

void TDesignerForm::applyWordWrap() {
    m_editor.setWordWrap(m_wordWrap->isChecked());
}

void TDesignerForm::applyFormat() {
    m_editor.setFormat(m_format->text().trimmed());
}

void TDesignerForm::applyBandHeight() {
    m_editor.setBandHeight(m_editor.selectedBand(), m_bandHeight->value());
}

void TDesignerForm::applyVariables() {
    std::vector<Variable> variables;
    for (int row = 0; row < m_variables->rowCount(); ++row) {
        const QTableWidgetItem* name = m_variables->item(row, 0);
        const QTableWidgetItem* value = m_variables->item(row, 1);
        const QString text = name ? name->text().trimmed() : QString();
        if (!text.isEmpty())
            variables.push_back({text, value ? value->text() : QString()});
    }
    m_editor.setVariables(variables);
    refreshData();
}

void TDesignerForm::AddVariableBClick() {
    int n = 1;
    while (m_editor.report().variable(QStringLiteral("promenna%1").arg(n)))
        ++n;
    auto variables = m_editor.report().variables;
    variables.push_back({QStringLiteral("promenna%1").arg(n), QString()});
    m_editor.setVariables(variables);
    refreshVariables();
    refreshData();
    m_variables->setCurrentCell(m_variables->rowCount() - 1, 0);
}

void TDesignerForm::DeleteVariableBClick() {
    const int row = m_variables->currentRow();
    auto variables = m_editor.report().variables;
    if (row < 0 || row >= int(variables.size()))
        return;
    variables.erase(variables.begin() + row);
    m_editor.setVariables(variables);
    refreshVariables();
    refreshData();
}

void TDesignerForm::insertReference(QTreeWidgetItem* item) {
    const QString reference = referenceOf(item);
    if (reference.isEmpty() || !m_editor.selectedObject())
        return;
    m_text->insertPlainText(reference);
    m_text->setFocus();
}

void TDesignerForm::InsertTextBClick() {
    const int band = m_editor.selectedBand();
    QPointF at(0, 0);
    if (const TextObject* o = m_editor.selectedObject())
        at = {o->left, o->top + o->height}; // below the selected object
    m_editor.addTextObject(band, at);
    m_canvas->setFocus();
}

void TDesignerForm::DeleteBClick() {
    m_editor.deleteSelected();
}

void TDesignerForm::PageSetupBClick() {
    TPageSetupForm form(m_editor.page(), this);
    if (execModal(form) == QDialog::Accepted) {
        m_editor.setPageSetup(form.paperNumber(), form.orientation(), form.pageWidth(),
                              form.pageHeight(), form.margins());
    }
}

void TDesignerForm::PreviewBClick() {
    if (!prepareShowingErrors(m_document, this))
        return;
    TPreviewForm preview(m_document, this);
    execModal(preview);
}

void TDesignerForm::saveTo(const QString& path) {
    m_document.saveToFile(path);
    m_editor.setModified(false);
    updateTitle();
}

void TDesignerForm::SaveBClick() {
    if (m_document.fileName().isEmpty())
        SaveAsBClick();
    else
        saveTo(m_document.fileName());
}

void TDesignerForm::SaveAsBClick() {
    const QString suggested = m_document.fileName().isEmpty() ? m_suggested : m_document.fileName();
    const QString path =
        askSaveFileName(this, QStringLiteral("Uložit šablonu"), suggested,
                        QStringLiteral("Šablona sestavy (*.fr3)"), QStringLiteral("fr3"));
    if (!path.isEmpty())
        saveTo(path);
}

} // namespace vaha::report

#pragma once

#include "report/templateeditor.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QScrollArea;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vaha::report {

class DesignCanvas;
class ReportDocument;

// The modal template designer: the page at scale with its bands and objects, an inspector for
// the selected object (text, font, alignment, exact position in millimetres), the variables and
// the data set's columns. "Uložit" writes the template back to the report's file name, or asks
// for one when the template file was missing. Closing never asks to save.
class TDesignerForm : public QDialog {
    Q_OBJECT
public:
    // `suggestedFileName`: offered when the report has no file name yet.
    TDesignerForm(ReportDocument& document, const QString& suggestedFileName,
                  QWidget* parent = nullptr);
    ~TDesignerForm() override;

    TemplateEditor& editor() { return m_editor; }
    DesignCanvas& canvas() { return *m_canvas; }

    // Toolbar handlers.
    void SaveBClick();
    void SaveAsBClick();
    void InsertTextBClick();
    void DeleteBClick();
    void PageSetupBClick();
    void PreviewBClick();
    void AddVariableBClick();
    void DeleteVariableBClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildUi();
    QWidget* buildInspector();
    QWidget* buildVariables();
    QWidget* buildData();
    void saveTo(const QString& path);
    void updateTitle();
    void refreshInspector();
    void refreshVariables();
    void refreshData();
    void applyName();
    void applyGeometry();
    void applyText();
    void applyFont();
    void applyAlignment();
    void applyWordWrap();
    void applyFormat();
    void applyBandHeight();
    void applyVariables();
    void insertReference(QTreeWidgetItem* item);

    ReportDocument& m_document;
    QString m_suggested;
    TemplateEditor m_editor;
    DesignCanvas* m_canvas = nullptr;
    QScrollArea* m_scroll = nullptr;
    QComboBox* m_zoom = nullptr;

    QGroupBox* m_objectBox = nullptr;
    QLineEdit* m_name = nullptr;
    QDoubleSpinBox* m_left = nullptr;
    QDoubleSpinBox* m_top = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QComboBox* m_fontFamily = nullptr;
    QDoubleSpinBox* m_fontSize = nullptr;
    QCheckBox* m_bold = nullptr;
    QCheckBox* m_italic = nullptr;
    QCheckBox* m_underline = nullptr;
    QComboBox* m_align = nullptr;
    QComboBox* m_valign = nullptr;
    QCheckBox* m_wordWrap = nullptr;
    QLineEdit* m_format = nullptr;
    QGroupBox* m_bandBox = nullptr;
    QDoubleSpinBox* m_bandHeight = nullptr;
    QTableWidget* m_variables = nullptr;
    QTreeWidget* m_data = nullptr;
};

} // namespace vaha::report

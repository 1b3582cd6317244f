#pragma once

#include "report/template.h"

#include <QDialog>
#include <QMarginsF>

class QComboBox;
class QDoubleSpinBox;

namespace vaha::report {

// The designer's page settings: paper, orientation, size of custom paper and margins.
class TPageSetupForm : public QDialog {
    Q_OBJECT
public:
    TPageSetupForm(const Page& page, QWidget* parent = nullptr);

    int paperNumber() const;
    Orientation orientation() const;
    double pageWidth() const;
    double pageHeight() const;
    QMarginsF margins() const;

private:
    void paperChanged();

    QComboBox* m_paper = nullptr;
    QComboBox* m_orientation = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QDoubleSpinBox* m_margins[4] = {};
};

} // namespace vaha::report

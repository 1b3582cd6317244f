#include "report/tpagesetupform.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

namespace vaha::report {
namespace {

QDoubleSpinBox* lengthBox(QWidget* parent, const char* name, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(2);
    box->setRange(0, 2000);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
}

} // namespace

TPageSetupForm::TPageSetupForm(const Page& page, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PageSetupForm"));
    setWindowTitle(QStringLiteral("Stránka"));
    auto* form = new QFormLayout(this);
    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("PaperCB"));
    m_paper->addItem(QStringLiteral("A4"), paper::A4);
    m_paper->addItem(QStringLiteral("A5"), paper::A5);
    m_paper->addItem(QStringLiteral("A3"), paper::A3);
    m_paper->addItem(QStringLiteral("Letter"), paper::Letter);
    m_paper->addItem(QStringLiteral("vlastní"), paper::Custom);
    const int index = m_paper->findData(page.paper);
    m_paper->setCurrentIndex(index >= 0 ? index : m_paper->count() - 1);
    form->addRow(QStringLiteral("Papír"), m_paper);
    m_orientation = new QComboBox(this);
    m_orientation->setObjectName(QStringLiteral("OrientationCB"));
    m_orientation->addItems({QStringLiteral("na výšku"), QStringLiteral("na šířku")});
    m_orientation->setCurrentIndex(page.orientation == Orientation::Landscape ? 1 : 0);
    form->addRow(QStringLiteral("Orientace"), m_orientation);
    m_width = lengthBox(this, "PageWidthE", page.width);
    m_height = lengthBox(this, "PageHeightE", page.height);
    form->addRow(QStringLiteral("Šířka"), m_width);
    form->addRow(QStringLiteral("Výška"), m_height);
    const char* names[4] = {"MarginLeftE", "MarginTopE", "MarginRightE", "MarginBottomE"};
    const double values[4] = {page.marginLeft, page.marginTop, page.marginRight, page.marginBottom};
    const QString labels[4] = {QStringLiteral("Okraj vlevo"), QStringLiteral("Okraj nahoře"),
                               QStringLiteral("Okraj vpravo"), QStringLiteral("Okraj dole")};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = lengthBox(this, names[i], values[i]);
        form->addRow(labels[i], m_margins[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    connect(m_paper, &QComboBox::currentIndexChanged, this, &TPageSetupForm::paperChanged);
    connect(m_orientation, &QComboBox::currentIndexChanged, this, &TPageSetupForm::paperChanged);
    paperChanged();
}

void TPageSetupForm::paperChanged() {
    QSizeF size = paper::portraitSize(paperNumber());
    const bool custom = size.isEmpty();
    m_width->setEnabled(custom);
    m_height->setEnabled(custom);
    if (custom)
        return;
    if (orientation() == Orientation::Landscape)
        size.transpose();
    m_width->setValue(size.width());
    m_height->setValue(size.height());
}

int TPageSetupForm::paperNumber() const {
    return m_paper->currentData().toInt();
}

Orientation TPageSetupForm::orientation() const {
    return m_orientation->currentIndex() == 1 ? Orientation::Landscape : Orientation::Portrait;
}

double TPageSetupForm::pageWidth() const {
    return m_width->value();
}

double TPageSetupForm::pageHeight() const {
    return m_height->value();
}

QMarginsF TPageSetupForm::margins() const {
    return {m_margins[0]->value(), m_margins[1]->value(), m_margins[2]->value(),
            m_margins[3]->value()};
}

} // namespace vaha::report

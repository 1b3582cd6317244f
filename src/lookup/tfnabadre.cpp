#include "lookup/tfnabadre.h"

#include "lookup/applicationhotkey.h"
#include "lookup/tradbsearch.h"
#include "ui_tfnabadre.h"
#include "util/widgets/guarded.h"
#include "util/widgets/waitcursor.h"

#include <QKeyEvent>
#include <QShowEvent>

namespace vaha::lookup {
namespace {

constexpr int kNameColumn = 1; // "Název podniku", the column F3 searches
constexpr int kSearchWidth = 600;

} // namespace

TFnabadre::TFnabadre(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TFnabadre>()),
      m_hotKey1(new ApplicationHotKey(Qt::Key_Return, this)),
      m_hotKey3(new ApplicationHotKey(Qt::Key_F3, this)) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    m_hotKey1->setObjectName(QStringLiteral("JvApplicationHotKey1"));
    m_hotKey3->setObjectName(QStringLiteral("JvApplicationHotKey3"));
    // The skin the search dialog copies from its owner.
    auto* theme = new QObject(this);
    theme->setObjectName(QStringLiteral("suiThemeManager1"));
    theme->setProperty("skinStyle", QStringLiteral("WinXP"));

    m_zqAdre.setObjectName(QStringLiteral("zqAdre"));
    m_zqAdre.setSql(partnerListSql());
    m_ui->DBGrid1->setQuery(&m_zqAdre);
    m_ui->DBGrid1->setColumns(gridColumns());
    m_ui->DBGrid1->setRowSelect(true);

    connect(m_ui->Button1, &QPushButton::clicked, this,
            ui::guarded(this, &TFnabadre::suitempButton1Click));
    connect(m_ui->Button2, &QPushButton::clicked, this,
            ui::guarded(this, &TFnabadre::suitempButton2Click));
    connect(m_ui->DBGrid1, &QAbstractItemView::doubleClicked, this,
            ui::guarded(this, &TFnabadre::suitempButton1Click));
    connect(m_ui->DBGrid1, &ui::DataGrid::titleClicked, this, [this](int column) {
        ui::runGuarded(this, [this, column] { suitempDBGrid1TitleClick(column); });
    });
    connect(m_hotKey1, &ApplicationHotKey::hotKey, this,
            ui::guarded(this, &TFnabadre::suitempButton1Click));
    connect(m_hotKey3, &ApplicationHotKey::hotKey, this,
            ui::guarded(this, &TFnabadre::JvApplicationHotKey3HotKey));
}

TFnabadre::~TFnabadre() = default;

QStringList TFnabadre::partnerListSql() {
    return {QStringLiteral("select * from adresar order by ico")};
}

QList<db::GridColumn> TFnabadre::gridColumns() {
    auto col = [](const QString& field, const QString& title, int width) {
        return db::GridColumn{field, title, {}, {}, width};
    };
    return {
        col(QStringLiteral("ICO"), QStringLiteral("IČO"), 65),
        col(QStringLiteral("NAZEVPODNI"), QStringLiteral("Název podniku"), 180),
        col(QStringLiteral("SIDLO"), QStringLiteral("Sídlo"), 180),
        col(QStringLiteral("ULICECISLO"), QStringLiteral("Ulice , číslo"), 180),
        col(QStringLiteral("PSC"), QStringLiteral("PSČ"), -1),
        col(QStringLiteral("POSTA"), QStringLiteral("Pošta"), 150),
    };
}

bool TFnabadre::hotKeysActive() const {
    return m_hotKey1->isActive() && m_hotKey3->isActive();
}

void TFnabadre::setHotKeysActive(bool active) {
    m_hotKey1->setActive(active);
    m_hotKey3->setActive(active);
}

void TFnabadre::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ui::runGuarded(this, [this] { FormShow(); });
}

void TFnabadre::hideEvent(QHideEvent* event) {
    if (!event->spontaneous())
        FormClose();
    QDialog::hideEvent(event);
}

void TFnabadre::keyPressEvent(QKeyEvent* event) {
    // Only "Zpět" and the close button leave without taking; Esc does nothing here.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TFnabadre::FormShow() {
    move(0, 100);
    setHotKeysActive(true);
    m_zqAdre.open(); // an open query stays as it is: no new read
}

void TFnabadre::FormClose() {
    setHotKeysActive(false);
}

void TFnabadre::suitempButton1Click() {
    Tag = 1;
    accept();
}

void TFnabadre::suitempButton2Click() {
    reject();
}

void TFnabadre::suitempDBGrid1TitleClick(int column) {
    const QList<db::GridColumn> columns = m_ui->DBGrid1->queryModel()->columns();
    if (column < 0 || column >= columns.size())
        return;
    const QString field = columns[column].fieldName;
    // Enter and F3 belong to the search dialog while it is open; they come back afterwards,
    // also when sorting or searching fails.
    setHotKeysActive(false);
    struct Reactivate {
        TFnabadre* window;
        ~Reactivate() {
            if (window->isVisible())
                window->setHotKeysActive(true);
        }
    } reactivate{this};

    TRaDBSearch search(this);
    {
        ui::WaitCursor wait;
        m_zqAdre.sortBy(field);
        search.SearchKind = skContext;
        search.DataSet = &m_zqAdre;
    }
    search.Execute(field, kSearchWidth, QStringLiteral("převzít"), QString(), QString());
}

void TFnabadre::JvApplicationHotKey3HotKey() {
    suitempDBGrid1TitleClick(kNameColumn);
}

} // namespace vaha::lookup

#include "app/tfvaha.h"

#include "db/appcontext.h"
#include "db/consql.h"
#include "report/report.h"
#include "tickets/tfvstup.h"
#include "ui_tfvaha.h"
#include "util/configuration.h"
#include "util/widgets/guarded.h"
#include "util/widgets/messages.h"

#include <QShowEvent>

namespace vaha::app {
namespace {

QList<db::GridColumn> listColumns() {
    const Qt::Alignment right = Qt::AlignRight, centre = Qt::AlignHCenter;
    auto col = [](const char* field, const char* caption = "",
                  std::optional<Qt::Alignment> cells = {}, std::optional<Qt::Alignment> title = {},
                  int width = -1) {
        return db::GridColumn{QString::fromLatin1(field), QString::fromUtf8(caption), cells, title,
                              width};
    };
    return {
        col("CISLODOKLA", "Číslo dokl."),
        col("DATUM", "Datum", right, centre),
        col("TYPDOKLADU", "Typ dokladu"),
        col("SKLAD", "Sklad", centre, centre),
        col("DEALER", "Dealer", centre),
        col("KODPAR", "Kod partnera", {}, {}, 45),
        col("NAZEVPODNI"),
        col("SIDLO"),
        col("ULICE"),
        col("PSC"),
        col("POSTA"),
        col("SPZ"),
        col("KOMODITA", "Komodita"),
        col("NOMENKLA", "Zboží"),
        col("NAZEVOSIVA", "Název zboží"),
        col("BRUTTO", "", {}, right),
        col("TARA", "", {}, right),
        col("NETTO", "", {}, right),
        col("MJ"),
        col("VLHKOST", "Vlhkost", {}, right),
        col("SRAZKA_VLH"),
        col("OBJEM_HMOT"),
        col("PODIL_SITO", "Podíl síto", centre),
        col("OBSAH_N", "", {}, right),
        col("NECISTOTY", "", {}, right),
        col("SRAZKA_NECI"),
        col("VYKUP", "Výkup", {}, right),
        col("SUSENI", "", {}, right),
        col("CISTENI", "", {}, right),
        col("CERTIFIKAT", "", {}, centre),
        col("DATCASVST", "Změněno", right, centre),
        col("DAT_DODAVKY", "Dat.dodávky"),
        col("DODANONETTO", "Doda Netto", {}, right),
        col("DODAVHLKOST", "Dod Vlhk", {}, right),
        col("SRAZKY1", "", {}, right),
        col("SRAZKY2", "", {}, right),
        col("DOKLADODBE", "Doklad odběratele", {}, centre),
        col("KONTRAKT"),
        col("DATBRUTTO", "", {}, centre),
        col("DATTARA", "", {}, centre),
        col("DATNETTO", "", {}, centre),
        col("PLXDL"),
        col("CERTIFIKAT3"),
        col("DISPOZICE"),
    };
}

} // namespace

TFvaha::TFvaha(AppContext& context, QWidget* parent)
    : QMainWindow(parent), m_context(context), m_ui(std::make_unique<Ui::TFvaha>()),
      m_list(context), m_zquery2(&context.connection),
      m_report(std::make_unique<report::Report>(this)),
      m_sharedConfigPath(QString::fromUtf16(kSharedConfigFile)) {
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("Fvaha"));
    m_zquery2.setObjectName(QStringLiteral("ZQuery2"));
    m_report->setObjectName(QStringLiteral("frxReport1"));
    m_context.connection.setObjectName(QStringLiteral("ZConnection1"));
    // Client area 1017 x 430 below the menu, at the top left corner of the screen.
    resize(1017, 430 + m_ui->MainMenu1->sizeHint().height());
    move(0, 0);
    setUpGrid();

    connect(m_ui->CheckBox1, &QCheckBox::clicked, this, ui::guarded(this, &TFvaha::CheckBox1Click));
    connect(m_ui->CheckBox2, &QCheckBox::clicked, this, ui::guarded(this, &TFvaha::CheckBox2Click));
    connect(m_ui->DateEdit1, &QLineEdit::textChanged, this,
            ui::guarded(this, &TFvaha::DateEdit1Change));
    connect(m_ui->Button1, &QPushButton::clicked, this, ui::guarded(this, &TFvaha::Button1Click));
    connect(m_ui->Button3, &QPushButton::clicked, this, ui::guarded(this, &TFvaha::Button3Click));
    connect(m_ui->Button4, &QPushButton::clicked, this, ui::guarded(this, &TFvaha::Button4Click));
    connect(m_ui->suiDBGrid1, &QAbstractItemView::doubleClicked, this,
            ui::guarded(this, &TFvaha::suiDBGrid1DblClick));
    connect(m_ui->Kontrolanovverze1, &QAction::triggered, this,
            ui::guarded(this, &TFvaha::Kontrolanovverze1Click));
    connect(m_ui->Opravdu1, &QAction::triggered, this, ui::guarded(this, &TFvaha::Opravdu1Click));
    // "Kopie" has no action.
    m_ui->Button1->setFocus();
}

TFvaha::~TFvaha() = default;

void TFvaha::setEntryForm(tickets::TFvstup* entryForm) {
    m_entryForm = entryForm;
}

void TFvaha::setUpGrid() {
    ui::DataGrid* grid = m_ui->suiDBGrid1;
    grid->setQuery(&m_list.ZQuery1);
    grid->setColumns(listColumns());
}

void TFvaha::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shown || event->spontaneous())
        return;
    m_shown = true;
    ui::runGuarded(this, [this] { FormShow(); });
}

void TFvaha::FormShow() {
    // 1. A connection left open is closed.
    m_context.connection.disconnect();
    // 2. Log-on settings; host, user, password and database go into the connection at once.
    const LogonSettings s =
        db::applyLogonSettings(m_context.connection, m_sharedConfigPath, m_context.workstation);
    m_context.workstation = s.workstation;
    // A workstation number that cannot name a table is reported now; the entry form refuses
    // to open until it is corrected, so no working table is ever touched with it.
    ui::runGuarded(this, [&] { validateWorkstationNumber(s.workstation); });
    // 3. Connect; a failed connect is silent here, the first list query reports it.
    db::connectDatabase(m_context.connection, s.sqlPort, s.openPort, s.workstation, QString(),
                        QStringLiteral("Váha PLX"));
    // 4. The list order.
    m_list.orderClause = TicketList::defaultOrderClause();
    // 5. Today's date runs the first list query through the date field's change handler.
    m_ui->DateEdit1->setDate(QDate::currentDate());
}

void TFvaha::udelejSQL() {
    m_list.udelejSQL(m_ui->CheckBox1->isChecked(), m_ui->CheckBox2->isChecked(),
                     m_ui->DateEdit1->dateValue());
}

void TFvaha::CheckBox1Click() {
    udelejSQL();
}

void TFvaha::CheckBox2Click() {
    udelejSQL();
}

void TFvaha::DateEdit1Change() {
    if (m_ui->CheckBox2->isChecked())
        udelejSQL();
}

void TFvaha::Button1Click() {
    if (!m_entryForm)
        return;
    m_entryForm->Tag = 0;
    m_entryForm->exec();
}

void TFvaha::Button3Click() {
    const int id = m_list.currentTicketId(); // raises "Field 'id' not found" on a closed list
    if (!m_entryForm)
        return;
    m_entryForm->Tag = id;
    m_entryForm->exec();
}

void TFvaha::suiDBGrid1DblClick() {
    Button3Click();
}

void TFvaha::Opravdu1Click() {
    close();
}

} // namespace vaha::app

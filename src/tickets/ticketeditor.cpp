#include "tickets/ticketeditor.h"

#include "db/appcontext.h"
#include "tickets/scaleexchange.h"
#include "util/configuration.h"
#include "util/datetimevalue.h"

#include <QFile>
#include <QPointer>
#include <utility>

namespace vaha::tickets {
namespace {

// Calls busy(true) now and busy(false) when it goes, also when an exception passes.
class BusyScope {
public:
    explicit BusyScope(const std::function<void(bool)>& busy) : m_busy(busy) {
        if (m_busy)
            m_busy(true);
    }
    ~BusyScope() { end(); }
    void end() {
        if (m_busy)
            std::exchange(m_busy, {})(false);
    }

private:
    std::function<void(bool)> m_busy;
};

} // namespace

TicketEditor::TicketEditor(AppContext& context, QObject* parent)
    : QObject(parent), ZTable1(&context.connection), ZQuery1(&context.connection),
      ZQuery2(&context.connection), ZQueryKomo(&context.connection), m_context(context) {
    ZTable1.setObjectName(QStringLiteral("ZTable1"));
    ZQuery1.setObjectName(QStringLiteral("ZQuery1"));
    ZQuery2.setObjectName(QStringLiteral("ZQuery2"));
    ZQueryKomo.setObjectName(QStringLiteral("ZQueryKomo"));
    ZQueryKomo.setSql(commodityListSql());
    connect(&ZTable1, &db::TableEditor::fieldChanged, this, &TicketEditor::stampIfChanged);
}

TicketEditor::~TicketEditor() = default;

QStringList TicketEditor::commodityListSql() {
    return {QStringLiteral("SELECT * FROM vazlabcenik WHERE komodita <> ''"),
            QStringLiteral("GROUP BY komodita"), QStringLiteral("ORDER BY nazev")};
}

QStringList TicketEditor::numberingSql(int year) {
    return {QStringLiteral("select max(cislodokla) as cido from vazlab"),
            QStringLiteral(" where year(datum) = ") + QString::number(year),
            QStringLiteral(" FOR UPDATE;")};
}

void TicketEditor::create(const QString& programConfigPath, const QString& warehousesPath) {
    m_programConfigPath = programConfigPath;
    m_scaleDirectory = readScaleDirectory(programConfigPath);
    m_warehouses.clear();
    for (const Warehouse& w : loadWarehouses(warehousesPath))
        m_warehouses.append(w.shownText);
}

void TicketEditor::run(const QStringList& lines) {
    ZQuery2.close();
    ZQuery2.setSql(lines);
    ZQuery2.execSql();
}

void TicketEditor::open() {
    // The number goes unquoted into table names: refuse it before anything is sent.
    validateWorkstationNumber(m_context.workstation);
    ++m_generation;
    const QString table = m_context.workingTable();
    ZTable1.close();
    run({QStringLiteral("DROP TABLE IF EXISTS ") + table});
    const QString create = QStringLiteral("CREATE TABLE ") + table +
                           QStringLiteral(" COLLATE cp1250_general_ci ENGINE=MyISAM");
    if (Tag != 0) {
        run({create, QStringLiteral(" select * from vazlab where id = ") + QString::number(Tag)});
    } else {
        run({create, QStringLiteral(" select * from vazlab LIMIT 0,0")});
        run({QStringLiteral("INSERT into ") + table + u' ',
             QStringLiteral("(id,cislodokla,datum,typdokladu)"),
             QStringLiteral(" values (0,0,NOW(),\"") + typeArrivalShown() + QStringLiteral("\")")});
    }
    ZTable1.setTableName(table);
    ZQueryKomo.open();
    stampSuppression = 1;
    ZTable1.open();
    ZTable1.edit();
    stampSuppression = 0;
}

void TicketEditor::back() {
    stampSuppression = 1;
    ZTable1.close();
}

void TicketEditor::close() {
    stampSuppression = 1;
    ++m_generation;
    ZTable1.close();
    ZQueryKomo.close();
}

void TicketEditor::copyPartner(const db::Query& partners) {
    // Column by column as the address book names them.
    static const std::pair<const char16_t*, const char16_t*> copies[] = {
        {u"ico", u"ico"},       {u"dic", u"kod_platce"},
        {u"kodpar", u"kodpar"}, {u"nazevpodni", u"nazevpodni"},
        {u"sidlo", u"sidlo"},   {u"ulice", u"ulicecislo"},
        {u"psc", u"psc"},       {u"posta", u"posta"}};
    for (const auto& [to, from] : copies)
        ZTable1.setString(QStringView(to), partners.asString(QStringView(from)));
}

TicketEditor::Lookup TicketEditor::partnerByIco(db::Query& partners) {
    if (!ZTable1.isEditing())
        return Lookup::Skipped;
    const QString ico = ZTable1.asString(u"ico");
    if (ico.isEmpty())
        return Lookup::Skipped;
    if (!partners.isOpen()) {
        partners.setConnection(&m_context.connection);
        partners.open();
    }
    if (!partners.locate(u"ico", ico, true))
        return Lookup::NotFound;
    copyPartner(partners);
    return Lookup::Found;
}

void TicketEditor::takePartner(const db::Query& partners) {
    ZTable1.edit();
    copyPartner(partners);
}

TicketEditor::Lookup TicketEditor::commodityByCode() {
    if (!ZTable1.isEditing())
        return Lookup::Skipped;
    const QString code = ZTable1.asString(u"komodita");
    if (code.isEmpty())
        return Lookup::Skipped;
    if (!ZQueryKomo.locate(u"komodita", code, true))
        return Lookup::NotFound;
    takeCommodity();
    return Lookup::Found;
}

void TicketEditor::takeCommodity() {
    ZTable1.setString(u"komodita", ZQueryKomo.asString(u"komodita"));
    ZTable1.setString(u"nomenkla", ZQueryKomo.asString(u"nomenkla"));
    ZTable1.setString(u"nazevosiva", ZQueryKomo.asString(u"nazev"));
}

void TicketEditor::weightTyped(Weight w) {
    if (stampSuppression == 0 && ZTable1.isEditing())
        ZTable1.setDateTime(stampColumn(w), nowValue());
}

void TicketEditor::stampIfChanged(int column) {
    // A weight changed by the program (a reading, the 0 of the net weight rule) or by the
    // edit's own text stamps its moment, unless the form itself is loading or closing.
    if (stampSuppression != 0 || !ZTable1.isEditing())
        return;
    const QString& name = ZTable1.field(column).name;
    for (const Weight w : {Weight::Gross, Weight::Tare}) {
        if (name.compare(weightColumn(w), Qt::CaseInsensitive) == 0)
            ZTable1.setDateTime(stampColumn(w), nowValue());
    }
}

void TicketEditor::netWeightRule(Weight w) {
    // After a failed save the row is closed and the form shows empty edits: nothing to keep.
    if (!ZTable1.isEditing())
        return;
    const QString own = weightColumn(w);
    if (ZTable1.isNull(own))
        ZTable1.setFloat(own, 0);
    // Both variants test the tare, neither the gross; no value counts as 0.
    if (ZTable1.asFloat(u"tara") == 0)
        return;
    ZTable1.setFloat(u"netto", ZTable1.asFloat(u"brutto") - ZTable1.asFloat(u"tara"));
}

void TicketEditor::setCertificate(bool checked) {
    ZTable1.setString(u"certifikat", checked ? siteCertificate() : QString());
}

void TicketEditor::postWorkingRow() {
    Q_EMIT updateRecord();
    ZTable1.post();
}

TicketEditor::Reading TicketEditor::readGrossOrTare(Weight w,
                                                    const std::function<void(bool)>& busy) {
    if (!scaleEnabled())
        return Reading::Abandoned;
    const ScaleExchange exchange(m_scaleDirectory, m_programConfigPath);
    const QString answer = exchange.answerPath();
    QPointer<TicketEditor> self(this);
    const quint64 generation = m_generation;
    const quint64 serial = ++m_readingSerial;
    BusyScope busyScope(busy);
    exchange.sendRequest();
    // While waiting the user may type, press other buttons, save or close the form: the
    // answer belongs only to the ticket and the reading that asked for it.
    const auto wait = ScaleExchange::waitForAnswer(answer, [&] {
        return self && self->m_generation == generation && self->m_readingSerial == serial &&
               self->ZTable1.isEditing();
    });
    busyScope.end();
    if (wait == ScaleExchange::Wait::Abandoned)
        return Reading::Abandoned;
    if (wait == ScaleExchange::Wait::NoAnswer)
        return Reading::NoAnswer;

    const QString line = ScaleExchange::firstLine(answer);
    QFile::remove(answer); // a file the scale program still holds stays; the reading goes on
    const QString field = ScaleExchange::weightField(line);
    if (ScaleExchange::hasAlibi(field))
        ZTable1.setString(alibiColumn(w), field);
    ZTable1.setFloat(weightColumn(w), ScaleExchange::readingValue(field));
    netWeightRule(w);
    return Reading::Taken;
}

TicketEditor::Reading TicketEditor::readNet() {
    if (!scaleEnabled())
        return Reading::Abandoned;
    const ScaleExchange exchange(m_scaleDirectory, m_programConfigPath);
    if (!exchange.answerExists())
        return Reading::NoAnswer;
    const QString field =
        ScaleExchange::weightField(ScaleExchange::firstLine(exchange.answerPath()));
    ZTable1.setFloat(u"netto", ScaleExchange::netValue(field));
    return Reading::Taken;
}

} // namespace vaha::tickets

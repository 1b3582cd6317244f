#include "app/tfvaha.h"
#include "db/appcontext.h"
#include "report/deliverynote.h"
#include "report/report.h"

namespace vaha::app {

// "Náhled": the delivery note of the selected ticket, or the template in the designer when the
// program was started with "/ES".
void TFvaha::Button4Click() {
    db::Query& query = ZQuery2();
    query.close();
    query.clearSql();
    const QStringList sql = report::deliveryNoteSql(list().currentTicketIdText());
    query.addLine(sql[0]);
    query.addLine(sql[1]); // no current row: " where id=" alone, which the server refuses
    query.open();

    report::Report& report = frxReport1();
    report.setDataSet(report::deliveryNoteDataSet(), &query);
    report.loadFromFile(report::deliveryNoteTemplatePath()); // a missing file: an empty report
    if (context().arguments.value(0) == QStringLiteral("/ES"))
        report.designReport(this);
    else if (report.prepareReport(this))
        report.showPreparedReport(this);
    query.close();
}

} // namespace vaha::app

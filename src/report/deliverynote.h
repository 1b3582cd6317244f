#pragma once

#include <QString>
#include <QStringList>

// The delivery note: its data set name, its query and where its template lives.
namespace vaha::report {

// The name through which the template reaches the ticket: [frxDBDataset1."NETTO"].
QString deliveryNoteDataSet();

// The template beside the program: the program directory (ending in a separator) followed by
// "/fr3/vaha1.fr3"; the doubled separator does no harm.
QString deliveryNoteTemplatePath();

// The two lines of the note's query for a ticket id given as text.
QStringList deliveryNoteSql(const QString& idText);

} // namespace vaha::report

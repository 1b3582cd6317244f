#include "report/deliverynote.h"

#include "util/fileutil.h"

namespace vaha::report {

QString deliveryNoteDataSet() {
    return QStringLiteral("frxDBDataset1");
}

QString deliveryNoteTemplatePath() {
    return ProgramDirectory() + QStringLiteral("/fr3/vaha1.fr3");
}

QStringList deliveryNoteSql(const QString& idText) {
    return {QStringLiteral("select * from vazlab"), QStringLiteral(" where id=") + idText};
}

} // namespace vaha::report

#include "lookup/tradbsearch.h"

#include "db/query.h"

#include <QWidget>

namespace vaha::lookup {

TRaDBSearch::TRaDBSearch(QWidget* owner) : QObject(owner), m_owner(owner) {}

bool TRaDBSearch::Execute(const QString& Field, int Width, const QString& OkCaption,
                          const QString& Template, const QString& Caption) {
    if (!DataSet)
        return false;
    QStringList fieldList;
    for (const TFieldItem& item : Fields) {
        if (DataSet->fieldIndex(item.FieldName) >= 0)
            fieldList.append(item.FieldName);
    }
    return ShowSearchForm(DataSet, fieldList, Field, m_owner, SelectFields, SearchKind, Width,
                          OkCaption, Template, Caption);
}

// Placeholder until the dialog is built: nothing found, nothing shown.
bool ShowSearchForm(db::Query* DataSet, const QStringList&, const QString&, QWidget*, bool,
                    TSearchKind, int, const QString&, const QString&, const QString&) {
    Q_UNUSED(DataSet);
    return false;
}

} // namespace vaha::lookup

#include "lookup/tradbsearch.h"

#include "db/query.h"
#include "lookup/tsearchform2.h"

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

bool ShowSearchForm(db::Query* DataSet, const QStringList& FieldList, const QString& Field,
                    QWidget* Owner, bool SelectFields, TSearchKind SearchKind, int Width,
                    const QString& OkCaption, const QString& Template, const QString& Caption) {
    if (!DataSet)
        return false;
    TSearchForm2 form(Owner, DataSet, FieldList, Field, SelectFields, Width, OkCaption, Template,
                      Caption);
    if (!form.hasFields())
        return false;
    form.applySearchKind(SearchKind);
    return form.exec() == QDialog::Accepted;
}

} // namespace vaha::lookup

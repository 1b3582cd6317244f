#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;

namespace vaha::db {
class Query;
}

namespace vaha::lookup {

// The mode in which the search dialog opens.
enum TSearchKind {
    skNormal = 0,   // plain mode: type a whole value and accept
    skExtended = 1, // list mode, jump to the nearest entry that begins with the typed text
    skContext = 2,  // list mode, keep the entries that contain the typed text
};

// One field offered in the dialog's field chooser.
struct TFieldItem {
    QString FieldName;
};

// The lookup search: opens the modal dialog "Hledat" over an open query and leaves the query
// on the chosen record (true), or back on the record it was on (false).
class TRaDBSearch : public QObject {
    Q_OBJECT
public:
    explicit TRaDBSearch(QWidget* owner);

    QPointer<db::Query> DataSet;
    bool SelectFields = false;
    TSearchKind SearchKind = skNormal;
    QList<TFieldItem> Fields;

    // Field: the name of the field searched when the dialog opens. Width: the dialog's width
    // in pixels. OkCaption: the accept button's caption. Template: initial text to find
    // (empty: none). Caption: the dialog's caption (empty: "Hledat").
    bool Execute(const QString& Field, int Width, const QString& OkCaption, const QString& Template,
                 const QString& Caption);

    QWidget* owner() const { return m_owner; }

private:
    QPointer<QWidget> m_owner;
};

// The function behind Execute. FieldList: names of the fields to offer, in order (empty:
// every searchable field of the data set).
bool ShowSearchForm(db::Query* DataSet, const QStringList& FieldList, const QString& Field,
                    QWidget* Owner, bool SelectFields, TSearchKind SearchKind, int Width,
                    const QString& OkCaption, const QString& Template, const QString& Caption);

} // namespace vaha::lookup

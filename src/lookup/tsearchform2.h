#pragma once

#include "lookup/searchlists.h"
#include "lookup/searchrules.h"
#include "lookup/searchtext.h"
#include "lookup/tradbsearch.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QModelIndex;

namespace Ui {
class TSearchForm2;
}

namespace vaha::db {
class Query;
}

namespace vaha::lookup {

class SearchListModel;

// The search dialog "Hledat" over one field of an open query. Plain mode locates a typed
// value on accepting; list mode shows the field's value of every record, and the query's
// current record follows the entry selected in the list. Accepting leaves the query on the
// chosen record; "storno" puts it back where it was when the dialog was created.
//
// Made and run by ShowSearchForm; a test may build one directly and drive its handlers.
class TSearchForm2 : public QDialog {
    Q_OBJECT
public:
    TSearchForm2(QWidget* owner, db::Query* dataSet, const QStringList& fieldList,
                 const QString& field, bool selectFields, int width, const QString& okCaption,
                 const QString& templateText, const QString& caption);
    ~TSearchForm2() override;

    // False when the data set offers no field to search: the dialog must not be shown.
    bool hasFields() const { return m_hasFields; }
    // Checks the boxes of the opening mode as a click would.
    void applySearchKind(TSearchKind kind);

    // Handlers, named as the window names them.
    void cbFieldsChange();        // field change (also after filling and after list mode)
    void ckExtendedSearchClick(); // "zobrazit výběr"
    void ckContextClick();        // "hledat i části"
    void edtemplateChange();      // every change of the template while attached
    void btokClick();             // "převzít"
    void suiButton1Click();       // "X"
    void FilterValues(const QString& text);
    Nearest FindNearest(const QString& text) const;
    void UpdateDefaultButton();
    bool LocateRecord();

    SearchMode mode() const;
    int rowHeight() const { return m_rowHeight; }
    QString searchFieldName() const;
    const SearchLists& lists() const { return m_lists; }
    SearchListModel* listModel() const { return m_model; }
    bool acceptIsDefault() const { return m_acceptDefault; }
    QString skinStyleName() const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public Q_SLOTS:
    void reject() override;

private:
    void fillFieldChooser(const QStringList& fieldList, const QString& field);
    void buildList();
    void layOut();
    void selectRow(int row);
    void entrySelected(const QModelIndex& index);
    // Writes the template; `attached` runs the change handling when the text changes.
    void setTemplate(const QString& text, bool attached);
    bool handleKey(QObject* watched, QKeyEvent* key);
    bool refuseCharacter(QKeyEvent* key) const;
    void anchorTemplateRow();
    void takeOwnersSkin();
    QString selectedText() const;

    std::unique_ptr<Ui::TSearchForm2> m_ui;
    QPointer<QWidget> m_owner;
    QPointer<db::Query> m_dataSet;
    QString m_savedPosition;
    LocaleText m_text;
    SearchLists m_lists;
    SearchListModel* m_model = nullptr;
    int m_field = -1; // the search field's index in the data set
    QString m_initialTemplate;
    QString m_captionText;
    bool m_hasFields = false;
    bool m_templateAttached = true;
    bool m_acceptDefault = true;
    bool m_shownOnce = false;
    int m_rowHeight = 0;
};

} // namespace vaha::lookup

#include "tickets/tfvstup.h"

#include "db/appcontext.h"
#include "lookup/tfnabadre.h"
#include "lookup/tradbsearch.h"
#include "tickets/fieldbinding.h"
#include "tickets/ticketeditor.h"
#include "tickets/ticketsave.h"
#include "ui_tfvstup.h"
#include "util/configuration.h"
#include "util/fileutil.h"
#include "util/widgets/guarded.h"
#include "util/widgets/messages.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace vaha::tickets {

TFvstup::TFvstup(AppContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::TFvstup>()),
      m_logic(std::make_unique<TicketEditor>(context)) {
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("Fvstup"));
    setFixedSize(944, 561);
    m_binding = std::make_unique<FieldBinding>(m_logic->ZTable1);
    bindControls();
    connectHandlers();
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    FormCreate(ProgramDirectory());
}

TFvstup::~TFvstup() = default;

void TFvstup::setAddressBook(lookup::TFnabadre* addressBook) {
    m_addressBook = addressBook;
}

void TFvstup::bindControls() {
    Ui::TFvstup& u = *m_ui;
    FieldBinding& b = *m_binding;
    b.bindEdit(u.DBDateEdit1, QStringLiteral("datum"));
    m_typeGroup = new QButtonGroup(this);
    m_typeGroup->addButton(u.DBRadioGroup1_0, 0);
    m_typeGroup->addButton(u.DBRadioGroup1_1, 1);
    b.bindRadioGroup(m_typeGroup, QStringLiteral("typdokladu"),
                     {typeArrivalStored(), typeDepartureStored()});
    const std::pair<QLineEdit*, const char16_t*> typed[] = {{u.EditICO, u"ico"},
                                                            {u.DBEditSmlouva, u"certifikat3"},
                                                            {u.DBEdit16, u"komodita"},
                                                            {u.DBEdit12, u"spz"},
                                                            {u.DBEdit13, u"vlek"},
                                                            {u.DBEdit14, u"ridic"},
                                                            {u.EditBrutto, u"brutto"},
                                                            {u.EditTara, u"tara"},
                                                            {u.EditNetto, u"netto"},
                                                            {u.DBEdit22, u"mj"},
                                                            {u.DBEdit27, u"vlhkost"},
                                                            {u.DBEdit28, u"objem_hmot"},
                                                            {u.DBEdit29, u"podil_sito"},
                                                            {u.DBEdit30, u"obsah_n"},
                                                            {u.DBEdit31, u"necistoty"},
                                                            {u.DBEdit15, u"dodacilist"},
                                                            {u.EditPOZNAMKA, u"poznamka"},
                                                            {u.DBEdit24, u"podpis"},
                                                            {u.DBEditCertifikat, u"certifikat"}};
    for (const auto& [edit, column] : typed)
        b.bindEdit(edit, QString::fromUtf16(column));
    b.bindCombo(u.RxDBComboBoxSklad, QStringLiteral("sklad"));
    const std::pair<QLineEdit*, const char16_t*> shown[] = {
        {u.DBEdit4, u"kodpar"},    {u.DBEdit6, u"dic"},       {u.DBEdit7, u"nazevpodni"},
        {u.DBEdit8, u"sidlo"},     {u.DBEdit9, u"ulice"},     {u.DBEdit10, u"psc"},
        {u.DBEdit11, u"posta"},    {u.DBEdit17, u"nomenkla"}, {u.DBEdit18, u"nazevosiva"},
        {u.DBEdit1, u"cislodokla"}};
    for (const auto& [edit, column] : shown)
        b.bindEdit(edit, QString::fromUtf16(column), true);
    connect(m_logic.get(), &TicketEditor::updateRecord, m_binding.get(), &FieldBinding::commitAll);
}

void TFvstup::connectHandlers() {
    Ui::TFvstup& u = *m_ui;
    connect(u.ButtonA, &QPushButton::clicked, this, ui::guarded(this, &TFvstup::ButtonAClick));
    connect(u.ButtonK, &QPushButton::clicked, this, ui::guarded(this, &TFvstup::ButtonKClick));
    connect(u.Button1, &QPushButton::clicked, this, ui::guarded(this, &TFvstup::Button1Click));
    connect(u.Button2, &QPushButton::clicked, this, ui::guarded(this, &TFvstup::Button2Click));
    connect(u.Button5, &QPushButton::clicked, this, ui::guarded(this, &TFvstup::Button5Click));
    connect(u.Button6, &QPushButton::clicked, this, ui::guarded(this, &TFvstup::Button6Click));
    connect(u.Button7, &QPushButton::clicked, this, ui::guarded(this, &TFvstup::Button7Click));
    connect(u.CheckBox1, &QCheckBox::clicked, this, ui::guarded(this, &TFvstup::CheckBox1Click));
    // Keys typed into a weight stamp its moment; changes made by the program are stamped by
    // the logic when the column changes.
    connect(u.EditBrutto, &QLineEdit::textEdited, this,
            ui::guarded(this, &TFvstup::EditBruttoChange));
    connect(u.EditTara, &QLineEdit::textEdited, this, ui::guarded(this, &TFvstup::EditTaraChange));
    // "S" has no action.
}

void TFvstup::FormCreate(const QString& programDirectory) {
    ui::runGuarded(this, [&] {
        m_logic->create(programDirectory + QString::fromUtf16(kProgramConfigFile),
                        QString::fromUtf16(kWarehousesFile));
    });
    const bool scale = m_logic->scaleEnabled();
    m_ui->Button5->setEnabled(scale);
    m_ui->Button6->setEnabled(scale);
    m_ui->Button7->setEnabled(scale);
    m_ui->RxDBComboBoxSklad->clear();
    m_ui->RxDBComboBoxSklad->addItems(m_logic->warehouseEntries());
    m_binding->refresh();
}

int TFvstup::exec() {
    // A workstation number that cannot name a table: the form does not open at all.
    if (!ui::runGuarded(this, [this] { validateWorkstationNumber(m_context.workstation); }))
        return QDialog::Rejected;
    return QDialog::exec();
}

void TFvstup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ui::runGuarded(this, [this] { FormShow(); });
}

void TFvstup::FormShow() {
    m_logic->Tag = Tag;
    m_logic->open();
}

void TFvstup::done(int result) {
    ui::runGuarded(this, [this] { FormClose(); });
    QDialog::done(result);
}

void TFvstup::FormClose() {
    m_logic->close();
}

void TFvstup::keyPressEvent(QKeyEvent* event) {
    // No cancel button: Escape does not close the form.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TFvstup::enterAsTab(QWidget* focused) {
    if (auto* button = qobject_cast<QPushButton*>(focused)) {
        button->click(); // a focused button is pressed
        return true;
    }
    if (qobject_cast<QAbstractButton*>(focused))
        return true; // check box, radio button: nothing, as the form has no default button
    focusNextPrevChild(true);
    return true;
}

bool TFvstup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            watched->isWidgetType()) {
            QWidget* focused = QApplication::focusWidget();
            if (focused && focused->window() == this)
                return enterAsTab(focused);
        }
    } else if (event->type() == QEvent::FocusOut && watched->isWidgetType()) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another window or a popup is not leaving the control.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            controlLeft(static_cast<QWidget*>(watched));
    }
    return QDialog::eventFilter(watched, event);
}

void TFvstup::controlLeft(QWidget* control) {
    QWidget* bound = control;
    if (!m_binding->isBound(bound) && control->parentWidget() &&
        m_binding->isBound(control->parentWidget()))
        bound = control->parentWidget(); // the line edit inside the warehouse box
    if (!m_binding->isBound(bound))
        return;
    QPointer<QWidget> guard(bound);
    const bool ok = ui::runGuarded(this, [&] {
        // The typed text reaches its column first; the exit handler sees it there.
        m_binding->commit(bound);
        const Ui::TFvstup& u = *m_ui;
        if (bound == u.EditICO)
            EditICOExit();
        else if (bound == u.DBEdit16)
            DBEdit16Exit();
        else if (bound == u.EditBrutto)
            EditBruttoExit();
        else if (bound == u.EditTara)
            EditTaraExit();
    });
    if (!ok && guard) {
        // Text that does not convert keeps the focus in its edit.
        QTimer::singleShot(0, guard, [guard] {
            if (guard)
                guard->setFocus(Qt::OtherFocusReason);
        });
    }
}

void TFvstup::EditICOExit() {
    QWidget* next = QApplication::focusWidget();
    if (next == m_ui->Button1 || next == m_ui->ButtonA || !m_addressBook)
        return;
    switch (m_logic->partnerByIco(*m_addressBook->zqAdre())) {
    case TicketEditor::Lookup::Found:
        m_ui->DBEditSmlouva->setFocus(Qt::OtherFocusReason);
        break;
    case TicketEditor::Lookup::NotFound:
        m_ui->EditICO->setFocus(Qt::OtherFocusReason);
        break;
    case TicketEditor::Lookup::Skipped:
        break;
    }
}

void TFvstup::ButtonAClick() {
    if (!m_addressBook)
        return;
    m_addressBook->Tag = 0;
    m_addressBook->zqAdre()->setConnection(m_logic->ZQuery1.connection());
    QPointer<TFvstup> self(this);
    m_addressBook->exec();
    if (!self || !m_addressBook)
        return;
    if (m_addressBook->Tag > 0) {
        m_logic->takePartner(*m_addressBook->zqAdre());
        m_ui->DBEditSmlouva->setFocus(Qt::OtherFocusReason);
    }
}

void TFvstup::ButtonKClick() {
    QPointer<TFvstup> self(this);
    bool accepted = false;
    {
        lookup::TRaDBSearch search(this);
        search.SearchKind = lookup::skContext;
        search.DataSet = &m_logic->ZQueryKomo;
        accepted = search.Execute(QStringLiteral("nazev"), 500, QStringLiteral("převzít"),
                                  QString(), QString());
        if (!self)
            return;
    }
    if (accepted) {
        m_logic->takeCommodity();
        m_ui->DBEdit12->setFocus(Qt::OtherFocusReason);
    } else {
        m_ui->DBEdit16->setFocus(Qt::OtherFocusReason);
    }
}

void TFvstup::DBEdit16Exit() {
    QWidget* next = QApplication::focusWidget();
    if (next == m_ui->Button1 || next == m_ui->ButtonK)
        return;
    switch (m_logic->commodityByCode()) {
    case TicketEditor::Lookup::Found:
        m_ui->DBEdit12->setFocus(Qt::OtherFocusReason);
        break;
    case TicketEditor::Lookup::NotFound:
        m_ui->DBEdit16->setFocus(Qt::OtherFocusReason);
        break;
    case TicketEditor::Lookup::Skipped:
        break;
    }
}

void TFvstup::EditBruttoChange() {
    m_logic->weightTyped(Weight::Gross);
}

void TFvstup::EditTaraChange() {
    m_logic->weightTyped(Weight::Tare);
}

void TFvstup::EditBruttoExit() {
    m_logic->netWeightRule(Weight::Gross);
}

void TFvstup::EditTaraExit() {
    m_logic->netWeightRule(Weight::Tare);
}

void TFvstup::CheckBox1Click() {
    m_logic->setCertificate(m_ui->CheckBox1->isChecked());
}

void TFvstup::Button1Click() {
    m_logic->back();
    reject();
}

void TFvstup::Button2Click() {
    TicketSave(*m_logic).run();
    accept();
}

void TFvstup::readWeight(Weight w) {
    QPointer<TFvstup> self(this);
    const TicketEditor::Reading reading = m_logic->readGrossOrTare(w, [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    if (self && reading == TicketEditor::Reading::NoAnswer)
        ui::showMessage(this, QStringLiteral("Váha není autorizována."), ui::BoxKind::Information);
}

void TFvstup::Button5Click() {
    readWeight(Weight::Gross);
}

void TFvstup::Button6Click() {
    readWeight(Weight::Tare);
}

void TFvstup::Button7Click() {
    switch (m_logic->readNet()) {
    case TicketEditor::Reading::Taken:
        m_ui->EditPOZNAMKA->setFocus(Qt::OtherFocusReason);
        break;
    case TicketEditor::Reading::NoAnswer:
        ui::showMessage(this, QStringLiteral("Váha není autorizována."), ui::BoxKind::Information);
        break;
    case TicketEditor::Reading::Abandoned:
        break;
    }
}

} // namespace vaha::tickets

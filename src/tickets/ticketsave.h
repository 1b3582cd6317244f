#pragma once

#include <QString>

namespace vaha::tickets {

class TicketEditor;

// "Uložit": gives a new ticket the next number of its year, posts the Working row, writes the
// save script to aa.txt and runs it through the main window's script runner:
//   BEGIN; [delete from vazlab where id = N;] insert into vazlab select * from tmpWvaha; commit;
//
// The number a new ticket gets is made final inside the script's transaction: right after
// BEGIN the year's highest number is read again under FOR UPDATE, which waits for every other
// workstation saving a ticket at that moment, and the working row is corrected before the
// insert. A deadlock or lock wait timeout rolls back and the whole transaction runs again; a
// lost connection is reported and never repeated. A failing statement leaves vazlab as it was.
//
// On failure the exception carries the reason; the form stays open in the state the step
// left (the row still in edit mode when numbering failed, closed from the post on).
class TicketSave {
public:
    explicit TicketSave(TicketEditor& editor) : m_editor(editor) {}

    // Where the script file goes; relative names are resolved against the current directory.
    void setScriptFile(const QString& path) { m_scriptFile = path; }
    void setMaxAttempts(int attempts) { m_maxAttempts = attempts; }

    void run();

    // After run(): how often the transaction ran, and the number the ticket got (new only).
    int attempts() const { return m_attempts; }
    int number() const { return m_number; }

private:
    void executeScript(bool isNew, int year);

    TicketEditor& m_editor;
    QString m_scriptFile = QStringLiteral("aa.txt");
    int m_maxAttempts = 8;
    int m_attempts = 0;
    int m_number = 0;
};

} // namespace vaha::tickets

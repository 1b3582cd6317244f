#pragma once

#include <QString>
#include <QStringList>

namespace vaha::db {
class DbError;
}

namespace vaha::tickets {

class TicketEditor;

// "Uložit": gives a new ticket the next number of its year, posts the Working row, writes the
// save script to aa.txt and runs it through the main window's script runner:
//   BEGIN; [delete from vazlab where id = N;] insert into vazlab select * from tmpWvaha; commit;
//
// The number a new ticket gets is made final inside the script's transaction: the Working row
// takes a first number from a plain read, and right after BEGIN the year's highest number is
// read again under FOR UPDATE (the year's range of the datum index only), which waits for
// every other workstation saving a ticket of that year; the working row is corrected before
// the insert. A deadlock or lock wait timeout rolls back and the whole transaction runs again;
// a lost connection is reported and never repeated. A failing statement leaves vazlab as it
// was.
//
// A connection lost while the commit was under way leaves the outcome open: the server may
// have committed before it went. The save then connects again (for a few seconds, while the
// server restarts) and looks whether the ticket is in vazlab as posted: found, the save counts
// as done; not found, it is reported as not saved; server still unreachable, the message says
// that the outcome is unknown and which ticket to look for in the list.
//
// On failure the exception carries the reason; the form stays open in the state the step
// left (the row still in edit mode when numbering failed, closed from the post on).
class TicketSave {
public:
    enum class Outcome {
        NotRun,
        Saved,     // committed
        Confirmed, // the commit's answer was lost, but the ticket was found in vazlab
        NotSaved,  // failed; vazlab is as it was
        Unknown,   // the commit's answer was lost and the server could not be asked
    };

    explicit TicketSave(TicketEditor& editor) : m_editor(editor) {}

    // Where the script file goes; relative names are resolved against the current directory.
    void setScriptFile(const QString& path) { m_scriptFile = path; }
    // How long to keep trying to reach the server after a lost commit.
    void setCheckMilliseconds(int ms) { m_checkMs = ms; }

    void run();

    // After run(), also after a failure: how often the transaction ran, the number the ticket
    // got (new tickets), its id in vazlab (0 when it never got one) and how the save ended.
    int attempts() const { return m_attempts; }
    int number() const { return m_number; }
    int ticketId() const { return m_ticketId; }
    Outcome outcome() const { return m_outcome; }

private:
    void executeScript(bool isNew, int year);
    [[noreturn]] void failNotSaved(const db::DbError& lost);
    void checkAfterLostCommit(const db::DbError& lost, bool isNew, int year);
    bool ticketLanded();

    TicketEditor& m_editor;
    // Runs of the numbering read, and of the transaction, before a lock error is given up.
    static constexpr int kMaxAttempts = 20;

    QString m_scriptFile = QStringLiteral("aa.txt");
    int m_checkMs = 5000;
    int m_attempts = 0;
    int m_number = 0;
    int m_ticketId = 0;
    Outcome m_outcome = Outcome::NotRun;
    // For the check after a lost commit: the working table's columns; the plate for the message.
    QStringList m_columns;
    QString m_plate;
};

} // namespace vaha::tickets

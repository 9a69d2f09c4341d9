#pragma once

class DataDir;
class IoStatus;
class QWidget;

// The questions about files that several windows ask: what to do with a record that an earlier run
// or another program left in the data directory.
namespace StoreQuestions {

// Reports a failed file operation as MessageBox::reportWrite does; when the cause is a renumbering
// journal that this program did not write, the message also asks whether to discard the record
// (No is the default: the record stays, and the user textbook waits as before). Returns status.ok().
bool reportWrite(QWidget* parent, const DataDir& dir, const IoStatus& status);

// A textbook deletion that an earlier run left half done: says so, naming the textbook, and asks
// whether to finish it. No leaves the textbook with the lessons it still has and drops the record, so
// that the question does not come back at every start.
void settleUnfinishedDeletion(QWidget* parent, const DataDir& dir);

} // namespace StoreQuestions

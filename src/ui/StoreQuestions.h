// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/MessageBox.h"

class DataDir;
class IoStatus;
class QString;
class QWidget;
struct Fingerprint;

// The questions about files that several windows ask: what to do with a record that an earlier run
// or another program left in the data directory.
namespace StoreQuestions {

// Reports a failed file operation as MessageBox::reportWrite does; when the cause is a renumbering
// journal that this program did not write, the message also asks whether to discard the record
// (No is the default: the record stays, and the user textbook waits as before). Returns status.ok().
bool reportWrite(QWidget* parent, const DataDir& dir, const IoStatus& status);

// Before a lesson's pair list is saved over the file sysPath that was read as read: true when the file
// still holds that, or when the user, told that lesson has changed meanwhile, wants it overwritten all
// the same (No is the default).
bool mayOverwrite(QWidget* parent, const DataDir& dir, const QString& sysPath, const Fingerprint& read,
                  const QString& lesson);

// Before a lesson or a textbook is deleted: its file sysPath (title or textbook file) is read afresh, and
// question (its "%1" the name) is asked only while the file's line 1 is still the name the list shows
// (shown). Yes when the user says Yes and the file still holds what it held at the question; Changed
// when another program or window has changed it meanwhile (or it cannot be read): the user is told
// that nothing was deleted. what: "Lekce" or "Učebnice", for that message.
enum class Deletion { Yes, No, Changed };
Deletion confirmDeletion(QWidget* parent, const DataDir& dir, const QString& sysPath, const QString& shown,
                         const QString& question, MessageBox::Icon icon, const QString& what);

// A textbook deletion that an earlier run left half done: says so, naming the textbook, and asks
// whether to finish it. No leaves the textbook with the lessons it still has and drops the record, so
// that the question does not come back at every start.
void settleUnfinishedDeletion(QWidget* parent, const DataDir& dir);

} // namespace StoreQuestions

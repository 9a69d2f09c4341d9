// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreQuestions.h"

#include "store/DataDir.h"
#include "store/UserTextbook.h"
#include "store/Vocabulary.h"
#include "ui/MessageBox.h"

namespace StoreQuestions {

bool reportWrite(QWidget* parent, const DataDir& dir, const IoStatus& status) {
    if (!UserTextbook::refusedJournal(dir, status))
        return MessageBox::reportWrite(parent, status);
    const QString question =
        status.message() +
        QStringLiteral("\n\nChcete tento záznam zahodit? Lekce uživatelské učebnice zůstanou tak, jak právě jsou. "
                       "Dokud záznam zůstane, nelze lekce uživatelské učebnice přidávat ani mazat.");
    if (MessageBox::confirm(parent, question, MessageBox::Icon::Exclamation))
        MessageBox::reportWrite(parent, UserTextbook::discardJournal(dir));
    return false;
}

bool mayOverwrite(QWidget* parent, const DataDir& dir, const QString& sysPath, const Fingerprint& read,
                  const QString& lesson) {
    if (dir.holds(sysPath, read))
        return true;
    return MessageBox::confirm(
        parent,
        QStringLiteral("Lekce „%1“ se mezitím změnila: od chvíle, kdy jste ji otevřeli, ji upravil jiný program nebo "
                       "jiné okno. Chcete ji přesto přepsat svým seznamem? Co do ní mezitím přibylo, se ztratí. "
                       "(Ne: váš seznam zůstane neuložený a lekce se nezmění.)")
            .arg(lesson),
        MessageBox::Icon::Exclamation);
}

Deletion confirmDeletion(QWidget* parent, const DataDir& dir, const QString& sysPath, const QString& shown,
                         const QString& question, MessageBox::Icon icon, const QString& what) {
    const FileLines read = dir.readLines(sysPath, true);
    if (!read.status.ok()) {
        MessageBox::showFileError(parent, read.status.message());
        return Deletion::Changed;
    }
    // A list shows a file without a name (blank line 1) by its file name.
    const QString line = read.lines.value(0);
    const bool stillShown = line == shown || (line.trimmed().isEmpty() && shown == sysPath.section(u'\\', -1));
    if (stillShown) {
        if (!MessageBox::confirm(parent, question.arg(shown), icon))
            return Deletion::No;
        if (dir.holds(sysPath, read.fingerprint))
            return Deletion::Yes;
    }
    MessageBox::tell(parent,
                     QStringLiteral("%1 „%2“ se mezitím změnila (upravil ji jiný program nebo jiné okno), a proto "
                                    "nebyla odstraněna; nic jiného také ne. Seznam teď ukazuje, co je na disku.")
                         .arg(what, shown),
                     MessageBox::Icon::Exclamation);
    return Deletion::Changed;
}

void settleUnfinishedDeletion(QWidget* parent, const DataDir& dir) {
    const Vocabulary::UnfinishedDeletion deletion = Vocabulary::unfinishedDeletion(dir);
    if (deletion.fileName.isEmpty())
        return;
    const QString question =
        QStringLiteral(
            "Odstranění učebnice „%1“ nebylo dokončeno: program skončil dřív, než odstranil všechny její "
            "lekce, a učebnice zůstala v seznamu jen s částí z nich.\n\nChcete odstranění dokončit? "
            "Ano: učebnice i její zbylé lekce se odstraní. Ne: učebnice zůstane se zbylými lekcemi a program "
            "se už nebude ptát.")
            .arg(deletion.name);
    const bool finish = MessageBox::confirm(parent, question, MessageBox::Icon::Question);
    MessageBox::reportWrite(parent, Vocabulary::settleDeletion(dir, finish));
}

} // namespace StoreQuestions

#include "StoreQuestions.h"

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

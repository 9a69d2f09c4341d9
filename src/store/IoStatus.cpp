// SPDX-License-Identifier: GPL-3.0-or-later
#include "IoStatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

QString reasonOfSystemError(int systemError) {
    switch (systemError) {
    case ENOENT:
        return QStringLiteral("soubor nebo složka neexistuje");
    case EACCES:
    case EPERM:
        return IoStatus::kAccessDenied;
    case EISDIR:
        return IoStatus::kFolderNotFile;
    case ENOTDIR:
        return QStringLiteral("část cesty není složka");
    case ENOSPC:
        return QStringLiteral("na disku není dost místa");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("byla překročena disková kvóta");
#endif
    case EFBIG:
        return QStringLiteral("soubor by překročil největší dovolenou velikost");
    case EROFS:
        return QStringLiteral("disk je určen jen pro čtení");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("je otevřeno příliš mnoho souborů");
    case EIO:
        return QStringLiteral("chyba vstupu a výstupu disku");
    case ENAMETOOLONG:
        return QStringLiteral("název souboru je příliš dlouhý");
#ifdef ELOOP
    case ELOOP:
        return QStringLiteral("cesta obsahuje příliš mnoho odkazů");
#endif
    case ENXIO:
    case ENODEV:
        return QStringLiteral("není to obyčejný soubor");
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return QStringLiteral("soubor je právě používán");
    case EEXIST:
        return QStringLiteral("soubor už existuje");
    default:
        return {};
    }
}

QString reasonOfDeviceError(QFileDevice::FileError error) {
    switch (error) {
    case QFileDevice::NoError:
    case QFileDevice::UnspecifiedError:
        break;
    case QFileDevice::ReadError:
        return QStringLiteral("chyba při čtení");
    case QFileDevice::WriteError:
        return QStringLiteral("chyba při zápisu");
    case QFileDevice::FatalError:
        return QStringLiteral("závažná chyba souborového systému");
    case QFileDevice::ResourceError:
        return QStringLiteral("nedostatek místa na disku nebo systémových prostředků");
    case QFileDevice::OpenError:
        return QStringLiteral("soubor nelze otevřít");
    case QFileDevice::AbortError:
        return QStringLiteral("operace byla přerušena");
    case QFileDevice::TimeOutError:
        return QStringLiteral("vypršel časový limit");
    case QFileDevice::RemoveError:
        return QStringLiteral("soubor nelze smazat");
    case QFileDevice::RenameError:
        return QStringLiteral("soubor nelze přejmenovat");
    case QFileDevice::PositionError:
        return QStringLiteral("chyba při posunu v souboru");
    case QFileDevice::ResizeError:
        return QStringLiteral("velikost souboru nelze změnit");
    case QFileDevice::PermissionsError:
        return IoStatus::kAccessDenied;
    case QFileDevice::CopyError:
        return QStringLiteral("soubor nelze zkopírovat");
    }
    return QStringLiteral("neznámá chyba souboru");
}

} // namespace

QString IoStatus::czechReason(QFileDevice::FileError error, int systemError) {
    const QString system = reasonOfSystemError(systemError);
    return system.isEmpty() ? reasonOfDeviceError(error) : system;
}

IoStatus IoStatus::failure(Operation op, const QString& path, const QString& reason, Outcome outcome) {
    IoStatus status;
    status.m_failed = true;
    status.m_op = op;
    status.m_outcome = outcome;
    status.m_path = path;
    status.m_reason = reason;
    return status;
}

IoStatus IoStatus::fromError(Operation op, const QString& path, QFileDevice::FileError error, int systemError,
                             Outcome outcome) {
    return failure(op, path, folderCause(op, path, systemError, czechReason(error, systemError)), outcome);
}

QString IoStatus::folderCause(Operation op, const QString& path, int systemError, const QString& reason) {
#ifdef Q_OS_UNIX
    const bool changesFolder = op == Operation::Write || op == Operation::Remove || op == Operation::Rename;
    if (!changesFolder || (systemError != EACCES && systemError != EPERM && systemError != EROFS))
        return reason;
    // A file is made, replaced, renamed or removed through its folder: a folder that takes no change
    // is the cause, not the file.
    const QString folder = QFileInfo(path).path();
    if (::access(QFile::encodeName(folder).constData(), W_OK) == 0)
        return reason;
    return QStringLiteral("do složky „%1“ nelze zapisovat (%2)").arg(QDir::toNativeSeparators(folder), reason);
#else
    Q_UNUSED(op);
    Q_UNUSED(path);
    Q_UNUSED(systemError);
    return reason;
#endif
}

IoStatus IoStatus::withNotice(const QString& notice) {
    IoStatus status;
    status.m_notice = notice;
    return status;
}

IoStatus IoStatus::asDeletionNotStarted(Operation op, const QString& path) const {
    return ok() ? *this : failure(op, path, m_reason);
}

QString IoStatus::message() const {
    if (ok())
        return {};
    const QString name = QDir::toNativeSeparators(m_path);
    switch (m_op) {
    case Operation::Read:
        return QStringLiteral("Soubor „%1“ se nepodařilo přečíst: %2.").arg(name, m_reason);
    case Operation::ReadFolder:
        return QStringLiteral("Složku „%1“ se nepodařilo přečíst: %2.").arg(name, m_reason);
    case Operation::Remove:
        return QStringLiteral("Soubor „%1“ se nepodařilo odstranit: %2.").arg(name, m_reason);
    case Operation::Rename:
        return QStringLiteral("Soubor „%1“ se nepodařilo přejmenovat: %2.").arg(name, m_reason);
    case Operation::NewFile:
        return QStringLiteral("Ve složce „%1“ se nepodařilo vytvořit nový soubor: %2.").arg(name, m_reason);
    case Operation::DeleteLesson:
        return QStringLiteral("Lekce (soubor „%1“) nebyla odstraněna: %2.\nVšechny lekce zůstaly beze změny.")
            .arg(name, m_reason);
    case Operation::DeleteTextbook:
        return QStringLiteral("Učebnice (soubor „%1“) nebyla odstraněna: %2.\nUčebnice i všechny její lekce zůstaly "
                              "beze změny.")
            .arg(name, m_reason);
    case Operation::Write:
        break;
    }
    QString after;
    switch (m_outcome) {
    case Outcome::Unchanged:
        after = QStringLiteral("Předchozí obsah souboru zůstal beze změny.");
        break;
    case Outcome::NotCreated:
        after = QStringLiteral("Soubor nebyl vytvořen.");
        break;
    case Outcome::Damaged:
        after = QStringLiteral("Soubor se nepodařilo vrátit do předchozího stavu: na jeho konci může zůstat "
                               "neúplný řádek.");
        break;
    }
    return QStringLiteral("Soubor „%1“ se nepodařilo uložit: %2.\n%3").arg(name, m_reason, after);
}

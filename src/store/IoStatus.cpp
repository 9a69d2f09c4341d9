#include "IoStatus.h"

#include <QDir>

namespace {

QString czechReason(const QFileDevice& file) {
    QString reason;
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        reason = QStringLiteral("přístup byl odepřen");
        break;
    case QFileDevice::ResourceError:
        reason = QStringLiteral("na disku není dost místa");
        break;
    case QFileDevice::OpenError:
        reason = QStringLiteral("soubor nelze otevřít");
        break;
    case QFileDevice::ReadError:
        reason = QStringLiteral("chyba při čtení");
        break;
    case QFileDevice::WriteError:
        reason = QStringLiteral("chyba při zápisu");
        break;
    default:
        reason = QStringLiteral("chyba souboru");
        break;
    }
    const QString system = file.errorString();
    return system.isEmpty() ? reason : reason + QStringLiteral(" (") + system + u')';
}

} // namespace

IoStatus IoStatus::failure(Operation op, const QString& path, const QString& reason) {
    IoStatus status;
    status.m_failed = true;
    status.m_op = op;
    status.m_path = path;
    status.m_reason = reason;
    return status;
}

IoStatus IoStatus::fromDevice(Operation op, const QFileDevice& file) {
    return failure(op, file.fileName(), czechReason(file));
}

QString IoStatus::message() const {
    if (ok())
        return {};
    const QString name = QDir::toNativeSeparators(m_path);
    if (m_op == Operation::Read)
        return QStringLiteral("Soubor „%1“ se nepodařilo přečíst: %2.").arg(name, m_reason);
    return QStringLiteral("Soubor „%1“ se nepodařilo uložit: %2.\nPředchozí obsah souboru zůstal beze změny.")
        .arg(name, m_reason);
}

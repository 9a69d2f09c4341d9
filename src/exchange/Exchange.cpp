// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/Exchange.h"

#include <QFileInfo>

namespace Exchange {

bool formatOf(const QString& fileName, Format* format) {
    static const struct {
        QLatin1StringView suffix;
        Format format;
    } kSuffixes[] = {{QLatin1StringView("kvtml"), Format::Kvtml},
                     {QLatin1StringView("csv"), Format::Csv},
                     {QLatin1StringView("tsv"), Format::Tsv},
                     {QLatin1StringView("txt"), Format::FlashCards}};
    // Windows users' files often carry upper-case extensions (SLOVA.CSV).
    const QString suffix = QFileInfo(fileName).suffix();
    for (const auto& known : kSuffixes) {
        if (suffix.compare(known.suffix, Qt::CaseInsensitive) == 0) {
            if (format)
                *format = known.format;
            return true;
        }
    }
    return false;
}

ImportedLesson& LessonsByTitle::operator[](const QString& title) {
    if (m_last >= 0 && title == m_lastTitle)
        return m_book.lessons[m_last];
    const QString name = title.trimmed().isEmpty() ? kNoLesson : title;
    auto at = m_at.constFind(name);
    if (at == m_at.cend()) {
        at = m_at.insert(name, m_book.lessons.size());
        m_book.lessons.append({name, {}});
    }
    m_lastTitle = title;
    m_last = *at;
    return m_book.lessons[m_last];
}

} // namespace Exchange

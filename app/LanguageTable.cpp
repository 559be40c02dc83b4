#include "app/LanguageTable.h"

#include <QFile>
#include <QStringDecoder>

namespace sonoria {
namespace {

constexpr int kMaxTextLength = 999;  // what one lookup returns at most

}  // namespace

int LanguageTableId(int language) { return language != 0 ? kEnglishTableId : kChineseTableId; }

LanguageTable LanguageTable::FromGbk(const QByteArray& bytes) {
    LanguageTable table;
    QStringDecoder decoder("GBK");
    const QString text = decoder.isValid() ? decoder(bytes) : QString::fromLatin1(bytes);
    bool inStrings = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1String("//")) || line.startsWith(QLatin1Char(';'))) continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inStrings = line.mid(1, line.size() - 2).trimmed().compare(QLatin1String("String"),
                                                                        Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inStrings || equals <= 0) continue;
        const QString key = line.left(equals).trimmed().toLower();
        if (!table.texts_.contains(key)) table.texts_.insert(key, line.mid(equals + 1).trimmed().left(kMaxTextLength));
    }
    return table;
}

LanguageTable LanguageTable::FromResource(int tableId) {
    QFile file(QStringLiteral(":/lang/%1.ini").arg(tableId));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return FromGbk(file.readAll());
}

std::optional<QString> LanguageTable::Lookup(const QString& key) const {
    const auto found = texts_.constFind(key.toLower());
    if (found == texts_.constEnd() || found->isEmpty()) return std::nullopt;
    return *found;
}

QString TitleKey(int dialogId) { return QStringLiteral("IDD%1_title").arg(dialogId); }

QString ControlKey(int dialogId, int controlId) { return QStringLiteral("IDD%1_%2").arg(dialogId).arg(controlId); }

}  // namespace sonoria

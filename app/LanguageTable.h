// A language table: INI text (GBK) whose section "String" maps keys such as
// "IDD229_title" and "IDD229_1019" to the texts of the windows.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace sonoria {

inline constexpr int kChineseTableId = 202;
inline constexpr int kEnglishTableId = 203;

// 202 for Chinese (0), 203 for any other language.
int LanguageTableId(int language);

class LanguageTable {
public:
    // Reads GBK-encoded INI text. Keys are matched without regard to case, the
    // first occurrence of a key counts, "//" and ";" lines are comments, and
    // only the section "String" is read.
    static LanguageTable FromGbk(const QByteArray& bytes);
    // The embedded table of that id; empty when there is none.
    static LanguageTable FromResource(int tableId);

    // The text of a key; nullopt when the table does not name it or names it empty.
    std::optional<QString> Lookup(const QString& key) const;
    bool IsEmpty() const { return texts_.isEmpty(); }
    int Size() const { return static_cast<int>(texts_.size()); }

private:
    QHash<QString, QString> texts_;  // lower-case key -> text
};

// Keys of a window's caption and of one of its controls.
QString TitleKey(int dialogId);
QString ControlKey(int dialogId, int controlId);

}  // namespace sonoria

#include "app/Settings.h"

#include <QSettings>

#include <memory>

namespace sonoria {
namespace {

QString& TestFile() {
    static QString path;
    return path;
}

std::unique_ptr<QSettings> OpenStore() {
    if (!TestFile().isEmpty()) return std::make_unique<QSettings>(TestFile(), QSettings::IniFormat);
#ifdef Q_OS_WIN
    constexpr auto kScope = QSettings::SystemScope;  // HKEY_LOCAL_MACHINE\SOFTWARE
#else
    constexpr auto kScope = QSettings::UserScope;    // the system store is not writable for users here
#endif
    return std::make_unique<QSettings>(QSettings::NativeFormat, kScope, QStringLiteral("SONORIA"),
                                       QStringLiteral("SONORIA-K7X"));
}

}  // namespace

std::uint32_t ReadSettingDword(const QString& name) {
    const auto store = OpenStore();
    bool ok = false;
    const std::uint32_t value = store->value(name).toUInt(&ok);
    return ok ? value : 0;
}

void WriteSettingDword(const QString& name, std::uint32_t value) {
    const auto store = OpenStore();
    store->setValue(name, value);
    store->sync();
}

int ReadLanguageSetting() { return ReadSettingDword(QString::fromLatin1(kLanguageSetting)) != 0 ? 1 : 0; }

void SetSettingsFileForTesting(const QString& path) { TestFile() = path; }

}  // namespace sonoria

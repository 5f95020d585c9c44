#include "app/app_settings.h"

namespace vrl::gui {

namespace {
const QString kGroup = QStringLiteral("Backup");
}

AppSettings::AppSettings() {
#ifdef Q_OS_WIN
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("NORVALE"), QStringLiteral("vrl73m"));
#else
    settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                            QStringLiteral("NORVALE"), QStringLiteral("vrl73m"));
#endif
}

AppSettings::AppSettings(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

std::optional<QString> AppSettings::string(const QString& name) const {
    const QString key = kGroup + '/' + name;
    if (!settings_->contains(key)) return std::nullopt;
    return settings_->value(key).toString();
}

std::optional<long long> AppSettings::integer(const QString& name) const {
    const QString key = kGroup + '/' + name;
    if (!settings_->contains(key)) return std::nullopt;
    bool ok = false;
    const long long v = settings_->value(key).toString().trimmed().toLongLong(&ok);
    if (!ok) return std::nullopt;
    return v;
}

void AppSettings::set(const QString& name, const QVariant& value) {
    settings_->setValue(kGroup + '/' + name, value);
}

} // namespace vrl::gui

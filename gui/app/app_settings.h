// The settings store: organisation "NORVALE", application "vrl73m", group "Backup".
// On Windows the per-user registry key Software\NORVALE\vrl73m, elsewhere an INI
// file in the user's configuration folder. Reads give nullopt for absent values;
// the rules on the values are in settings_values.h.
#pragma once

#include <QSettings>
#include <QString>

#include <memory>
#include <optional>

namespace vrl::gui {

class AppSettings {
  public:
    // The user's own store.
    AppSettings();
    // A store in an INI file (tests, portable use).
    explicit AppSettings(const QString& iniPath);

    std::optional<QString> lastModel() const { return string(QStringLiteral("LastModel")); }
    std::optional<long long> comPort() const { return integer(QStringLiteral("ComPort")); }
    std::optional<QString> lastFilePath() const { return string(QStringLiteral("LastFilePath")); }
    std::optional<long long> language() const { return integer(QStringLiteral("Language")); }
    std::optional<QString> lastWinPos() const { return string(QStringLiteral("LastWinPos")); }

    // "Verify after writing" (absent = on).
    bool verifyAfterWrite() const { return integer(QStringLiteral("VerifyAfterWrite")).value_or(1) != 0; }
    void setVerifyAfterWrite(bool v) { set(QStringLiteral("VerifyAfterWrite"), v ? 1 : 0); }

    void setLastModel(const QString& v) { set(QStringLiteral("LastModel"), v); }
    void setComPort(int v) { set(QStringLiteral("ComPort"), v); }
    void setLastFilePath(const QString& v) { set(QStringLiteral("LastFilePath"), v); }
    void setLanguage(int v) { set(QStringLiteral("Language"), v); }
    void setLastWinPos(const QString& v) { set(QStringLiteral("LastWinPos"), v); }

    void sync() { settings_->sync(); }
    QString fileName() const { return settings_->fileName(); }

  private:
    std::optional<QString> string(const QString& name) const;
    std::optional<long long> integer(const QString& name) const;
    void set(const QString& name, const QVariant& value);

    std::unique_ptr<QSettings> settings_;
};

} // namespace vrl::gui

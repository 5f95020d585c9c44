// Qt's own dialogs (file dialogs, standard buttons, context menus) in the language
// the user chose: language text 72 holds the locale code of each language ("en",
// "de"), and Qt's translation of that locale is installed when one is available.
#pragma once

#include <QString>
#include <QTranslator>

namespace vrl::gui {

inline constexpr int kTextQtLocale = 72;

class QtTranslations {
  public:
    ~QtTranslations();
    // Installs Qt's translation for `localeCode`; English or an unknown code
    // leaves Qt's own English. Returns whether a translation is installed.
    bool apply(const QString& localeCode);

  private:
    QTranslator translator_;
    bool installed_ = false;
};

} // namespace vrl::gui

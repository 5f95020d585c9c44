// CFieldFormView: a function window that is one column of an area's fields (labels
// and controls made from the field table) above the Close and Help buttons, with
// the window's title from the area. The scan and emergency windows are such forms.
#pragma once

#include "widgets/form_view.h"

namespace vrl::gui {

class CFieldFormView : public CFormView {
    Q_OBJECT
  public:
    // The control of a field of the area, by key.
    QWidget* control(std::string_view key) const { return fieldControl(key); }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }

  protected:
    // Builds the form of `keys` (the first one takes the focus) and finishes the
    // window's setup.
    CFieldFormView(AppContext& ctx, int templateId, const FieldArea& area,
                   std::initializer_list<std::string_view> keys, QWidget* parent);
    // The check a window runs when it opens: unless `holds`, a warning with language
    // text `textIndex` (caption "Caution", text 82); the window opens either way.
    void warnUnless(bool holds, int textIndex);

  private:
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui

// CFormView: the base of every function window. A window builds its controls,
// names their language texts in a table, binds each field to its accessor and
// calls finishSetup(); the base does the rest:
//   - title, static texts, button texts and tab captions from the language table,
//     the language's font on the window (and so on every control);
//   - every field loaded from the image, then the enable and show rules applied;
//   - commits: an edit when it loses the focus (only when it was edited), a spin
//     step at once, a combo box on the user's choice, a check box on click; after
//     each commit every field is reloaded so that derived fields follow;
//   - keys: Enter acts as Tab except on buttons registered with setCloseButton() /
//     setHelpButton() and on controls that keep it (keepEnter()); Esc closes the
//     window's frame; F1 opens help at 0x20000 plus the focused control's number
//     (the window template's number on Close, Help and the tab control);
//     Ctrl+Tab / Ctrl+Shift+Tab and Ctrl+PgDn / Ctrl+PgUp switch tab pages.
// The window holds no data: getters and setters go straight to the accessors.
#pragma once

#include "features/field_table.h"

#include <QPointer>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAbstractButton;
class QGridLayout;
class QLabel;
class QHBoxLayout;
class QVBoxLayout;
class QKeyEvent;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vrl::gui {

class AppContext;
class SpinEdit;
class TabPageList;

class CFormView : public QWidget {
    Q_OBJECT
  public:
    using TextGetter = std::function<QString()>;
    using TextSetter = std::function<void(const QString&)>;
    using IntGetter = std::function<int()>;
    using IntSetter = std::function<void(int)>;
    using BoolGetter = std::function<bool()>;
    using BoolSetter = std::function<void(bool)>;
    using Predicate = std::function<bool()>;

    // One row of a window's text table.
    struct TextEntry {
        QWidget* control;
        int textIndex;
    };

    // What the base knows about one bound field. Returned by the bind functions so
    // that a window can add its rules: bindEdit(...).enabledWhen(...).notifies().
    class Binding {
      public:
        // The field is enabled only while `rule` holds (checked after every load).
        Binding& enabledWhen(Predicate rule);
        // A commit of this field changes what other windows show: the base emits the
        // context's dataChanged() after it.
        Binding& notifies();

      private:
        friend class CFormView;
        QWidget* widget = nullptr;
        std::function<void()> load;
        std::function<bool()> isPending; // an edit typed into but not yet stored
        std::function<void()> commitPending;
        Predicate enabled;
        bool notifiesOthers = false;
        std::function<QString()> label; // names the undo step; empty: the window's title
        bool edited = false; // typed into since the last load or commit
    };

    CFormView(AppContext& ctx, int templateId, QWidget* parent);
    ~CFormView() override;

    int templateId() const { return templateId_; }
    // The help topic for F1 with the focus where it is now (a window whose topics do
    // not follow its control numbers answers its own).
    virtual int currentHelpTopic() const;
    // The control that takes the keyboard when the window opens: the one the window
    // named with setInitialFocus() while it can take it, else the first control.
    QWidget* initialFocusControl() const;
    // The control of a field added with addField() or bound with bindField(), or null.
    QWidget* fieldControl(std::string_view key) const;

  public slots:
    // Reloads every field from the image and applies the enable and show rules.
    void refresh();
    // Re-reads the title, texts and font (after a language change).
    void retranslate();
    // Stores a pending edit, then closes the window's frame.
    void closeFrame();
    void openHelp();

  signals:
    // After a field was stored and the fields reloaded.
    void committed();
    // Typed text was dropped; `message` says which and why (also in the status bar).
    void refused(const QString& message);

  protected:
    // Language texts of the Close and Help buttons.
    static constexpr int kCloseText = 61;
    static constexpr int kHelpText = 62;

    AppContext& ctx() const { return ctx_; }

    // Texts.
    void setTitleText(int textIndex);
    void addTexts(std::initializer_list<TextEntry> entries);
    void setTabs(TabPageList* tabs);
    // Buttons on which Enter clicks and whose help topic is the template's.
    QPushButton* makeCloseButton(int controlId);
    QPushButton* makeHelpButton(int controlId);
    // The row every form window ends with: Close and Help at the right.
    static QHBoxLayout* closeHelpRow(QPushButton* close, QPushButton* help);
    // The window's layout: `body` above the Close and Help row, the buttons with
    // their usual texts. Returns the window's layout.
    QVBoxLayout* layOutWithButtons(QWidget* body, int closeId, int helpId);
    // The number of a control for help topics (bound fields are numbered by bind*).
    void setControlId(QWidget* control, int controlId);
    // Enter is delivered to this control (and its children) instead of acting as Tab.
    void keepEnter(QWidget* control);
    void setInitialFocus(QWidget* control) { initialFocus_ = control; }

    // Fields.
    Binding& bindEdit(int controlId, QLineEdit* edit, TextGetter get, TextSetter set);
    Binding& bindSpin(int controlId, SpinEdit* spin, TextGetter get, TextSetter set,
                      IntGetter step, IntSetter setStep);
    Binding& bindCombo(int controlId, QComboBox* combo, IntGetter get, IntSetter set);
    Binding& bindCheck(int controlId, QCheckBox* check, BoolGetter get, BoolSetter set);
    // Fields of the core's field table. The document and the current language, as
    // the field getters and setters see them.
    FieldContext& fieldContext() { return fieldCtx_; }
    // Creates the control the field's kind asks for (an edit taking the field's
    // characters and length, a spin edit, a check box with the label's text, a
    // combo box whose items follow the field's choices at every load) and binds it
    // with the field's enable and show rules. Returns the control; use
    // control(key) to find it again.
    QWidget* addField(const Field& field);
    // The same, by key, from `table`.
    QWidget* addField(const FieldTable& table, std::string_view key);
    // Binds an existing control to a field.
    Binding& bindField(const Field& field, QWidget* control);
    // A label for a field (its text from the field's label text), shown and
    // enabled with the field.
    QLabel* fieldLabel(const Field& field);
    // A two-column grid of labels and controls for the fields of `keys` (check
    // boxes span both columns), each created with addField().
    QGridLayout* fieldGrid(const FieldTable& table, std::initializer_list<std::string_view> keys);

    // Says in the main window's status bar and the control's tip that its text was
    // not stored and why.
    void reportRefusal(QWidget* control, const QString& message);
    static constexpr int kRefusalShownMs = 10000;

    // Rules for controls that are not fields (labels, group boxes, buttons).
    void enableWhen(QWidget* control, Predicate rule);
    void showWhen(QWidget* control, Predicate rule);

    // Call at the end of the window's constructor.
    void finishSetup();

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    struct Rule {
        QPointer<QWidget> control;
        Predicate holds;
        bool visibility;
    };

    Binding& addBinding(int controlId, QWidget* widget);
    void afterCommit(const Binding& binding);
    void commitPendingEdits();
    void commitOnFocusOut(QWidget* widget);
    bool handleKey(QWidget* target, QKeyEvent* key);
    int controlIdOf(const QWidget* widget) const;

    AppContext& ctx_;
    FieldContext fieldCtx_;
    std::vector<std::pair<std::string, QWidget*>> fieldControls_;
    int templateId_;
    int titleText_ = -1;
    std::vector<TextEntry> texts_;
    std::vector<std::unique_ptr<Binding>> bindings_;
    std::vector<Rule> rules_;
    std::vector<std::pair<const QWidget*, int>> controlIds_;
    QVector<QPointer<QWidget>> enterKeepers_;
    QVector<QPointer<QAbstractButton>> enterClicks_;
    QPointer<QWidget> initialFocus_;
    TabPageList* tabs_ = nullptr;
    bool shown_ = false;
    bool loading_ = false;
};

} // namespace vrl::gui

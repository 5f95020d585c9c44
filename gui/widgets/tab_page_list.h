// TabPageList: the pages of a window with a tab control. Each page is one widget
// holding its controls; showing a page hides the others. Ctrl+Tab and Ctrl+PgDn
// select the next page, Ctrl+Shift+Tab and Ctrl+PgUp the previous one, all wrapping,
// from any control of the window. They are shortcuts of the window (installKeys()),
// so that they reach the pages before a multiple-document area takes Ctrl+Tab to
// switch its child windows; handleKey() serves an owner that forwards key presses.
#pragma once

#include <QObject>
#include <QVector>

class QKeyEvent;
class QTabWidget;
class QWidget;

namespace vrl::gui {

class TabPageList : public QObject {
    Q_OBJECT
  public:
    // Pages are added to `tabs`; the list does not own it.
    explicit TabPageList(QTabWidget* tabs);

    // Adds a page with the language text index of its caption; returns its number.
    int addPage(QWidget* page, int captionTextIndex);
    int pageCount() const;
    int current() const;
    void select(int page);
    void next();
    void previous();
    QTabWidget* tabs() const { return tabs_; }
    int captionTextIndex(int page) const { return captions_.value(page, -1); }

    // Ctrl+Tab / Ctrl+Shift+Tab (also as Ctrl+Backtab), Ctrl+PgDn / Ctrl+PgUp; true
    // when the key was used.
    bool handleKey(const QKeyEvent* event);
    // The page keys as shortcuts of `window` and its controls.
    void installKeys(QWidget* window);

  signals:
    void pageChanged(int page);

  private:
    QTabWidget* tabs_;
    QVector<int> captions_;
};

} // namespace vrl::gui

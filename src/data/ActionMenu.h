#pragma once

#include <QGroupBox>
#include <QList>
#include <QPointer>

class QAbstractButton;
class QAbstractItemView;
class QButtonGroup;

// A right-click action menu over a grid: a small box of radio items, hidden until called. In a
// page form it is a child of the page, outside the page's layouts, so that it shows over
// everything; its items are the radio buttons the form puts into it, in their order.
//
// Releasing a mouse button over the grid hides it; releasing the right button shows it 30 pixels
// right of and 10 pixels below the pointer. Choosing an item emits itemChosen(index); then the
// choice is cleared and the box hidden, so that the same item can be chosen again.
class ActionMenu : public QGroupBox {
    Q_OBJECT
public:
    explicit ActionMenu(QWidget* parent = nullptr);

    // Watches the mouse over `grid`; call once the form is set up.
    void attachTo(QAbstractItemView* grid);

    // Keeps the box shown with its choice made after an item is chosen, until the next mouse
    // button release over the grid clears the choice and hides it.
    void setKeepsChoice(bool keep) { keepsChoice_ = keep; }

    QList<QAbstractButton*> items() const;
    void clearChoice();
    // Shows the box 30 pixels right of and 10 pixels below `pointer` (in its parent's coordinates).
    void popupAt(const QPoint& pointer);

signals:
    void itemChosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void collectItems();
    void choose(int index);

    QButtonGroup* group_;
    QPointer<QWidget> gridViewport_;  // where the mouse is watched
    bool keepsChoice_ = false;
};

#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A small box of radio items that serves as a right-click action menu over a grid: hidden until
// called, shown beside the pointer, and cleared and hidden again once an item has been chosen.
class ActionMenuBox : public QGroupBox {
    Q_OBJECT
public:
    ActionMenuBox(const QString& objectName, const QStringList& items, QWidget* parent);

    void clearChoice();

    // Shows the box 30 pixels right of and 10 pixels below `pointer` (in the parent's
    // coordinates).
    void popupAt(const QPoint& pointer);

signals:
    void itemChosen(int index);

private:
    QButtonGroup* group_;
};

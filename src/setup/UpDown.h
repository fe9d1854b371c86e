#pragma once

#include <QWidget>

class QLineEdit;

// The up and down arrows beside an edit holding a whole number: each step moves the number by
// one within [minimum, maximum]. Typing into the edit is not limited by them.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent);
    void stepBy(int steps);

private:
    QLineEdit* associate_;
    int minimum_;
    int maximum_;
};

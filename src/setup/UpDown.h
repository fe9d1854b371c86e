#pragma once

#include <QWidget>

class QLineEdit;

// The up and down arrows beside an edit holding a whole number: each step moves the number by
// one within [minimum, maximum]. Typing into the edit is not limited by them.
class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    // The edit the arrows step, and the range of their steps.
    void setAssociate(QLineEdit* associate, int minimum, int maximum);
    void stepBy(int steps);

private:
    QLineEdit* associate_ = nullptr;
    int minimum_ = 0;
    int maximum_ = 0;
};

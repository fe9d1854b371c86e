#pragma once

#include <QLabel>
#include <QString>

// The title bar of a page (`lblTitle` in the page forms): large bold text, centred, naming what
// the page shows.
class PageTitle : public QLabel {
    Q_OBJECT
public:
    explicit PageTitle(QWidget* parent = nullptr);
};

#pragma once

#include <QLabel>
#include <QString>
#include <QVBoxLayout>

// The title bar of a page (`lblTitle` in the page forms): large bold text, centred, naming what
// the page shows.
class PageTitle : public QLabel {
    Q_OBJECT
public:
    explicit PageTitle(QWidget* parent = nullptr);
};

// For a page whose layout is still built by hand: gives the page its vertical layout with a
// PageTitle `lblTitle` at the top; returns the layout for the page's own controls below it.
QVBoxLayout* addPageTitle(QWidget* page, const QString& title, QLabel** titleLabel = nullptr);

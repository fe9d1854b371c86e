#pragma once

#include <QString>
#include <QVBoxLayout>

class QLabel;
class QWidget;

// Gives a page its vertical layout with the title bar `lblTitle` at the top; returns the layout
// so the page adds its own controls below the title.
QVBoxLayout* addPageTitle(QWidget* page, const QString& title, QLabel** titleLabel = nullptr);

#pragma once

#include <QPushButton>
#include <QString>
#include <QWidget>

// Small builders shared by the views of the Races page.
namespace RacePageWidgets {

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

inline QWidget* panel(QWidget* parent, const char* name)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

}  // namespace RacePageWidgets

#pragma once

#include <QComboBox>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

// Finding and using a window's controls by their object names, as a user would.
class WidgetDriver {
public:
    explicit WidgetDriver(QWidget& root) : root_(root) {}

    template <typename T>
    T* find(const char* name) const
    {
        T* w = root_.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Chooses an entry of a list, as a click on it does.
    void choose(const char* comboName, const QString& text) const
    {
        auto* combo = find<QComboBox>(comboName);
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }

private:
    QWidget& root_;
};

#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler is shown by the default error
// handler instead of ending the program.
class CorvelApplication : public QApplication {
    Q_OBJECT
public:
    CorvelApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler is shown by the default error
// handler instead of ending the program.
class CorvelApplication : public QApplication {
    Q_OBJECT
public:
    CorvelApplication(int& argc, char** argv);
    // The program's name and version, as the application object is created.
    static void nameApplication();
    bool notify(QObject* receiver, QEvent* event) override;
};

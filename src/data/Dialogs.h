#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <memory>
#include <utility>

class QWidget;

// Every message box and file dialog of the program goes through here, so that tests can preset
// the answers ("next answer", "next file name") and never block on a modal window.
namespace Dialogs {

enum class Kind { Information, Warning, Error, Question, Notice };

struct ShownMessage {
    Kind kind;
    QString text;
};

void information(QWidget* parent, const QString& text);
void warning(QWidget* parent, const QString& text);
void error(QWidget* parent, const QString& text);
QMessageBox::StandardButton question(QWidget* parent, const QString& text,
                                     QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::StandardButton defaultButton = QMessageBox::No);

// A question whose buttons carry their own captions (each given with the standard button that
// stands for it, which is also what a test presets and what is returned).
using ChoiceButtons = QList<std::pair<QMessageBox::StandardButton, QString>>;
QMessageBox::StandardButton choice(QWidget* parent, const QString& text, const ChoiceButtons& buttons,
                                   QMessageBox::StandardButton defaultButton);

// File dialogs. `filter` may be given as "Description (*.ext)|*.ext|..." pairs or in Qt's form.
// An empty result means the user cancelled.
QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& dir = {});
QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& dir = {});
// "Description (*.ext)|*.ext" pairs in Qt's filter form ("Description (*.ext)").
QString toQtFilter(const QString& filter);

// An information box with a single OK button that closes itself after `msecs` or on OK.
std::unique_ptr<QMessageBox> createSelfClosingNotice(QWidget* parent, const QString& text, int msecs);
// Shows such a box modally until it closes.
void showSelfClosingNotice(QWidget* parent, const QString& text, int msecs);

// --- Test hooks -------------------------------------------------------------------------------
// Non-interactive: nothing modal is shown. Messages are recorded; a question takes the next
// preset answer (else its default button); a file dialog the next preset name (else cancel).
void setNonInteractive(bool on);
bool nonInteractive();
void setNextAnswer(QMessageBox::StandardButton answer);
void setNextFileName(const QString& fileName);
// The messages shown since the last call, oldest first.
QList<ShownMessage> takeMessages();
// The filter (in Qt's form) and the starting folder of the last file dialog.
QString lastFileFilter();
QString lastFileDir();
// Forgets preset answers, names and recorded messages.
void resetTestHooks();

}  // namespace Dialogs

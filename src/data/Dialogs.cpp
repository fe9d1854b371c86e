#include "Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <deque>

namespace Dialogs {
namespace {

struct State {
    bool nonInteractive = false;
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> fileNames;
    QList<ShownMessage> messages;
    QString lastFilter;
    QString lastDir;
};

State& state()
{
    static State s;
    return s;
}

QString title()
{
    return QStringLiteral("Corvel Club Management");
}

void record(Kind kind, const QString& text)
{
    state().messages.append({kind, text});
}

QMessageBox::StandardButton show(QWidget* parent, QMessageBox::Icon icon, Kind kind, const QString& text,
                                 QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
                                 const ChoiceButtons& captions = {})
{
    record(kind, text);
    State& s = state();
    if (!s.answers.empty()) {
        const QMessageBox::StandardButton answer = s.answers.front();
        s.answers.pop_front();
        return answer;
    }
    if (s.nonInteractive)
        return defaultButton != QMessageBox::NoButton ? defaultButton : QMessageBox::Ok;
    QMessageBox box(icon, title(), text, buttons, parent);
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* b = box.button(button))
            b->setText(caption);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString presetFileName(bool& taken)
{
    State& s = state();
    taken = false;
    if (!s.fileNames.empty()) {
        taken = true;
        QString name = s.fileNames.front();
        s.fileNames.pop_front();
        return name;
    }
    if (s.nonInteractive) {
        taken = true;
        return {};
    }
    return {};
}

}  // namespace

void information(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::Information, Kind::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void warning(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::Warning, Kind::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void error(QWidget* parent, const QString& text)
{
    show(parent, QMessageBox::Critical, Kind::Error, text, QMessageBox::Ok, QMessageBox::Ok);
}

QMessageBox::StandardButton question(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons,
                                     QMessageBox::StandardButton defaultButton)
{
    return show(parent, QMessageBox::Question, Kind::Question, text, buttons, defaultButton);
}

QMessageBox::StandardButton choice(QWidget* parent, const QString& text, const ChoiceButtons& buttons,
                                   QMessageBox::StandardButton defaultButton)
{
    QMessageBox::StandardButtons standard;
    for (const auto& entry : buttons)
        standard |= entry.first;
    return show(parent, QMessageBox::Question, Kind::Question, text, standard, defaultButton, buttons);
}

QString toQtFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' ')).trimmed();
        out << (description.contains(QLatin1Char('(')) ? description
                                                       : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return out.join(QStringLiteral(";;"));
}

QString getOpenFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& dir)
{
    state().lastFilter = toQtFilter(filter);
    state().lastDir = dir;
    bool taken = false;
    const QString preset = presetFileName(taken);
    if (taken)
        return preset;
    return QFileDialog::getOpenFileName(parent, caption, dir, toQtFilter(filter));
}

QString getSaveFileName(QWidget* parent, const QString& caption, const QString& filter, const QString& dir)
{
    state().lastFilter = toQtFilter(filter);
    state().lastDir = dir;
    bool taken = false;
    const QString preset = presetFileName(taken);
    if (taken)
        return preset;
    return QFileDialog::getSaveFileName(parent, caption, dir, toQtFilter(filter));
}

std::unique_ptr<QMessageBox> createSelfClosingNotice(QWidget* parent, const QString& text, int msecs)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Information, title(), text, QMessageBox::Ok, parent);
    box->setObjectName(QStringLiteral("backupNotice"));
    auto* timer = new QTimer(box.get());
    timer->setObjectName(QStringLiteral("noticeTimer"));
    timer->setInterval(msecs);
    QMessageBox* target = box.get();
    QObject::connect(timer, &QTimer::timeout, target, [target, timer] {
        timer->stop();
        target->done(QMessageBox::Ok);
    });
    QObject::connect(target, &QDialog::finished, timer, &QTimer::stop);
    timer->start();
    return box;
}

void showSelfClosingNotice(QWidget* parent, const QString& text, int msecs)
{
    record(Kind::Notice, text);
    if (state().nonInteractive)
        return;
    std::unique_ptr<QMessageBox> box = createSelfClosingNotice(parent, text, msecs);
    box->exec();
}

void setNonInteractive(bool on) { state().nonInteractive = on; }
bool nonInteractive() { return state().nonInteractive; }
void setNextAnswer(QMessageBox::StandardButton answer) { state().answers.push_back(answer); }
void setNextFileName(const QString& fileName) { state().fileNames.push_back(fileName); }

QList<ShownMessage> takeMessages()
{
    QList<ShownMessage> out;
    out.swap(state().messages);
    return out;
}

QString lastFileFilter() { return state().lastFilter; }
QString lastFileDir() { return state().lastDir; }

void resetTestHooks()
{
    State& s = state();
    s.answers.clear();
    s.fileNames.clear();
    s.messages.clear();
    s.lastFilter.clear();
    s.lastDir.clear();
}

}  // namespace Dialogs

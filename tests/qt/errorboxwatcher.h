#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace korvane::test {

// What a modal error box showed before it was answered.
struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    qint64 shownAfterMs = 0; // from the start of the action to the box being seen
};

// Runs `action`, answering with OK every message box it opens. Returns the boxes seen, in
// order. Polls from the box's own event loop, so it works for boxes opened by exec().
inline QList<SeenBox> answeringBoxes(const std::function<void()> &action)
{
    QList<SeenBox> seen;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&seen, &clock] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                     clock.elapsed()});
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

} // namespace korvane::test

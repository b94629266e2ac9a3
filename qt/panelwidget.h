#pragma once

#include "common/panel.h"

#include <QFrame>
#include <QHash>
#include <QString>

namespace korvane {

// One panel of the window, built from its table: the controls in table order (which is
// also the focus order), the captions tied to the controls they name, and each event
// wired to its handler, whose outcome the panel applies.
class PanelWidget : public QFrame
{
    Q_OBJECT

public:
    // A captionless frame named by the panel array, told apart by its index.
    PanelWidget(const PanelSpec &table, ControlName arrayName, int index,
                QWidget *parent = nullptr);

    const PanelSpec &table() const { return m_table; }

    // The control `name`. A name the panel lacks, or a control of another class, ends the
    // program: the table and this front end disagree, which the tests must not miss.
    template <typename T = QWidget> T *control(ControlName name) const
    {
        T *widget = qobject_cast<T *>(lookup(name));
        if (!widget)
            wrongKind(name, T::staticMetaObject.className());
        return widget;
    }

private:
    QWidget *lookup(ControlName name) const;
    [[noreturn]] void wrongKind(ControlName name, const char *className) const;
    QWidget *create(const ControlSpec &row);
    void nameByCaptions();
    void connectEvent(const EventSpec &event);
    void run(const EventSpec &event);
    void apply(const Outcome &outcome);

    const PanelSpec &m_table;
    QHash<QString, QWidget *> m_controls;
};

} // namespace korvane

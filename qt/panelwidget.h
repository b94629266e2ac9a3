#pragma once

#include "common/panel.h"

#include <QFrame>
#include <QHash>
#include <QString>

#include <optional>

namespace korvane {

// One panel of the window, built from its table: the controls in table order, named for
// screen readers as the rules say, showing the panel's initial outcome, and each event
// wired to its handler, whose outcome the panel applies.
class PanelWidget : public QFrame
{
    Q_OBJECT

public:
    // A captionless frame named by the panel array, told apart by its index.
    PanelWidget(const PanelTable &table, ControlName arrayName, int index,
                QWidget *parent = nullptr);

    const PanelTable &table() const { return m_table; }

    // The control `name`. A name the panel lacks, or a control of another class, ends the
    // program: the table and this front end disagree, which the tests must not miss.
    template <typename T = QWidget> T *control(ControlName name) const
    {
        T *widget = qobject_cast<T *>(lookup(name));
        if (!widget)
            wrongKind(name, T::staticMetaObject.className());
        return widget;
    }

    // The row of the control `widget` is or lies inside (the text field of a drop-down box
    // stands for its box); null for a widget of no control of this panel.
    const ControlRow *rowOf(const QWidget *widget) const;

    // Presses a button as a click would, at once.
    void press(ControlName button);

    // The panel's last result, on which its commands act; null before the first.
    const Document *lastDocument() const { return m_document ? &*m_document : nullptr; }

signals:
    // A new last result.
    void documentChanged();

private:
    QWidget *lookup(ControlName name) const;
    [[noreturn]] void wrongKind(ControlName name, const char *className) const;
    QWidget *create(const ControlRow &row);
    void nameForScreenReaders();
    void connectEvent(const Event &event);
    void run(const Event &event);
    void apply(const Outcome &outcome);

    const PanelTable &m_table;
    QHash<QString, QWidget *> m_controls;
    QHash<const QWidget *, const ControlRow *> m_rows;
    std::optional<Document> m_document;
};

} // namespace korvane

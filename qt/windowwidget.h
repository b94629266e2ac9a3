#pragma once

#include "common/driver.h"
#include "qt/convert.h"
#include "qt/documentio.h"

#include <QHash>
#include <QWidget>

class QAction;
class QFrame;

namespace korvane {

class TabStrip;

// A window of its description on Qt: the tab strip over the panels, or the one panel that
// fills it; the controls the driver has made, each of its kind's Qt class and named as its
// row; the commands as actions in their control's context menu, with their shortcuts. Every
// key, and what the user does with a control, goes to the driver, which decides what it does.
class WindowWidget : public QWidget, private FrontEnd
{
    Q_OBJECT

public:
    explicit WindowWidget(const WindowDescription &description, QWidget *parent = nullptr);

    Driver &driver() { return m_driver; }
    int panelCount() const { return int(m_panels.size()); }
    // A frame named by the window's panel array, told apart by its "index".
    QFrame *panel(int index) const { return m_panels.at(std::size_t(index)); }

    // The control `name`. A name the window lacks, or a control of another class, ends the
    // program: the tables and this front end disagree, which the tests must not miss.
    template <typename T = QWidget> T *control(ControlName name) const
    {
        T *widget = qobject_cast<T *>(m_controls.value(toQString(name)));
        if (!widget)
            qFatal("%s has no %s %s", qPrintable(objectName()), T::staticMetaObject.className(),
                   qPrintable(toQString(name)));
        return widget;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;

private:
    QWidget *make(int panel, const ControlRow &row);

    void create(int panel, const ControlRow &row, const TwipsRect &rect,
                const Accessible &spoken) override;
    void linkTitle(ControlRef title, ControlRef first) override;
    void place(ControlRef control, const TwipsRect &rect) override;
    Reading read(ControlRef control) override;
    std::optional<ControlRef> focus() override;
    void setText(ControlRef control, std::u16string_view text) override;
    void pick(ControlRef list, std::size_t item) override;
    void setCaption(ControlRef label, std::u16string_view text) override;
    TwipsSize captionSize(ControlRef label) override;
    void setBackground(ControlRef control, const Colour &colour) override;
    void setOption(ControlRef control, bool enabled, bool chosen) override;
    void setToolTip(ControlRef control, std::u16string_view text) override;
    void draw(ControlRef control, const Drawing &drawing) override;
    void bringToFront(int panel) override;
    void setFocus(ControlRef control, bool byTab, bool selectAll) override;
    Answered showError(std::u16string_view message) override;
    void commandsChanged() override;
    Answered makeWindow(const WindowDescription &window) override;
    void showWindow(bool shown) override;

    const WindowDescription &m_description;
    QtDocumentIo m_documentIo;
    Driver m_driver;
    TabStrip *m_tabStrip = nullptr;
    std::vector<QFrame *> m_panels;
    QHash<QString, QWidget *> m_controls;
    QHash<const QWidget *, ControlRef> m_refs;
    std::vector<QAction *> m_actions; // in the order of Driver::commands()
};

} // namespace korvane

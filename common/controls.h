#pragma once

#include <QHash>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <initializer_list>
#include <string_view>

namespace korvane {

// Layout unit of the window: 15 twips are one pixel at 96 dots per inch.
constexpr int TwipsPerPixel = 15;

inline int twipsToPixels(double twips)
{
    return static_cast<int>(twips / TwipsPerPixel + 0.5);
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

enum class ControlKind
{
    Label,     // keeps its size
    AutoLabel, // sizes itself to its caption, keeping left and top
    TextBox,
    DropDown, // editable drop-down box
    Button,
    VScrollBar,
    PictureBox,
};

// One row of a panel's control table, positions in twips inside the panel.
struct ControlSpec
{
    ControlKind kind;
    const char *name;
    int left;
    int top;
    int width;
    int height;
    QString text;      // caption or initial text
    QStringList items; // drop-down list entries
};

// The controls of one panel by name, created in table order so that the table order is
// also the keyboard focus order.
class Controls
{
public:
    template <typename T> T *get(const char *name) const
    {
        return static_cast<T *>(m_byName.value(QString::fromLatin1(name)));
    }
    void add(QWidget *widget) { m_byName.insert(widget->objectName(), widget); }

private:
    QHash<QString, QWidget *> m_byName;
};

Controls createControls(QWidget *parent, std::initializer_list<ControlSpec> table);

// Every panel is a captionless bordered frame named "Frame1", told apart by its tab index.
void initPanel(QWidget *panel, int index);

// Ties controls to the label that captions them, for screen readers: an input control is
// announced by the caption ("开版尺寸" for both sheet-size boxes); a result label keeps its
// value as its name and takes the caption as its description.
void captionControls(const Controls &controls, const char *caption,
                     std::initializer_list<const char *> names);

// A text box's contents as the cores read them: UTF-16 code units, no copy.
inline std::u16string_view textOf(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()),
            static_cast<std::size_t>(text.size())};
}

// Gives a label a new caption; a self-sizing label grows or shrinks from its left and top.
void setCaption(QWidget *label, const QString &text);

} // namespace korvane

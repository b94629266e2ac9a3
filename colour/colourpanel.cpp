#include "colour/colourpanel.h"

#include <QScrollBar>

namespace korvane {

using namespace colour;

namespace {

void paint(QWidget *box, const QColor &colour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, colour);
    box->setPalette(palette);
}

QColor toQColor(Rgb colour)
{
    return QColor(colour.r, colour.g, colour.b);
}

std::int16_t valueOf(const QScrollBar *bar)
{
    // The range is 0..255, so the value always fits.
    return static_cast<std::int16_t>(bar->value());
}

} // namespace

ColourPanel::ColourPanel(QWidget *parent) : QFrame(parent)
{
    using K = ControlKind;
    m_controls = createControls(
        this, {
                  {K::AutoLabel, "Label1", 600, 360, 360, 180, QStringLiteral("红色"), {}},
                  {K::AutoLabel, "Label32", 600, 600, 90, 180, QStringLiteral("0"), {}},
                  {K::VScrollBar, "VScroll1", 1200, 360, 255, 1215, {}, {}},
                  {K::PictureBox, "Picture2", 360, 840, 735, 735, {}, {}},
                  {K::AutoLabel, "Label2", 1920, 360, 360, 180, QStringLiteral("绿色"), {}},
                  {K::AutoLabel, "Label34", 1920, 600, 90, 180, QStringLiteral("0"), {}},
                  {K::VScrollBar, "VScroll2", 2640, 360, 255, 1215, {}, {}},
                  {K::PictureBox, "Picture3", 1800, 840, 735, 735, {}, {}},
                  {K::AutoLabel, "Label3", 3360, 360, 360, 180, QStringLiteral("蓝色"), {}},
                  {K::AutoLabel, "Label35", 3480, 600, 90, 180, QStringLiteral("0"), {}},
                  {K::VScrollBar, "VScroll3", 4080, 360, 255, 1215, {}, {}},
                  {K::PictureBox, "Picture4", 3240, 840, 735, 735, {}, {}},
                  {K::PictureBox, "Picture5", 360, 1920, 3975, 855, {}, {}},
              });

    m_columns = {{
        {m_controls.get<QScrollBar>("VScroll1"), m_controls.get<QWidget>("Label32"),
         m_controls.get<QWidget>("Picture2"), Primary::Red},
        {m_controls.get<QScrollBar>("VScroll2"), m_controls.get<QWidget>("Label34"),
         m_controls.get<QWidget>("Picture3"), Primary::Green},
        {m_controls.get<QScrollBar>("VScroll3"), m_controls.get<QWidget>("Label35"),
         m_controls.get<QWidget>("Picture4"), Primary::Blue},
    }};
    m_mixed = m_controls.get<QWidget>("Picture5");
    m_mixed->setAccessibleName(QStringLiteral("混合色"));
    captionControls(m_controls, "Label1", {"VScroll1", "Picture2", "Label32"});
    captionControls(m_controls, "Label2", {"VScroll2", "Picture3", "Label34"});
    captionControls(m_controls, "Label3", {"VScroll3", "Picture4", "Label35"});

    for (const Column &column : m_columns) {
        QScrollBar *bar = column.bar;
        bar->setRange(0, 255);
        bar->setSingleStep(1);
        bar->setPageStep(10); // a click on the track
        // The value changes when a dragged thumb is released, not while it moves.
        bar->setTracking(false);
        // A tab stop, stepped by the arrow and page keys while it has the focus.
        bar->setFocusPolicy(Qt::StrongFocus);
        // Until the first change the tint boxes show the colour of an empty input field.
        paint(column.tint, palette().color(QPalette::Base));
        connect(bar, &QScrollBar::valueChanged, this, [this, &column] { change(column); });
    }
    paint(m_mixed, Qt::black);
}

void ColourPanel::change(const Column &column)
{
    const std::int16_t value = valueOf(column.bar);
    setCaption(column.value, QString::number(value));
    paint(column.tint, toQColor(tint(column.primary, value)));
    paint(m_mixed, toQColor(mix(valueOf(m_columns[0].bar), valueOf(m_columns[1].bar),
                                valueOf(m_columns[2].bar))));
}

} // namespace korvane

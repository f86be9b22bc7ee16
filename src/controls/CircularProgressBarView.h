// The progress ring: two thin dark track circles with a thick blue arc between them covering
// `progress` of a full turn, clockwise from 3 o'clock. Owners set `progress` and call update().
#pragma once

#include <QColor>
#include <QWidget>

// A colour from a hexadecimal text such as "2a344b" or "#0c7eeb"; black when it holds no digits.
QColor colorFromHex(const QString &hex);

class CircularProgressBarView : public QWidget
{
    Q_OBJECT

public:
    explicit CircularProgressBarView(QWidget *parent = nullptr);

    // The fraction of the ring to fill; 1 or more (a finished scan writes 100) fills it.
    double progress = 0.0;

    // The ring's geometry for the current size: centre and the radius r of the tracks' middle.
    QPointF ringCenter() const;
    double ringRadius() const;
    // The arc drawn for `progress`: start angle 0 and the signed span in degrees
    // (counter-clockwise positive, so the clockwise arc is negative); 0 when nothing is drawn.
    static double arcSpanDegrees(double progress);

protected:
    void paintEvent(QPaintEvent *event) override;
};

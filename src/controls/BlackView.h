// Dims whatever lies behind it with half-transparent black; laid under the content of a sheet.
#pragma once

#include <QWidget>

class BlackView : public QWidget
{
    Q_OBJECT

public:
    explicit BlackView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

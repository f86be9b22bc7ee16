// The picture of a grid cell: a record's thumbnail, or a named artwork (placeholder, video frame),
// drawn aspect-fit. Holds a QImage so a thumbnail made off the GUI thread is shown without a copy.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class ItemImageView : public QWidget
{
    Q_OBJECT
public:
    explicit ItemImageView(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    void setImageNamed(const QString &name);
    const QImage &image() const { return m_image; }
    // The artwork name shown, empty while a record's own image is shown.
    const QString &imageName() const { return m_name; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_image;
    QString m_name;
};
